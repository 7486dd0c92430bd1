#pragma once

#include <cstdint>

#include "style/ChordType.h"

namespace vornel {

// One entry of the engine's note lists: a Note On that a chunk queued and
// whose switch-off is not queued yet. Its switch-off goes to `note`, the key
// it was sent as, whatever the chord is by then; the stored key finds it when
// the style's own note-off comes, on the channel the style stores it on.
struct NoteEntry {
    std::int16_t status = 0;     // 144..159, the channel it was sent on
    std::int16_t note = 0;       // the key it was sent as
    std::int16_t stored = 0;     // the key the style stores
    std::int16_t part = 0;       // the part whose pass queued it ...
    std::int32_t passStart = 0;  // ... and that pass's PartOffset
    bool followsChord = false;   // sent by the chord rule (not a drum)
    std::int16_t chord = 0;      // ChordIdx it was sent under
    std::int16_t source = 0;     // the channel 0..15 the style stores it on
    std::int16_t velocity = 0;
    bool routed = false;   // sent by the style's channel table ...
    PlayedChord played;    // ... under this chord
    bool pending = false;  // switched off at a chord change, to be struck again at `note`
    double onMs = 0.0;     // the stamp of its (last) Note On
    friend bool operator==(const NoteEntry&, const NoteEntry&) = default;
};

}  // namespace vornel
