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

TEST_F(CueHandlingTest, ChunkStartEndsBlinkingAndMarksTheSelection) {
    select(6);
    state.ChordIdx = 21;
    timer1.start();
    timer3.start();
    state.Cmd_Part[6].colour = state.ColBlink;
    state.Lbl_Chord[21].colour = state.ColBlink;
    MIDIOutput1_CueReached(state, CueChunkStart);
    EXPECT_FALSE(timer1.running());
    EXPECT_FALSE(timer3.running());
    EXPECT_EQ(state.Cmd_Part[6].colour, state.ColSelected);
    EXPECT_EQ(state.Lbl_Chord[21].colour, state.ColSelected);
}

TEST_F(CueHandlingTest, CloseNotesSwitchesOffTheNotesOfEarlierChunks) {
    state.List2 = {{155, 57}, {153, 36}};
    state.List1 = {{155, 60}};
    state.ChordIdx = 3;
    MIDIOutput1_CueReached(state, CueCloseNotes);
    const auto s = sent();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].message.status, 155);
    EXPECT_EQ(s[0].message.data1, 57);
    EXPECT_EQ(s[1].message.data1, 36);
    EXPECT_TRUE(state.List2.empty());
    EXPECT_EQ(state.List1.size(), 1u);
    EXPECT_EQ(state.ClosedChord, 3);
}

TEST_F(CueHandlingTest, MeterCueRaisesTheChannelsMeterToTheNoteVelocity) {
    MIDIOutput1_CueReached(state, 10100);
    EXPECT_FLOAT_EQ(state.ProgressBar2[10], 100 * kMeterStep);
    MIDIOutput1_CueReached(state, 10040);
    EXPECT_FLOAT_EQ(state.ProgressBar2[10], 100 * kMeterStep) << "a softer note does not lower the meter";
    MIDIOutput1_CueReached(state, 16127);
    EXPECT_FLOAT_EQ(state.ProgressBar2[16], kMeterFullScale);
    MIDIOutput1_CueReached(state, 9064);
    EXPECT_NEAR(state.ProgressBar2[9], 997.8, 0.05);
}

TEST_F(CueHandlingTest, MeterStaysStillForASwitchedOffChannelOrWithMetersOff) {
    state.Cmd_DisCh[2].colour = state.ColOff;  // channel 11
    MIDIOutput1_CueReached(state, 11100);
    EXPECT_EQ(state.ProgressBar2[11], 0.0f);

    state.MetersOff = -1;
    MIDIOutput1_CueReached(state, 12100);
    EXPECT_EQ(state.ProgressBar2[12], 0.0f);
}

TEST_F(CueHandlingTest, MeterCueOfAChannelWithoutMeterChangesNothing) {
    for (std::int32_t tag : {1100, 5127, 8064, 17100, 500}) MIDIOutput1_CueReached(state, tag);
    for (float w : state.ProgressBar2) EXPECT_EQ(w, 0.0f);
}

TEST_F(CueHandlingTest, OtherTagsChangeNothing) {
    select(1);
    play();
    state.List2 = {{144, 60}};
    clearSent();
    const auto before = std::make_tuple(state.CurBar, state.PartOffset, state.QueuedTicks, state.CurPart, state.List1, state.List2,
                                        timer1.running(), timer3.running(), output.queuedCount());
    for (std::int32_t tag : {0, 5, 10, -5, -7, CueEnding}) MIDIOutput1_CueReached(state, tag);
    EXPECT_EQ(before, std::make_tuple(state.CurBar, state.PartOffset, state.QueuedTicks, state.CurPart, state.List1, state.List2,
                                      timer1.running(), timer3.running(), output.queuedCount()));
    EXPECT_TRUE(sent().empty());
}

TEST_F(CueHandlingTest, NextPartTagMinusOneIsHandledLikeMinusFour) {
    test::storePart(state, 1, 0, 768, {test::mark(40, 0)});
    select(0);
    play();
    const std::int32_t queued = state.QueuedTicks;
    MIDIOutput1_CueReached(state, -1);
    EXPECT_EQ(state.CurPart, 2);
    EXPECT_EQ(state.CurBar, 1);
    EXPECT_EQ(state.PartOffset, queued);
    EXPECT_EQ(state.QueuedTicks, queued + 384);
}

struct NextPartCase {
    int curPart;
    int mainButton;
};

class SetNextPartTable : public CueHandlingTest, public ::testing::WithParamInterface<NextPartCase> {};

TEST_P(SetNextPartTable, PressesTheMainPartThatFollows) {
    const NextPartCase c = GetParam();
    select(c.curPart - 1);
    state.Cmd_Stop.enabled = true;  // playing: the pressed button blinks
    SetNextPart(state);
    EXPECT_EQ(state.CurPart, c.mainButton + 1);
    EXPECT_EQ(state.PartName, state.Cmd_Part[static_cast<std::size_t>(c.mainButton)].caption);
    EXPECT_EQ(state.Cmd_Part[static_cast<std::size_t>(c.mainButton)].colour, state.ColSelected);
    EXPECT_EQ(timer1.running(), c.curPart != c.mainButton + 1);
}

INSTANTIATE_TEST_SUITE_P(Table, SetNextPartTable,
                         ::testing::Values(NextPartCase{1, 1}, NextPartCase{3, 1}, NextPartCase{18, 1}, NextPartCase{6, 6},
                                           NextPartCase{8, 6}, NextPartCase{17, 6}, NextPartCase{10, 10}, NextPartCase{12, 10},
                                           NextPartCase{14, 14}, NextPartCase{16, 14},
                                           // not in the table: the first enabled Main part
                                           NextPartCase{2, 1}, NextPartCase{7, 1}, NextPartCase{11, 1}, NextPartCase{4, 1},
                                           NextPartCase{13, 1}));

TEST_F(CueHandlingTest, SetNextPartFallsBackToTheFirstEnabledMainPart) {
    state.Cmd_Part[1].enabled = false;   // Main A
    state.Cmd_Part[14].enabled = false;  // Main D
    select(15);                          // Intro D, whose Main D is missing
    SetNextPart(state);
    EXPECT_EQ(state.CurPart, 7) << "Main B";

    for (int b : kMainButtons) state.Cmd_Part[static_cast<std::size_t>(b)].enabled = false;
    select(0);
    SetNextPart(state);
    EXPECT_EQ(state.CurPart, 1) << "nothing to press";
}

}  // namespace
}  // namespace vornel
