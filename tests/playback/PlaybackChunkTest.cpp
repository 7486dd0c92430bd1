#include "playback/PlaybackChunk.h"

#include <gtest/gtest.h>

#include "playback/EngineFixture.h"

namespace vornel {
namespace {

using test::Ev;
using test::mark;
using test::release;
using test::SentMessage;

// One chunk on its own: the cues are recorded but not answered. Unless told
// otherwise a tick lasts 1 ms, so stamps read as ticks (the walk-through
// follows a chunk at a tempo whose ticks are not whole milliseconds).
class PlaybackChunkTest : public test::EngineTest {
protected:
    PlaybackChunkTest() { sequencing = false; }
};

TEST_F(PlaybackChunkTest, BarChunkOfAMainPartQueuesOneBarWithItsCues) {
    timing();
    test::storePart(state, 2, 0, 768, {mark(60, 0), mark(62, 100), release(60, 383), mark(64, 384), mark(65, 700)});
    select(1);
    play();
    EXPECT_EQ(state.engine.QueuedTicks, 384);
    EXPECT_EQ(state.engine.Playing, 1);
    EXPECT_EQ(test::commandBar(state), test::kPlayingBar);
    runTo(1000);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {100, 62}})) << "only bar 1 is queued";
    EXPECT_EQ(test::withStatus(sent(), 0x9B).back().atMs, 383);
    EXPECT_EQ(timesOf(CueNextBar), std::vector<double>{192}) << "the lead before the bar's end";
    EXPECT_TRUE(timesOf(CueChunkStart).empty()) << "nothing was pending";
}

TEST_F(PlaybackChunkTest, ABarTakesTheEventsBeforeTheNextBarLineOnly) {
    timing();
    // The last event is out of time order on purpose: it is only reached if
    // the scan goes on past the bar line.
    test::storePart(state, 2, 0, 768, {mark(60, 0), mark(62, 383), mark(64, 384), mark(65, 767), mark(66, 10)});
    select(1);
    play();
    runTo(50);
    state.engine.CurBar = 2;
    PlayRitm(state.engine, 2);
    runTo(800);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {383, 62}, {384, 64}, {767, 65}}));
}

TEST_F(PlaybackChunkTest, FillInIsQueuedWholeWithItsNextPartCue) {
    timing();
    test::storePart(state, 3, 384, 1152, {mark(60, 0), mark(62, 383), mark(64, 384), mark(65, 767)});
    select(2);
    state.engine.QueuedTicks = 384;
    state.engine.QueuedMs = 384;
    play();
    EXPECT_EQ(state.engine.QueuedTicks, 384 + 768);
    EXPECT_EQ(state.engine.CurBar, 1);
    EXPECT_EQ(state.engine.PartOffset, 384);
    runTo(1300);
    EXPECT_EQ(notesPlayed(), (Notes{{384, 60}, {384 + 383, 62}, {384 + 384, 64}, {384 + 767, 65}}));
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{384 + 768 - 192}) << "the lead before the fill's end";
    EXPECT_TRUE(timesOf(CueNextBar).empty());
}

