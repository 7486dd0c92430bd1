#include "playback/NoteSilencing.h"

#include <algorithm>

#include "midi/output/MIDIOutputComponent.h"
#include "midi/MidiVocabulary.h"
#include "playback/ChannelTransform.h"
#include "playback/ChordRule.h"
#include "playback/PlaybackChunk.h"
#include "style/StyleData.h"

namespace vornel {

void SendMessage(Engine& s, std::int16_t Mes, std::int16_t D1, std::int16_t D2) {
    MIDIOutputComponent& out = s.MIDIOutput1;
    out.StatusByte(Mes);
    out.DataByte1(D1);
    out.DataByte2(D2);
    out.PortCommand(MIDIOutputComponent::SendNow);
}

void queueMessage(Engine& s, std::int32_t tag, int status, int d1, int d2, double stampMs) {
    if (stampMs < s.SendFromMs) return;  // queued already, when the chunk was first queued
    MIDIOutputComponent& out = s.MIDIOutput1;
    out.CueTag(tag);
    out.StatusByte(status);
    out.DataByte1(d1);
    out.DataByte2(d2);
    out.CueTime(stampMs);
    out.PortCommand(MIDIOutputComponent::QueueMessage);
}

void queueSwitchOff(Engine& s, const NoteEntry& e, double stampMs) {
    if (!s.Strikes.release(e.status, e.note)) return;  // another strike of the key sounds on
    queueMessage(s, 0, e.status, e.note, 0, stampMs);
}

void queueStrike(Engine& s, NoteEntry& e, double stampMs) {
    e.onMs = stampMs;
    s.Strikes.strike(e.status, e.note);
    queueMessage(s, meterTag(e.status, e.velocity), e.status, e.note, e.velocity, stampMs);
}

std::int32_t meterTag(int status, int velocity) { return (midi::channelOf(status) + 1) * 1000 + velocity; }

namespace {

// A note the channel table placed meets a new chord by its record's RTR. It
// never bends: the part's bend range is unknown, and the notes of a chordal
// part would need bends of their own, so a pitch shift is struck again at its
// new key, as a retrigger is. Returns whether the note ends here for good.
bool meetChord(Engine& s, NoteEntry& e, const PlayedChord& next) {
    if (e.played == next) return false;
    const ChannelRecord* record = s.style.channels.forSource(e.part, e.source);
    if (!record) return true;
    const ChordChange change = atChordChange(*record, e.stored, e.note, next);
    e.played = next;
    if (change.action == ChordChangeAction::Keep) return false;
    queueSwitchOff(s, e, s.QueuedMs);
    if (change.action == ChordChangeAction::Stop) return true;
    e.note = static_cast<std::int16_t>(change.key);
    e.pending = true;  // struck by the chunk, after the bar line's own switch-offs
    return false;
}

}  // namespace

void CloseActiveNotes(Engine& s, std::int16_t PartNo) {
    // Every queued chunk lies before the bar line where the next one starts.
    s.List2.insert(s.List2.end(), s.List1.begin(), s.List1.end());
    s.List1.clear();
    const ChordState& chord = s.Chords.at(s.QueuedMs);
    const PlayedChord next = chord.played();
    // Today's rule for a chord heard from the bar line: the old chord's notes
    // end there. Where chords change at once, a note the chord rule moves is
    // struck again at its new key, as it would be in the middle of a bar.
    const bool restrike = s.ChordChange != ChordChangeMode::NextBarLine;
    const auto endsHere = [&](NoteEntry& e) -> bool {
        if (e.part != PartNo || e.passStart != s.PartOffset) {
            queueSwitchOff(s, e, s.QueuedMs);
            return true;
        }
        if (e.routed) return meetChord(s, e, next);
        if (e.followsChord && e.chord != chord.ChordIdx) {
            const std::int16_t key = chordNote(e.status, e.stored, chord.Transpose, chord.IsMinor);
            if (restrike && key == e.note) {
                e.chord = chord.ChordIdx;
                return false;
            }
            queueSwitchOff(s, e, s.QueuedMs);
            if (!restrike) return true;
            e.note = key;
            e.chord = chord.ChordIdx;
            e.pending = true;
        }
        return false;
    };
    // In list order, so that equal stamps keep the order the notes began in.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < s.List2.size(); ++i) {
        if (endsHere(s.List2[i])) continue;
        if (kept != i) s.List2[kept] = s.List2[i];
        ++kept;
    }
    s.List2.resize(kept);
    // What a muted part held ends with its pass too.
    std::erase_if(s.Muted, [&](const NoteEntry& e) { return e.part != PartNo || e.passStart != s.PartOffset; });
    s.ClosedChord = chord.ChordIdx;
}

void CloseAllSounds(Engine& s) {
    for (int c = 0; c < midi::kChannels; ++c) {
        for (int n = 0; n < midi::kKeys; ++n) {
            SendMessage(s, static_cast<std::int16_t>(midi::statusOf(midi::kNoteOn, c)), static_cast<std::int16_t>(n), 0);
            SendMessage(s, static_cast<std::int16_t>(midi::statusOf(midi::kNoteOff, c)), static_cast<std::int16_t>(n), 0);
        }
    }
}

void PanicRitm(Engine& s) {
    const bool playing = s.Playing != 0 && s.NextCueTag != 0;
    if (playing) {
        s.MIDIOutput1.PortCommand(MIDIOutputComponent::DiscardQueue);
        s.List1.clear();
        s.List2.clear();
        s.Strikes.clear();
        s.Muted.clear();
        s.Chunks.clear();  // nothing of them is left to queue again
    }
    CloseAllSounds(s);
    if (playing) queueCarrier(s, s.NextCueTag, s.NextCueTag == CueEnding ? s.QueuedMs : s.NextCueMs);
}

void StopRitm(Engine& s) {
    s.QueuedTicks = 0;
    s.QueuedMs = 0.0;
    s.Playing = 0;
    s.ChoicePending = false;
    s.MIDIOutput1.PortCommand(MIDIOutputComponent::StopQueue);
    // The queue is gone with every note it held: nothing is left to end.
    s.List1.clear();
    s.List2.clear();
    s.Strikes.clear();
    s.Muted.clear();
    s.Chunks.clear();
    CloseAllSounds(s);
    s.window.showStopped();
}

}  // namespace vornel
