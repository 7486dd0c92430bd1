#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vornel {

// Finds the General MIDI SoundFont the built-in synthesizer plays with.
class SoundFontLocator {
public:
    // The usual SoundFont folders of a Linux system, the user's own last:
    // /usr/share/sounds/sf2, /usr/share/soundfonts, /usr/local/share/soundfonts,
    // ~/.local/share/soundfonts (when HOME is set).
    static std::vector<std::filesystem::path> defaultFolders();

    // The SoundFont to use from `folders`: TimGM6mb.sf2 (Debian's
    // timgm6mb-soundfont, small and complete) in the first folder that has it,
    // else default-GM.sf2 (the distribution's chosen GM font) likewise, else the
    // alphabetically first *.sf2 of the first folder that has any. Empty when
    // there is none. Missing or unreadable folders are skipped.
    static std::filesystem::path find(const std::vector<std::filesystem::path>& folders);

    // find(defaultFolders()).
    static std::filesystem::path findDefault() { return find(defaultFolders()); }
};

}  // namespace vornel
