#pragma once

#include <string>
#include <vector>

namespace vornel {

// Which of FluidSynth's audio drivers the built-in synthesizer tries, in order.
class AudioDrivers {
public:
    // From the drivers this FluidSynth build offers (`available`) and its own
    // default: PulseAudio first (the desktop's sound server, PipeWire's too,
    // which mixes us with other programs), then JACK (a running JACK server
    // owns the sound card), then ALSA directly, then the library's default for
    // other systems (WASAPI, CoreAudio, ...). ALSA is left out when the machine
    // has no ALSA devices at all (`alsaDevicesPresent` false): alsa-lib would
    // only print its errors to stderr, past FluidSynth's log handler. Drivers
    // that cannot run our callback (sdl2, file) are never chosen.
    static std::vector<std::string> choose(const std::vector<std::string>& available,
                                           const std::string& libraryDefault,
                                           bool alsaDevicesPresent);

    // True when the system has an ALSA device folder (/dev/snd).
    static bool alsaDevicesPresent();
};

}  // namespace vornel
