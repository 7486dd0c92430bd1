#include "playback/PlaybackChunk.h"

#include <gtest/gtest.h>

#include "playback/EngineFixture.h"

namespace vornel {
namespace {

using test::Ev;
using test::mark;
using test::release;
using test::SentMessage;

// One chunk on its own: the cues are recorded but not answered.
class PlaybackChunkTest : public test::EngineTest {
protected:
    PlaybackChunkTest() { sequencing = false; }

    // 96 ticks per quarter at 500,000 µs: a tick is 500/96 ms in single
    // precision, as the chunk computes it.
    void spedAsTheFile() {
        test::FileTiming t;
        t.tempo = 500000;
        timing(t);
    }
    static double msAt(double tick) { return static_cast<double>(static_cast<float>(500.0 / 96.0)) * tick; }
    // The component sends a message at the first 1 ms step at or after its stamp.
    static void expectStampOfTick(double atMs, double tick) {
        EXPECT_GE(atMs, msAt(tick) - 1e-9) << "tick " << tick;
        EXPECT_LT(atMs, msAt(tick) + 1.0) << "tick " << tick;
    }
};

TEST_F(PlaybackChunkTest, BarChunkOfAMainPartQueuesOneBarWithItsCues) {
    spedAsTheFile();
    test::storePart(state, 2, 0, 768, {mark(60, 0), mark(62, 100), release(60, 383), mark(64, 384), mark(65, 700)});
    select(1);
    play();
    EXPECT_EQ(state.QueuedTicks, 384);
    EXPECT_EQ(state.Playing, 1);
    runTo(4100);

    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 2u) << "only bar 1 is queued";
    expectStampOfTick(notes[0].first, 0);
    expectStampOfTick(notes[1].first, 100);
    const auto closing = test::withStatus(sent(), 0x9B);
    ASSERT_EQ(closing.size(), 3u);
    expectStampOfTick(closing[2].atMs, 383);  // just under 2,000 ms
    EXPECT_LT(closing[2].atMs, 2000.0);

    ASSERT_EQ(timesOf(CueNextBar).size(), 1u);
    expectStampOfTick(timesOf(CueNextBar)[0], 192);
    EXPECT_NEAR(timesOf(CueNextBar)[0], 1000.0, 1.0);
    ASSERT_EQ(timesOf(CueCloseNotes).size(), 1u);
    expectStampOfTick(timesOf(CueCloseNotes)[0], 369);
    EXPECT_TRUE(timesOf(CueChunkStart).empty()) << "nothing was pending";
}

TEST_F(PlaybackChunkTest, FillInIsQueuedWholeWithItsNextPartCue) {
    timing();
    test::storePart(state, 3, 384, 1152, {mark(60, 0), mark(62, 383), mark(64, 384), mark(65, 767)});
    select(2);
    state.QueuedTicks = 384;
    play();
    EXPECT_EQ(state.QueuedTicks, 384 + 768);
    EXPECT_EQ(state.CurBar, 1);
    EXPECT_EQ(state.PartOffset, 384);
    runTo(1300);

    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_DOUBLE_EQ(notes[0].first, 384);
    EXPECT_DOUBLE_EQ(notes[3].first, 384 + 767);
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{384 + 192});
    EXPECT_EQ(timesOf(CueCloseNotes), std::vector<double>{384 + 369});
    EXPECT_TRUE(timesOf(CueNextBar).empty());
}

TEST_F(PlaybackChunkTest, IntroClosesNotesFifteenTicksBeforeItsEnd) {
    timing();
    test::storePart(state, 1, 0, 1536, {mark(60, 0), mark(62, 1535)});
    select(0);
    play();
    runTo(1600);
    EXPECT_EQ(timesOf(CueCloseNotes), std::vector<double>{1521});
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{192});
    EXPECT_EQ(state.QueuedTicks, 1536);
}

