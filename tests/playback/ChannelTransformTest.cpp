// The channel table's transform against the documented examples of the
// format, and the masks that choose between major and minor variants.
#include <gtest/gtest.h>

#include <vector>

#include "playback/ChannelTransform.h"

namespace vornel {
namespace {

constexpr int C3 = 48, E3 = 52, G3 = 55, B3 = 59;
constexpr int kRootTrans = 0, kRootFixed = 1;
constexpr int kBypass = 0, kChordTable = 2, kMelodicMinor = 3, kHarmonicMinor = 5;
constexpr std::uint64_t kMinorFamily = ((std::uint64_t{1} << 19) - 1) & ~((std::uint64_t{1} << 8) - 1);
constexpr std::uint64_t kAllTypes = (std::uint64_t{1} << 34) - 1;

ChannelRecord record(int ntr, int ntt, int sourceType = chord::kMaj) {
    ChannelRecord r;
    r.sourceType = static_cast<std::uint8_t>(sourceType);
    r.chordMask = kAllTypes;
    for (TranspositionBlock& b : r.blocks) {
        b.ntr = static_cast<std::uint8_t>(ntr);
        b.ntt = static_cast<std::uint8_t>(ntt);
    }
    return r;
}

std::vector<int> played(const ChannelRecord& r, std::vector<int> notes, PlayedChord chord) {
    for (int& n : notes) n = transformNote(r, n, chord);
    return notes;
}

PlayedChord major(int root) {
    return {root, chord::kMaj};
}

TEST(ChannelTransform, RootTransKeepsTheShapeAndRootFixedKeepsTheRegister) {
    EXPECT_EQ(played(record(kRootTrans, kBypass), {C3, E3, G3}, major(5)), (std::vector<int>{53, 57, 60}));
    // C3 F3 A3: the chord is voiced anew where it was written.
    EXPECT_EQ(played(record(kRootFixed, kChordTable), {C3, E3, G3}, major(5)), (std::vector<int>{53, 57, 48}));
    EXPECT_EQ(played(record(kRootFixed, kBypass), {C3, E3, G3}, major(5)), (std::vector<int>{C3, E3, G3}));
}

TEST(ChannelTransform, HighKeyDropsRootsAboveItAnOctave) {
    ChannelRecord r = record(kRootTrans, kBypass);
    for (TranspositionBlock& b : r.blocks) b.highKey = 5;  // F
    EXPECT_EQ(played(r, {C3, E3, G3}, major(0)), (std::vector<int>{48, 52, 55}));
    EXPECT_EQ(played(r, {C3, E3, G3}, major(1)), (std::vector<int>{49, 53, 56}));
    EXPECT_EQ(played(r, {C3, E3, G3}, major(2)), (std::vector<int>{50, 54, 57}));
    EXPECT_EQ(played(r, {C3, E3, G3}, major(5)), (std::vector<int>{53, 57, 60}));
    EXPECT_EQ(played(r, {C3, E3, G3}, major(6)), (std::vector<int>{42, 46, 49}));
}

TEST(ChannelTransform, NoteLimitsFoldByWholeOctaves) {
    ChannelRecord r = record(kRootTrans, kBypass);
    for (TranspositionBlock& b : r.blocks) {
        b.lowLimit = 48;   // C3
        b.highLimit = 62;  // D4
    }
    // The written chord lies above the range (C4 E4 G4), so every chord folds.
    const std::vector<int> written{60, 64, 67};
    EXPECT_EQ(played(r, written, major(0)), (std::vector<int>{60, 52, 55}));  // E3 G3 C4
    EXPECT_EQ(played(r, written, major(1)), (std::vector<int>{61, 53, 56}));  // F3 G#3 C#4
    EXPECT_EQ(played(r, written, major(3)), (std::vector<int>{51, 55, 58}));  // D#3 G3 A#3
    EXPECT_EQ(played(r, written, major(5)), (std::vector<int>{53, 57, 60}));  // F3 A3 C4
}

TEST(ChannelTransform, ChordTableRevoicesAMajorSeventhUnderEveryDocumentedChord) {
    const ChannelRecord r = record(kRootFixed, kChordTable, chord::kMaj7);
    const std::vector<int> written{E3, G3, B3};
    EXPECT_EQ(played(r, written, {2, chord::kMin7}), (std::vector<int>{53, 57, 48}));     // Dm7: F3 A3 C3
    EXPECT_EQ(played(r, written, {7, chord::kSeventh}), (std::vector<int>{59, 50, 53}));  // G7: B3 D3 F3
    EXPECT_EQ(played(r, written, {9, chord::kMin}), (std::vector<int>{48, 52, 57}));      // Am: C3 E3 A3
    EXPECT_EQ(played(r, written, {5, chord::kMaj7}), (std::vector<int>{57, 48, 52}));     // Fmaj7: A3 C3 E3
    EXPECT_EQ(played(r, written, {0, chord::kMaj}), (std::vector<int>{52, 55, 48}));      // C: E3 G3 C3
    EXPECT_EQ(played(r, written, {0, chord::kDim}), (std::vector<int>{51, 54, 48}));      // Cdim: Eb3 F#3 C3
}

TEST(ChannelTransform, MinorTablesMoveOnlyTheirScaleStepsWhenTheThirdChanges) {
    const std::vector<int> scale{60, 62, 64, 65, 67, 69, 71};  // C major, written over C
    const PlayedChord cMinor{0, chord::kMin};
    EXPECT_EQ(played(record(kRootTrans, kMelodicMinor), scale, cMinor), (std::vector<int>{60, 62, 63, 65, 67, 69, 71}));
    EXPECT_EQ(played(record(kRootTrans, kHarmonicMinor), scale, cMinor),
              (std::vector<int>{60, 62, 63, 65, 67, 68, 71}));
    // Written over C minor, raised again under a major chord; unchanged under a minor one.
    const std::vector<int> minorScale{60, 62, 63, 65, 67, 68, 71};
    EXPECT_EQ(played(record(kRootTrans, kHarmonicMinor, chord::kMin), minorScale, major(0)), scale);
    EXPECT_EQ(played(record(kRootTrans, kHarmonicMinor, chord::kMin), minorScale, cMinor), minorScale);
}

TEST(ChannelTransform, EveryKeyStaysAMidiKey) {
    ChannelRecord r = record(kRootTrans, kChordTable, chord::kMaj7);
    for (TranspositionBlock& b : r.blocks) {
        b.lowLimit = 120;
        b.highLimit = 125;  // narrower than an octave
    }
    for (int note : {0, 1, 60, 126, 127})
        for (int root = 0; root < 12; ++root)
            for (int type = 0; type < chord::kTypeCount; ++type) {
                const int key = transformNote(r, note, {root, type});
                ASSERT_TRUE(key >= 0 && key <= 127) << note << " " << root << " " << type;
            }
}

TEST(ChannelTransform, OfAMajorAndAMinorVariantOnOnePartExactlyOneSoundsUnderEachChord) {
    ChannelRecord majorBass = record(kRootTrans, kBypass);
    majorBass.chordMask = kAllTypes & ~kMinorFamily;
    ChannelRecord minorBass = record(kRootTrans, kBypass, chord::kMin);
    minorBass.chordMask = kMinorFamily;
    for (int label = 0; label < 24; ++label) {
        const PlayedChord c = playerChord(label);
        EXPECT_NE(recordSounds(majorBass, c), recordSounds(minorBass, c)) << "chord " << label;
        EXPECT_EQ(recordSounds(minorBass, c), label >= 12);
    }
}

TEST(ChannelTransform, NoteMaskMutesByTheChordRoot) {
    ChannelRecord r = record(kRootTrans, kBypass);
    r.noteMask = 0x0FFF & ~(1 << 7);  // not under G
    EXPECT_FALSE(recordSounds(r, major(7)));
    EXPECT_TRUE(recordSounds(r, major(5)));
}

TEST(ChannelTransform, RoutesToTheDestinationAndHoldsBackMutedNotes) {
    ChannelRecord r = record(kRootTrans, kBypass);
    r.sourceChannel = 2;
    r.destination = 11;
    r.chordMask = kMinorFamily;
    const PlayedChord cMajor = major(0), dMinor{2, chord::kMin};
    EXPECT_EQ(routeMessage(r, &dMinor, 0x92, 48, 100), (RoutedMessage{true, 0x9B, 50, 100}));
    EXPECT_FALSE(routeMessage(r, &cMajor, 0x92, 48, 100).send);
    EXPECT_EQ(routeMessage(r, &cMajor, 0x82, 48, 0), (RoutedMessage{true, 0x8B, 48, 0}));
    EXPECT_EQ(routeMessage(r, &cMajor, 0xC2, 33, 0), (RoutedMessage{true, 0xCB, 33, 0}));
    // Before the first chord only auto-start parts play.
    EXPECT_FALSE(routeMessage(r, nullptr, 0x92, 48, 100).send);
    r.chordMask |= std::uint64_t{1} << ChannelRecord::kAutoStartBit;
    EXPECT_TRUE(routeMessage(r, nullptr, 0x92, 48, 100).send);
}

TEST(ChannelTransform, ARootFixedEffectKeepsItsKeyUnderEveryChord) {
    const ChannelRecord effect = record(kRootFixed, kBypass);
    for (int label = 0; label < 24; ++label)
        EXPECT_EQ(transformNote(effect, 61, playerChord(label)), 61);
}

TEST(ChannelTransform, RetriggerRuleAtAChordChange) {
    ChannelRecord r = record(kRootTrans, kBypass);
    const PlayedChord f = major(5);
    EXPECT_EQ(atChordChange(r, C3, C3, f), (ChordChange{ChordChangeAction::Shift, 53}));
    for (TranspositionBlock& b : r.blocks) b.rtr = 3;
    EXPECT_EQ(atChordChange(r, C3, C3, f), (ChordChange{ChordChangeAction::Retrigger, 53}));
    EXPECT_EQ(atChordChange(r, C3, 53, f), (ChordChange{ChordChangeAction::Keep, 53}));
    for (TranspositionBlock& b : r.blocks) b.rtr = 2;  // to the root, nearest octave
    EXPECT_EQ(atChordChange(r, E3, E3, major(9)), (ChordChange{ChordChangeAction::Shift, 57}));
    // A bass held at F#1 under a low limit of E1 slides to the nearest D,
    // D1, below the limit: not an octave up to D2.
    for (TranspositionBlock& b : r.blocks) b.lowLimit = 28;
    EXPECT_EQ(atChordChange(r, 36, 30, major(2)), (ChordChange{ChordChangeAction::Shift, 26}));
    for (TranspositionBlock& b : r.blocks) b.rtr = 0;
    EXPECT_EQ(atChordChange(r, C3, C3, f).action, ChordChangeAction::Stop);
    // A part the new chord mutes stops, whatever its rule.
    r.chordMask = kMinorFamily;
    for (TranspositionBlock& b : r.blocks) b.rtr = 1;
    EXPECT_EQ(atChordChange(r, C3, C3, f).action, ChordChangeAction::Stop);
}

}  // namespace
}  // namespace vornel
