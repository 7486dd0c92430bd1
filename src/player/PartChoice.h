#pragma once

#include "player/PlayerState.h"

namespace vornel {

// Choosing a part (a click on part button Index 0..17; also pressed by loading
// and by the engine when an intro or fill leads into its Main part). While
// playing, the new part blinks until the engine takes it over.
void Cmd_Part_Click(PlayerState& s, int Index);

// Timer1 tick: the pending part button alternates between ColBlink and ColNormal.
void Timer1_Timer(PlayerState& s);

}  // namespace vornel
