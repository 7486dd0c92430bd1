#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vornel {

// Finds the General MIDI SoundFont the built-in synthesizer plays with.
class SoundFontLocator {
public:
    // The usual SoundFont folders of a Linux system, the user's own last:
    // /usr/share/sounds/sf3, /usr/share/sounds/sf2, /usr/share/soundfonts,
    // /usr/local/share/soundfonts, ~/.local/share/soundfonts (when HOME is set).
    static std::vector<std::filesystem::path> defaultFolders();

    // The SoundFont to use from `folders`, the first of these names found in
    // any folder (folders in order for each name):
    //   MuseScore_General_Lite.sf3 (Debian's musescore-general-soundfont-small:
    //     311 presets with GS-style variation banks and 38 drum kits in 40 MB,
    //     MIT licence), the set the built-in synthesizer is tuned to;
    //   TimGM6mb.sf2 (timgm6mb-soundfont: 6 MB, the 128 GM sounds and 8 kits);
    //   default-GM.sf2 (the distribution's chosen GM font);
    // else the alphabetically first *.sf2 or *.sf3 of the first folder that has
    // any. Empty when there is none. Missing or unreadable folders are skipped.
    static std::filesystem::path find(const std::vector<std::filesystem::path>& folders);

    // find(defaultFolders()).
    static std::filesystem::path findDefault() { return find(defaultFolders()); }
};

}  // namespace vornel
