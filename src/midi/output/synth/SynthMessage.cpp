#include "midi/output/synth/SynthMessage.h"

#include <algorithm>

namespace vornel {

bool SynthMessage::encode(const MidiMessage& m, SynthMessage& out) {
    out = SynthMessage{};
    if (!isSendable(m)) return false;
    if (m.status == 0xF0) {
        if (m.sysex.size() > kMaxSysEx) return false;
        const std::size_t payload = m.sysex.size() - 2;  // without F0 and F7
        std::copy_n(m.sysex.begin() + 1, payload, out.sysex.begin());
        out.sysexLength = static_cast<std::uint16_t>(payload);
        out.kind = Kind::SysEx;
        return true;
    }
    out.kind = Kind::Channel;
    out.status = static_cast<std::uint8_t>(m.status);
    out.data1 = static_cast<std::uint8_t>(m.data1);
    out.data2 = channelMessageSize(m.status) == 3 ? static_cast<std::uint8_t>(m.data2) : 0;
    return true;
}

}  // namespace vornel
