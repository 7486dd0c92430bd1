#include "player/LevelMeters.h"

namespace vornel {

void ShowVUMeter(PlayerState& s, int VNo, int Vel) {
    if (VNo < kFirstMeterChannel || VNo > kLastMeterChannel) return;
    s.ProgressBar2[static_cast<std::size_t>(VNo)] = static_cast<float>(Vel) * kMeterStep;
}

void Timer2_Timer(PlayerState& s) {
    const float floor = 5.0f * kMeterStep;
    const float fall = 8.0f * kMeterStep;
    bool allShort = true;
    for (int ch = kFirstMeterChannel; ch <= kLastMeterChannel; ++ch) {
        float& w = s.ProgressBar2[static_cast<std::size_t>(ch)];
        if (w > floor)
            w = (w - fall > -1.0f) ? w - fall : 0.0f;
        else
            w = 0.0f;
        if (w >= 30.0f) allShort = false;
    }
    if (s.MetersOff == -1 && allShort) s.Timer2.stop();
}

}  // namespace vornel
