#include "midi/output/synth/FrameClock.h"

#include <cmath>

namespace vornel {

void FrameClock::reset() {
    anchored_ = false;
    anchorFrame_ = 0;
    anchorMs_ = 0.0;
    reanchors_ = 0;
}

void FrameClock::beginPeriod(std::int64_t firstFrame, int frames, double nowMs) {
    if (std::isnan(nowMs)) {
        if (!anchored_) {
            anchorFrame_ = 0;
            anchorMs_ = 0.0;
            anchored_ = true;
        }
        return;
    }
    if (!anchored_) {
        anchorFrame_ = firstFrame;
        anchorMs_ = nowMs;
        anchored_ = true;
        return;
    }
    const double periodMs = frames * 1000.0 / sampleRate_;
    if (std::fabs(msAtFrame(firstFrame) - nowMs) > periodMs) {
        anchorFrame_ = firstFrame;
        anchorMs_ = nowMs;
        ++reanchors_;
    }
}

}  // namespace vornel
