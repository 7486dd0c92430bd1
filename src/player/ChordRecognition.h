#pragma once

#include <optional>
#include <span>
#include <string>

namespace vornel {

// How the keys held below the split point name a chord.
enum class ChordMode {
    SingleFinger,  // one key names a major chord; keys just below it make it minor, seventh, minor
                   // seventh
    Fingered,      // the chord the keys spell, in any inversion and octave
};

// Chord types a player's left hand is understood to play.
enum class ChordType {
    Major,
    Minor,
    Seventh,
    MinorSeventh,
    MajorSeventh,
    Sixth,
    MinorSixth,
    SuspendedFourth,
    Diminished,
    Augmented,
    AddedNinth,
};

struct RecognisedChord {
    int root = 0;  // pitch class, 0 C .. 11 B
    ChordType type = ChordType::Major;

    // Whether the accompaniment plays it as a minor chord: the nearest of the
    // 24 chords the chord labels offer.
    bool isMinor() const;
    // The chord label 0..23 that plays it (0..11 major C..B, 12..23 minor).
    int labelIndex() const { return root + (isMinor() ? 12 : 0); }
    // The chord type as a style's channel table numbers it, so a style
    // with a table plays the chord itself rather than its nearest label.
    int tableType() const;
    // What the player reads, e.g. "Am7", "F#", "Bbmaj7".
    std::string name() const;
    friend bool operator==(const RecognisedChord&, const RecognisedChord&) = default;
};

// The chord the held keys (MIDI note numbers, any order, repeats allowed)
// name in `mode`; nothing when they name none, and the accompaniment keeps
// the chord it has.
std::optional<RecognisedChord> recogniseChord(std::span<const int> keys, ChordMode mode);

}  // namespace vornel
