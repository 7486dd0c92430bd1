#pragma once

#include <cstdint>
#include <string>

namespace vornel {

// One message as the program prepares it: a status byte and up to two data
// bytes, or, for status 240, the system-exclusive bytes in `sysex`
// (complete, from F0 to F7, exactly as the file reader's EvSysEx gives them).
// Values are kept wide so that out-of-range input can be seen and refused.
struct MidiMessage {
    int status = 0;
    int data1 = 0;
    int data2 = 0;
    std::string sysex;
};

// Number of bytes a channel message of this status takes on the wire
// (2 for program change and channel pressure, 3 for the others), 0 if the
// status is not a channel status.
inline int channelMessageSize(int status) {
    if (status < 0x80 || status > 0xEF) return 0;
    const int kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
}

// True when the message may be put on a MIDI wire as it is: a channel message
// whose data bytes lie in 0..127, or a system-exclusive message that starts
// with F0, ends with F7 and carries only 7-bit bytes between. Everything else
// (a transposed note below 0 or above 127, status 255, a 240 without data,
// system common and real-time bytes) is refused.
inline bool isSendable(const MidiMessage& m) {
    if (m.status == 0xF0) {
        const std::string& s = m.sysex;
        if (s.size() < 2 || static_cast<unsigned char>(s.front()) != 0xF0 ||
            static_cast<unsigned char>(s.back()) != 0xF7)
            return false;
        for (std::size_t i = 1; i + 1 < s.size(); ++i)
            if (static_cast<unsigned char>(s[i]) > 0x7F) return false;
        return true;
    }
    const int size = channelMessageSize(m.status);
    if (size == 0) return false;
    if (m.data1 < 0 || m.data1 > 127) return false;
    if (size == 3 && (m.data2 < 0 || m.data2 > 127)) return false;
    return true;
}

}  // namespace vornel
