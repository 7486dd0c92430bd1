#pragma once

#include "player/PlayerState.h"

namespace vornel {

// One velocity step of a meter: full scale over 127.
inline constexpr float kMeterStep = kMeterFullScale / 127.0f;

// Raises the meter of channel VNo (9..16) to velocity Vel. The caller (the
// engine's meter cue) decides whether the meter may rise; other channels
// have no meter and change nothing.
void ShowVUMeter(PlayerState& s, int VNo, int Vel);

// Timer2 tick: every bar falls by eight velocity steps, a bar at or below five
// steps is cleared; with meters off the timer stops once every bar is short.
void Timer2_Timer(PlayerState& s);

}  // namespace vornel
