#pragma once

#include <functional>

namespace vornel {

// A window timer: while running it calls onTick every intervalMs on the UI
// thread. It has nothing to do with musical timing, which belongs to the
// output component.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;

    std::function<void()> onTick;
};

// A timer that ticks only when told to; tests drive the window's timers with it.
class ManualTimer final : public Timer {
public:
    explicit ManualTimer(int intervalMs = 0, bool running = false) : intervalMs_(intervalMs), running_(running) {}
    void start() override { running_ = true; }
    void stop() override { running_ = false; }
    bool running() const override { return running_; }
    int intervalMs() const { return intervalMs_; }

    // One tick, as the real timer would deliver it; nothing while stopped.
    void tick() {
        if (running_ && onTick) onTick();
    }

private:
    int intervalMs_;
    bool running_;
};

}  // namespace vornel
