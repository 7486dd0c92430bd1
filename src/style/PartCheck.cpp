#include "player/PartChoice.h"
#include "style/StyleLoading.h"

namespace vornel {

namespace {

// The window has no style while neither Play nor Stop can be used: at
// creation and after a rejected file. CurPart is no sure sign of it, since a
// part button left enabled by a rejected file can still be clicked.
bool hasNoStyle(const PlayerState& s) { return !s.Cmd_Play.enabled && !s.Cmd_Stop.enabled; }

}  // namespace

void CheckParts(PlayerState& s) {
    const bool noStyle = hasNoStyle(s);
    for (int button : kMainButtons) {
        if (!s.Cmd_Part[static_cast<std::size_t>(button)].enabled) continue;
        Cmd_Part_Click(s, button);
        s.engine.PartName = kPartTable[static_cast<std::size_t>(button)].sectionName;
        s.engine.CurPart = static_cast<std::int16_t>(button + 1);
        for (Control& label : s.Lbl_Chord) label.enabled = true;
        if (noStyle) {
            s.Lbl_Chord[0].colour = s.ColSelected;
            s.engine.Transpose = 0;
            s.engine.IsMinor = 0;
            s.engine.ChordIdx = 0;
        }
        return;
    }

    s.dialogs.messageBox(s.text(1, 0), kAppTitle, MessageIcon::Exclamation);
    s.engine.PartName.clear();
    s.engine.CurPart = -1;
    for (Control* label : {&s.Lbl_Copy, &s.Lbl_Name, &s.Lbl_Tempo, &s.Lbl_TimeSign}) label->caption = "-";
    s.Lbl_Loading.visible = false;
    s.Cmd_Play.enabled = false;
    s.Cmd_Stop.enabled = false;
}

}  // namespace vornel
