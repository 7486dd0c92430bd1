#pragma once

#include <cstdint>

#include "player/PlayerState.h"

namespace vornel {

// The output component's CueReached event: queues the next chunk, presses the
// Main part after an intro or fill, ends blinking, closes notes, raises meters.
void MIDIOutput1_CueReached(PlayerState& s, std::int32_t tag);

// The output component's QueueDone event: an ending has played out.
void MIDIOutput1_QueueDone(PlayerState& s);

// Advances the bar and part position before the next chunk. False when the
// part's bars cannot be counted (a file without resolution or time-signature
// numerator, a part without length once the bar position passes it): the
// error message has been shown and no chunk may be queued.
[[nodiscard]] bool DoPPP(PlayerState& s);

// Presses the Main part that follows the current intro or fill.
void SetNextPart(PlayerState& s);

}  // namespace vornel
