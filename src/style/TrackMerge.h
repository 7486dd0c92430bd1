#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "style/FileEvents.h"

namespace vornel {

// Walks the events of every track of a file in time order.
//
// A format-1 style plays all of its tracks, so loading reads them as one
// stream: each track's times start at 0, and events of equal time come in
// track order, then in file order. For a single-track file this is exactly
// the file order.
class TrackMerge {
public:
    explicit TrackMerge(const FileEvents& events);

    // Moves to the next event; false when every track is done, or when the
    // next time would not fit the 32-bit tick tables (overflowed() then).
    bool next();

    const FileEvent& event() const { return *event_; }
    std::int32_t time() const { return time_; }  // absolute tick within its track
    std::int32_t track() const { return track_; }
    bool overflowed() const { return overflowed_; }

private:
    struct Cursor {
        std::int32_t track;
        const std::vector<FileEvent>* events;
        std::size_t index;  // next event to hand out
    };

    std::vector<Cursor> cursors_;  // tracks with events left, in track order
    const FileEvent* event_ = nullptr;
    std::int32_t time_ = 0;
    std::int32_t track_ = 0;
    bool overflowed_ = false;
};

}  // namespace vornel
