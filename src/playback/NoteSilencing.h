#pragma once

#include <cstdint>

#include "player/PlayerState.h"

namespace vornel {

// Puts one message on the wire at once, outside the queue.
void SendMessage(PlayerState& s, std::int16_t Mes, std::int16_t D1, std::int16_t D2);

// Switches off (Note On velocity 0) every note listed in List2, records the
// chord in ClosedChord and empties List2.
void CloseActiveNotes(PlayerState& s);

// Note On velocity 0 then Note Off velocity 0 for every note of every channel.
void CloseAllSounds(PlayerState& s);

// Ends playback: the queue is discarded, blinking ends and every note is
// switched off.
void StopRitm(PlayerState& s);

}  // namespace vornel
