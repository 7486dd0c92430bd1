#pragma once

#include <cstdint>

#include "playback/Engine.h"

namespace vornel {

// The output component's CueReached event: queues the next chunk, presses the
// Main part after an intro or fill, shows the window what is heard, raises
// meters.
void MIDIOutput1_CueReached(Engine& s, std::int32_t tag);

// Play: from the first bar of the part chosen, in the chord chosen, with
// nothing listed as sounding; `choicePending` when the window shows a choice
// waiting to be heard (it ends at the first chunk's start). A part without a
// resolution or numerator plays as one bar.
void startPlayback(Engine& s, bool choicePending);

// The output component's QueueDone event: an ending has played out.
void MIDIOutput1_QueueDone(Engine& s);

// Advances the bar and part position before the next chunk. False when the
// part's bars cannot be counted (a file without resolution or time-signature
// numerator, a part without length once the bar position passes it): the
// error message has been shown and no chunk may be queued.
[[nodiscard]] bool DoPPP(Engine& s);

// Presses the Main part that follows the current intro or fill, of those the
// window offers.
void SetNextPart(Engine& s);

}  // namespace vornel
