#include "midi/output/synth/BuiltInSynth.h"

#include <filesystem>

#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/SoundFontLocator.h"

namespace vornel {

std::string BuiltInSynth::nameFor(const std::string& soundFontPath) {
    const std::string stem = std::filesystem::path(soundFontPath).stem().string();
    return "Vornel Synthesizer (FluidSynth, " +
           (stem.empty() ? std::string("no SoundFont") : stem) + ")";
}

std::string BuiltInSynth::name() {
    return nameFor(SoundFontLocator::findDefault().string());
}

std::unique_ptr<MidiPort> BuiltInSynth::create() {
    return std::make_unique<FluidSynthPort>();
}

}  // namespace vornel
