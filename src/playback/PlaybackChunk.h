#pragma once

#include <cstdint>

#include "player/PlayerState.h"

namespace vornel {
class MIDIOutputComponent;
}

namespace vornel {

// Cue tags carried by the silent carrier message (Note On, channel 1, note 36,
// velocity 0) or by queued Note Ons (the meter cue: channel × 1000 + velocity).
inline constexpr std::int32_t CueNextBar = 1;
inline constexpr std::int32_t CueNextPart = -4;
inline constexpr std::int32_t CueEnding = -3;
inline constexpr std::int32_t CueChunkStart = -2;

// Queues one chunk of part PartNo (1..18): one bar of a Main part, or the
// whole of an Intro, Fill In or Ending, stamped in milliseconds from Play,
// transposed to the current chord, with its cue carriers; then starts the
// queue. The chunk's first cue comes the lead (LeadMs) before its end, so the
// next chunk is queued just before its bar line.
void PlayRitm(PlayerState& s, std::int16_t PartNo);

// Queues the silent carrier of cue `tag` at `ms`.
void queueCarrier(const PlayerState& s, MIDIOutputComponent& out, std::int32_t tag, double ms);

}  // namespace vornel