TEST_F(PlaybackChunkTest, EndingIsQueuedWholeWithTheEndingCue) {
    timing();
    test::storePart(state, 4, 0, 768, {mark(60, 0), mark(62, 700)});
    select(3);
    play();
    runTo(800);
    EXPECT_EQ(timesOf(CueEnding), std::vector<double>{192});
    EXPECT_EQ(timesOf(CueCloseNotes), std::vector<double>{369});
    EXPECT_EQ(notesPlayed().size(), 2u);
}

TEST_F(PlaybackChunkTest, AnEventOnTheNextBarLineEndsTheScan) {
    timing();
    // The third event is out of time order on purpose: it is only reached if
    // the scan goes on past the bar line.
    test::storePart(state, 2, 0, 768, {mark(60, 0), mark(62, 384), mark(64, 10)});
    select(1);
    play();
    runTo(800);
    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].second, 60);
}

TEST_F(PlaybackChunkTest, SecondBarTakesOnlyItsOwnEvents) {
    timing();
    test::storePart(state, 2, 0, 768, {mark(60, 0), mark(62, 383), mark(64, 384), mark(65, 767)});
    select(1);
    play();
    runTo(50);
    clearSent();
    state.CurBar = 2;
    PlayRitm(state, 2);
    runTo(800);
    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].second, 62);
    EXPECT_EQ(notes[1].second, 64);
    EXPECT_DOUBLE_EQ(notes[1].first, 384) << "bar 2 of the pass that began at 0";
    EXPECT_DOUBLE_EQ(notes[2].first, 767);
}

TEST_F(PlaybackChunkTest, PartOfFractionalLengthTakesItsCueAQuarterBarIn) {
    timing();
    test::storePart(state, 2, 0, 960, {mark(60, 0)});
    select(1);
    play();
    EXPECT_DOUBLE_EQ(state.PartBars, 2.5);
    runTo(400);
    EXPECT_EQ(timesOf(CueNextBar), std::vector<double>{96});
}

TEST_F(PlaybackChunkTest, NoteOnsCarryTheirMeterCueAndOtherMessagesNone) {
    timing();
    test::storePart(state, 2, 0, 384, {{0x99, 36, 100, 0}, {0xBB, 7, 90, 5}, {0x9B, 60, 64, 10}});
    select(1);
    play();
    runTo(100);
    std::vector<std::int32_t> tags;
    for (const Cue& c : cues) tags.push_back(c.tag);
    EXPECT_EQ(tags, (std::vector<std::int32_t>{10100, 12064}));
    EXPECT_EQ(test::withStatus(sent(), 0xBB).size(), 1u) << "the control change is sent, untagged";
}

TEST_F(PlaybackChunkTest, StoredSystemExclusiveIsQueuedAsAThreeByteMessageAndRefused) {
    timing();
    test::storePart(state, 2, 0, 384, {mark(60, 0)});
    state.style.storeEvent(2, 240, 0, 0, 5, "", std::string("\xF0\x7E\x7F\x09\x01\xF7", 6));
    select(1);
    const auto refusedBefore = output.stats().refused;
    play();
    EXPECT_EQ(output.stats().refused, refusedBefore + 1) << "a 240 without system-exclusive data is not MIDI";
    runTo(400);
    EXPECT_TRUE(test::withStatus(sent(), 240).empty());
    EXPECT_EQ(notesPlayed().size(), 1u);
}

TEST_F(PlaybackChunkTest, ChunkStartCueIsQueuedAtTheBarLineWhileAChangeIsPending) {
    timing();
    test::storePart(state, 2, 0, 768, {mark(60, 10)});
    select(1);
    state.QueuedTicks = 384;
    state.PartOffset = 384;
    timer3.start();
    play();
    runTo(500);
    EXPECT_EQ(timesOf(CueChunkStart), std::vector<double>{384});

    cues.clear();
    timer3.stop();
    timer1.start();
    state.CurBar = 2;
    PlayRitm(state, 2);
    runTo(900);
    EXPECT_EQ(timesOf(CueChunkStart), std::vector<double>{768});
}

