#include "playback/ChannelTransform.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "midi/MidiVocabulary.h"

namespace vornel {

namespace {

using enum TranspositionBlock::Table;
using enum TranspositionBlock::Retrigger;

int mod12(int x) {
    return midi::pitchClass(x);
}

// Where each degree of a chord type lies above its root. No file format or
// manual publishes the Melody and Chord tables; these positions are our own
// proposal, chosen so that every documented example comes out right. The
// Chord 7th over a triad is the root an octave up (12); the Melody 7th is
// the scale's. The last column marks the tensions the chord itself holds
// (1: 9th, 2: 11th, 4: 13th), which Chord keeps instead of moving them to
// the nearest chord tone.
enum Degree : int { kRoot, kNinth, kThird, kEleventh, kFifth, kThirteenth, kSeventh, kDegreeCount };
struct ChordShape {
    std::array<int, kDegreeCount> chordPos;  // 7th as a chordal part plays it
    int melodySeventh;
    int tensions;
};
constexpr std::array<ChordShape, chord::kTypeCount> kShapes{{
    {{0, 2, 4, 5, 7, 9, 12}, 11, 0},  // Maj
    {{0, 2, 4, 5, 7, 9, 9}, 9, 4},    // Maj6
    {{0, 2, 4, 5, 7, 9, 11}, 11, 0},  // Maj7
    {{0, 2, 4, 6, 7, 9, 11}, 11, 2},  // Maj7#11
    {{0, 2, 4, 5, 7, 9, 12}, 11, 1},  // Maj(9)
    {{0, 2, 4, 5, 7, 9, 11}, 11, 1},  // Maj7(9)
    {{0, 2, 4, 5, 7, 9, 9}, 9, 5},    // Maj6(9)
    {{0, 2, 4, 5, 8, 9, 12}, 11, 0},  // aug
    {{0, 2, 3, 5, 7, 9, 12}, 10, 0},  // min
    {{0, 2, 3, 5, 7, 9, 9}, 9, 4},    // min6
    {{0, 2, 3, 5, 7, 9, 10}, 10, 0},  // min7
    {{0, 2, 3, 5, 6, 8, 10}, 10, 0},  // min7b5
    {{0, 2, 3, 5, 7, 9, 12}, 10, 1},  // min(9)
    {{0, 2, 3, 5, 7, 9, 10}, 10, 1},  // min7(9)
    {{0, 2, 3, 5, 7, 9, 10}, 10, 2},  // min7(11)
    {{0, 2, 3, 5, 7, 9, 11}, 11, 0},  // minMaj7
    {{0, 2, 3, 5, 7, 9, 11}, 11, 1},  // minMaj7(9)
    {{0, 2, 3, 5, 6, 8, 12}, 9, 0},   // dim
    {{0, 2, 3, 5, 6, 8, 9}, 9, 0},    // dim7
    {{0, 2, 4, 5, 7, 9, 10}, 10, 0},  // 7th
    {{0, 2, 5, 5, 7, 9, 10}, 10, 2},  // 7sus4
    {{0, 2, 4, 5, 6, 9, 10}, 10, 0},  // 7b5
    {{0, 2, 4, 5, 7, 9, 10}, 10, 1},  // 7(9)
    {{0, 2, 4, 6, 7, 9, 10}, 10, 2},  // 7#11
    {{0, 2, 4, 5, 7, 9, 10}, 10, 4},  // 7(13)
    {{0, 1, 4, 5, 7, 9, 10}, 10, 1},  // 7(b9)
    {{0, 2, 4, 5, 7, 8, 10}, 10, 4},  // 7(b13)
    {{0, 3, 4, 5, 7, 9, 10}, 10, 1},  // 7(#9)
    {{0, 2, 4, 5, 8, 9, 11}, 11, 0},  // Maj7aug
    {{0, 2, 4, 5, 8, 9, 10}, 10, 0},  // 7aug
    {{0, 2, 0, 5, 0, 9, 12}, 11, 0},  // 1+8
    {{0, 2, 0, 5, 7, 9, 12}, 11, 0},  // 1+5
    {{0, 2, 5, 5, 7, 9, 12}, 10, 2},  // sus4
    {{0, 2, 2, 5, 7, 9, 12}, 11, 0},  // 1+2+5
}};

bool isChordTone(int degree) {
    return degree % 2 == 0;
}

int tensionBit(int degree) {
    return degree == kNinth ? 1 : degree == kEleventh ? 2 : 4;
}

int position(const ChordShape& shape, int degree, bool melody) {
    return degree == kSeventh && melody ? shape.melodySeventh : shape.chordPos[static_cast<std::size_t>(degree)];
}

// Melody and Chord: the note is taken as the nearest degree of the source
// chord plus a chromatic offset, and that degree is placed in the played
// chord. The source's degrees are its scale (the Melody 7th); the root also
// counts an octave up, so a note just under it leans on it from below. Ties
// go to chord tones, then to the lower degree.
int degreeInterval(int i, int sourceType, int playedType, bool melody) {
    const ChordShape& source = kShapes[static_cast<std::size_t>(sourceType)];
    int best = kRoot, offset = i, distance = 99;
    for (int d = 0; d < kDegreeCount; ++d) {
        for (int pos : {position(source, d, true), d == kRoot ? 12 : -99}) {
            const int dist = std::abs(i - pos);
            const bool better = dist < distance || (dist == distance && isChordTone(d) && !isChordTone(best));
            if (!better) continue;
            best = d;
            offset = i - pos;
            distance = dist;
        }
    }
    const ChordShape& played = kShapes[static_cast<std::size_t>(playedType)];
    int target = position(played, best, melody);
    if (!melody && !isChordTone(best) && (played.tensions & tensionBit(best)) == 0) {
        // A tension the played chord does not hold goes to its nearest chord tone.
        int nearest = 0;
        for (int d = kRoot; d < kDegreeCount; d += 2) {
            for (int pos : {played.chordPos[static_cast<std::size_t>(d)], d == kRoot ? 12 : -99}) {
                const int dist = std::abs(target - pos), bestDist = std::abs(target - nearest);
                if (dist < bestDist || (dist == bestDist && pos < nearest)) nearest = pos;
            }
        }
        target = nearest;
    }
    return target + offset;
}

// The minor-scale tables move single scale steps when the played chord's
// third differs from the source's: the third (all), the sixth (Harmonic,
// Natural) and the seventh (Natural, Dorian). Natural and Dorian are only
// named by the format; their steps follow from the scales. Their 5th Var.
// forms also move the fifth under augmented and diminished chords; which
// chords count as diminished is our proposal.
int minorScaleInterval(int i, int sourceType, int playedType, int table) {
    const int base = table - (table - kMelodicMinor) % 2;  // the table without its 5th variation
    std::array<bool, 12> lowered{};
    lowered[4] = true;
    lowered[9] = base == kHarmonicMinor || base == kNaturalMinor;
    lowered[11] = base == kNaturalMinor || base == kDorian;
    int j = i;
    const bool sourceMinor = chord::isMinorFamily(sourceType), playedMinor = chord::isMinorFamily(playedType);
    if (!sourceMinor && playedMinor && lowered[static_cast<std::size_t>(i)]) j = i - 1;
    if (sourceMinor && !playedMinor && i < 11 && lowered[static_cast<std::size_t>(i + 1)]) j = i + 1;
    if (table != base && i == 7) {
        if (playedType == chord::kAug || playedType == chord::kMaj7Aug || playedType == chord::kSeventhAug) j = 8;
        if (playedType == chord::kMin7b5 || playedType == chord::kDim || playedType == chord::kDim7 ||
            playedType == chord::kSeventhFlat5)
            j = 6;
    }
    return j;
}

int targetInterval(int i, int sourceType, int playedType, int table) {
    if (table == kMelody || table == kChord) return degreeInterval(i, sourceType, playedType, table == kMelody);
    if (table >= kMelodicMinor && table <= kDorian5th) return minorScaleInterval(i, sourceType, playedType, table);
    return i;
}

// Played roots run through the window of twelve keys that ends at the High
// Key: a root above it is played an octave lower. Measured against the
// source root, so a source over C is not moved under C. For source roots
// other than C this is our extrapolation: every known file is written over C.
int rootShift(int sourceRoot, int playedRoot, int highKey) {
    const auto pos = [&](int root) { return mod12(root - highKey - 1); };
    return pos(playedRoot) - pos(sourceRoot);
}

int foldInto(int key, int low, int high) {
    low = std::clamp(low, 0, 127);
    high = std::clamp(high, low, 127);
    while (key > high) key -= 12;
    while (key < low) key += 12;
    // A range narrower than an octave may have no room for the pitch; it
    // stays just above the low limit, and on a MIDI key.
    while (key > 127) key -= 12;
    return key;
}

PlayedChord checked(const PlayedChord& chord) {
    return {mod12(chord.root), chord::isType(chord.type) ? chord.type : chord::kMaj};
}

}  // namespace

bool recordSounds(const ChannelRecord& record, const PlayedChord& chord) {
    const PlayedChord c = checked(chord);
    return ((record.chordMask >> c.type) & 1u) != 0 && ((record.noteMask >> c.root) & 1u) != 0;
}

bool soundsBeforeFirstChord(const ChannelRecord& record) {
    return record.autoStart();
}

int transformNote(const ChannelRecord& record, int note, const PlayedChord& chord) {
    const PlayedChord played = checked(chord);
    const TranspositionBlock& block = record.blockFor(note);
    const int sourceRoot = mod12(record.sourceRoot);
    const int sourceType = chord::isType(record.sourceType) ? record.sourceType : chord::kMaj7;
    int ntr = block.ntr;
    int table = block.table();
    if (ntr == TranspositionBlock::kGuitar) {
        // Guitar voicing needs a library of chord shapes we do not have; the
        // nearest documented behaviour is a chordal part that stays in place.
        ntr = TranspositionBlock::kRootFixed;
        table = kChord;
    }
    const int i = mod12(note - sourceRoot);
    const int j = targetInterval(i, sourceType, played.type, table);
    int key = note;
    if (ntr == TranspositionBlock::kRootTrans) {
        key = note + rootShift(sourceRoot, played.root, block.highKey) + (j - i);
    } else if (table != kBypass) {
        // Root Fixed keeps each note in the octave that starts at the source
        // root at or below it. Our proposal: the simplest rule that gives the
        // documented C3 E3 G3 -> C3 F3 A3 under F (nearest octave would give
        // F3 A3 C4).
        key = (note - i) + mod12(played.root - sourceRoot + j);
    }
    return foldInto(key, block.lowLimit, block.highLimit);
}

RoutedMessage routeMessage(const ChannelRecord& record, const PlayedChord* chord, std::uint8_t status,
                           std::uint8_t data1, std::uint8_t data2) {
    if (!midi::isChannelMessage(status)) return {true, status, data1, data2};
    const int kind = midi::kindOf(status);
    RoutedMessage out{true, static_cast<std::uint8_t>(midi::statusOf(kind, record.destination)), data1, data2};
    const bool noteOff = midi::isSwitchOff(status, data2);
    const bool struck = midi::isNoteOn(status, data2) || kind == midi::kPolyPressure;
    if (!noteOff && !struck) return out;
    const bool sounds = chord ? recordSounds(record, *chord) : soundsBeforeFirstChord(record);
    if (struck && !sounds) out.send = false;
    // Before the first chord an auto-start part plays as written, over its
    // own source chord.
    const PlayedChord played = chord ? *chord : PlayedChord{record.sourceRoot, record.sourceType};
    out.data1 = static_cast<std::uint8_t>(transformNote(record, data1, played));
    return out;
}

ChordChange atChordChange(const ChannelRecord& record, int storedNote, int soundingKey, const PlayedChord& next) {
    if (!recordSounds(record, next)) return {ChordChangeAction::Stop, soundingKey};
    const TranspositionBlock& block = record.blockFor(storedNote);
    const int root = mod12(next.root);
    ChordChange change;
    switch (block.rtr) {
        case kPitchShift:
            change = {ChordChangeAction::Shift, transformNote(record, storedNote, next)};
            break;
        case kPitchShiftToRoot: {
            int up = mod12(root - soundingKey);
            if (up >= 6) up -= 12;  // the nearest octave; a tritone either way goes down
            // The sounding note slides to the nearest root, wherever that
            // lies: the note limits place notes as they are struck, and
            // folding here would throw a bass at the bottom of its range (E1
            // to D under a low limit of E1) an octave up, to D2 instead of D1.
            int key = soundingKey + up;
            if (key < 0) key += 12;
            if (key > 127) key -= 12;
            change = {ChordChangeAction::Shift, key};
            break;
        }
        case kRetrigger:
            change = {ChordChangeAction::Retrigger, transformNote(record, storedNote, next)};
            break;
        case kRetriggerToRoot:
            change = {ChordChangeAction::Retrigger,
                      foldInto(soundingKey - mod12(soundingKey) + root, block.lowLimit, block.highLimit)};
            break;
        default:
            // Stop, and Note Generator, whose preset notes no file describes.
            return {ChordChangeAction::Stop, soundingKey};
    }
    if (change.key == soundingKey) change.action = ChordChangeAction::Keep;
    return change;
}

}  // namespace vornel
