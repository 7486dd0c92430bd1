#include "playback/NoteSilencing.h"

#include <algorithm>

#include "midi/output/MIDIOutputComponent.h"

namespace vornel {

void SendMessage(PlayerState& s, std::int16_t Mes, std::int16_t D1, std::int16_t D2) {
    MIDIOutputComponent& out = s.MIDIOutput1;
    out.StatusByte(Mes);
    out.DataByte1(D1);
    out.DataByte2(D2);
    out.PortCommand(MIDIOutputComponent::SendNow);
}

void queueSwitchOff(PlayerState& s, const NoteEntry& e, double stampMs) {
    MIDIOutputComponent& out = s.MIDIOutput1;
    out.CueTag(0);
    out.StatusByte(e.status);
    out.DataByte1(e.note);
    out.DataByte2(0);
    out.CueTime(stampMs);
    out.PortCommand(MIDIOutputComponent::QueueMessage);
}

void CloseActiveNotes(PlayerState& s, std::int16_t PartNo) {
    // Every queued chunk lies before the bar line where the next one starts.
    s.List2.insert(s.List2.end(), s.List1.begin(), s.List1.end());
    s.List1.clear();
    const auto endsHere = [&](const NoteEntry& e) {
        const bool otherPass = e.part != PartNo || e.passStart != s.PartOffset;
        const bool otherChord = e.followsChord && e.chord != s.ChordIdx;
        return otherPass || otherChord;
    };
    for (const NoteEntry& e : s.List2)
        if (endsHere(e)) queueSwitchOff(s, e, s.QueuedMs);
    s.List2.erase(std::remove_if(s.List2.begin(), s.List2.end(), endsHere), s.List2.end());
    s.ClosedChord = s.ChordIdx;
}

void CloseAllSounds(PlayerState& s) {
    for (std::int16_t c = 1; c <= 16; ++c) {
        for (std::int16_t n = 0; n <= 127; ++n) {
            SendMessage(s, static_cast<std::int16_t>(143 + c), n, 0);
            SendMessage(s, static_cast<std::int16_t>(127 + c), n, 0);
        }
    }
}

void StopRitm(PlayerState& s) {
    s.QueuedTicks = 0;
    s.QueuedMs = 0.0;
    s.Playing = 0;
    s.MIDIOutput1.PortCommand(MIDIOutputComponent::StopQueue);
    s.Timer1.stop();
    s.Timer3.stop();
    // The queue is gone with every note it held: nothing is left to end. (A
    // Panic keeps the lists: notes queued to start after it must still end.)
    s.List1.clear();
    s.List2.clear();
    if (s.CurPart >= 1 && s.CurPart <= kPartCount)
        s.Cmd_Part[static_cast<std::size_t>(s.CurPart - 1)].colour = s.ColSelected;
    if (s.ChordIdx >= 0 && s.ChordIdx < static_cast<int>(s.Lbl_Chord.size()))
        s.Lbl_Chord[static_cast<std::size_t>(s.ChordIdx)].colour = s.ColSelected;
    CloseAllSounds(s);
}

}  // namespace vornel
