#pragma once

#include <cstdint>
#include <vector>

#include "midi/output/MidiMessage.h"

namespace vornel {

struct QueuedMessage {
    double stampMs = 0.0;     // queue time at which it is due
    std::uint64_t serial = 0; // queuing order; breaks ties between equal stamps
    std::int32_t cueTag = 0;
    MidiMessage message;
};

// Messages ordered by stamp, equal stamps in the order they were queued.
// A plain data structure: no clock, no thread, no lock of its own.
class MessageQueue {
public:
    void push(double stampMs, std::int32_t cueTag, MidiMessage message);
    bool empty() const { return heap_.empty(); }
    std::size_t size() const { return heap_.size(); }
    // Stamp of the earliest message; only when not empty.
    double nextStamp() const { return heap_.front().stampMs; }
    // Removes and returns the earliest message; only when not empty.
    QueuedMessage pop();
    // Moves every message due at or before `queueMs`, earliest first, to `out`.
    void popDue(double queueMs, std::vector<QueuedMessage>& out);
    void clear() { heap_.clear(); }
    // Removes every message stamped at or after `fromMs`; returns how many.
    std::size_t removeFrom(double fromMs);
    std::uint64_t queuedSoFar() const { return nextSerial_; }

private:
    std::vector<QueuedMessage> heap_;
    std::uint64_t nextSerial_ = 0;
};

}  // namespace vornel
