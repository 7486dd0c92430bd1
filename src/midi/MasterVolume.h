#pragma once

#include <cstddef>
#include <string>

namespace vornel::midi {

// The universal real-time Master Volume message, F0 7F <device> 04 01 <lsb>
// <msb> F7: one level for the whole instrument, which every General MIDI
// device understands. The player sends the user's 0..127 as the MSB.
inline constexpr int kDefaultMasterVolume = 100;
inline constexpr int kMasterVolumeFull = 16383;  // the 14-bit value at 127/127

inline std::string masterVolumeSysEx(int volume) {
    const int msb = volume < 0 ? 0 : volume > 127 ? 127 : volume;
    return std::string{'\xF0', '\x7F', '\x7F', '\x04', '\x01', '\x00', static_cast<char>(msb), '\xF7'};
}

// The 14-bit value of a Master Volume message given without its F0 and F7 (as
// the built-in synthesizer keeps system-exclusive data), for any device
// number; -1 for any other message.
inline int masterVolumeValue(const char* data, std::size_t length) {
    if (length != 6 || !data) return -1;
    const auto at = [data](std::size_t i) { return static_cast<unsigned char>(data[i]); };
    if (at(0) != 0x7F || at(2) != 0x04 || at(3) != 0x01 || at(1) > 0x7F || at(4) > 0x7F || at(5) > 0x7F) return -1;
    return at(5) << 7 | at(4);
}

// The gain of a 14-bit value: squared, as General MIDI maps channel volume,
// so that equal steps of the control sound about equal (100 is -4.3 dB).
inline double masterVolumeGain(int value) {
    const double v = value <= 0 ? 0.0 : value >= kMasterVolumeFull ? 1.0 : double(value) / kMasterVolumeFull;
    return v * v;
}

}  // namespace vornel::midi
