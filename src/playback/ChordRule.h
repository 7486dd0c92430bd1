#pragma once

#include <cstdint>

namespace vornel {

// The note to send for a stored message of status m and first data byte d1
// under the chord (Transpose, IsMinor). Patterns are written over C major:
// the root moves by at most a tritone, the major seventh becomes the octave,
// and for a minor chord the major third becomes minor. Nothing on the two
// rhythm channels (9 and 10) moves: a drum's Note Off must reach the key its
// Note On struck. The result is not folded into 0..127; the output component
// refuses what is not valid MIDI.
std::int16_t chordNote(std::int16_t m, std::int16_t d1, std::int16_t Transpose, std::int16_t IsMinor);

// Whether the chord rule moves messages of status m: note messages outside
// the rhythm channels.
bool followsChord(std::int16_t m);

// Transpose and IsMinor of chord label 0..23.
struct Chord {
    std::int16_t Transpose = 0;
    std::int16_t IsMinor = 0;
};
Chord chordOfLabel(int index);

}  // namespace vornel
