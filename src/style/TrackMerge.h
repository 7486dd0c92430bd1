#pragma once

#include <cstdint>
#include <vector>

namespace vornel {

class MidifileComponent;

// Walks the events of every track of the reader's file in time order and
// selects each one in the reader (Track, EventIndex) for the caller to read.
//
// A format-1 style plays all of its tracks, so loading reads them as one
// stream: each track's times start at 0, and events of equal time come in
// track order, then in file order. For a single-track file this is exactly
// the file order.
class TrackMerge {
public:
    explicit TrackMerge(MidifileComponent& reader);

    // Selects the next event; false when every track is done, or when the
    // next time would not fit the 32-bit tick tables (overflowed() then).
    bool next();

    std::int32_t time() const { return time_; }  // absolute tick within its track
    std::int32_t track() const { return track_; }
    bool overflowed() const { return overflowed_; }

private:
    struct Cursor {
        std::int32_t track;
        std::int32_t count;
        std::int32_t index;     // next event to hand out, 1-based
        std::int64_t nextTime;  // its absolute tick
    };

    MidifileComponent& reader_;
    std::vector<Cursor> cursors_;  // tracks with events left, in track order
    std::int32_t time_ = 0;
    std::int32_t track_ = 0;
    bool overflowed_ = false;
};

}  // namespace vornel
