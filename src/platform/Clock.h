#pragma once

#include <atomic>
#include <chrono>

namespace vornel {

// Milliseconds on a steady time line. Musical timing is measured against it,
// so tests can replace it with a clock they advance by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double nowMs() const = 0;
};

// The process-wide monotonic clock (CLOCK_MONOTONIC on Linux), in milliseconds
// since its own epoch. Deadlines computed from it can be slept to directly.
class SteadyClock final : public Clock {
public:
    double nowMs() const override { return toMs(std::chrono::steady_clock::now()); }

    static double toMs(std::chrono::steady_clock::time_point t) {
        return std::chrono::duration<double, std::milli>(t.time_since_epoch()).count();
    }
    static std::chrono::steady_clock::time_point fromMs(double ms) {
        return std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double, std::milli>(ms)));
    }
};

// A clock that only moves when told to; for tests and offline rendering.
// Atomic, so a component thread may read it while the test moves it.
class ManualClock final : public Clock {
public:
    double nowMs() const override { return now_.load(std::memory_order_acquire); }
    void set(double ms) { now_.store(ms, std::memory_order_release); }
    void advance(double ms) { set(nowMs() + ms); }

private:
    std::atomic<double> now_{0.0};
};

}  // namespace vornel
