#include "playback/ChordRule.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

struct ChordCase {
    const char* what;
    int label;
    int status;
    int stored;
    int sent;
};

class ChordRuleTable : public ::testing::TestWithParam<ChordCase> {};

TEST_P(ChordRuleTable, SendsTheNoteOfTheChord) {
    const ChordCase& c = GetParam();
    const Chord chord = chordOfLabel(c.label);
    EXPECT_EQ(chordNote(static_cast<std::int16_t>(c.status), static_cast<std::int16_t>(c.stored), chord.Transpose, chord.IsMinor),
              c.sent)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChordRuleTable,
    ::testing::Values(
        ChordCase{"C major keeps the root", 0, 0x9B, 60, 60}, ChordCase{"C major keeps the third", 0, 0x9B, 64, 64},
        ChordCase{"C major keeps the fifth", 0, 0x9B, 67, 67}, ChordCase{"C major: B becomes the octave", 0, 0x9B, 71, 72},
        ChordCase{"A minor root", 21, 0x9B, 60, 57}, ChordCase{"A minor: E becomes the minor third", 21, 0x9B, 64, 60},
        ChordCase{"A minor fifth", 21, 0x9B, 67, 64}, ChordCase{"A minor: B becomes the octave", 21, 0x9B, 71, 69},
        ChordCase{"A major keeps the major third", 9, 0x9B, 64, 61},
        ChordCase{"F sharp major root", 6, 0x9B, 60, 54}, ChordCase{"F sharp major third", 6, 0x9B, 64, 58},
        ChordCase{"F sharp major fifth", 6, 0x9B, 67, 61}, ChordCase{"E minor: the lowest E", 16, 0x9B, 4, 7},
        ChordCase{"E minor: E 16", 16, 0x9B, 16, 19}, ChordCase{"E minor: E 64", 16, 0x9B, 64, 67},
        ChordCase{"drum Note On on channel 10 keeps its note", 21, 153, 36, 36},
        ChordCase{"Note On on channel 9 keeps its note", 16, 152, 40, 40},
        ChordCase{"Note Off on channel 10 is transposed", 21, 137, 36, 33},
        ChordCase{"Note Off on channel 9 is transposed", 21, 136, 36, 33},
        ChordCase{"Note Off on channel 1", 21, 128, 64, 60}, ChordCase{"Note On on channel 16", 21, 159, 71, 69},
        ChordCase{"Control Change keeps its controller", 21, 176, 64, 64},
        ChordCase{"Control Change on channel 16", 5, 191, 11, 11}, ChordCase{"Program Change keeps its program", 5, 192, 71, 71},
        ChordCase{"Pitch bend keeps its data", 5, 224, 0, 0}, ChordCase{"polyphonic pressure keeps its note", 5, 160, 64, 64},
        ChordCase{"system exclusive keeps its data", 5, 240, 4, 4},
        ChordCase{"127 under F goes above the MIDI range", 5, 0x90, 127, 132},
        ChordCase{"0 under F sharp goes below it", 6, 0x90, 0, -6}));

TEST(ChordOfLabel, MapsEveryLabelToItsRootAndMode) {
    const int expected[12] = {0, 1, 2, 3, 4, 5, -6, -5, -4, -3, -2, -1};
    for (int i = 0; i < 24; ++i) {
        const Chord c = chordOfLabel(i);
        EXPECT_EQ(c.Transpose, expected[i % 12]) << "label " << i;
        EXPECT_EQ(c.IsMinor, i >= 12 ? 1 : 0) << "label " << i;
    }
}

TEST(ChordOfLabel, ALabelOutsideTheKeyboardsReadsAsCMajor) {
    for (int i : {-1, 24, 1000}) {
        const Chord c = chordOfLabel(i);
        EXPECT_EQ(c.Transpose, 0);
        EXPECT_EQ(c.IsMinor, 0);
    }
}

}  // namespace
}  // namespace vornel
