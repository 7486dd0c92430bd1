#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

#include "player/ChordRecognition.h"

namespace vornel {

void PrintTo(const RecognisedChord& c, std::ostream* os) {
    *os << c.name();
}

namespace {

std::optional<RecognisedChord> fingered(std::vector<int> keys) {
    return recogniseChord(keys, ChordMode::Fingered);
}
std::optional<RecognisedChord> single(std::vector<int> keys) {
    return recogniseChord(keys, ChordMode::SingleFinger);
}

struct Spelling {
    ChordType type;
    std::vector<int> intervals;
};

const std::vector<Spelling> kSpellings{
    {ChordType::Major, {0, 4, 7}},
    {ChordType::Minor, {0, 3, 7}},
    {ChordType::Seventh, {0, 4, 7, 10}},
    {ChordType::MinorSeventh, {0, 3, 7, 10}},
    {ChordType::MajorSeventh, {0, 4, 7, 11}},
    {ChordType::Sixth, {0, 4, 7, 9}},
    {ChordType::MinorSixth, {0, 3, 7, 9}},
    {ChordType::SuspendedFourth, {0, 5, 7}},
    {ChordType::Diminished, {0, 3, 6}},
    {ChordType::Augmented, {0, 4, 8}},
    {ChordType::AddedNinth, {0, 2, 4, 7}},
};

// Every type on every root, in every inversion, in three octaves. Where the
// inversion puts another chord's root in the bass, the bass decides: Am7 over
// C is C6, an augmented chord is named after its bass. A sixth chord is one
// only with its root in the bass; over any other of its notes the same keys
// read as the minor seventh (C E G A over E or G or A is Am7).
TEST(ChordRecognition, FingeredNamesEveryTypeInEveryInversionAndOctave) {
    for (const Spelling& sp : kSpellings)
        for (int root = 0; root < 12; ++root)
            for (int octave = 2; octave <= 4; ++octave)
                for (std::size_t inversion = 0; inversion < sp.intervals.size(); ++inversion) {
                    std::vector<int> keys;
                    for (std::size_t i = 0; i < sp.intervals.size(); ++i) {
                        const std::size_t at = (i + inversion) % sp.intervals.size();
                        keys.push_back(12 * octave + root + sp.intervals[at] + (at < inversion ? 12 : 0));
                    }
                    const int bassInterval = sp.intervals[inversion];
                    RecognisedChord want{root, sp.type};
                    if (sp.type == ChordType::Sixth && bassInterval != 0)
                        want = {(root + 9) % 12, ChordType::MinorSeventh};
                    if (sp.type == ChordType::MinorSeventh && bassInterval == 3)
                        want = {(root + 3) % 12, ChordType::Sixth};
                    if (sp.type == ChordType::Augmented) want.root = (root + bassInterval) % 12;
                    EXPECT_EQ(fingered(keys), want)
                        << want.name() << " inversion " << inversion << " octave " << octave;
                }
}

TEST(ChordRecognition, FingeredAmbiguousAndPartialKeys) {
    EXPECT_EQ(fingered({48, 55}), (RecognisedChord{0, ChordType::Major}));              // C G: root and fifth
    EXPECT_EQ(fingered({43, 48}), (RecognisedChord{0, ChordType::Major}));              // G C: the same, inverted
    EXPECT_EQ(fingered({45, 48}), (RecognisedChord{9, ChordType::Minor}));              // A C: root and minor third
    EXPECT_EQ(fingered({36, 48, 52, 55, 43}), (RecognisedChord{0, ChordType::Major}));  // doubled keys
    EXPECT_EQ(fingered({40, 43, 45, 48}),
              (RecognisedChord{9, ChordType::MinorSeventh}));  // E G A C: no root in the bass
    EXPECT_EQ(fingered({48, 52}), std::nullopt);               // C E: C or Am without its root, so neither
    EXPECT_EQ(fingered({48, 49, 50}), std::nullopt);           // a cluster
    EXPECT_EQ(fingered({48}), std::nullopt);                   // a lone key
    EXPECT_EQ(fingered({}), std::nullopt);
    EXPECT_EQ(single({}), std::nullopt);
}

TEST(ChordRecognition, SingleFingerRules) {
    EXPECT_EQ(single({48}), (RecognisedChord{0, ChordType::Major}));
    EXPECT_EQ(single({48, 46}), (RecognisedChord{0, ChordType::Minor}));    // C + Bb
    EXPECT_EQ(single({48, 47}), (RecognisedChord{0, ChordType::Seventh}));  // C + B
    EXPECT_EQ(single({46, 47, 48}), (RecognisedChord{0, ChordType::MinorSeventh}));
    EXPECT_EQ(single({53, 51}), (RecognisedChord{5, ChordType::Minor}));    // F + Eb (E is white)
    EXPECT_EQ(single({53, 52}), (RecognisedChord{5, ChordType::Seventh}));  // F + E
    EXPECT_EQ(single({49, 46}), (RecognisedChord{1, ChordType::Minor}));    // C# + Bb (C and B are white)
    EXPECT_EQ(single({49, 48}), (RecognisedChord{1, ChordType::Seventh}));  // C# + C
    EXPECT_EQ(single({48, 34}), (RecognisedChord{0, ChordType::Major}));    // a Bb an octave lower is no minor key
    EXPECT_EQ(single({48, 43}), (RecognisedChord{0, ChordType::Major}));    // a stray key changes nothing
}

TEST(ChordRecognition, NearestOfTheTwentyFourAndNames) {
    EXPECT_EQ((RecognisedChord{9, ChordType::MinorSeventh}).name(), "Am7");
    EXPECT_EQ((RecognisedChord{10, ChordType::MajorSeventh}).name(), "Bbmaj7");
    EXPECT_EQ((RecognisedChord{6, ChordType::Major}).name(), "F#");
    EXPECT_EQ((RecognisedChord{9, ChordType::MinorSeventh}).labelIndex(), 21);
    EXPECT_EQ((RecognisedChord{2, ChordType::Diminished}).labelIndex(), 14);
    EXPECT_EQ((RecognisedChord{2, ChordType::MinorSixth}).labelIndex(), 14);
    for (ChordType t : {ChordType::Seventh, ChordType::MajorSeventh, ChordType::Sixth, ChordType::SuspendedFourth,
                        ChordType::Augmented, ChordType::AddedNinth})
        EXPECT_EQ((RecognisedChord{7, t}).labelIndex(), 7);
}

}  // namespace
}  // namespace vornel