TEST_F(PlaybackChunkTest, NotesWithoutTheirNoteOffEndAtTheEndOfTheirPartAndTheEnding) {
    timing();
    test::storePart(state, 1, 0, 1536, {mark(60, 0), mark(62, 1535)});
    test::storePart(state, 4, 0, 768, {mark(64, 0), mark(65, 700)});
    select(0);
    play();
    EXPECT_EQ(state.engine.QueuedTicks, 1536);
    select(3);
    PlayRitm(state.engine, 4);
    runTo(2400);
    EXPECT_EQ(timesOf(CueNextPart), std::vector<double>{1536 - 192});
    EXPECT_EQ(timesOf(CueEnding), std::vector<double>{1536 + 768}) << "nothing follows: no lead";
    EXPECT_EQ(notesPlayed().size(), 4u);
    std::vector<std::pair<double, int>> offs;
    for (const SentMessage& m : sent())
        if (m.message.status == 0x9B && m.message.data2 == 0) offs.push_back({m.atMs, m.message.data1});
    EXPECT_EQ(offs, (std::vector<std::pair<double, int>>{{1536, 60}, {1536, 62}, {2304, 64}, {2304, 65}}));
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
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

// Track 1's sound setup: program changes, and a bank select LSB only right
// after an MSB of 127; events after a delta are not part of it.
class SetupResendTest : public PlaybackChunkTest {
protected:
    SetupResendTest() {
        test::FileTiming t;
        t.setup = {{203, 33, 0}, {185, 0, 127}, {185, 32, 3}, {186, 32, 5}, {186, 0, 0}, {187, 32, 1}};
        t.later = {{204, 40, 0}};
        timing(t);
    }
    std::vector<test::Triple> resent() {
        std::vector<test::Triple> out;
        for (const SentMessage& m : sent())
            if (m.message.status >= 176 && m.message.status < 208 && m.message.status != 0xBB) out.push_back(test::triple(m));
        return out;
    }
    const std::vector<test::Triple> setup{{203, 33, 0}, {185, 0, 127}, {185, 32, 3}};
};

TEST_F(SetupResendTest, ProgramChangesAndBankSelectOfTrackOneAreSentAgainWithEveryChunk) {
    test::storePart(state, 2, 0, 768, {mark(60, 0), mark(62, 384), {0xBB, 32, 1, 400}});
    select(1);
    play();
    runTo(0);  // it comes with the chunk's first bar line
    EXPECT_EQ(resent(), setup) << "the scan of bar 1 stops at bar 2's first event, before the bank select";
    clearSent();
    state.engine.CurBar = 2;
    PlayRitm(state.engine, 2);
    runTo(384);
    EXPECT_TRUE(resent().empty()) << "a bank select among the scanned events suppresses the resend";
    clearSent();
    state.engine.CurBar = 1;
    PlayRitm(state.engine, 2);
    EXPECT_TRUE(resent().empty()) << "not at once: the queue runs ahead of the notes still sounding";
    runTo(768);
    EXPECT_EQ(resent(), setup) << "for that chunk only";
}

TEST_F(SetupResendTest, ABankSelectBeforeTheChunksWindowStillCounts) {
    test::storePart(state, 2, 0, 768, {{0xBB, 32, 1, 0}, mark(60, 10), mark(62, 400)});
    select(1);
    state.engine.CurBar = 2;
    state.engine.QueuedTicks = 384;
    PlayRitm(state.engine, 2);
    EXPECT_TRUE(resent().empty());
}

TEST_F(PlaybackChunkTest, PartWithoutDataIsReportedInTheCurrentLanguageAndNothingStarts) {
    timing();
    test::storePart(state, 2, 0, 768, {});
    select(1);
    play();
    const auto boxes = dialogs.of(test::DialogCall::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Bu kısımda data yok");
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(state.engine.QueuedTicks, 0);
    EXPECT_EQ(output.queuedCount(), 0u) << "no cue of a chunk that never starts";
    EXPECT_EQ(state.engine.Playing, 0) << "a stopped window stays stopped";
    EXPECT_TRUE(state.Cmd_Play.enabled);
    EXPECT_FALSE(state.Cmd_Stop.enabled);
    runTo(2000);
    EXPECT_TRUE(cues.empty());
    EXPECT_TRUE(sent().empty());

    language.LangNo = kLangEnglish;
    play();
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
    state.engine.PartBars = 8;
    state.engine.CurBar = 6;
    state.engine.PartOffset = 0;
    state.engine.QueuedTicks = 5 * 7680;  // 38,400: past 32,767
    state.engine.QueuedMs = 5 * 7680;
    PlayRitm(state.engine, 2);
    EXPECT_EQ(state.engine.QueuedTicks, 6 * 7680);
    runTo(6 * 7680 + 100);
    EXPECT_EQ(notesPlayed(), (Notes{{38400, 65}}));
    EXPECT_EQ(timesOf(CueNextBar), std::vector<double>{38400 + 7680 - 192});
}

TEST_F(PlaybackChunkTest, FileWithTempoZeroPlaysAtTheDefaultTempo) {
    test::FileTiming t;
    t.tempo = 0;
    timing(t);
    ASSERT_EQ(reader.Tempo(), 0);
    test::storePart(state, 2, 0, 384, {mark(60, 0), mark(62, 96)});
    select(1);
    play();
    runTo(1900);
    const auto notes = notesPlayed();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NEAR(notes[1].first, 500.0, 1.0) << "a quarter note at 120 per minute";
    EXPECT_NEAR(timesOf(CueNextBar).at(0), 2000.0 - 192, 1.0);
}

}  // namespace
}  // namespace vornel
