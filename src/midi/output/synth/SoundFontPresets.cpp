#include "midi/output/synth/SoundFontPresets.h"

namespace vornel {

std::vector<VoiceMap::Preset> SoundFontPresets::of(fluid_synth_t* synth, int soundFontId) {
    std::vector<VoiceMap::Preset> presets;
    fluid_sfont_t* sfont = fluid_synth_get_sfont_by_id(synth, soundFontId);
    if (!sfont) return presets;
    fluid_sfont_iteration_start(sfont);
    while (fluid_preset_t* p = fluid_sfont_iteration_next(sfont)) {
        const char* name = fluid_preset_get_name(p);
        presets.push_back({fluid_preset_get_banknum(p), fluid_preset_get_num(p), name ? name : ""});
    }
    return presets;
}

std::vector<VoiceMap::Preset> SoundFontPresets::read(const std::string& path) {
    std::vector<VoiceMap::Preset> presets;
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return presets;
    // Samples are loaded only for presets selected, and none is: an .sf3 set's
    // seconds of decoding are skipped.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    if (fluid_synth_t* synth = new_fluid_synth(settings)) {
        const int id = fluid_synth_sfload(synth, path.c_str(), 0);
        if (id != FLUID_FAILED) presets = of(synth, id);
        delete_fluid_synth(synth);
    }
    delete_fluid_settings(settings);
    return presets;
}

}  // namespace vornel
