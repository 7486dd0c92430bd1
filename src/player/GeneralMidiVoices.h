#pragma once

#include <array>

namespace vornel {

// The 128 voices of General MIDI, by program number 0..127, under the names
// every General MIDI device and SoundFont lists them by.
extern const std::array<const char*, 128> kGeneralMidiVoices;

}  // namespace vornel
