#pragma once

#include <rtmidi/RtMidi.h>

#include <string>

namespace vornel {

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
