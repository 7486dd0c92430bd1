// Chords that change while a bar plays: at once (the default), from the next
// beat, and what sounding notes do then, with and without a channel table.
#include <gtest/gtest.h>

#include <algorithm>

#include "midi/MidiVocabulary.h"
#include "playback/ChordChange.h"
#include "playback/ChordRule.h"
#include "playback/EngineFixture.h"
#include "playback/NoteSilencing.h"
#include "support/NoteLedger.h"

namespace vornel {
namespace {

using test::Ev;
using test::mark;
using test::release;
using test::SentMessage;

constexpr std::uint64_t kAllTypes = (std::uint64_t{1} << 34) - 1;
constexpr int kF = 5;  // chord label F major

// (ms, channel 1..16, key, velocity) of every note message, carriers left out.
using Note = std::array<int, 4>;

class ChordChangeTest : public test::EngineTest {
protected:
    ChordChangeTest() {
        timing();
        state.engine.ChordChange = ChordChangeMode::AtOnce;
    }
    // The window's chord handler: the chosen chord, then the engine.
    void choose(int index, int type = chord::kMaj) {
        const Chord c = chordOfLabel(index);
        state.engine.ChordIdx = static_cast<std::int16_t>(index);
        state.engine.Transpose = c.Transpose;
        state.engine.IsMinor = c.IsMinor;
        state.engine.ChordTypeNo = type;
        ChangeChord(state.engine);
    }
    // Up to the sweep of a Stop.
    std::vector<Note> notes(int channel) {
        std::vector<Note> out;
        const auto all = sent();
        for (std::size_t i = 0; i < all.size() && !test::sweepStartsAt(all, i); ++i) {
            const MidiMessage& m = all[i].message;
            if (midi::kindOf(m.status) == midi::kNoteOn && midi::channelOf(m.status) + 1 == channel)
                out.push_back({static_cast<int>(all[i].atMs), channel, m.data1, m.data2});
        }
        return out;
    }
    void expectCleanLives() {
        const auto faults = test::noteLifecycleFaults(
            sent(), [](const SentMessage& on) { return on.atMs + 1000; }, clock.nowMs());
        EXPECT_TRUE(faults.empty()) << faults.front();
    }
    static ChannelRecord record(int source, int rtr, std::uint8_t ntr = TranspositionBlock::kRootTrans) {
        ChannelRecord r;
        r.sourceChannel = static_cast<std::uint8_t>(source);
        r.destination = static_cast<std::uint8_t>(source);
        r.chordMask = kAllTypes;
        r.sourceType = chord::kMaj;
        for (TranspositionBlock& b : r.blocks) {
            b.rtr = static_cast<std::uint8_t>(rtr);
            b.ntr = ntr;
        }
        return r;
    }
};

// Without a table, in the middle of a bar: the held pad is struck again at its
// new key at the moment of the change, the note that began 54 ms before it
// too (a hand a little behind the beat), every later note is in the new
// chord, and the drum is never touched.
TEST_F(ChordChangeTest, AChordInTheMiddleOfABarIsHeardAtOnce) {
    test::storePart(state, 2, 0, 384,
                    {mark(60, 0),
                     mark(64, 0, 13),
                     {0x99, 36, 100, 0},
                     {0x99, 36, 0, 10},
                     release(64, 80, 13),
                     mark(64, 96, 13),
                     release(64, 176, 13),
                     mark(64, 192, 13),
                     {0x99, 36, 100, 192},
                     {0x99, 36, 0, 202},
                     release(64, 272, 13),
                     release(60, 384)});
    select(1);
    play();
    runTo(150);
    choose(kF);
    runTo(383);
    // (The virtual clock sends what is due just after 150 ms at its next
    // step, 151 ms.)
    EXPECT_EQ(notes(12), (std::vector<Note>{{0, 12, 60, 100}, {151, 12, 60, 0}, {151, 12, 65, 100}}));
    EXPECT_EQ(notes(13), (std::vector<Note>{{0, 13, 64, 100},
                                            {80, 13, 64, 0},
                                            {96, 13, 64, 100},
                                            {151, 13, 64, 0},
                                            {151, 13, 69, 100},
                                            {176, 13, 69, 0},
                                            {192, 13, 69, 100},
                                            {272, 13, 69, 0}}));
    EXPECT_EQ(notes(10), (std::vector<Note>{{0, 10, 36, 100}, {10, 10, 36, 0}, {192, 10, 36, 100}, {202, 10, 36, 0}}));
    runTo(800);
    EXPECT_EQ(notes(12)[4], (Note{384, 12, 65, 100})) << "the next bar is in F too";
    expectCleanLives();
}

// With a table, each channel's RTR rule for a note held across the change
// (struck 200 ms before it, outside the grace window), and a root-fixed
// effect that keeps its key.
TEST_F(ChordChangeTest, HeldNotesDoWhatTheirRetriggerRuleSays) {
    using B = TranspositionBlock;
    style.channels.fill(
        CasmTable{{{{"Main A"},
                    {record(11, B::kStop), record(12, B::kPitchShift), record(13, B::kRetrigger),
                     record(14, B::kRetriggerToRoot), record(15, B::kPitchShiftToRoot, B::kRootFixed)}}}});
    std::vector<Ev> events;
    for (int channel = 12; channel <= 16; ++channel) events.push_back(mark(64, 0, channel));
    for (int channel = 12; channel <= 16; ++channel) events.push_back(release(64, 380, channel));
    test::storePart(state, 2, 0, 384, events);
    select(1);
    play();
    runTo(200);
    choose(kF);
    runTo(383);
    EXPECT_EQ(notes(12), (std::vector<Note>{{0, 12, 64, 100}, {201, 12, 64, 0}})) << "Stop";
    EXPECT_EQ(notes(13), (std::vector<Note>{{0, 13, 64, 100}, {201, 13, 64, 0}, {201, 13, 69, 100}, {380, 13, 69, 0}}))
        << "Pitch Shift, struck again at its new key";
    EXPECT_EQ(notes(14), (std::vector<Note>{{0, 14, 64, 100}, {201, 14, 64, 0}, {201, 14, 69, 100}, {380, 14, 69, 0}}))
        << "Retrigger";
    EXPECT_EQ(notes(15), (std::vector<Note>{{0, 15, 64, 100}, {201, 15, 64, 0}, {201, 15, 65, 100}, {380, 15, 65, 0}}))
        << "Retrigger to Root, in the octave of the old note";
    EXPECT_EQ(notes(16), (std::vector<Note>{{0, 16, 64, 100}, {201, 16, 64, 0}, {201, 16, 65, 100}, {380, 16, 65, 0}}))
        << "Pitch Shift to Root, the nearest root";
    expectCleanLives();
}

// The grace window: a note struck 20 ms before the chord is struck again in
// it even where its rule says Stop; one struck 100 ms before stops. A part
// that the new chord mutes stops whatever its rule, and a drum and a
// root-fixed effect are never touched.
TEST_F(ChordChangeTest, NotesJustBeforeTheChordAreStruckAgainInIt) {
    using B = TranspositionBlock;
    ChannelRecord muted = record(13, B::kRetrigger);
    muted.chordMask = std::uint64_t{1} << chord::kMaj;  // silent under F minor
    style.channels.fill(
        CasmTable{{{{"Main A"},
                    {record(11, B::kStop), record(12, B::kStop), muted, record(14, B::kRetrigger, B::kRootFixed),
                     record(9, B::kRetrigger, B::kRootFixed)}}}});
    test::storePart(state, 2, 0, 384,
                    {mark(64, 100, 12),
                     mark(64, 180, 13),
                     mark(64, 0, 14),
                     mark(84, 0, 15),
                     {0x99, 38, 90, 190},
                     release(64, 380, 12),
                     release(64, 380, 13),
                     release(64, 380, 14),
                     release(84, 380, 15),
                     {0x99, 38, 0, 380}});
    select(1);
    play();
    runTo(200);
    choose(12 + kF, chord::kMin);
    runTo(383);
    EXPECT_EQ(notes(12), (std::vector<Note>{{100, 12, 64, 100}, {201, 12, 64, 0}})) << "100 ms before: its rule";
    EXPECT_EQ(notes(13),
              (std::vector<Note>{{180, 13, 64, 100}, {201, 13, 64, 0}, {201, 13, 69, 100}, {380, 13, 69, 0}}))
        << "20 ms before: struck again under F minor (a Bypass part moves only its root)";
    EXPECT_EQ(notes(14), (std::vector<Note>{{0, 14, 64, 100}, {201, 14, 64, 0}})) << "muted by the new chord";
    EXPECT_EQ(notes(15), (std::vector<Note>{{0, 15, 84, 100}, {380, 15, 84, 0}})) << "root-fixed effect";
    EXPECT_EQ(notes(10), (std::vector<Note>{{190, 10, 38, 90}, {380, 10, 38, 0}})) << "drum";
    expectCleanLives();
}

// A chord part written twice, over C major on channel 12 and over C minor on
// channel 3, each held for the bar: from major to minor in the middle of the
// bar the major version stops and the minor one comes in at once with the
// note it holds, and back again, without a silent gap.
TEST_F(ChordChangeTest, ThePartTheNewChordUnmutesComesInWithTheNotesItHolds) {
    constexpr std::uint64_t kMinorTypes = ((std::uint64_t{1} << 19) - 1) & ~((std::uint64_t{1} << 8) - 1);
    ChannelRecord major = record(11, TranspositionBlock::kRetrigger), minor = record(2, TranspositionBlock::kRetrigger);
    major.chordMask = kAllTypes & ~kMinorTypes;
    minor.chordMask = kMinorTypes;
    minor.destination = 11;
    minor.sourceType = chord::kMin;
    style.channels.fill(CasmTable{{{{"Main A"}, {major, minor}}}});
    test::storePart(state, 2, 0, 384, {mark(64, 0, 12), mark(63, 0, 3), release(64, 383, 12), release(63, 383, 3)});
    select(1);
    play();
    runTo(100);
    choose(12, chord::kMin);  // C minor
    runTo(250);
    choose(0);  // C major again
    runTo(383);
    EXPECT_EQ(notes(12), (std::vector<Note>{{0, 12, 64, 100},
                                            {101, 12, 64, 0},
                                            {101, 12, 63, 100},
                                            {251, 12, 63, 0},
                                            {251, 12, 64, 100},
                                            {383, 12, 64, 0}}));
    expectCleanLives();
}

// From the next beat: a chord chosen at 170 ms in a bar of quarter beats of
// 96 ms is heard from 192 ms; one chosen 4 ms after the beat at 288 ms is
// meant for it and heard at once.
// A Panic drops what was queued: a chord chosen before the next chunk is
// queued is the one that chunk starts in.
TEST_F(ChordChangeTest, AChordAfterAPanicIsHeardFromTheNextBar) {
    test::storePart(state, 2, 0, 768, {mark(60, 0), release(60, 300), mark(60, 384), release(60, 684)});
    select(1);
    play();
    runTo(100);
    PanicRitm(state.engine);
    choose(kF);
    runTo(500);
    const auto all = sent();  // the Panic's sweep included
    const auto last = std::find_if(all.rbegin(), all.rend(), [](const SentMessage& m) {
        return midi::isNoteOn(m.message.status, m.message.data2);
    });
    ASSERT_NE(last, all.rend());
    EXPECT_EQ(last->atMs, 384);
    EXPECT_EQ(last->message.data1, 65) << "in F";
}

TEST_F(ChordChangeTest, FromTheNextBeat) {
    state.engine.ChordChange = ChordChangeMode::NextBeat;
    test::storePart(state, 2, 0, 384, {mark(60, 0), release(60, 384)});
    select(1);
    play();
    runTo(170);
    choose(kF);
    runTo(292);
    choose(0);
    runTo(383);
    EXPECT_EQ(notes(12),
              (std::vector<Note>{
                  {0, 12, 60, 100}, {192, 12, 60, 0}, {192, 12, 65, 100}, {293, 12, 65, 0}, {293, 12, 60, 100}}));
}

// A chord during an Ending, and a part change and a chord change in one bar.
TEST_F(ChordChangeTest, DuringAnEndingAndBesideAPartChange) {
    test::storePart(state, 2, 0, 384, {mark(60, 0), release(60, 384)});
    test::storePart(state, 4, 1000, 1768, {mark(62, 0), release(62, 700)});
    select(1);
    play();
    runTo(100);
    select(3);  // Ending A, from the next bar line
    runTo(250);
    choose(kF);
    runTo(383);
    EXPECT_EQ(notes(12), (std::vector<Note>{{0, 12, 60, 100}, {251, 12, 60, 0}, {251, 12, 65, 100}}));
    runTo(600);
    choose(7);  // G (the chord rule takes it down a fourth), in the middle of the Ending
    runTo(2000);
    EXPECT_EQ(notes(12), (std::vector<Note>{{0, 12, 60, 100},
                                            {251, 12, 60, 0},
                                            {251, 12, 65, 100},
                                            {384, 12, 65, 0},
                                            {384, 12, 67, 100},
                                            {601, 12, 67, 0},
                                            {601, 12, 57, 100},
                                            {1084, 12, 57, 0}}));
    ASSERT_EQ(doneAt.size(), 1u);
    EXPECT_DOUBLE_EQ(doneAt[0], 384 + 768) << "the Ending still ends at its end";
    expectCleanLives();
}

// Bad input: a chord every 10 ms for four seconds, over a table with two
// sources on one part and different rules: nothing stuck, nothing switched
// off twice, and every note struck from the last chord on is in it.
TEST_F(ChordChangeTest, AChordEveryTenMillisecondsLeavesNothingStuck) {
    using B = TranspositionBlock;
    ChannelRecord second = record(12, B::kStop);
    second.destination = 11;
    style.channels.fill(CasmTable{{{{"Main A"}, {record(11, B::kRetrigger), second}}}});
    test::storePart(
        state, 2, 0, 384,
        {mark(60, 0), mark(64, 0, 13), mark(67, 96), release(67, 200), release(64, 300, 13), release(60, 383)});
    select(1);
    play();
    for (int i = 0; i < 400; ++i) {
        runTo(clock.nowMs() + 10);
        choose((i * 7) % 24, i % 24 >= 12 ? chord::kMin : chord::kMaj);
    }
    choose(kF);
    const double last = clock.nowMs();
    runTo(last + 800);
    expectCleanLives();
    int struck = 0;
    for (const SentMessage& m : sent()) {
        if (m.atMs < last || !midi::isNoteOn(m.message.status, m.message.data2)) continue;
        const int pc = midi::pitchClass(m.message.data1);
        EXPECT_TRUE(pc == 5 || pc == 9 || pc == 0) << "key " << m.message.data1 << " at " << m.atMs;
        ++struck;
    }
    EXPECT_GT(struck, 3);
}

}  // namespace
}  // namespace vornel
