#include "playback/PlaybackChunk.h"

#include <cmath>

#include "midi/file/MidifileComponent.h"
#include "midi/output/MIDIOutputComponent.h"
#include "playback/BarMath.h"
#include "playback/ChordRule.h"
#include "playback/CommandBar.h"
#include "playback/NoteSilencing.h"
#include "settings/TextTable.h"
#include "style/StyleData.h"

namespace vornel {

namespace {

constexpr int kNoDataMessage = 1;

// The silent carrier of a cue: Note On, channel 1, note 36, velocity 0.
void queueCarrier(MIDIOutputComponent& out, std::int32_t tag, double ms) {
    out.StatusByte(144);
    out.DataByte1(36);
    out.DataByte2(0);
    out.CueTag(tag);
    out.CueTime(ms);
    out.PortCommand(MIDIOutputComponent::QueueMessage);
}

// The style's sound setup (program changes and bank select MSB 127 with its
// LSB, all at delta 0 in track 1), sent again at once.
void resendSetup(PlayerState& s) {
    MidifileComponent& f = s.Midifile1;
    f.Track(1);
    const std::int32_t count = f.EventCount();
    std::int32_t bankMsbAt = -1;  // nothing remembered yet
    for (std::int32_t k = 1; k <= count; ++k) {
        f.EventIndex(k);
        const std::int16_t st = f.EvStatus();
        const std::int16_t d1 = f.EvData1();
        const std::int16_t d2 = f.EvData2();
        if (f.EvDelta() != 0) continue;
        const bool programChange = st > 191 && st < 208;
        const bool controlChange = st > 175 && st < 192;
        if (programChange) {
            SendMessage(s, st, d1, d2);
        } else if (controlChange && d1 == 0 && d2 == 127) {
            bankMsbAt = k;
            SendMessage(s, st, d1, d2);
        } else if (controlChange && d1 == 32 && k - 1 == bankMsbAt) {
            SendMessage(s, st, d1, d2);
        }
    }
}

}  // namespace

void PlayRitm(PlayerState& s, std::int16_t PartNo) {
    MIDIOutputComponent& out = s.MIDIOutput1;
    const StyleData& style = s.style;

    // 1. The previous chunk's notes join those still to be switched off.
    s.Playing = 1;
    s.List2.insert(s.List2.end(), s.List1.begin(), s.List1.end());
    s.List1.clear();

    // 2. Timing of this chunk.
    const float MsPerTick = msPerTick(s.Midifile1);
    const std::int64_t TicksPerBar = ticksPerBar(s.Midifile1);
    s.Midifile1.Track(1);
    const std::int64_t L = partLength(style, PartNo);
    auto stamp = [MsPerTick](double tick) { return static_cast<double>(MsPerTick) * tick; };

    // 3. Kind of chunk.
    const bool barChunk = partNameBegins(s.PartName, "Main");
    std::int32_t firstTag = CueNextBar;
    if (!barChunk) {
        s.CurBar = 1;
        s.PartOffset = s.QueuedTicks;
        firstTag = partNameBegins(s.PartName, "End") ? CueEnding : CueNextPart;
    }
    const std::int64_t W = barChunk ? TicksPerBar * s.CurBar : L;

    // 8, checked before anything is queued: cue carriers of a chunk that is
    // never started would come due later and, each time, queue this empty
    // part again at the same moment, so the cues would never end. Nothing is
    // queued, so playback that runs runs out and stops by itself.
    const std::int32_t count = style.PartEvCount(PartNo);
    if (count <= 0) {
        // Nothing was started: a stopped window stays stopped (and closable).
        if (!s.Cmd_Stop.enabled) s.Playing = 0;
        s.dialogs.messageBox(s.text(kGroupMessages, kNoDataMessage), kAppTitle, MessageIcon::Exclamation);
        return;
    }

    // 4. Look-ahead point: half a bar in, a quarter bar for fractional
    // lengths. A part without a length in bars (0, or not known) takes its cue
    // by the file's bar, so the cue still lies ahead of the chunk's start.
    const bool wholeBars = std::isfinite(s.PartBars) && std::floor(s.PartBars) == s.PartBars;
    const double barLength =
        (std::isfinite(s.PartBars) && s.PartBars > 0.0) ? static_cast<double>(L) / s.PartBars : static_cast<double>(TicksPerBar);
    const double A = s.QueuedTicks + barLength / (wholeBars ? 2 : 4);

    // 5, 6. The first cue and the close-notes cue.
    queueCarrier(out, firstTag, stamp(A));
    const std::int64_t closeAt = partNameBegins(s.PartName, "Intro") ? s.QueuedTicks + L - 15 : s.QueuedTicks + TicksPerBar - 15;
    queueCarrier(out, CueCloseNotes, stamp(static_cast<double>(closeAt)));

    // 7. The events of the chunk's window, in slot order. A file without a
    // resolution gives its ticks no length: its events cannot be placed in
    // time and none is queued (they would all sound at once).
    const bool timed = s.Midifile1.Resolution() > 0;
    const std::int64_t windowStart = TicksPerBar * (s.CurBar - 1) - 1;
    const std::int64_t windowLast = TicksPerBar * s.CurBar - 1;
    bool bankSelectSeen = false;
    for (std::int32_t slot = 1; slot <= count; ++slot) {
        if (slot == 1 && (s.Timer1.running() || s.Timer3.running()))
            queueCarrier(out, CueChunkStart, stamp(s.QueuedTicks));
        const std::int16_t m = style.PartMes(PartNo, slot);
        const std::int16_t d1 = style.PartD1(PartNo, slot);
        const std::int16_t d2 = style.PartD2(PartNo, slot);
        const std::int32_t t = style.PartTick(PartNo, slot);
        if (m > 175 && m < 192 && d1 == 32) bankSelectSeen = true;
        if (windowStart < t && t < W) {
            if (!timed) continue;
            const bool noteOn = (m & 240) == 144;
            out.CueTag(noteOn ? (m - 143) * 1000 + d2 : 0);
            out.StatusByte(m);
            out.DataByte1(chordNote(m, d1, s.Transpose, s.IsMinor));
            out.DataByte2(d2);
            out.CueTime(stamp(static_cast<double>(t) + s.PartOffset));
            if (noteOn) s.List1.push_back({m, static_cast<std::int16_t>(out.DataByte1())});
            out.PortCommand(MIDIOutputComponent::QueueMessage);
        } else if (t > windowLast) {
            break;  // events are in time order: the rest lie beyond the chunk
        }
    }

    // 9.
    if (!bankSelectSeen) resendSetup(s);

    // 10. A part whose end lies before its start has no length: the next
    // chunk must never start before this one.
    const std::int64_t advance = barChunk ? TicksPerBar : (L > 0 ? L : 0);
    s.QueuedTicks = toTicks(s.QueuedTicks + advance);

    // 11, 12.
    out.PortCommand(MIDIOutputComponent::StartQueue);
    showPlaying(s);
}

}  // namespace vornel
