#pragma once

#include "player/PlayerState.h"

namespace vornel {

// The command bar in the playing state: Play, Open, Settings and Exit off,
// Stop on.
void showPlaying(PlayerState& s);

// The command bar in the stopped state: Play, Open, Settings and Exit on,
// Stop off.
void showStopped(PlayerState& s);

}  // namespace vornel
