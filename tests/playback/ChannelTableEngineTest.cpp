// The engine playing a style by its channel table: which source sounds under
// which chord, where it is sent, and what becomes of its notes at a chord
// change.
#include <gtest/gtest.h>

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

constexpr std::uint64_t kMinorTypes = ((std::uint64_t{1} << 19) - 1) & ~((std::uint64_t{1} << 8) - 1);  // bits 8..18
constexpr std::uint64_t kAllTypes = (std::uint64_t{1} << 34) - 1;

ChannelRecord record(int source, int destination, std::uint64_t chordMask, int sourceType = chord::kMaj7) {
    ChannelRecord r;
    r.sourceChannel = static_cast<std::uint8_t>(source);
    r.destination = static_cast<std::uint8_t>(destination);
    r.chordMask = chordMask;
    r.sourceType = static_cast<std::uint8_t>(sourceType);
    return r;
}

class ChannelTableEngineTest : public test::EngineTest {
protected:
    ChannelTableEngineTest() { timing(); }

    void table(std::vector<ChannelRecord> records) { style.channels.fill(CasmTable{{{{"Main A"}, std::move(records)}}}); }
    // What a chord label's click, or a MIDI keyboard's chord, leaves for the engine.
    void chord(int index, int type) {
        const Chord c = chordOfLabel(index);
        state.engine.ChordIdx = static_cast<std::int16_t>(index);
        state.engine.Transpose = c.Transpose;
        state.engine.IsMinor = c.IsMinor;
        state.engine.ChordTypeNo = type;
    }
    // Note Ons with a velocity, carriers left out: (channel 1..16, key).
    std::vector<std::pair<int, int>> struck() {
        std::vector<std::pair<int, int>> out;
        for (const SentMessage& m : sent())
            if ((m.message.status & 0xF0) == 0x90 && m.message.data2 > 0)
                out.push_back({(m.message.status & 0x0F) + 1, m.message.data1});
        return out;
    }
    void expectCleanLives() {
        const auto faults =
            test::noteLifecycleFaults(sent(), [&](const SentMessage& on) { return on.atMs + 100000; }, clock.nowMs());
        EXPECT_TRUE(faults.empty()) << faults.front();
    }
};

// A bass written twice, a major line (E over C) on channel 3 and a minor
// line (E flat over C minor) on channel 4, both for the bass part (channel
// 11); an effect on channel 14 that stays on its key; a channel with no
// record. Under each of the 24 chords exactly one bass line sounds, on
// channel 11, with the chord's third.
TEST_F(ChannelTableEngineTest, OneVariantSoundsUnderEachChordAndARootFixedEffectKeepsItsKey) {
    ChannelRecord effect = record(13, 13, kAllTypes);
    effect.blocks[1].ntr = TranspositionBlock::kRootFixed;
    table({record(2, 10, kAllTypes & ~kMinorTypes), record(3, 10, kMinorTypes, chord::kMin7), effect});
    test::storePart(state, 2, 0, 384,
                    {mark(64, 0, 3), release(64, 300, 3), mark(63, 0, 4), release(63, 300, 4), mark(70, 0, 14),
                     release(70, 300, 14), mark(40, 0, 5), release(40, 300, 5)});
    select(1);
    for (int index = 0; index < 24; ++index) {
        const bool minor = index >= 12;
        chord(index, minor ? chord::kMin : chord::kMaj);
        clearSent();
        play();
        runTo(clock.nowMs() + 350);
        const int root = index % 12;
        const int third = (minor ? 63 : 64) + root;
        EXPECT_EQ(struck(), (std::vector<std::pair<int, int>>{{11, third}, {14, 70}})) << "chord " << index;
        expectCleanLives();
        StopRitm(state.engine);
    }
}

// Two sources routed to one part strike the same key, overlapping: the
// key sounds until the later note's end, and only that end switches it off
// (a Main D's bass, written to 1,075 ms, was heard to 126 ms).
TEST_F(ChannelTableEngineTest, OverlappingNotesOfTwoSourcesOnOneKeySoundToTheLaterEnd) {
    ChannelRecord first = record(11, 11, kAllTypes), second = record(12, 11, kAllTypes);
    first.blocks[1].ntr = second.blocks[1].ntr = TranspositionBlock::kRootFixed;
    table({first, second});
    test::storePart(state, 2, 0, 384, {mark(48, 0, 12), mark(48, 50, 13), release(48, 126, 12), release(48, 300, 13)});
    select(1);
    chord(0, chord::kMaj);
    play();
    runTo(380);
    std::vector<std::array<int, 3>> offs;  // (ms, channel, key)
    for (const SentMessage& m : sent())
        if (((m.message.status & 0xF0) == 0x80 || m.message.data2 == 0) &&
            m.message.status != state.engine.CarrierStatus)
            offs.push_back({static_cast<int>(m.atMs), (m.message.status & 0x0F) + 1, m.message.data1});
    EXPECT_EQ(struck(), (std::vector<std::pair<int, int>>{{12, 48}, {12, 48}}));
    EXPECT_EQ(offs, (std::vector<std::array<int, 3>>{{300, 12, 48}}));
}