TEST_F(PlaybackChunkTest, NotesAreTransposedToTheChordAndListedAsQueued) {
    timing();
    test::storePart(state, 2, 0, 768,
                    {{0x9B, 60, 100, 0}, {0x9B, 64, 100, 0}, {0x9B, 67, 100, 0}, {0x9B, 71, 100, 10}, {0x99, 36, 100, 0},
                     {0x8B, 71, 0, 50}, {0x9B, 60, 0, 100}, {0x9B, 60, 100, 200}, {0x9B, 62, 100, 400}});
    select(1);
    state.Transpose = -3;
    state.IsMinor = 1;
    state.List1 = {{150, 1}};
    play();
    const std::vector<NoteEntry> expected{{155, 57}, {155, 60}, {155, 64}, {155, 69}, {153, 36}, {155, 57}, {155, 57}};
    EXPECT_EQ(state.List1, expected);
    EXPECT_EQ(state.List2, (std::vector<NoteEntry>{{150, 1}})) << "the previous chunk's notes wait to be switched off";
    runTo(300);
    std::vector<int> played;
    for (const auto& n : notesPlayed()) played.push_back(n.second);
    EXPECT_EQ(played, (std::vector<int>{57, 60, 64, 36, 69, 57}));
    const auto off = test::withStatus(sent(), 0x8B);
    ASSERT_EQ(off.size(), 1u);
    EXPECT_EQ(off[0].message.data1, 69);

    state.CurBar = 2;
    PlayRitm(state, 2);
    EXPECT_EQ(state.List1, (std::vector<NoteEntry>{{155, 59}}));
    std::vector<NoteEntry> waiting{{150, 1}};
    waiting.insert(waiting.end(), expected.begin(), expected.end());
    EXPECT_EQ(state.List2, waiting);
}

TEST_F(PlaybackChunkTest, ChunkPutsTheWindowInThePlayingState) {
    timing();
    test::storePart(state, 2, 0, 384, {mark(60, 0)});
    select(1);
    play();
    EXPECT_FALSE(state.Cmd_Play.enabled);
    EXPECT_FALSE(state.Cmd_Open.enabled);
    EXPECT_FALSE(state.Cmd_Settings.enabled);
    EXPECT_FALSE(state.Cmd_Exit.enabled);
    EXPECT_TRUE(state.Cmd_Stop.enabled);
}

class SetupResendTest : public PlaybackChunkTest {
protected:
    SetupResendTest() {
        test::FileTiming t;
        t.setup = {{203, 33, 0}, {185, 0, 127}, {185, 32, 3}, {186, 32, 5}, {186, 0, 0}, {187, 32, 1}};
        t.later = {{204, 40, 0}};
        timing(t);
    }
    // The setup messages sent at once, as (status, data1, data2).
    std::vector<std::array<int, 3>> resent() {
        std::vector<std::array<int, 3>> out;
        for (const SentMessage& m : sent())
            if (m.message.status >= 176 && m.message.status < 208 && m.message.status != 0xBB)
                out.push_back({m.message.status, m.message.data1, m.message.data2});
        return out;
    }
};

TEST_F(SetupResendTest, ProgramChangesAndBankSelectOfTrackOneAreSentAgain) {
    test::storePart(state, 2, 0, 768, {mark(60, 0)});
    select(1);
    play();
    EXPECT_EQ(resent(), (std::vector<std::array<int, 3>>{{203, 33, 0}, {185, 0, 127}, {185, 32, 3}}))
        << "only an LSB right after an MSB of 127 goes out; events after a delta do not";
}

TEST_F(SetupResendTest, ABankSelectAmongTheScannedEventsSuppressesTheResend) {
    test::storePart(state, 2, 0, 768, {mark(60, 0), mark(62, 384), {0xBB, 32, 1, 400}});
    select(1);
    play();
    EXPECT_EQ(resent().size(), 3u) << "the scan of bar 1 stops at bar 2's first event, before the bank select";
    clearSent();
    state.CurBar = 2;
    PlayRitm(state, 2);
    EXPECT_TRUE(resent().empty());
    clearSent();
    state.CurBar = 1;
    PlayRitm(state, 2);
    EXPECT_EQ(resent().size(), 3u) << "for that chunk only";
}

