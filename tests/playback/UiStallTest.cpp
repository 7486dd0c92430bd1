// The engine never waits for the window: a UI thread that stalls for a
// second while playing (a slow repaint, a dialog) changes nothing that is
// heard, in any chord-change mode.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/Dispatcher.h"
#include "support/EngineSession.h"
#include "support/PlayerRig.h"

namespace vornel {
namespace {

using test::SentMessage;

struct Played {
    double atMs;
    int status, data1, data2;
    friend bool operator==(const Played&, const Played&) = default;
};

// Plays two Mains, an Ending and chord and part changes on a fixed script;
// with `stalls`, the UI thread runs nothing for a second at each of them.
std::vector<Played> play(ChordChangeMode mode, const std::vector<double>& stalls) {
    QueueDispatcher ui;
    test::PlayerRig rig(ui);
    rig.loadTiming(96, 7, 3, 96000);  // 7/8, 1 ms a tick: bars of 336 ms
    const auto part = [&](int p, int start, int bars, int base) {
        rig.storePart(p, start, start + bars * 336, [&](StyleData& style, int q) {
            for (int b = 0; b < bars; ++b) {
                for (int k = 0; k < 7; ++k) {
                    const int t = b * 336 + k * 48;
                    style.storeEvent(q, 0x9A, static_cast<std::int16_t>(base + (k % 3) * 4), 90, t, "", "");
                    style.storeEvent(q, 0x9A, static_cast<std::int16_t>(base + (k % 3) * 4), 0, t + 40, "", "");
                }
                style.storeEvent(q, 0x9C, 64, 80, b * 336, "", "");
                style.storeEvent(q, 0x9C, 64, 0, b * 336 + 335, "", "");
                style.storeEvent(q, 0x99, 36, 100, b * 336, "", "");
                style.storeEvent(q, 0x99, 36, 0, b * 336 + 10, "", "");
            }
        });
    };
    part(2, 0, 2, 48);     // Main A
    part(7, 1000, 1, 50);  // Main B
    part(4, 2000, 2, 52);  // Ending A
    Player& player = rig.player;
    PlayerState& s = player.state();
    s.engine.ChordChange = mode;
    player.Cmd_Part_Click(1);
    player.Cmd_Play_Click();
    // What the player does, and when (ms).
    const std::vector<std::pair<double, std::function<void()>>> script{
        {500, [&] { player.Lbl_Chord_Click(5); }}, {1210, [&] { player.Lbl_Chord_Click(19); }},
        {1700, [&] { player.Cmd_Part_Click(6); }}, {4100, [&] { player.Lbl_Chord_Click(7); }},
        {5200, [&] { player.Cmd_Part_Click(1); }}, {6600, [&] { player.Cmd_Part_Click(3); }}};
    std::size_t next = 0, stall = 0;
    double uiFreeFrom = 0.0;
    for (double t = 1.0; t <= 9000.0; t += 1.0) {
        rig.clock.set(t);
        rig.output.pump();
        if (stall < stalls.size() && t >= stalls[stall]) uiFreeFrom = stalls[stall++] + 1000.0;
        if (t < uiFreeFrom) continue;  // the window is busy: nothing it owns runs
        ui.drain();
        for (; next < script.size() && script[next].first <= t; ++next) script[next].second();
    }
    std::vector<Played> out;
    for (const SentMessage& m : rig.ports.log->snapshot())
        out.push_back({m.atMs, m.message.status, m.message.data1, m.message.data2});
    return out;
}

TEST(UiStallTest, ASecondsStallWhilePlayingChangesNothingThatIsHeard) {
    for (ChordChangeMode mode : {ChordChangeMode::AtOnce, ChordChangeMode::NextBeat, ChordChangeMode::NextBarLine}) {
        const std::vector<Played> calm = play(mode, {});
        ASSERT_GT(calm.size(), 100u);
        // Across bar lines, just after a chord, across a part change and
        // the Ending's start; never over a moment the player does something,
        // which a busy window would take late.
        for (const std::vector<double>& stalls :
             {std::vector<double>{2350}, std::vector<double>{2230, 5215}, std::vector<double>{3050, 6605}}) {
            EXPECT_EQ(play(mode, stalls), calm) << "mode " << static_cast<int>(mode) << ", stall at " << stalls[0];
        }
    }
}

}  // namespace
}  // namespace vornel
