#include "player/PartChoice.h"

namespace vornel {

void Cmd_Part_Click(PlayerState& s, int Index) {
    if (Index < 0 || Index >= kPartCount) return;
    for (Control& b : s.Cmd_Part) b.colour = s.ColNormal;
    Control& chosen = s.Cmd_Part[static_cast<std::size_t>(Index)];
    chosen.colour = s.ColSelected;
    s.engine.PartName = chosen.caption;
    if (Index + 1 != s.engine.CurPart && s.Cmd_Stop.enabled) s.Timer1.start();
    s.engine.CurPart = static_cast<std::int16_t>(Index + 1);
    s.dialogs.focusKeyboardSink();
}

void Timer1_Timer(PlayerState& s) {
    if (s.engine.CurPart < 1 || s.engine.CurPart > kPartCount) return;
    Control& b = s.Cmd_Part[static_cast<std::size_t>(s.engine.CurPart - 1)];
    if (s.PartBlink == 0) {
        b.colour = s.ColBlink;
        s.PartBlink = 1;
    } else {
        b.colour = s.ColNormal;
        s.PartBlink = 0;
    }
}

}  // namespace vornel
