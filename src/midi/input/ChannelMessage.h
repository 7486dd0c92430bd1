#pragma once

#include <cstdint>

#include "midi/MidiVocabulary.h"

namespace vornel {

// A complete channel voice message from a MIDI input. A Note On with
// velocity 0 arrives as the Note Off it means.
struct ChannelMessage {
    std::uint8_t status = 0;  // 0x80..0xEF
    std::uint8_t data1 = 0;   // 0..127
    std::uint8_t data2 = 0;   // 0..127; 0 for the two-byte messages

    int kind() const { return midi::kindOf(status); }
    int channel() const { return midi::channelOf(status); }
    friend bool operator==(const ChannelMessage&, const ChannelMessage&) = default;
};

}  // namespace vornel
