#include "playback/PartSequencing.h"

#include <cmath>
#include <limits>
#include <optional>

#include "midi/file/MidifileComponent.h"
#include "playback/BarMath.h"
#include "playback/ChordChange.h"
#include "playback/NoteSilencing.h"
#include "playback/PlaybackChunk.h"
#include "style/PartTable.h"
#include "style/StyleData.h"

namespace vornel {

namespace {

// The next chunk of the current part; or, when its bars cannot be counted,
// the end of playback. Queuing a chunk that cannot be placed on the bar grid
// would make its cue come due at once and show the error for ever.
void advanceAndQueue(Engine& s) {
    if (DoPPP(s))
        PlayRitm(s, s.CurPart);
    else
        StopRitm(s);
}

}  // namespace

void MIDIOutput1_CueReached(Engine& s, std::int32_t tag) {
    if (tag == CueNextBar) {
        advanceAndQueue(s);
    } else if (tag == -1 || tag == CueNextPart) {
        s.PartOffset = s.QueuedTicks;
        s.CurBar = 0;
        SetNextPart(s);
        advanceAndQueue(s);
    } else if (tag == CueChunkStart) {
        s.ChoicePending = false;
        s.window.showChosen();
    } else if (tag == CueEnding) {
        // nothing follows an ending
    } else if (tag > 10) {
        s.window.raiseMeter(tag / 1000, tag % 1000);  // the meter cue: channel × 1000 + velocity
    }
}

void MIDIOutput1_QueueDone(Engine& s) {
    const bool ending = partNameBegins(s.PartName, "End");
    StopRitm(s);
    if (!ending) return;
    // The song is over: Play starts it again from the Main or Intro that
    // played before the Ending, or from the first Main offered.
    if (s.ReturnPart >= 1 && s.window.pressPart(s.ReturnPart - 1)) return;
    for (int button : kMainButtons)
        if (s.window.pressPart(button)) return;
}

void startPlayback(Engine& s, bool choicePending) {
    s.List1.clear();
    s.List2.clear();
    s.Strikes.clear();
    s.Muted.clear();
    s.Chunks.clear();
    s.Chords.reset(chosenChord(s));
    s.CurBar = 1;
    s.PartOffset = 0;
    s.ChoicePending = choicePending;
    s.ReturnPart = 0;
    s.PartBars = partBars(s.Midifile1, s.style, s.CurPart).value_or(1.0);
    PlayRitm(s, s.CurPart);
}

// Notes are not closed here: the chunk that follows closes those it does not
// go on with, once it knows which pass of which part it plays and under which
// chord (CloseActiveNotes). Closing here, before the bar position is known,
// would cut notes that the next bar ends by themselves.
bool DoPPP(Engine& s) {
    // A file without a resolution or a time-signature numerator has no
    // bars to count.
    const std::optional<double> bars = partBars(s.Midifile1, s.style, s.CurPart);
    if (!bars) {
        s.window.reportUnknownError();
        return false;
    }
    s.PartBars = *bars;
    const std::int64_t TicksPerBar = ticksPerBar(s.Midifile1);

    // The bar just queued was the last of the part's pass: the part starts
    // again at the next unqueued tick, except that nothing follows an ending.
    bool passComplete = false;

    // A pass of the part takes its whole bars and, for a part whose length
    // is not whole bars (or shorter than one), its tail as a last, shorter
    // chunk: the part loops without a rest.
    const double passBars = std::ceil(s.PartBars);
    if (s.CurBar > passBars) {
        // The bar reached lies beyond the part: after a switch to a shorter
        // Main part. A part without length cannot be looped at all.
        if (!(s.PartBars > 0.0)) {
            s.window.reportUnknownError();
            return false;
        }
        // The bar position folds back onto the part's own bars, as far into
        // them as the bar grid already is. The next chunk then starts exactly
        // at QueuedTicks: nothing is queued twice and no bar is left out.
        const std::int64_t into = s.CurBar % static_cast<std::int64_t>(passBars);
        if (into == 0) {
            passComplete = true;
        } else {
            s.CurBar = static_cast<std::int16_t>(into + 1);
            s.PartOffset = toTicks(s.QueuedTicks - TicksPerBar * into);
        }
    } else if (s.CurBar == passBars || s.CurBar == std::numeric_limits<std::int16_t>::max()) {
        // A part longer than the bar counter can count starts again there.
        passComplete = true;
    } else {
        s.CurBar = static_cast<std::int16_t>(s.CurBar + 1);
    }

    if (passComplete) {
        if (partNameBegins(s.PartName, "End")) return true;
        s.CurBar = 1;
        s.PartOffset = s.QueuedTicks;
    }

    s.LastPart = s.CurPart;
    return true;
}

void SetNextPart(Engine& s) {
    int next = -1;
    switch (s.CurPart) {
        case 1: case 3: case 18: next = 1; break;   // Main A
        case 6: case 8: case 17: next = 6; break;   // Main B
        case 10: case 12: next = 10; break;         // Main C
        case 14: case 16: next = 14; break;         // Main D
        default: break;
    }
    // Pressing another part than the one that plays makes the window show it
    // waiting until its first chunk starts.
    const std::int16_t before = s.CurPart;
    const auto press = [&](int button) {
        if (!s.window.pressPart(button)) return false;
        if (s.CurPart != before) s.ChoicePending = true;
        return true;
    };
    if (next >= 0 && press(next)) return;
    for (int button : kMainButtons)
        if (press(button)) return;
}

}  // namespace vornel
