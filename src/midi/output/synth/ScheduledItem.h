#pragma once

#include <cstdint>

#include "midi/output/MidiPort.h"
#include "midi/output/synth/SynthMessage.h"

namespace vornel {

// A queued message handed over ahead of its time, stamped in queue time; or a
// withdraw, which travels in order with the messages: it takes back every item
// handed over before it (serial below tag.serial) due at or after dueQueueMs.
struct ScheduledItem {
    enum class Kind : std::uint8_t { Message, Withdraw };

    SynthMessage message;
    double dueQueueMs = 0.0;
    TimedTag tag;
    Kind kind = Kind::Message;
};

// A queued message that has been applied: its tag and the first sample frame
// (counted from the opening of the port) that its effect is heard in.
struct AppliedEvent {
    TimedTag tag;
    std::int64_t frame = 0;
};

}  // namespace vornel
