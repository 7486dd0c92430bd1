#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "midi/MidiVocabulary.h"

namespace vornel {

// The chord types of a style's channel table, by the number the table uses
// for them (a record's source chord type; the bit of its chord mask). The
// player's 24 chord labels are Maj and min; a MIDI keyboard's left hand
// gives the others.
namespace chord {
inline constexpr int kMaj = 0;
inline constexpr int kMaj6 = 1;
inline constexpr int kMaj7 = 2;
inline constexpr int kMajAdd9 = 4;
inline constexpr int kAug = 7;
inline constexpr int kMin = 8;
inline constexpr int kMin6 = 9;
inline constexpr int kMin7 = 10;
inline constexpr int kMin7b5 = 11;
inline constexpr int kDim = 17;
inline constexpr int kDim7 = 18;
inline constexpr int kSeventh = 19;
inline constexpr int kSeventhFlat5 = 21;
inline constexpr int kMaj7Aug = 28;
inline constexpr int kSeventhAug = 29;
inline constexpr int kSus4 = 32;
inline constexpr int kTypeCount = 34;

inline constexpr std::array<std::string_view, kTypeCount> kTypeNames{
    "Maj",   "Maj6",    "Maj7",   "Maj7#11", "Maj(9)",  "Maj7(9)",  "Maj6(9)", "aug",        "min",
    "min6",  "min7",    "min7b5", "min(9)",  "min7(9)", "min7(11)", "minMaj7", "minMaj7(9)", "dim",
    "dim7",  "7th",     "7sus4",  "7b5",     "7(9)",    "7#11",     "7(13)",   "7(b9)",      "7(b13)",
    "7(#9)", "Maj7aug", "7aug",   "1+8",     "1+5",     "sus4",     "1+2+5"};

constexpr bool isType(int type) {
    return type >= 0 && type < kTypeCount;
}
// min .. dim7 share the minor third; every other type counts as major here,
// the power and suspended chords included, since they have no third at all.
constexpr bool isMinorFamily(int type) {
    return type >= kMin && type <= kDim7;
}
}  // namespace chord

// A chord as played: root pitch class 0..11 (C..B) and chord type.
struct PlayedChord {
    int root = 0;
    int type = chord::kMaj;
    friend bool operator==(const PlayedChord&, const PlayedChord&) = default;
};

// One of the player's 24 chord keys (0..11 the major chords on C..B, 12..23
// the minor ones) as a played chord.
constexpr PlayedChord playerChord(int label) {
    const int root = midi::pitchClass(label);
    return {root, label >= 12 ? chord::kMin : chord::kMaj};
}

}  // namespace vornel
