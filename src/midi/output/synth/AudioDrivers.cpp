#include "midi/output/synth/AudioDrivers.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <system_error>

namespace vornel {

namespace {

bool contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

std::vector<std::string> AudioDrivers::choose(const std::vector<std::string>& available,
                                              const std::string& libraryDefault,
                                              bool alsaDevicesPresent) {
    // sdl2 has no callback mode; file writes to disk instead of playing.
    const auto unusable = [](const std::string& d) { return d == "sdl2" || d == "file"; };
    std::vector<std::string> order;
    for (const char* preferred : {"pulseaudio", "jack", "alsa"}) {
        const std::string name(preferred);
        if (name == "alsa" && !alsaDevicesPresent) continue;
        if (contains(available, name)) order.push_back(name);
    }
    const bool defaultSkipped = libraryDefault == "alsa" && !alsaDevicesPresent;
    if (!libraryDefault.empty() && contains(available, libraryDefault) &&
        !contains(order, libraryDefault) && !unusable(libraryDefault) && !defaultSkipped)
        order.push_back(libraryDefault);
    return order;
}

bool AudioDrivers::alsaDevicesPresent() {
    std::error_code ec;
    return std::filesystem::is_directory("/dev/snd", ec);
}

}  // namespace vornel
