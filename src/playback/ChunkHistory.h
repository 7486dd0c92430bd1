#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playback/NoteEntry.h"
#include "playback/StrikeCounts.h"

namespace vornel {

// The engine's counters that queuing a chunk reads and moves on.
struct EngineCounters {
    std::int16_t Playing = 0;
    std::int32_t QueuedTicks = 0;
    double QueuedMs = 0.0;
    std::int32_t PartOffset = 0;
    std::int16_t CurBar = 0;
    std::int16_t LastPart = 0;
    std::int16_t ClosedChord = 0;
    double PartBars = 0.0;
    std::int32_t NextCueTag = 0;
    double NextCueMs = 0.0;
};

// A chunk the engine has queued and that has not ended yet, with everything
// needed to queue it again from a later stamp: the part it played, and the
// counters and note lists as they stood before it was queued.
struct ChunkMark {
    std::int16_t part = 0;
    std::string partName;
    double startMs = 0.0;
    double endMs = 0.0;
    std::vector<double> beatsMs;  // its beats' stamps, the first on its start
    EngineCounters before;
    EngineCounters after;      // as queuing it left them, before the cue that follows it
    std::int32_t cueTag = 0;   // that cue
    std::vector<NoteEntry> list1, list2, muted;
    StrikeCounts strikes;
};

}  // namespace vornel
