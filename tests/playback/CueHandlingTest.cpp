#include <gtest/gtest.h>

#include "player/LevelMeters.h"
#include "playback/EngineFixture.h"

namespace vornel {
namespace {

class CueHandlingTest : public test::EngineTest {
protected:
    CueHandlingTest() {
        timing();
        for (int p = 1; p <= 18; ++p) test::storePart(state, p, 0, 384, {test::mark(60, 0)});
        for (float& w : state.ProgressBar2) w = 0.0f;
    }
};

TEST_F(CueHandlingTest, MeterCueRaisesTheMeterOfAnAudibleMeteredChannelOnly) {
    MIDIOutput1_CueReached(state.engine, 9064);
    EXPECT_NEAR(state.ProgressBar2[9], 997.8, 0.05);
    MIDIOutput1_CueReached(state.engine, 9040);
    EXPECT_NEAR(state.ProgressBar2[9], 997.8, 0.05) << "a softer note does not lower the meter";
    MIDIOutput1_CueReached(state.engine, 16127);
    EXPECT_FLOAT_EQ(state.ProgressBar2[16], kMeterFullScale);

    // Channels without a meter, a switched-off channel (11), then meters off.
    for (std::int32_t tag : {1100, 5127, 8064, 17100, 500}) MIDIOutput1_CueReached(state.engine, tag);
    state.Cmd_DisCh[2].colour = state.ColOff;
    MIDIOutput1_CueReached(state.engine, 11100);
    state.MetersOff = -1;
    MIDIOutput1_CueReached(state.engine, 12100);
    for (std::size_t ch = 0; ch < state.ProgressBar2.size(); ++ch)
        EXPECT_EQ(state.ProgressBar2[ch], ch == 9 || ch == 16 ? state.ProgressBar2[ch] : 0.0f) << ch;
}

TEST_F(CueHandlingTest, NextPartTagMinusOneIsHandledLikeMinusFour) {
    test::storePart(state, 1, 0, 768, {test::mark(40, 0)});
    select(0);
    play();
    const std::int32_t queued = state.engine.QueuedTicks;
    MIDIOutput1_CueReached(state.engine, -1);
    EXPECT_EQ(state.engine.CurPart, 2);
    EXPECT_EQ(state.engine.CurBar, 1);
    EXPECT_EQ(state.engine.PartOffset, queued);
    EXPECT_EQ(state.engine.QueuedTicks, queued + 384);
}

// (current part, the Main button SetNextPart presses); parts outside the
// table lead to the first enabled Main part.
class SetNextPartTable : public CueHandlingTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(SetNextPartTable, PressesTheMainPartThatFollows) {
    const auto [curPart, mainButton] = GetParam();
    const auto main = static_cast<std::size_t>(mainButton);
    select(curPart - 1);
    state.Cmd_Stop.enabled = true;  // playing: the pressed button blinks
    SetNextPart(state.engine);
    EXPECT_EQ(state.engine.CurPart, mainButton + 1);
    EXPECT_EQ(state.engine.PartName, state.Cmd_Part[main].caption);
    EXPECT_EQ(state.Cmd_Part[main].colour, state.ColSelected);
    EXPECT_EQ(timer1.running(), curPart != mainButton + 1);
}

INSTANTIATE_TEST_SUITE_P(Table, SetNextPartTable,
                         ::testing::Values(std::pair{1, 1}, std::pair{3, 1}, std::pair{18, 1}, std::pair{6, 6},
                                           std::pair{8, 6}, std::pair{17, 6}, std::pair{10, 10}, std::pair{12, 10},
                                           std::pair{14, 14}, std::pair{16, 14}, std::pair{2, 1}, std::pair{7, 1},
                                           std::pair{11, 1}, std::pair{4, 1}, std::pair{13, 1}));

TEST_F(CueHandlingTest, SetNextPartFallsBackToTheFirstEnabledMainPart) {
    state.Cmd_Part[1].enabled = false;   // Main A
    state.Cmd_Part[14].enabled = false;  // Main D
    select(15);                          // Intro D, whose Main D is missing
    SetNextPart(state.engine);
    EXPECT_EQ(state.engine.CurPart, 7) << "Main B";

    for (int b : kMainButtons) state.Cmd_Part[static_cast<std::size_t>(b)].enabled = false;
    select(0);
    SetNextPart(state.engine);
    EXPECT_EQ(state.engine.CurPart, 1) << "nothing to press";
}

}  // namespace
}  // namespace vornel
