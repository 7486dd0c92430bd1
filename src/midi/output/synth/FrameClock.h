#pragma once

#include <cstdint>

namespace vornel {

// Maps sample frames to real time (the clock's milliseconds) for the audio
// callback.
//
// A callback does not wake at exactly the moment its audio is due: the
// operating system wakes it early or late by a fraction of a period, and
// reading the clock at every period would move events by that jitter. So the
// frame counter, which advances exactly with the audio hardware, carries the
// time, anchored to the clock once. The clock is consulted again at every period
// only to notice when the two have drifted apart by more than a period (a
// stalled device, an underrun, a sound card whose crystal runs off the
// system clock); then the anchor moves to the clock's present reading.
class FrameClock {
public:
    void setSampleRate(double sampleRate) { sampleRate_ = sampleRate; }
    double sampleRate() const { return sampleRate_; }

    // Forgets the anchor; the next period anchors afresh.
    void reset();

    // Start of a period of `frames` frames beginning at `firstFrame`, with the
    // clock reading `nowMs` (NaN when there is no clock: frames alone then
    // carry the time, starting at 0 ms).
    void beginPeriod(std::int64_t firstFrame, int frames, double nowMs);

    double msAtFrame(std::int64_t frame) const {
        return anchorMs_ + static_cast<double>(frame - anchorFrame_) * 1000.0 / sampleRate_;
    }
    double frameAtMs(double ms) const {
        return static_cast<double>(anchorFrame_) + (ms - anchorMs_) * sampleRate_ / 1000.0;
    }

    // How often the anchor moved after the first one (for diagnostics and tests).
    std::uint64_t reanchorCount() const { return reanchors_; }

private:
    double sampleRate_ = 44100.0;
    bool anchored_ = false;
    std::int64_t anchorFrame_ = 0;
    double anchorMs_ = 0.0;
    std::uint64_t reanchors_ = 0;
};

}  // namespace vornel
