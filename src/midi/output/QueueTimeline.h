#pragma once

#include <atomic>
#include <cmath>
#include <cstdint>

namespace vornel {

// Where the queue's clock stands: queue time q at real time r is
// anchorQueueMs + (r - anchorRealMs) * rate while running, anchorQueueMs when
// stopped. Every change re-anchors at the current position, so a new rate
// acts at once without a jump.
struct TimelineState {
    double anchorRealMs = 0.0;
    double anchorQueueMs = 0.0;
    double rate = 1.0;
    bool running = false;
    std::uint32_t generation = 0;  // bumped by every stop: older messages are void

    double queueAt(double realMs) const {
        return running ? anchorQueueMs + (realMs - anchorRealMs) * rate : anchorQueueMs;
    }
    // Real time at which queue time q is reached; meaningful while running.
    double realAt(double queueMs) const { return anchorRealMs + (queueMs - anchorQueueMs) / rate; }
};

// The tempo shift of -100..+100 as a playback rate: half to double speed,
// equal steps sounding equal.
inline double rateForShift(int shift) { return std::exp2(shift / 100.0); }

// The timeline shared by the UI thread (its only writer), the scheduling thread
// and the audio callback. Readers never block and never take a lock: a
// sequence counter tells them to read again if a write overlapped.
class QueueTimeline {
public:
    // Acquire loads of the fields keep the second look at the counter after
    // them; a field written by an overlapping write carries that write's odd
    // counter with it, so the two looks differ and the read is retried.
    TimelineState read() const {
        TimelineState s;
        while (!tryRead(s, 64)) {
        }
        return s;
    }

    // For a thread that must never wait (the audio callback): gives up after
    // `attempts` overlapping writes and returns false, so the caller can go on
    // with the state it read last. The writer is the UI thread; if it is
    // preempted in the middle of a write, a real-time reader would otherwise
    // spin until it runs again.
    bool tryRead(TimelineState& out, int attempts) const {
        for (int i = 0; i < attempts; ++i) {
            const std::uint32_t before = seq_.load(std::memory_order_acquire);
            if (before & 1u) continue;
            TimelineState s;
            s.anchorRealMs = anchorRealMs_.load(std::memory_order_acquire);
            s.anchorQueueMs = anchorQueueMs_.load(std::memory_order_acquire);
            s.rate = rate_.load(std::memory_order_acquire);
            s.running = running_.load(std::memory_order_acquire);
            s.generation = generation_.load(std::memory_order_acquire);
            if (seq_.load(std::memory_order_relaxed) == before) {
                out = s;
                return true;
            }
        }
        return false;
    }

    // The generation alone, always whole, as it is one word: a reader that
    // could not get a whole state still learns whether the queue was stopped
    // or discarded since its last one.
    std::uint32_t generation() const { return generation_.load(std::memory_order_acquire); }

    // Single writer. Release stores keep the odd counter ahead of the fields.
    void write(const TimelineState& s) {
        const std::uint32_t before = seq_.load(std::memory_order_relaxed);
        seq_.store(before + 1, std::memory_order_relaxed);
        anchorRealMs_.store(s.anchorRealMs, std::memory_order_release);
        anchorQueueMs_.store(s.anchorQueueMs, std::memory_order_release);
        rate_.store(s.rate, std::memory_order_release);
        running_.store(s.running, std::memory_order_release);
        generation_.store(s.generation, std::memory_order_release);
        seq_.store(before + 2, std::memory_order_release);
    }

private:
    std::atomic<std::uint32_t> seq_{0};
    std::atomic<double> anchorRealMs_{0.0};
    std::atomic<double> anchorQueueMs_{0.0};
    std::atomic<double> rate_{1.0};
    std::atomic<bool> running_{false};
    std::atomic<std::uint32_t> generation_{0};
};

}  // namespace vornel
