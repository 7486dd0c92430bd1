#pragma once

#include <cstdint>

#include "midi/output/MIDIOutputComponent.h"

namespace vornel::test {

// The property sequence every caller of the output component writes: prepare
// the message, then the command.
inline void queueMessage(MIDIOutputComponent& out, double atMs, int status, int d1, int d2, std::int32_t tag = 0) {
    out.StatusByte(status);
    out.DataByte1(d1);
    out.DataByte2(d2);
    out.CueTime(atMs);
    out.CueTag(tag);
    out.PortCommand(MIDIOutputComponent::QueueMessage);
}

inline void sendNow(MIDIOutputComponent& out, int status, int d1, int d2) {
    out.StatusByte(status);
    out.DataByte1(d1);
    out.DataByte2(d2);
    out.PortCommand(MIDIOutputComponent::SendNow);
}

}  // namespace vornel::test
