#include "style/TrackMerge.h"

#include <limits>

namespace vornel {

TrackMerge::TrackMerge(const FileEvents& events) {
    cursors_.reserve(static_cast<std::size_t>(events.trackCount()));
    for (std::int32_t t = 1; t <= events.trackCount(); ++t)
        if (!events.track(t).empty()) cursors_.push_back({t, &events.track(t), 0});
}

bool TrackMerge::next() {
    if (overflowed_ || cursors_.empty()) return false;
    const auto nextTime = [](const Cursor& c) { return (*c.events)[c.index].time; };
    std::size_t pick = 0;
    for (std::size_t i = 1; i < cursors_.size(); ++i)
        if (nextTime(cursors_[i]) < nextTime(cursors_[pick])) pick = i;  // strict: ties keep track order

    Cursor& c = cursors_[pick];
    // Tick tables are 32-bit; a file whose times run past them cannot be
    // placed in them, so the walk ends there and the caller is told.
    if (nextTime(c) > std::numeric_limits<std::int32_t>::max()) {
        overflowed_ = true;
        return false;
    }
    event_ = &(*c.events)[c.index];
    time_ = static_cast<std::int32_t>(event_->time);
    track_ = c.track;
    if (++c.index >= c.events->size()) cursors_.erase(cursors_.begin() + static_cast<std::ptrdiff_t>(pick));
    return true;
}

}  // namespace vornel
