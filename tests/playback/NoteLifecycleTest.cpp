#include <deque>

#include <gtest/gtest.h>

#include "playback/ChordChange.h"
#include "playback/ChordRule.h"
#include "playback/NoteSilencing.h"
#include "playback/EngineFixture.h"
#include "support/NoteLedger.h"

namespace vornel {
namespace {

using test::Ev;
using test::mark;
using test::release;
using test::SentMessage;

// A note's life on the virtual clock: 96 ticks per quarter and 1 ms per tick
// unless a test says otherwise.
class NoteLifecycleTest : public test::EngineTest {
protected:
    NoteLifecycleTest() { timing(); }

    // Switch-offs (velocity-0 Note Ons and Note Offs, carriers left out) as
    // (ms, channel, key), up to the first Stop or Panic.
    std::vector<std::array<int, 3>> offs() {
        std::vector<std::array<int, 3>> out;
        const auto all = sent();
        for (std::size_t i = 0; i < all.size() && !test::sweepStartsAt(all, i); ++i) {
            const SentMessage& m = all[i];
            const int kind = m.message.status & 0xF0;
            const int channel = (m.message.status & 0x0F) + 1;
            const bool off = kind == 0x80 || (kind == 0x90 && m.message.data2 == 0);
            if (off && !(channel == 1 && m.message.data1 == 36)) out.push_back({static_cast<int>(m.atMs), channel, m.message.data1});
        }
        return out;
    }
    // What the chord label's click leaves for the engine.
    void chord(int index) {
        const Chord c = chordOfLabel(index);
        state.engine.ChordIdx = static_cast<std::int16_t>(index);
        state.engine.Transpose = c.Transpose;
        state.engine.IsMinor = c.IsMinor;
    }
    std::set<std::pair<int, int>> soundingAt(double ms) {
        std::vector<SentMessage> upTo;
        for (const SentMessage& m : sent())
            if (m.atMs <= ms) upTo.push_back(m);
        return test::soundingNotes(upTo);
    }
    // No breach of any note's life, each note allowed to sound `longest` ms.
    void expectCleanLives(double longest) {
        const auto faults =
            test::noteLifecycleFaults(sent(), [&](const SentMessage& on) { return on.atMs + longest; }, clock.nowMs());
        EXPECT_TRUE(faults.empty()) << faults.front();
    }
};

// An organ chord struck on every bar line of a one-bar Main part at 1920
// ticks per quarter, its note-offs on the next bar's tick, with every cue
// reaching the engine 30 ms late (the built-in synthesizer reports a cue only
// after rendering the period that holds it). Each bar line's switch-offs are
// queued with that bar line's stamp ahead of the new Note Ons, so the chord
// sounds in every bar.
TEST_F(NoteLifecycleTest, ChordStruckAgainOnEveryBarLineSoundsInEveryBar) {
    test::FileTiming t;
    t.resolution = 1920;
    t.tempo = 500000;  // 120 per minute: a bar is 2,000 ms
    timing(t);
    std::vector<Ev> bar;
    for (int key : {60, 64, 67}) bar.push_back(mark(key, 0));
    for (int key : {60, 64, 67}) bar.push_back(release(key, 7680));
    test::storePart(state, 2, 0, 7680, bar);
    select(1);
    sequencing = false;
    std::deque<std::pair<double, std::int32_t>> late;
    output.CueReached = [&](std::int32_t tag) { late.push_back({clock.nowMs() + 30, tag}); };
    play();
    while (clock.nowMs() < 16 * 2000 + 500) {
        runTo(clock.nowMs() + 1);
        while (!late.empty() && late.front().first <= clock.nowMs()) {
            MIDIOutput1_CueReached(state.engine, late.front().second);
            late.pop_front();
        }
    }
    for (int b = 0; b < 16; ++b)
        EXPECT_EQ(soundingAt(b * 2000.0 + 1000).size(), 3u) << "bar " << b + 1 << " is silent";
    expectCleanLives(2001);
}

TEST_F(NoteLifecycleTest, EndingsLastChordSoundsItsWrittenLengthAndTheQueueEndsAfterIt) {
    test::storePart(state, 4, 0, 768, {mark(60, 0), release(60, 300), mark(64, 384), mark(67, 384), release(64, 768),
                                       release(67, 768)});
    select(3);
    play();
    runTo(2000);
    EXPECT_EQ(offs(), (std::vector<std::array<int, 3>>{{300, 12, 60}, {768, 12, 64}, {768, 12, 67}}));
    ASSERT_EQ(doneAt.size(), 1u);
    EXPECT_DOUBLE_EQ(doneAt[0], 768);
}

// An ending whose notes end before its last bar line still plays to that
// line: playback stopped the lead (150 ms) early, cutting what still rang.
TEST_F(NoteLifecycleTest, EndingPlaysToItsWrittenEndAfterItsLastNoteOff) {
    test::storePart(state, 4, 0, 768, {mark(60, 0), release(60, 500)});
    select(3);
    play();
    runTo(2000);
    ASSERT_EQ(doneAt.size(), 1u);
    EXPECT_DOUBLE_EQ(doneAt[0], 768);
}

TEST_F(NoteLifecycleTest, NotesOfAFillsSecondBarSoundToTheirOwnEnd) {
    barPart(2, 1, 60);                                                                      // Main A
    test::storePart(state, 3, 0, 768, {mark(72, 400), mark(74, 500), release(72, 700), release(74, 768)});  // Fill In AA
    select(2);
    play();
    runTo(1100);
    EXPECT_EQ(offs(), (std::vector<std::array<int, 3>>{{700, 12, 72}, {768, 12, 74}, {768 + 300, 12, 60}}));
}

// A drum held across a bar line where the chord changes sounds to its own
// note-off: the chord ends the old chord's notes there, never a drum's.
TEST_F(NoteLifecycleTest, ADrumHeldAcrossAChordChangeSoundsToItsOwnEnd) {
    test::storePart(state, 2, 0, 768, {mark(60, 0), {0x99, 49, 100, 300}, release(60, 384), {0x99, 49, 0, 500}});
    select(1);
    play();
    runTo(100);
    chord(5);
    runTo(700);
    EXPECT_EQ(offs(), (std::vector<std::array<int, 3>>{{384, 12, 60}, {500, 10, 49}}));
}

// Drums keep their keys under every chord, Note On and Note Off alike; a B
// drum (note 83) used to get its Note Off on 84 even in C major.
TEST_F(NoteLifecycleTest, DrumsEndOnTheKeyTheyStruckUnderEveryChord) {
    test::storePart(state, 2, 0, 384, {{0x99, 83, 100, 0}, {0x89, 83, 0, 10}, {0x98, 47, 100, 20}, {0x98, 47, 0, 30}});
    select(1);
    for (int index = 0; index < 24; ++index) {
        chord(index);
        clearSent();
        play();
        runTo(clock.nowMs() + 300);
        std::vector<test::Triple> music;
        for (const SentMessage& m : sent())
            if (m.message.status != 0x90) music.push_back(test::triple(m));  // carriers left out
        EXPECT_EQ(music, (std::vector<test::Triple>{{0x99, 83, 100}, {0x89, 83, 0}, {0x98, 47, 100}, {0x98, 47, 0}}))
            << "chord " << index;
        StopRitm(state.engine);
    }
}

TEST_F(NoteLifecycleTest, HeldNotesEndAtTheirOwnNoteOffAcrossBarLinesAndTheLoop) {
    // A two-bar Main: a pad held across the bar line, a note ending on the
    // part's end tick, and one whose note-off the part never gives.
    test::storePart(state, 2, 0, 768, {mark(60, 100), release(60, 600), mark(62, 500), mark(64, 700), release(62, 768)});
    select(1);
    play();
    runTo(370);
    chord(5);  // F major, late in the first bar
    runTo(1600);
    // Nothing is cut at the click; bar 2 was queued before it, in C major.
    EXPECT_EQ(offs(), (std::vector<std::array<int, 3>>{
                          {600, 12, 60}, {768, 12, 62}, {768, 12, 64}, {768 + 600, 12, 65}, {1536, 12, 67}, {1536, 12, 69}}));
    EXPECT_TRUE(soundingAt(1537).empty());
    expectCleanLives(768);
}

// A chord chosen at least the lead before a bar line is heard from it; one
// chosen later is heard from the bar line after.
// The queue runs further ahead than the lead: what a change makes wrong is
// taken back.
TEST_F(NoteLifecycleTest, ChordChosenTheLeadBeforeABarLineIsHeardFromIt) {
    state.engine.LeadMs = kChordLeadMs;
    state.engine.QueueAheadMs = kQueueAheadMs;
    barPart(2, 1, 60);
    select(1);
    play();
    runTo(768 - kChordLeadMs - 10);
    chord(2);  // D: 60 becomes 62
    ChangeChord(state.engine);
    runTo(1152 - kChordLeadMs + 10);
    chord(4);  // E, too late for the bar line at 1152
    ChangeChord(state.engine);
    runTo(1700);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384, 60}, {768, 62}, {1152, 62}, {1536, 64}}));
    expectCleanLives(400);
}

