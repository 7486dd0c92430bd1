#include <gtest/gtest.h>

#include "player/PlayerTestFixture.h"

namespace vornel {
namespace {

using test::DialogCall;
using test::SentMessage;
using Kind = DialogCall::Kind;

class TransportTest : public test::PlayerTest {};

TEST_F(TransportTest, PlayCentresPitchBendOnEveryChannelThenStartsThePart) {
    loadMainA();
    st.List2 = {{144, 60}};
    dialogs.clear();
    player.Cmd_Play_Click();

    const auto s = sent();
    ASSERT_GE(s.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(s[static_cast<std::size_t>(i)].message.status, 224 + i);
        EXPECT_EQ(s[static_cast<std::size_t>(i)].message.data1, 0);
        EXPECT_EQ(s[static_cast<std::size_t>(i)].message.data2, 64);
    }
    EXPECT_EQ(test::withStatus(s, 224).size(), 1u);
    EXPECT_TRUE(st.List2.empty()) << "emptied without sending anything";
    EXPECT_DOUBLE_EQ(st.PartBars, 2.0);
    EXPECT_EQ(st.CurBar, 1);
    EXPECT_EQ(st.PartOffset, 0);
    EXPECT_EQ(st.Playing, 1);
    EXPECT_FALSE(st.Cmd_Play.enabled);
    EXPECT_TRUE(st.Cmd_Stop.enabled);
    EXPECT_TRUE(lastCallWasFocus());
    runTo(10);
    EXPECT_EQ(test::soundingNoteOns(sent()).size(), 1u);
}

TEST_F(TransportTest, PlayTakesAPartOfAFileWithoutNumeratorAsOneBar) {
    test::FileTiming t;
    t.timeSigNum = 0;
    loadMainA(t);
    player.Cmd_Play_Click();
    EXPECT_DOUBLE_EQ(st.PartBars, 1.0);
    runTo(5000);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 1u) << "the bars cannot be counted: reported once";
    EXPECT_EQ(timesOf(CueNextBar).size(), 1u);
    EXPECT_EQ(st.Playing, 0);
    EXPECT_TRUE(st.Cmd_Play.enabled);
}

TEST_F(TransportTest, PlayOnAFileWithoutResolutionStopsAfterOneErrorWithFiniteStamps) {
    test::FileTiming t;
    t.resolution = 0;
    loadMainA(t);
    player.Cmd_Play_Click();
    EXPECT_DOUBLE_EQ(st.PartBars, 1.0);
    runTo(3000);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 1u);
    EXPECT_EQ(output.stats().refused, 0u);
    EXPECT_TRUE(test::soundingNoteOns(sent()).empty());
    EXPECT_FALSE(st.Cmd_Stop.enabled);
}

TEST_F(TransportTest, SecondPlayWhilePlayingDoesNotQueueTwice) {
    loadMainA();
    player.Cmd_Play_Click();
    player.Cmd_Play_Click();
    runTo(800);
    EXPECT_EQ(test::soundingNoteOns(sent()).size(), 3u);
    EXPECT_EQ(timesOf(CueNextBar).size(), 2u);
}

TEST_F(TransportTest, StopSilencesEverythingAndReadiesTheWindow) {
    loadMainA({}, {test::mark(60, 0), test::mark(64, 100), {0x99, 36, 100, 200}});
    player.Cmd_Play_Click();
    st.ChordIdx = 4;
    runTo(250);
    ASSERT_EQ(test::soundingNotes(sent()).size(), 3u);
    dialogs.clear();
    player.Cmd_Stop_Click();

    EXPECT_TRUE(test::soundingNotes(sent()).empty());
    EXPECT_EQ(st.Playing, 0);
    EXPECT_EQ(st.QueuedTicks, 0);
    EXPECT_TRUE(st.Cmd_Play.enabled);
    EXPECT_FALSE(st.Cmd_Stop.enabled);
    EXPECT_TRUE(st.Cmd_Open.enabled);
    EXPECT_TRUE(st.Cmd_Settings.enabled);
    EXPECT_TRUE(st.Cmd_Exit.enabled);
    EXPECT_EQ(dialogs.count(Kind::FocusKeyboardSink), 1u);
    EXPECT_EQ(st.CurPart, 2) << "the part and the chord stay";
    EXPECT_EQ(st.ChordIdx, 4);
    runTo(2000);
    EXPECT_TRUE(test::soundingNotes(sent()).empty()) << "nothing queued before the stop sounds afterwards";
}

