#include "platform/qt/QtTimer.h"

namespace vornel {

QtTimer::QtTimer(int intervalMs, QtDispatcher& dispatcher, bool running) : dispatcher_(dispatcher) {
    // Precise, so the meters fall evenly; coarse timers may drift by 5 %.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(intervalMs < 0 ? 0 : intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tick(); });
    if (running) timer_.start();
}

void QtTimer::tick() {
    dispatcher_.runHandler([this] {
        if (onTick) onTick();
    });
}

}  // namespace vornel
