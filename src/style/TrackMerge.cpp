#include "style/TrackMerge.h"

#include <cstddef>
#include <limits>

#include "midi/file/MidifileComponent.h"

namespace vornel {

TrackMerge::TrackMerge(MidifileComponent& reader) : reader_(reader) {
    const int tracks = reader_.TrackCount();
    cursors_.reserve(tracks > 0 ? static_cast<std::size_t>(tracks) : 0u);
    for (std::int32_t t = 1; t <= tracks; ++t) {
        reader_.Track(t);
        const std::int32_t count = reader_.EventCount();
        if (count < 1) continue;
        reader_.EventIndex(1);
        cursors_.push_back({t, count, 1, reader_.EvDelta()});
    }
}

bool TrackMerge::next() {
    if (overflowed_ || cursors_.empty()) return false;
    std::size_t pick = 0;
    for (std::size_t i = 1; i < cursors_.size(); ++i)
        if (cursors_[i].nextTime < cursors_[pick].nextTime) pick = i;  // strict: ties keep track order

    Cursor& c = cursors_[pick];
    // Tick tables are 32-bit; a file whose times run past them cannot be
    // placed in them, so the walk ends there and the caller is told.
    if (c.nextTime > std::numeric_limits<std::int32_t>::max()) {
        overflowed_ = true;
        return false;
    }
    const std::int32_t track = c.track;
    const std::int32_t index = c.index;
    time_ = static_cast<std::int32_t>(c.nextTime);
    track_ = track;
    if (index >= c.count) {
        cursors_.erase(cursors_.begin() + static_cast<std::ptrdiff_t>(pick));
    } else {
        c.index = index + 1;
        reader_.Track(track);
        reader_.EventIndex(c.index);
        c.nextTime += reader_.EvDelta();
    }
    reader_.Track(track);
    reader_.EventIndex(index);
    return true;
}

}  // namespace vornel