TEST_F(TransportTest, PlayAfterStopStartsTheSamePartFromItsBeginning) {
    loadMainA();
    player.Cmd_Play_Click();
    runTo(500);
    player.Cmd_Stop_Click();
    clearSent();
    clock.set(1000);
    player.Cmd_Play_Click();
    runTo(1500);
    const auto notes = test::soundingNoteOns(sent());
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].message.data1, 60);
    EXPECT_DOUBLE_EQ(notes[0].atMs, 1000);
    EXPECT_DOUBLE_EQ(notes[1].atMs, 1384);
}

TEST_F(TransportTest, StopIsDisabledWhileStopped) {
    loadMainA();
    player.Cmd_Stop_Click();
    EXPECT_TRUE(sent().empty());
}

TEST_F(TransportTest, PanicEndsEveryNoteAndPlaybackGoesOn) {
    loadMainA();
    player.Cmd_Play_Click();
    runTo(100);
    ASSERT_FALSE(test::soundingNotes(sent()).empty());
    const std::size_t before = sent().size();
    dialogs.clear();
    player.Cmd_Panic_Click();
    EXPECT_EQ(sent().size() - before, 4096u);
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
    EXPECT_TRUE(lastCallWasFocus());
    EXPECT_EQ(st.Playing, 1);
    runTo(400);
    EXPECT_EQ(test::soundingNotes(sent()).size(), 1u) << "the next bar sounds normally";
}

TEST_F(TransportTest, PanicWhileStoppedIsHarmless) {
    player.Cmd_Panic_Click();
    EXPECT_EQ(sent().size(), 4096u);
    EXPECT_EQ(st.Playing, 0);
    EXPECT_FALSE(st.Cmd_Stop.enabled);
}

TEST_F(TransportTest, PartPickedDuringPlaybackBlinksUntilItSounds) {
    loadMainA();
    test::storePart(st, 7, 1000, 1384, {test::mark(65, 0)});
    player.Cmd_Play_Click();
    runTo(100);
    player.Cmd_Part_Click(6);
    EXPECT_EQ(st.Cmd_Part[1].colour, st.ColNormal) << "the playing part's button turns grey at once";
    EXPECT_TRUE(timer1.running());
    runTo(380);
    EXPECT_TRUE(timer1.running());
    runTo(390);
    EXPECT_FALSE(timer1.running());
    EXPECT_EQ(st.Cmd_Part[6].colour, st.ColSelected);
}

TEST_F(TransportTest, ChordChangeMidBarClosesEarlierNotesAtOnceAndSoundsFromTheNextQueuedBar) {
    loadMainA({}, {test::mark(60, 0), test::mark(64, 10), test::mark(62, 384), test::mark(67, 394)});
    player.Cmd_Play_Click();
    runTo(250);  // bar 2 queued in C major at 192
    ASSERT_EQ(test::soundingNotes(sent()).size(), 2u);
    const std::size_t before = sent().size();

    player.Lbl_Chord_Click(21);
    const auto s = sent();
    ASSERT_EQ(s.size() - before, 2u);
    EXPECT_EQ(s[before].message.data1, 60);
    EXPECT_EQ(s[before + 1].message.data1, 64);
    EXPECT_TRUE(test::soundingNotes(s).empty());

    runTo(900);
    std::vector<std::pair<double, int>> notes;
    for (const SentMessage& m : test::soundingNoteOns(sent())) notes.push_back({m.atMs, m.message.data1});
    EXPECT_EQ(notes, (std::vector<std::pair<double, int>>{{0, 60}, {10, 64}, {384, 62}, {394, 67}, {768, 57}, {778, 60}}));
    EXPECT_EQ(timesOf(CueChunkStart), std::vector<double>{768});
    EXPECT_FALSE(timer3.running());
}

}  // namespace
}  // namespace vornel
