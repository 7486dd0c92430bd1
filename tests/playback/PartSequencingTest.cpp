#include "playback/PartSequencing.h"

#include <gtest/gtest.h>

#include "playback/EngineFixture.h"

namespace vornel {
namespace {

using test::mark;
using test::release;

// 96 ticks per quarter at 1 ms per tick, 4/4: a bar is 384 ticks and 384 ms,
// so every stamp reads directly as a tick.
class PartSequencingTest : public test::EngineTest {
protected:
    PartSequencingTest() { timing(); }
};

TEST_F(PartSequencingTest, MainPartLoopsBarByBar) {
    barPart(2, 2, 60);
    select(1);
    play();
    runTo(1600);

    const auto nextBar = cuesTagged(CueNextBar);
    ASSERT_EQ(nextBar.size(), 4u);
    const double cueAt[] = {192, 576, 960, 1344};
    const int curBar[] = {2, 1, 2, 1};
    const int partOffset[] = {0, 768, 768, 1536};
    const int queued[] = {768, 1152, 1536, 1920};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(nextBar[i].atMs, cueAt[i]) << i;
        EXPECT_EQ(nextBar[i].CurBar, curBar[i]) << i;
        EXPECT_EQ(nextBar[i].PartOffset, partOffset[i]) << i;
        EXPECT_EQ(nextBar[i].QueuedTicks, queued[i]) << i;
    }
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 61}, {768, 60}, {1152, 61}, {1536, 60}}));
    EXPECT_EQ(errorBoxes(), 0u);
}

TEST_F(PartSequencingTest, IntroLeadsIntoItsMainPart) {
    barPart(1, 2, 40);  // Intro A
    barPart(2, 1, 60);  // Main A
    barPart(7, 1, 74);  // Main B, to show the table is followed
    select(0);
    play();
    runTo(600);
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{576});
    EXPECT_EQ(state.engine.CurPart, 2);
    EXPECT_EQ(state.engine.PartName, "Main A");
    EXPECT_EQ(state.engine.CurBar, 1);
    EXPECT_EQ(state.engine.PartOffset, 768);
    EXPECT_EQ(state.engine.QueuedTicks, 1152);
    EXPECT_TRUE(timer1.running()) << "the Main button blinks until its first chunk sounds";

    runTo(1200);
    EXPECT_EQ(timesOf(CueChunkStart), std::vector<double>{768});
    EXPECT_FALSE(timer1.running());
    EXPECT_EQ(state.Cmd_Part[1].colour, state.ColSelected);
    EXPECT_EQ(timesOf(CueNextBar), std::vector<double>{960});
    EXPECT_EQ(notesPlayed(), (Notes{{0, 40}, {384, 41}, {768, 60}, {1152, 60}}));
}

TEST_F(PartSequencingTest, FillInPickedDuringAMainBarPlaysAtTheNextBarLineThenReturns) {
    barPart(2, 2, 60);  // Main A
    barPart(3, 2, 50);  // Fill In AA
    select(1);
    play();
    runTo(100);
    select(2);
    runTo(1600);
    // Main A bar 1, the fill whole from the next bar line, then Main A again
    // from its first bar where the fill ends.
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 50}, {768, 51}, {1152, 60}, {1536, 61}}));
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{1152 - 192});
    EXPECT_EQ(state.engine.CurPart, 2);
}

TEST_F(PartSequencingTest, PartPickedDuringAnIntroIsReplacedByTheMainPartThatFollowsIt) {
    barPart(1, 2, 40);  // Intro A
    barPart(2, 1, 60);  // Main A
    barPart(6, 1, 50);  // Fill In BB
    barPart(7, 1, 74);  // Main B
    select(0);
    play();
    runTo(100);
    select(5);  // Fill In BB: its Main part is Main B
    runTo(1000);
    EXPECT_EQ(state.engine.CurPart, 7);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 40}, {384, 41}, {768, 74}}));
}

TEST_F(PartSequencingTest, EndingPlaysOnceFromTheNextBarLineAndStopsAfterItsWrittenEnd) {
    barPart(2, 2, 60);
    // Ending A: its second bar's note and a drum note are never released.
    test::storePart(state, 4, 0, 768, {mark(80, 0), release(80, 300), mark(81, 384), {0x99, 36, 100, 700}});
    select(1);
    play();
    runTo(100);
    select(3);
    runTo(3000);

    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 80}, {768, 81}, {1084, 36}}));
    EXPECT_EQ(timesOf(CueEnding), std::vector<double>{1152});
    ASSERT_EQ(doneAt.size(), 1u);
    EXPECT_DOUBLE_EQ(doneAt[0], 384 + 768) << "the unreleased notes sound to the ending's written end";
    EXPECT_EQ(state.engine.QueuedTicks, 0);
    EXPECT_EQ(state.engine.Playing, 0);
    EXPECT_EQ(test::commandBar(state), test::kStoppedBar);
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
    EXPECT_EQ(output.queuedCount(), 0u);
    // Play starts the song again, not its Ending.
    EXPECT_EQ(state.engine.CurPart, 2);
    EXPECT_EQ(state.Cmd_Part[1].colour, state.ColSelected);
    EXPECT_FALSE(state.Timer1.running());
}

TEST_F(PartSequencingTest, EndingPickedBeforePlayPlaysAloneAndStops) {
    barPart(4, 1, 80);
    select(3);
    play();
    runTo(1000);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 80}}));
    EXPECT_EQ(doneAt.size(), 1u);
    EXPECT_FALSE(state.Cmd_Stop.enabled);
}

TEST_F(PartSequencingTest, EmptyMainPartPickedWhilePlayingIsReportedOnceAndPlaybackRunsOut) {
    barPart(2, 2, 60);
    test::storePart(state, 7, 0, 768, {});
    select(1);
    play();
    runTo(100);
    select(6);
    runTo(5000);
    EXPECT_EQ(errorBoxes(), 1u);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}}));
    EXPECT_EQ(doneAt.size(), 1u);
    EXPECT_EQ(test::commandBar(state), test::kStoppedBar);
    EXPECT_EQ(state.engine.Playing, 0);
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
}

}  // namespace
}  // namespace vornel
