#pragma once

#include <QTimer>

#include "platform/Timer.h"
#include "platform/qt/QtDispatcher.h"

namespace vornel {

// A window timer on a QTimer. Each tick runs as a handler through the
// dispatcher. A tick that falls while another handler is open (a message box
// of that handler is on screen) is skipped rather than held: the timers only
// blink and let meters fall, and the next tick comes one interval later.
class QtTimer final : public Timer {
public:
    QtTimer(int intervalMs, QtDispatcher& dispatcher, bool running = false);
    QtTimer(const QtTimer&) = delete;
    QtTimer& operator=(const QtTimer&) = delete;

    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    bool running() const override { return timer_.isActive(); }
    int intervalMs() const { return timer_.interval(); }

private:
    void tick();

    QtDispatcher& dispatcher_;
    QTimer timer_;
};

}  // namespace vornel
