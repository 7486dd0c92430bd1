#include "playback/ChordRule.h"

#include <gtest/gtest.h>

namespace vornel {
namespace {

struct ChordCase {
    const char* what;
    int label, status, stored, sent;
};

TEST(ChordRule, SendsTheNoteOfTheChord) {
    const ChordCase cases[] = {
        {"C major keeps the third", 0, 0x9B, 64, 64}, {"C major: B becomes the octave", 0, 0x9B, 71, 72},
        {"A minor root", 21, 0x9B, 60, 57}, {"A minor: E becomes the minor third", 21, 0x9B, 64, 60},
        {"A minor: B becomes the octave", 21, 0x9B, 71, 69}, {"A major keeps the major third", 9, 0x9B, 64, 61},
        {"F sharp major is reached downwards", 6, 0x9B, 60, 54}, {"E minor: the lowest E", 16, 0x9B, 4, 7},
        {"drum Note On on channel 10 keeps its note", 21, 153, 36, 36},
        {"Note On on channel 9 keeps its note", 16, 152, 40, 40},
        {"Note Off on channel 10 keeps its note", 21, 137, 36, 36},
        {"Note Off on channel 9 keeps its note", 21, 136, 83, 83}, {"Note Off on channel 1", 21, 128, 64, 60},
        {"Note On on channel 16", 21, 159, 71, 69}, {"polyphonic pressure keeps its note", 5, 160, 64, 64},
        {"Control Change keeps its controller", 21, 176, 64, 64},
        {"127 under F goes above the MIDI range", 5, 0x90, 127, 132},
        {"0 under F sharp goes below it", 6, 0x90, 0, -6},
    };
    for (const ChordCase& c : cases) {
        const Chord chord = chordOfLabel(c.label);
        EXPECT_EQ(chordNote(static_cast<std::int16_t>(c.status), static_cast<std::int16_t>(c.stored),
                            chord.Transpose, chord.IsMinor),
                  c.sent)
            << c.what;
    }
}

TEST(ChordRule, MapsEveryLabelToItsRootAndModeAndOthersToCMajor) {
    const int expected[12] = {0, 1, 2, 3, 4, 5, -6, -5, -4, -3, -2, -1};
    for (int i = 0; i < 24; ++i) {
        const Chord c = chordOfLabel(i);
        EXPECT_EQ(c.Transpose, expected[i % 12]) << "label " << i;
        EXPECT_EQ(c.IsMinor, i >= 12 ? 1 : 0) << "label " << i;
    }
    for (int i : {-1, 24, 1000}) {
        const Chord c = chordOfLabel(i);
        EXPECT_EQ(c.Transpose, 0) << "label " << i;
        EXPECT_EQ(c.IsMinor, 0) << "label " << i;
    }
}

}  // namespace
}  // namespace vornel
