#include "playback/PartSequencing.h"

#include <cmath>
#include <limits>
#include <optional>

#include "midi/file/MidifileComponent.h"
#include "playback/BarMath.h"
#include "playback/CommandBar.h"
#include "playback/NoteSilencing.h"
#include "playback/PlaybackChunk.h"
#include "player/LevelMeters.h"
#include "player/PartChoice.h"
#include "settings/Language.h"
#include "style/StyleData.h"

namespace vornel {

namespace {

// The sequencing's own error message; these texts are not in the text table.
constexpr const char* kUnknownErrorTurkish = "Bilinmeyen bir hata oluştu.";
constexpr const char* kUnknownErrorEnglish = "Sorry. Unknown error !";

void showUnknownError(PlayerState& s) {
    const char* text = s.language.LangNo == kLangEnglish ? kUnknownErrorEnglish : kUnknownErrorTurkish;
    s.dialogs.messageBox(text, kAppTitle, MessageIcon::None);
}

// Playback over: nothing more is queued, every note is off and the window is
// stopped.
void endPlayback(PlayerState& s) {
    StopRitm(s);
    showStopped(s);
}

// The next chunk of the current part; or, when its bars cannot be counted,
// the end of playback. Queuing a chunk that cannot be placed on the bar grid
// would make its cue come due at once and show the error for ever.
void advanceAndQueue(PlayerState& s) {
    if (DoPPP(s))
        PlayRitm(s, s.CurPart);
    else
        endPlayback(s);
}

void raiseMeter(PlayerState& s, std::int32_t tag) {
    const int channel = tag / 1000;
    const int velocity = tag % 1000;
    if (channel < kFirstMeterChannel || channel > kLastMeterChannel) return;
    if (s.MetersOff != 0) return;
    if (!(s.Cmd_DisCh[static_cast<std::size_t>(channel - kFirstMeterChannel)].colour == s.ColOn)) return;
    const double level = velocity * 1980.0 / 127.0;
    if (level > s.ProgressBar2[static_cast<std::size_t>(channel)]) ShowVUMeter(s, channel, velocity);
}

void paintSelected(PlayerState& s) {
    if (s.CurPart >= 1 && s.CurPart <= kPartCount)
        s.Cmd_Part[static_cast<std::size_t>(s.CurPart - 1)].colour = s.ColSelected;
    if (s.ChordIdx >= 0 && s.ChordIdx < static_cast<int>(s.Lbl_Chord.size()))
        s.Lbl_Chord[static_cast<std::size_t>(s.ChordIdx)].colour = s.ColSelected;
}

}  // namespace

void MIDIOutput1_CueReached(PlayerState& s, std::int32_t tag) {
    if (tag == CueNextBar) {
        advanceAndQueue(s);
    } else if (tag == -1 || tag == CueNextPart) {
        s.PartOffset = s.QueuedTicks;
        s.CurBar = 0;
        SetNextPart(s);
        advanceAndQueue(s);
    } else if (tag == CueChunkStart) {
        s.Timer1.stop();
        s.Timer3.stop();
        paintSelected(s);
    } else if (tag == CueEnding) {
        // nothing follows an ending
    } else if (tag > 10) {
        raiseMeter(s, tag);
    }
}

void MIDIOutput1_QueueDone(PlayerState& s) { endPlayback(s); }

// Notes are not closed here: the chunk that follows closes those it does not
// go on with, once it knows which pass of which part it plays and under which
// chord (CloseActiveNotes). Closing here, before the bar position is known,
// would cut notes that the next bar ends by themselves.
bool DoPPP(PlayerState& s) {
    // A file without a resolution or a time-signature numerator has no
    // bars to count.
    const std::optional<double> bars = partBars(s.Midifile1, s.style, s.CurPart);
    if (!bars) {
        showUnknownError(s);
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
            showUnknownError(s);
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

void SetNextPart(PlayerState& s) {
    int next = -1;
    switch (s.CurPart) {
        case 1: case 3: case 18: next = 1; break;   // Main A
        case 6: case 8: case 17: next = 6; break;   // Main B
        case 10: case 12: next = 10; break;         // Main C
        case 14: case 16: next = 14; break;         // Main D
        default: break;
    }
    if (next >= 0 && s.Cmd_Part[static_cast<std::size_t>(next)].enabled) {
        Cmd_Part_Click(s, next);
        return;
    }
    for (int button : kMainButtons) {
        if (s.Cmd_Part[static_cast<std::size_t>(button)].enabled) {
            Cmd_Part_Click(s, button);
            return;
        }
    }
}

}  // namespace vornel
