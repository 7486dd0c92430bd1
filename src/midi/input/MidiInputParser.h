#pragma once

#include <cstddef>
#include <cstdint>

#include "midi/input/ChannelMessage.h"

namespace vornel {

// Turns the byte stream of a MIDI input into channel voice messages. It keeps
// running status, lets System Real-Time bytes pass anywhere (even inside a
// message) without effect, skips system-exclusive and System Common messages,
// and drops data bytes that belong to no message. Allocation-free: it runs on
// the input thread, at any message rate.
class MidiInputParser {
public:
    // Calls `out(const ChannelMessage&)` for every message completed by `bytes`.
    template <class Out>
    void feed(const std::uint8_t* bytes, std::size_t size, Out&& out) {
        for (std::size_t i = 0; i < size; ++i)
            if (take(bytes[i])) out(message_);
    }
    // Forgets any message in progress (a device reopened).
    void reset();

private:
    // True when `b` completes a message, now in message_.
    bool take(std::uint8_t b);

    std::uint8_t running_ = 0;  // 0: no running status
    std::uint8_t first_ = 0;
    bool haveFirst_ = false;
    bool inSysEx_ = false;
    ChannelMessage message_;
};

}  // namespace vornel
