#pragma once

#include <cstdint>

#include "midi/output/MIDIOutput.h"

namespace vornel::test {

// The property sequence every caller of the output component writes: prepare
// the message, then the command.
inline void queueMessage(MIDIOutput& out, double atMs, int status, int d1, int d2, std::int32_t tag = 0) {
    out.StatusByte(status);
    out.DataByte1(d1);
    out.DataByte2(d2);
    out.CueTime(atMs);
    out.CueTag(tag);
    out.PortCommand(MIDIOutput::QueueMessage);
}

inline void sendNow(MIDIOutput& out, int status, int d1, int d2) {
    out.StatusByte(status);
    out.DataByte1(d1);
    out.DataByte2(d2);
    out.PortCommand(MIDIOutput::SendNow);
}

}  // namespace vornel::test
