#pragma once

#include <memory>
#include <string>

#include "midi/output/MidiPort.h"

namespace vornel {

// Device number -1 of the device list: the built-in synthesizer.
class BuiltInSynth {
public:
    // "Vornel Synthesizer (FluidSynth, TimGM6mb)": the SoundFont's file name
    // without its extension, or "no SoundFont" when none is installed (the
    // entry is listed all the same; opening it then fails).
    static std::string name();
    static std::string nameFor(const std::string& soundFontPath);
    // A new, unopened FluidSynthPort with the SoundFont found on this machine.
    static std::unique_ptr<MidiPort> create();
};

}  // namespace vornel
