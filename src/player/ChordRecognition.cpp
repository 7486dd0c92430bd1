#include "player/ChordRecognition.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "midi/MidiVocabulary.h"
#include "style/ChordType.h"

namespace vornel {

namespace {

constexpr std::array<const char*, 12> kRootNames{"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};

constexpr bool isBlackKey(int key) {
    const int pc = midi::pitchClass(key);
    return pc == 1 || pc == 3 || pc == 6 || pc == 8 || pc == 10;
}

// The intervals above the root that spell each type, as a set of pitch
// classes. The order is the order of preference when one set of keys spells
// two chords on roots none of which is in the bass: E G A C is Am7, not C6,
// as a sixth chord is heard as one only over its root.
struct Shape {
    std::uint16_t intervals;
    ChordType type;
};

constexpr std::uint16_t set(std::initializer_list<int> intervals) {
    std::uint16_t s = 0;
    for (int i : intervals) s = static_cast<std::uint16_t>(s | (1u << i));
    return s;
}

constexpr std::array<Shape, 13> kShapes{{
    {set({0, 4, 7}), ChordType::Major},
    {set({0, 3, 7}), ChordType::Minor},
    {set({0, 4, 7, 10}), ChordType::Seventh},
    {set({0, 3, 7, 10}), ChordType::MinorSeventh},
    {set({0, 4, 7, 11}), ChordType::MajorSeventh},
    {set({0, 4, 7, 9}), ChordType::Sixth},
    {set({0, 3, 7, 9}), ChordType::MinorSixth},
    {set({0, 5, 7}), ChordType::SuspendedFourth},
    {set({0, 3, 6}), ChordType::Diminished},
    {set({0, 4, 8}), ChordType::Augmented},
    {set({0, 2, 4, 7}), ChordType::AddedNinth},
    // The two-note shells: root and fifth, root and minor third. Root and
    // major third is left out on purpose: C E is as much an A minor without
    // its root as a C major, and a wrong guess would turn the band's harmony
    // upside down; the chord held before is kept instead.
    {set({0, 7}), ChordType::Major},
    {set({0, 3}), ChordType::Minor},
}};

// Pitch-class set `pcs` seen from `root`.
std::uint16_t relativeTo(std::uint16_t pcs, int root) {
    const unsigned s = pcs;
    return static_cast<std::uint16_t>(((s >> root) | (s << (12 - root))) & 0xFFFu);
}

std::optional<RecognisedChord> fingered(std::span<const int> keys) {
    std::uint16_t pcs = 0;
    for (int k : keys) pcs = static_cast<std::uint16_t>(pcs | (1u << midi::pitchClass(k)));
    const int lowest = *std::min_element(keys.begin(), keys.end());
    const int bass = midi::pitchClass(lowest);
    // The bass decides between readings of the same keys (C E G A is C6,
    // A C E G is Am7; C E G# is C augmented, E G# C is E augmented): that is
    // how a player voices the chord they mean.
    const std::uint16_t fromBass = relativeTo(pcs, bass);
    for (const Shape& shape : kShapes)
        if (shape.intervals == fromBass) return RecognisedChord{bass, shape.type};
    for (const Shape& shape : kShapes)
        for (int root = 0; root < 12; ++root)
            if (shape.intervals == relativeTo(pcs, root)) return RecognisedChord{root, shape.type};
    // A cluster, a lone key, an interval no chord is made of.
    return std::nullopt;
}

// The highest key held is the root: the keys that change the chord lie just
// below it. Any other key held is ignored, so a brushed neighbour never
// throws the chord away.
std::optional<RecognisedChord> singleFinger(std::span<const int> keys) {
    const int top = *std::max_element(keys.begin(), keys.end());
    int black = top - 1;
    while (!isBlackKey(black)) --black;
    int white = top - 1;
    while (isBlackKey(white)) --white;
    const auto held = [&](int key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    const bool minor = held(black);
    const bool seventh = held(white);
    ChordType type = ChordType::Major;
    if (minor && seventh)
        type = ChordType::MinorSeventh;
    else if (minor)
        type = ChordType::Minor;
    else if (seventh)
        type = ChordType::Seventh;
    return RecognisedChord{midi::pitchClass(top), type};
}

}  // namespace

bool RecognisedChord::isMinor() const {
    // Sevenths, sixths, added ninths, suspended and augmented chords are
    // played as major; minor sevenths, minor sixths and diminished as minor.
    return type == ChordType::Minor || type == ChordType::MinorSeventh || type == ChordType::MinorSixth ||
           type == ChordType::Diminished;
}

int RecognisedChord::tableType() const {
    // In the order of ChordType; an added ninth is the table's Maj(9).
    static constexpr std::array<int, 11> kTableTypes{chord::kMaj,  chord::kMin,  chord::kSeventh, chord::kMin7,
                                                     chord::kMaj7, chord::kMaj6, chord::kMin6,    chord::kSus4,
                                                     chord::kDim,  chord::kAug,  chord::kMajAdd9};
    return kTableTypes[static_cast<std::size_t>(type)];
}

std::string RecognisedChord::name() const {
    static constexpr std::array<const char*, 11> kSuffixes{"",   "m",    "7",   "m7",  "maj7", "6",
                                                           "m6", "sus4", "dim", "aug", "add9"};
    return std::string(kRootNames[static_cast<std::size_t>(midi::pitchClass(root))]) +
           kSuffixes[static_cast<std::size_t>(type)];
}

std::optional<RecognisedChord> recogniseChord(std::span<const int> keys, ChordMode mode) {
    if (keys.empty()) return std::nullopt;
    return mode == ChordMode::SingleFinger ? singleFinger(keys) : fingered(keys);
}

}  // namespace vornel
