#pragma once

#include <cstdint>

namespace vornel {

// Milliseconds of the ticks of one chunk, walked forward through the tempo
// changes inside it. Every stamp of a chunk, its cues and its end come from
// one cursor, so a tick always gets the same stamp, and the switch-offs of a
// bar line are stamped exactly like that bar's Note Ons.
class TempoCursor {
public:
    TempoCursor(double startMs, std::int64_t startTick, double msPerTick)
        : ms_(startMs), tick_(startTick), msPerTick_(msPerTick) {}

    // The stamp of `tick`, at or after the last change.
    double at(std::int64_t tick) const { return ms_ + static_cast<double>(tick - tick_) * msPerTick_; }

    // From `tick` on, a tick lasts `msPerTick`.
    void change(std::int64_t tick, double msPerTick) {
        ms_ = at(tick);
        tick_ = tick;
        msPerTick_ = msPerTick;
    }

private:
    double ms_;
    std::int64_t tick_;
    double msPerTick_;
};

}  // namespace vornel
