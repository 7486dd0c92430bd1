#pragma once

#include <rtmidi/RtMidi.h>

#include <filesystem>
#include <string>

namespace vornel {

// Whether the system has a MIDI sequencer to make a client of. Without one
// (no /dev/snd/seq) RtMidi would print its own error; the port lists are
// simply empty.
inline bool sequencerPresent() {
#if defined(__linux__)
    std::error_code ec;
    return std::filesystem::exists("/dev/snd/seq", ec);
#else
    return true;
#endif
}

// The system's ports as an RtMidi client lists them, inputs and outputs
// alike. A client that fails to list reads as an empty list: a machine without
// MIDI is not an error.
inline int portCountOf(RtMidi& client) {
    try {
        return static_cast<int>(client.getPortCount());
    } catch (...) {
        return 0;
    }
}

inline std::string portNameOf(RtMidi& client, int index) {
    if (index < 0) return {};
    try {
        return client.getPortName(static_cast<unsigned>(index));
    } catch (...) {
        return {};
    }
}

}  // namespace vornel
