#include "playback/NoteSilencing.h"

#include "midi/output/MIDIOutputComponent.h"

namespace vornel {

void SendMessage(PlayerState& s, std::int16_t Mes, std::int16_t D1, std::int16_t D2) {
    MIDIOutputComponent& out = s.MIDIOutput1;
    out.StatusByte(Mes);
    out.DataByte1(D1);
    out.DataByte2(D2);
    out.PortCommand(MIDIOutputComponent::SendNow);
}

void CloseActiveNotes(PlayerState& s) {
    for (const NoteEntry& e : s.List2) SendMessage(s, e.status, e.note, 0);
    s.ClosedChord = s.ChordIdx;
    s.List2.clear();
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
    s.Playing = 0;
    s.MIDIOutput1.PortCommand(MIDIOutputComponent::StopQueue);
    s.Timer1.stop();
    s.Timer3.stop();
    if (s.CurPart >= 1 && s.CurPart <= kPartCount)
        s.Cmd_Part[static_cast<std::size_t>(s.CurPart - 1)].colour = s.ColSelected;
    if (s.ChordIdx >= 0 && s.ChordIdx < static_cast<int>(s.Lbl_Chord.size()))
        s.Lbl_Chord[static_cast<std::size_t>(s.ChordIdx)].colour = s.ColSelected;
    CloseAllSounds(s);
}

}  // namespace vornel
