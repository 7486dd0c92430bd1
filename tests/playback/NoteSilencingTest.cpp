#include "playback/NoteSilencing.h"

#include <gtest/gtest.h>

#include "playback/EngineFixture.h"
#include "support/OutputCalls.h"

namespace vornel {
namespace {

using test::SentMessage;

class NoteSilencingTest : public test::EngineTest {};

TEST_F(NoteSilencingTest, SendMessagePutsOneMessageOnTheWireAtOnce) {
    clock.set(250);
    SendMessage(state, 0xB3, 7, 90);
    const auto s = sent();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_DOUBLE_EQ(s[0].atMs, 250);
    EXPECT_EQ(s[0].message.status, 0xB3);
    EXPECT_EQ(s[0].message.data1, 7);
    EXPECT_EQ(s[0].message.data2, 90);
}

TEST_F(NoteSilencingTest, CloseActiveNotesSwitchesOffList2InOrderAndRecordsTheChord) {
    state.List2 = {{144, 5}, {159, 100}, {144, 5}};
    state.List1 = {{150, 60}};
    state.ChordIdx = 21;
    CloseActiveNotes(state);

    const auto s = sent();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].message.status, 144);
    EXPECT_EQ(s[0].message.data1, 5);
    EXPECT_EQ(s[1].message.status, 159);
    EXPECT_EQ(s[1].message.data1, 100);
    EXPECT_EQ(s[2].message.data1, 5) << "a repeated entry is switched off again";
    for (const SentMessage& m : s) EXPECT_EQ(m.message.data2, 0);
    EXPECT_TRUE(state.List2.empty());
    EXPECT_EQ(state.List1.size(), 1u) << "the latest chunk's notes are left alone";
    EXPECT_EQ(state.ClosedChord, 21);
}

TEST_F(NoteSilencingTest, CloseActiveNotesWithNothingListedStillRecordsTheChord) {
    state.ChordIdx = 7;
    CloseActiveNotes(state);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(state.ClosedChord, 7);
}

TEST_F(NoteSilencingTest, CloseAllSoundsEndsEveryNoteOfEveryChannel) {
    CloseAllSounds(state);
    const auto s = sent();
    ASSERT_EQ(s.size(), 4096u);
    EXPECT_EQ(s.front().message.status, 144);
    EXPECT_EQ(s.front().message.data1, 0);
    EXPECT_EQ(s[1].message.status, 128) << "the Note On comes before the Note Off of the same note";
    EXPECT_EQ(s[1].message.data1, 0);
    EXPECT_EQ(s.back().message.status, 143);
    EXPECT_EQ(s.back().message.data1, 127);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const int channel = static_cast<int>(i / 256);
        const int note = static_cast<int>(i % 256) / 2;
        const int status = (i % 2 == 0 ? 144 : 128) + channel;
        ASSERT_EQ(s[i].message.status, status) << i;
        ASSERT_EQ(s[i].message.data1, note) << i;
        ASSERT_EQ(s[i].message.data2, 0) << i;
    }
}

TEST_F(NoteSilencingTest, StopRitmDiscardsTheQueueEndsBlinkingAndSilences) {
    test::FileTiming t;
    timing(t);
    test::storePart(state, 2, 0, 768, {test::mark(60, 0), test::mark(62, 200), test::release(60, 300)});
    select(1);
    play();
    test::storePart(state, 7, 768, 1536, {test::mark(65, 0)});
    select(6);  // Main B while playing: it blinks
    state.Timer3.start();
    ASSERT_TRUE(timer1.running());
    runTo(150);  // the first note sounds, the second not yet
    ASSERT_EQ(test::soundingNotes(sent()).size(), 1u);

    const std::size_t before = sent().size();
    StopRitm(state);
    EXPECT_EQ(state.QueuedTicks, 0);
    EXPECT_EQ(state.Playing, 0);
    EXPECT_FALSE(timer1.running());
    EXPECT_FALSE(timer3.running());
    EXPECT_EQ(state.Cmd_Part[6].colour, state.ColSelected);
    EXPECT_EQ(state.Lbl_Chord[0].colour, state.ColSelected);
    EXPECT_EQ(sent().size() - before, 4096u);
    EXPECT_FALSE(state.List1.empty()) << "the note lists are left as they are";

    runTo(2000);
    EXPECT_EQ(sent().size() - before, 4096u) << "nothing queued before the stop plays";
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
    EXPECT_EQ(output.queuedCount(), 0u);
}

TEST_F(NoteSilencingTest, PlayAfterStopStampsFromZeroAgain) {
    timing();
    test::storePart(state, 2, 0, 384, {test::mark(60, 10)});
    select(1);
    play();
    runTo(100);
    StopRitm(state);
    clearSent();
    const double stoppedAt = clock.nowMs();
    play();
    runTo(stoppedAt + 20);
    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_DOUBLE_EQ(notes[0].first, stoppedAt + 10);
}

}  // namespace
}  // namespace vornel