TEST_F(SetupResendTest, ABankSelectOutsideTheWindowStillCounts) {
    test::storePart(state, 2, 0, 768, {{0xBB, 32, 1, 0}, mark(60, 10), mark(62, 400)});
    select(1);
    state.CurBar = 2;
    state.QueuedTicks = 384;
    PlayRitm(state, 2);
    EXPECT_TRUE(resent().empty());
}

TEST_F(PlaybackChunkTest, PartWithoutDataIsReportedAndNothingStarts) {
    timing();
    test::storePart(state, 2, 0, 768, {});
    select(1);
    play();
    const auto boxes = dialogs.of(test::DialogCall::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Bu kısımda data yok");
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(state.QueuedTicks, 0);
    EXPECT_EQ(output.queuedCount(), 0u) << "no cue of a chunk that never starts";
    EXPECT_EQ(state.Playing, 0) << "a stopped window stays stopped";
    EXPECT_TRUE(state.Cmd_Play.enabled);
    EXPECT_FALSE(state.Cmd_Stop.enabled);
    runTo(2000);
    EXPECT_TRUE(cues.empty());
    EXPECT_TRUE(sent().empty());
}

TEST_F(PlaybackChunkTest, PartWithoutDataSpeaksTheCurrentLanguage) {
    language.LangNo = kLangEnglish;
    timing();
    test::storePart(state, 4, 0, 768, {});
    select(3);
    play();
    ASSERT_EQ(dialogs.count(test::DialogCall::Kind::MessageBox), 1u);
    EXPECT_EQ(dialogs.calls.back().text, "There is no data in this part");
}

TEST_F(PlaybackChunkTest, BarPositionsBeyondSixteenBitsAreExact) {
    test::FileTiming t;
    t.resolution = 1920;
    t.tempo = 1920000;  // 1 ms per tick
    timing(t);
    std::vector<Ev> events;
    for (int bar = 1; bar <= 8; ++bar) {
        events.push_back(mark(59 + bar, (bar - 1) * 7680));
        events.push_back(release(59 + bar, (bar - 1) * 7680 + 7000));
    }
    test::storePart(state, 2, 0, 8 * 7680, events);
    select(1);
    state.PartBars = 8;
    state.CurBar = 6;
    state.PartOffset = 0;
    state.QueuedTicks = 5 * 7680;  // 38,400: past 32,767
    PlayRitm(state, 2);
    EXPECT_EQ(state.QueuedTicks, 6 * 7680);
    runTo(6 * 7680 + 100);
    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].second, 65);
    EXPECT_DOUBLE_EQ(notes[0].first, 38400);
    EXPECT_EQ(timesOf(CueNextBar), std::vector<double>{38400 + 3840});
    EXPECT_EQ(timesOf(CueCloseNotes), std::vector<double>{38400 + 7680 - 15});
}

TEST_F(PlaybackChunkTest, FileWithoutResolutionQueuesNoEventsAndOnlyFiniteStamps) {
    test::FileTiming t;
    t.resolution = 0;
    timing(t);
    ASSERT_EQ(reader.Resolution(), 0);
    test::storePart(state, 3, 0, 768, {mark(60, 0), mark(62, 400)});
    select(2);
    state.PartBars = 1;  // as Play takes such a part
    play();
    EXPECT_EQ(output.stats().refused, 0u) << "every stamp is a finite number";
    runTo(100);
    EXPECT_TRUE(notesPlayed().empty()) << "ticks without a length cannot be placed in time";
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{0});
}

TEST_F(PlaybackChunkTest, FileWithTempoZeroPlaysAtTheDefaultTempo) {
    test::FileTiming t;
    t.tempo = 0;
    timing(t);
    ASSERT_EQ(reader.Tempo(), 0);
    test::storePart(state, 2, 0, 384, {mark(60, 0), mark(62, 96)});
    select(1);
    play();
    runTo(1100);
    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NEAR(notes[1].first, 500.0, 1.0) << "a quarter note at 120 per minute";
    EXPECT_NEAR(timesOf(CueNextBar).at(0), 1000.0, 1.0);
}

}  // namespace
}  // namespace vornel