// The MIDI keyboard's chord types reach the masks: a C7 plays the major
// line, a C diminished the minor one.
TEST_F(ChannelTableEngineTest, RecognisedChordTypesChooseTheVariant) {
    table({record(2, 10, kAllTypes & ~kMinorTypes), record(3, 10, kMinorTypes, chord::kMin7)});
    test::storePart(state, 2, 0, 384, {mark(64, 0, 3), release(64, 300, 3), mark(63, 0, 4), release(63, 300, 4)});
    select(1);
    chord(0, chord::kSeventh);
    play();
    runTo(350);
    EXPECT_EQ(struck(), (std::vector<std::pair<int, int>>{{11, 64}}));
    StopRitm(state.engine);
    clearSent();
    chord(0, chord::kDim);
    play();
    runTo(clock.nowMs() + 350);
    EXPECT_EQ(struck(), (std::vector<std::pair<int, int>>{{11, 63}}));
}

// The two versions of the bass each bring their own instrument; a channel
// the table does not route is not set up.
TEST_F(ChannelTableEngineTest, OnlyTheVersionThatSoundsSetsThePartsInstrument) {
    test::FileTiming t;
    t.setup = {{0xC2, 16, 0}, {0xC3, 19, 0}, {0xC5, 50, 0}};
    timing(t);
    table({record(2, 10, kAllTypes & ~kMinorTypes), record(3, 10, kMinorTypes, chord::kMin7)});
    test::storePart(state, 2, 0, 384, {mark(64, 0, 3), release(64, 300, 3)});
    select(1);
    const auto programs = [&] {
        std::vector<test::Triple> out;
        for (const SentMessage& m : sent())
            if ((m.message.status & 0xF0) == 0xC0) out.push_back(test::triple(m));
        return out;
    };
    play();
    runTo(clock.nowMs());
    EXPECT_EQ(programs(), (std::vector<test::Triple>{{0xCA, 16, 0}}));
    StopRitm(state.engine);
    clearSent();
    chord(21, chord::kMin);
    play();
    runTo(clock.nowMs());
    EXPECT_EQ(programs(), (std::vector<test::Triple>{{0xCA, 19, 0}}));
}

// F1-F8 switch channels 9-16 on and off: a part written on channel 3 and
// routed to channel 12 goes out on 12 only, so F4 and the meter of 12 reach it.
TEST_F(ChannelTableEngineTest, ARoutedPartIsSentOnItsDestinationWithItsSetUp) {
    table({record(2, 11, kAllTypes)});
    test::storePart(state, 2, 0, 384, {{0xC2, 33, 0, 0}, {0xB2, 7, 90, 0}, mark(60, 0, 3), release(60, 300, 3)});
    select(1);
    state.ProgressBar2.fill(0.0f);
    play();
    runTo(350);
    std::vector<test::Triple> music;
    for (const SentMessage& m : sent())
        if (m.message.status != 0x90) music.push_back(test::triple(m));  // carriers left out
    EXPECT_EQ(music, (std::vector<test::Triple>{{0xCB, 33, 0}, {0xBB, 7, 90}, {0x9B, 60, 100}, {0x9B, 60, 0}}));
    EXPECT_GT(state.ProgressBar2[12], 0.0f) << "its level shows on its part's meter";
}

// A pad held over two bars meets a chord change at the bar line by its RTR:
// stopped, or struck again at the new chord's key; a pad whose written end
// is that bar line is not struck again. Nothing is left sounding.
TEST_F(ChannelTableEngineTest, HeldNotesFollowTheirRetriggerRuleAtAChordChange) {
    ChannelRecord stop = record(11, 11, kAllTypes);
    stop.blocks[1].rtr = 0;
    ChannelRecord retrigger = record(12, 12, kAllTypes);
    retrigger.blocks[1].rtr = 3;
    ChannelRecord shift = record(13, 13, kAllTypes);  // pitch shift: struck again, we never bend
    table({stop, retrigger, shift});
    test::storePart(state, 2, 0, 768,
                    {mark(60, 0, 12), mark(64, 0, 13), mark(67, 0, 14), mark(72, 0, 14), release(72, 384, 14),
                     release(60, 700, 12), release(64, 700, 13), release(67, 700, 14)});
    select(1);
    play();
    runTo(150);
    chord(7, chord::kMaj);  // G, before the second bar is queued
    runTo(760);
    EXPECT_EQ(struck(), (std::vector<std::pair<int, int>>{{12, 60}, {13, 64}, {14, 67}, {14, 72}, {13, 71}, {14, 74}}));
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
    expectCleanLives();
    // The new keys come at the bar line and end at the written end.
    const auto all = sent();
    for (const SentMessage& m : all) {
        if (m.message.status == 0x9C && m.message.data1 == 71) {
            EXPECT_DOUBLE_EQ(m.atMs, m.message.data2 ? 384 : 700);
        }
    }
}

// Without a table the chord rule stays as it was: channel 3 is moved as
// written over C major, and sent on channel 3.
TEST_F(ChannelTableEngineTest, ASectionTheTableLeavesOutPlaysByTheChordRule) {
    style.channels.fill(CasmTable{{{{"Main B"}, {record(2, 11, kAllTypes)}}}});
    test::storePart(state, 2, 0, 384, {mark(64, 0, 3), release(64, 300, 3)});
    select(1);
    chord(21, chord::kMin);  // A minor
    play();
    runTo(350);
    EXPECT_EQ(struck(), (std::vector<std::pair<int, int>>{{3, 60}}));
}

}  // namespace
}  // namespace vornel
