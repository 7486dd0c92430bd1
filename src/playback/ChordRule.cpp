#include "playback/ChordRule.h"

namespace vornel {

bool followsChord(std::int16_t m) {
    const bool note = m > 127 && m < 160;
    const int channel = (m & 0x0F) + 1;
    return note && channel != 9 && channel != 10;
}

std::int16_t chordNote(std::int16_t m, std::int16_t d1, std::int16_t Transpose, std::int16_t IsMinor) {
    if (!followsChord(m)) return d1;
    int n = d1 + Transpose;
    // The tests look at the stored note, not at the moved one.
    if (d1 % 12 == 11)
        n += 1;
    else if (d1 % 12 == 4 && IsMinor == 1)
        n -= 1;
    return static_cast<std::int16_t>(n);
}

Chord chordOfLabel(int index) {
    // A label outside the two keyboards names no chord; it reads as C major.
    if (index < 0 || index > 23) return {};
    const int root = index % 12;
    // F sharp to B are reached downwards from C, so no note moves by more
    // than a tritone.
    const int transpose = root < 6 ? root : root - 12;
    return {static_cast<std::int16_t>(transpose), static_cast<std::int16_t>(index >= 12 ? 1 : 0)};
}

}  // namespace vornel
