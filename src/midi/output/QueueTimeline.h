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
    TimelineState read() const {
        for (;;) {
            const std::uint32_t before = seq_.load(std::memory_order_acquire);
            if (before & 1u) continue;
            TimelineState s;
            s.anchorRealMs = anchorRealMs_.load(std::memory_order_relaxed);
            s.anchorQueueMs = anchorQueueMs_.load(std::memory_order_relaxed);
            s.rate = rate_.load(std::memory_order_relaxed);
            s.running = running_.load(std::memory_order_relaxed);
            s.generation = generation_.load(std::memory_order_relaxed);
            std::atomic_thread_fence(std::memory_order_acquire);
            if (seq_.load(std::memory_order_relaxed) == before) return s;
        }
    }

    void write(const TimelineState& s) {
        const std::uint32_t before = seq_.load(std::memory_order_relaxed);
        seq_.store(before + 1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
        anchorRealMs_.store(s.anchorRealMs, std::memory_order_relaxed);
        anchorQueueMs_.store(s.anchorQueueMs, std::memory_order_relaxed);
        rate_.store(s.rate, std::memory_order_relaxed);
        running_.store(s.running, std::memory_order_relaxed);
        generation_.store(s.generation, std::memory_order_relaxed);
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
