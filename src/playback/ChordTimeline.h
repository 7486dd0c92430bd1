#pragma once

#include <cstdint>
#include <vector>

#include "style/ChordType.h"

namespace vornel {

// When a chord chosen while playing reaches the accompaniment.
enum class ChordChangeMode {
    AtOnce,       // from the moment it is chosen, in the middle of a bar too
    NextBeat,     // from the next beat
    NextBarLine,  // from the next bar line not yet queued (the chord lead before it)
};

// A chord as the engine plays it: the chord rule's Transpose and IsMinor, the
// chord label, and the chord type a channel table hears.
struct ChordState {
    std::int16_t Transpose = 0;
    std::int16_t ChordIdx = 0;
    std::int16_t IsMinor = 0;
    int ChordTypeNo = chord::kMaj;
    PlayedChord played() const { return {((ChordIdx % 12) + 12) % 12, ChordTypeNo}; }
    friend bool operator==(const ChordState&, const ChordState&) = default;
};

// Which chord plays from which stamp (queue ms) on. The engine queues a
// chunk ahead of time and may queue it again from a later stamp; every pass
// reads the chord of each moment from here, so the part of a chunk before a
// change comes out as it was first queued and the part after it in the new
// chord. UI thread.
class ChordTimeline {
public:
    // From `atMs` on, `chord`; whatever was planned from then on is replaced.
    void set(double atMs, const ChordState& chord);
    // The chord at `atMs` (the first one before anything was set).
    const ChordState& at(double atMs) const;
    // The first change after `afterMs` and before `beforeMs`, or nullptr.
    const double* nextChange(double afterMs, double beforeMs) const;
    // Forgets changes before `ms`, keeping the chord in force there.
    void forgetBefore(double ms);
    void reset(const ChordState& chord);

private:
    struct Entry {
        double atMs;
        ChordState chord;
    };
    std::vector<Entry> entries_{Entry{0.0, {}}};
};

}  // namespace vornel