// The lead is real time: at half tempo a chord chosen 200 ms (real) before a
// bar line is still heard on it, and one chosen 100 ms before is not.
TEST_F(NoteLifecycleTest, TheLeadFollowsTheTempo) {
    state.engine.LeadMs = kChordLeadMs;
    state.engine.QueueAheadMs = kQueueAheadMs;
    barPart(2, 1, 60);
    select(1);
    state.engine.TempoShift = -100;
    output.TempoShift(-100);
    play();
    runTo(2 * 768 - 200);  // queue time 668: the bar line at 768 is 100 queue ms ahead
    chord(2);
    ChangeChord(state.engine);
    runTo(2 * 1152 - 100);
    chord(4);
    ChangeChord(state.engine);
    runTo(2 * 1700);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {768, 60}, {1536, 62}, {2304, 62}, {3072, 64}}));
}

// Eighth-note meters have bars of their written length.
struct MeterCase {
    int num, denExp, barTicks;
};
class MeterTest : public NoteLifecycleTest, public ::testing::WithParamInterface<MeterCase> {};

TEST_P(MeterTest, OneBarMainPlaysEveryWrittenBar) {
    const MeterCase m = GetParam();
    test::FileTiming t;
    t.resolution = 1920;
    t.tempo = 1920000;  // 1 ms per tick
    t.timeSigNum = m.num;
    t.timeSigDenExp = m.denExp;
    timing(t);
    test::storePart(state, 2, 0, m.barTicks, {mark(60, 0), release(60, m.barTicks - 100)});
    select(1);
    play();
    EXPECT_DOUBLE_EQ(state.engine.PartBars, 1.0);
    runTo(4.0 * m.barTicks - 10);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {m.barTicks, 60}, {2 * m.barTicks, 60}, {3 * m.barTicks, 60}}));
}

