#pragma once

#include <cstdint>

#include "midi/output/MidiPort.h"
#include "midi/output/synth/SynthMessage.h"

namespace vornel {

// A queued message handed over ahead of its time, stamped in queue time.
struct ScheduledItem {
    SynthMessage message;
    double dueQueueMs = 0.0;
    TimedTag tag;
};

// A queued message that has been applied: its tag and the first sample frame
// (counted from the opening of the port) that its effect is heard in.
struct AppliedEvent {
    TimedTag tag;
    std::int64_t frame = 0;
};

}  // namespace vornel
