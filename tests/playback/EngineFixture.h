#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "playback/BarMath.h"
#include "playback/ChordChange.h"
#include "playback/EngineTestSupport.h"
#include "playback/PartSequencing.h"
#include "playback/PlaybackChunk.h"
#include "player/PartChoice.h"
#include "support/PlayerFixture.h"

namespace vornel::test {

// The engine on a virtual clock: the output component's events go to the
// engine's handlers (unless `sequencing` is off, for looking at one chunk
// alone) and every cue is recorded with the counters as its handler left them.
class EngineTest : public ::testing::Test, protected PlayerFixture {
protected:
    struct Cue {
        double atMs;
        std::int32_t tag;
        std::int16_t CurBar;
        std::int32_t PartOffset;
        std::int32_t QueuedTicks;
    };

    EngineTest() {
        output.CueReached = [this](std::int32_t tag) {
            if (sequencing) MIDIOutput1_CueReached(state.engine, tag);
            cues.push_back(
                {clock.nowMs(), tag, state.engine.CurBar, state.engine.PartOffset, state.engine.QueuedTicks});
        };
        output.QueueDone = [this] {
            doneAt.push_back(clock.nowMs());
            if (sequencing) MIDIOutput1_QueueDone(state.engine);
        };
        readyAsLoaded(state);
        // These tests pin the bar-line rule; the tests of chords heard at
        // once or from the next beat choose their mode.
        state.engine.ChordChange = ChordChangeMode::NextBarLine;
        // Half of a 384 ms bar: a bar is queued half a bar before it sounds,
        // so cue times read as simple ticks. The lead's own rule is tested
        // with its real value.
        state.engine.LeadMs = 192;
        // And queued no further ahead, as the engine used to: the cue times
        // these tests read are those of the bar-by-bar queue. The queue that
        // runs further ahead has tests of its own.
        state.engine.QueueAheadMs = 192;
    }

    void timing(const FileTiming& t = {}) { loadTiming(reader, t); }
    void select(int button) { Cmd_Part_Click(state, button); }

    // What the Play command does before the engine takes over (a file
    // without resolution or numerator plays its part as one bar).
    void play() { startPlayback(state.engine, state.Timer1.running() || state.Timer3.running()); }

    std::vector<Cue> cuesTagged(std::int32_t tag) const {
        std::vector<Cue> out;
        for (const Cue& c : cues)
            if (c.tag == tag) out.push_back(c);
        return out;
    }
    std::vector<double> timesOf(std::int32_t tag) const {
        std::vector<double> out;
        for (const Cue& c : cuesTagged(tag)) out.push_back(c.atMs);
        return out;
    }
    using Notes = test::Notes;
    Notes notesPlayed() { return notesOf(sent()); }
    // A part of `bars` bars of 384 ticks whose bar b starts with note base + b,
    // released before the bar ends. Its place in the file does not matter.
    void barPart(int p, int bars, int base) {
        std::vector<Ev> events;
        for (int b = 0; b < bars; ++b) {
            events.push_back(mark(base + b, b * 384));
            events.push_back(release(base + b, b * 384 + 300));
        }
        storePart(state, p, 1000 * p, 1000 * p + bars * 384, events);
    }
    std::size_t errorBoxes() const { return dialogs.count(DialogCall::Kind::MessageBox); }

    bool sequencing = true;
    std::vector<Cue> cues;
    std::vector<double> doneAt;
};

}  // namespace vornel::test