INSTANTIATE_TEST_SUITE_P(Meters, MeterTest,
                         ::testing::Values(MeterCase{7, 3, 6720}, MeterCase{10, 3, 9600}, MeterCase{3, 3, 2880},
                                           MeterCase{6, 2, 11520}));

TEST_F(NoteLifecycleTest, ThreeEightFillInBaLeadsStraightIntoMainA) {
    test::FileTiming t;
    t.timeSigNum = 3;
    t.timeSigDenExp = 3;  // a bar is 144 ticks
    timing(t);
    test::storePart(state, 18, 0, 144, {mark(50, 0), release(50, 100)});  // Fill In BA
    test::storePart(state, 2, 144, 288, {mark(60, 0), release(60, 100)});  // Main A
    select(17);
    play();
    runTo(500);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 50}, {144, 60}, {288, 60}, {432, 60}}));
}

TEST_F(NoteLifecycleTest, TempoChangeInsideAnEndingIsPlayedAtItsTick) {
    test::storePart(state, 4, 0, 768, {mark(60, 0), release(60, 100), mark(62, 576), release(62, 700)});
    state.style.PartTempos(4) = {{384, 192000}};  // half as fast from bar 2
    select(3);
    play();
    runTo(2000);
    EXPECT_EQ(notesPlayed(), (Notes{{0, 60}, {384 + 2 * 192, 62}}));
    ASSERT_EQ(doneAt.size(), 1u);
    EXPECT_DOUBLE_EQ(doneAt[0], 384 + 2 * 384) << "at its written end, at the slower tempo";
}

// A section's first tick holds the last section's note-offs, stored before
// its own Note Ons of the same keys: they end nothing. A note of no length
// (its note-off stored after its Note On) ends at once.
TEST_F(NoteLifecycleTest, NoteOffsOfTheSectionBeforeEndNothingAndANoteOfNoLengthEndsAtOnce) {
    test::storePart(state, 2, 0, 384, {release(60, 0), release(64, 0), mark(60, 0), mark(64, 0), mark(70, 10),
                                       release(70, 10), release(60, 384), release(64, 384)});
    select(1);
    play();
    runTo(300);
    EXPECT_EQ(soundingAt(200), (std::set<std::pair<int, int>>{{12, 60}, {12, 64}}));
    EXPECT_EQ(offs(), (std::vector<std::array<int, 3>>{{10, 12, 70}}));
}

// Bad input: a note-off with no Note On is not sent; a Note On with no
// note-off ends with its pass; a key struck again before its note-off sounds
// to the later of the two ends: the first note-off would cut both.
TEST_F(NoteLifecycleTest, StrayAndOverlappingNotesEndCleanly) {
    test::storePart(state, 2, 0, 384, {release(70, 5), mark(60, 10), mark(64, 20), mark(64, 40), release(64, 200),
                                       release(64, 300)});
    select(1);
    play();
    runTo(800);
    EXPECT_EQ(offs(), (std::vector<std::array<int, 3>>{{300, 12, 64}, {384, 12, 60}, {684, 12, 64}, {768, 12, 60}}));
    expectCleanLives(384);
}

}  // namespace
}  // namespace vornel
