#pragma once

#include <fluidsynth.h>

#include <string>
#include <vector>

#include "midi/output/synth/VoiceMap.h"

namespace vornel {

// The presets a SoundFont holds, banks as FluidSynth numbers them (kits in 128).
class SoundFontPresets {
public:
    // Of a SoundFont loaded in `synth`. Thread that owns the synthesizer, never
    // the audio thread: it allocates.
    static std::vector<VoiceMap::Preset> of(fluid_synth_t* synth, int soundFontId);
    // Of the file at `path`, read without its samples; empty when it cannot be
    // read. Any thread but the audio thread.
    static std::vector<VoiceMap::Preset> read(const std::string& path);
};

}  // namespace vornel
