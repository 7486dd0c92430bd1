#include <gtest/gtest.h>

#include "midi/MidiVocabulary.h"
#include "player/PlayerTestFixture.h"
#include "support/NoteLedger.h"

namespace vornel {
namespace {

using test::DialogCall;
using Kind = DialogCall::Kind;

class TransportTest : public test::PlayerTest {};

TEST_F(TransportTest, PlayCentresPitchBendOnEveryChannelThenStartsThePart) {
    loadMainA();
    NoteEntry held;
    held.status = midi::kNoteOn;
    held.note = 60;
    st.engine.List2 = {held};
    dialogs.clear();
    player.Cmd_Play_Click();

    const auto s = sent();
    ASSERT_GE(s.size(), 16u);
    for (int i = 0; i < midi::kChannels; ++i)
        EXPECT_EQ(test::triple(s[static_cast<std::size_t>(i)]),
                  (test::Triple{midi::statusOf(midi::kPitchBend, i), midi::kBendCentreLsb, midi::kBendCentreMsb}));
    EXPECT_EQ(test::withStatus(s, midi::kPitchBend).size(), 1u);
    EXPECT_TRUE(st.engine.List2.empty()) << "emptied without sending anything";
    EXPECT_DOUBLE_EQ(st.engine.PartBars, 2.0);
    EXPECT_EQ(st.engine.CurBar, 1);
    EXPECT_EQ(st.engine.PartOffset, 0);
    EXPECT_EQ(st.engine.Playing, 1);
    EXPECT_EQ(test::commandBar(st), test::kPlayingBar);
    EXPECT_TRUE(lastCallWasFocus());
    runTo(10);
    EXPECT_EQ(test::soundingNoteOns(sent()).size(), 1u);

    player.Cmd_Play_Click();  // disabled: nothing is queued twice
    runTo(800);
    EXPECT_EQ(test::soundingNoteOns(sent()).size(), 3u);
    EXPECT_EQ(timesOf(CueNextBar).size(), 2u);
}

// A file without a resolution or a numerator: Play takes the part as one bar;
// the bars cannot be counted, which is reported once, and playback stops.
struct Uncountable {
    int resolution, timeSigNum;
    double cueAt;  // no bar of a length of 0 holds an event, so the cue comes at once
};

class TransportGuardTest : public TransportTest, public ::testing::WithParamInterface<Uncountable> {};

TEST_P(TransportGuardTest, PlayOnAFileWithoutBarsStopsAfterOneError) {
    test::FileTiming t;
    t.resolution = GetParam().resolution;
    t.timeSigNum = GetParam().timeSigNum;
    loadMainA(t);
    player.Cmd_Play_Click();
    EXPECT_DOUBLE_EQ(st.engine.PartBars, 1.0);
    runTo(5000);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 1u);
    EXPECT_EQ(timesOf(CueNextBar), std::vector<double>{GetParam().cueAt});
    EXPECT_EQ(output.stats().refused, 0u) << "every stamp is a finite number";
    EXPECT_TRUE(test::soundingNoteOns(sent()).empty());
    EXPECT_EQ(st.engine.Playing, 0);
    EXPECT_EQ(test::commandBar(st), test::kStoppedBar);
}

INSTANTIATE_TEST_SUITE_P(Guards, TransportGuardTest, ::testing::Values(Uncountable{0, 4, 0}, Uncountable{96, 0, 0}));

TEST_F(TransportTest, StopSilencesEverythingEndsBlinkingAndReadiesTheWindow) {
    const std::vector<test::Ev> bar{
        test::mark(60, 0), test::mark(64, 100), {midi::statusOf(midi::kNoteOn, midi::kDrumChannel), 36, 100, 200}};
    loadMainA({}, bar);
    test::storePart(st, 7, 0, 768, bar);
    player.Cmd_Play_Click();
    player.Cmd_Part_Click(6);   // Main B blinks until its bar sounds
    player.Lbl_Chord_Click(4);  // and E major until its bar sounds
    runTo(250);
    ASSERT_EQ(test::soundingNotes(sent()).size(), 3u);
    ASSERT_TRUE(timer1.running() && timer3.running());
    dialogs.clear();
    player.Cmd_Stop_Click();

    EXPECT_TRUE(test::soundingNotes(sent()).empty());
    EXPECT_EQ(st.engine.Playing, 0);
    EXPECT_EQ(st.engine.QueuedTicks, 0);
    EXPECT_EQ(test::commandBar(st), test::kStoppedBar);
    EXPECT_EQ(dialogs.count(Kind::FocusKeyboardSink), 1u);
    EXPECT_FALSE(timer1.running() || timer3.running());
    EXPECT_EQ(st.Cmd_Part[6].colour, st.ColSelected);
    EXPECT_EQ(st.Lbl_Chord[4].colour, st.ColSelected);
    EXPECT_EQ(st.engine.CurPart, 7) << "the part and the chord stay";
    EXPECT_EQ(st.engine.ChordIdx, 4);
    runTo(2000);
    EXPECT_TRUE(test::soundingNotes(sent()).empty()) << "nothing queued before the stop sounds afterwards";

    // Play again starts that part from its beginning, in that chord.
    clearSent();
    player.Cmd_Play_Click();
    runTo(2250);
    EXPECT_EQ(notesPlayed(), (test::Notes{{2000, 64}, {2100, 68}, {2200, 36}}));
}

// A note queued to start just after the Panic would sound on after it (and
// hang on a device that missed its switch-off): what has not sounded yet is
// dropped, and the style comes back at the next bar line, on time.
TEST_F(TransportTest, PanicEndsEveryNoteAndPlaybackGoesOnFromTheNextBarLine) {
    using test::mark;
    using test::release;
    loadMainA({}, {mark(60, 0), release(60, 300), mark(64, 102), release(64, 250), mark(62, 384), release(62, 684)});
    player.Cmd_Play_Click();
    runTo(100);
    ASSERT_FALSE(test::soundingNotes(sent()).empty());
    const std::size_t before = sent().size();
    dialogs.clear();
    player.Cmd_Panic_Click();
    EXPECT_EQ(sent().size() - before, 4096u);
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
    EXPECT_TRUE(lastCallWasFocus());
    EXPECT_EQ(st.engine.Playing, 1);
    runTo(700);
    EXPECT_EQ(notesPlayed(), (test::Notes{{0, 60}, {384, 62}})) << "the note due 2 ms after the Panic never sounds";
    EXPECT_TRUE(test::noteLifecycleFaults(sent(), [](const test::SentMessage& on) { return on.atMs + 300; }, 700).empty());
}

TEST_F(TransportTest, WhileStoppedStopDoesNothingAndPanicStartsNothing) {
    loadMainA();
    player.Cmd_Stop_Click();
    EXPECT_TRUE(sent().empty());
    player.Cmd_Panic_Click();
    EXPECT_EQ(sent().size(), 4096u);
    EXPECT_EQ(st.engine.Playing, 0);
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

// Nothing is pending when the part that plays is clicked again: a blinking
// button would promise a change that never comes.
TEST_F(TransportTest, ReclickingThePlayingPartStartsNoBlinking) {
    loadMainA();
    player.Cmd_Play_Click();
    runTo(100);
    player.Cmd_Part_Click(1);
    EXPECT_FALSE(timer1.running());
    EXPECT_EQ(st.Cmd_Part[1].colour, st.ColSelected);
    runTo(300);
    EXPECT_EQ(st.Cmd_Part[1].colour, st.ColSelected);
}

TEST_F(TransportTest, ChordChangeMidBarCutsNothingAndSoundsFromTheNextQueuedBar) {
    loadMainA({}, {test::mark(60, 0), test::mark(64, 10), test::mark(62, 384), test::mark(67, 394)});
    player.Cmd_Play_Click();
    runTo(250);  // bar 2 queued in C major, 150 ms before its bar line
    ASSERT_EQ(test::soundingNotes(sent()).size(), 2u);
    const std::size_t before = sent().size();

    player.Lbl_Chord_Click(21);
    EXPECT_EQ(sent().size(), before) << "nothing is cut at the click";

    runTo(900);
    EXPECT_EQ(notesPlayed(), (test::Notes{{0, 60}, {10, 64}, {384, 62}, {394, 67}, {768, 57}, {778, 60}}));
    // The notes without a note-off of their own end at the bar line where the
    // new chord starts, ahead of its Note Ons.
    const auto s = sent();
    std::vector<std::pair<double, int>> offs;
    for (const auto& m : s)
        if (m.message.status == midi::statusOf(midi::kNoteOn, 11) && m.message.data2 == 0)
            offs.push_back({m.atMs, m.message.data1});
    EXPECT_EQ(offs, (std::vector<std::pair<double, int>>{{768, 60}, {768, 64}, {768, 62}, {768, 67}}));
    EXPECT_EQ(test::soundingNotes(s).size(), 2u) << "only the new chord's notes";
    EXPECT_EQ(timesOf(CueChunkStart), std::vector<double>{768});
    EXPECT_FALSE(timer3.running());
}

}  // namespace
}  // namespace vornel
