#pragma once

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "playback/EngineTestSupport.h"
#include "playback/PlaybackChunk.h"
#include "player/Player.h"
#include "support/PlayerFixture.h"

namespace vornel::test {

// The player window's model on a virtual clock, created as the program
// creates it (Form_Load), with every cue recorded before the window answers it.
class PlayerTest : public ::testing::Test, protected PlayerFixture {
protected:
    struct Cue {
        double atMs;
        std::int32_t tag;
    };

    PlayerTest() {
        player.Form_Load();
        // These tests pin the bar-line rule, with its blinking label; the
        // tests of chords heard at once choose that mode.
        st.engine.ChordChange = ChordChangeMode::NextBarLine;
        st.engine.QueueAheadMs = st.engine.LeadMs;  // bar by bar, so that cue times read as before
        auto answer = output.CueReached;
        output.CueReached = [this, answer](std::int32_t tag) {
            cues.push_back({clock.nowMs(), tag});
            answer(tag);
        };
    }

    // A style in the tables as loading leaves it, Main A (two bars of 4/4 at
    // 1 ms per tick unless told otherwise) chosen.
    void loadMainA(const FileTiming& timing = {}, std::vector<Ev> events = {mark(60, 0), release(60, 300), mark(62, 384),
                                                                            release(62, 684)}) {
        loadTiming(reader, timing);
        storePart(st, 2, 0, 768, events);
        readyAsLoaded(st);
        player.Cmd_Part_Click(1);
    }

    std::size_t calls(DialogCall::Kind kind) const { return dialogs.count(kind); }
    bool lastCallWasFocus() const { return !dialogs.calls.empty() && dialogs.calls.back().kind == DialogCall::Kind::FocusKeyboardSink; }

    Notes notesPlayed() { return notesOf(sent()); }
    std::vector<double> timesOf(std::int32_t tag) const {
        std::vector<double> out;
        for (const Cue& c : cues)
            if (c.tag == tag) out.push_back(c.atMs);
        return out;
    }

    Player player{reader, output, style, language, dialogs, timer1, timer2, timer3};
    PlayerState& st = player.state();
    std::vector<Cue> cues;
};

}  // namespace vornel::test
