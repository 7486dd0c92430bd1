#include "player/PlayerLabels.h"

#include <string>

#include "player/PlayerState.h"
#include "player/StatusLine.h"
#include "player/TempoReadout.h"
#include "settings/TextTable.h"

namespace vornel {

void relabelPlayer(PlayerState& s, const TextTable& table, int lang) {
    auto caption = [&](int entry) -> const std::string& {
        return table.LangText(lang, kGroupCaptions, entry);
    };

    // Only the title is the language's: a loaded style's name stays.
    s.Frm_File.caption = s.fileFrameCaption(caption(5));
    s.Frm_Style.caption = caption(6);
    s.Frm_Chords.caption = caption(7);

    s.Cmd_Open.caption = caption(8);
    s.Cmd_Play.caption = caption(9);
    s.Cmd_Stop.caption = caption(10);
    s.Cmd_Panic.caption = caption(11);
    s.Cmd_About.caption = caption(12);
    s.Cmd_Settings.caption = caption(13);
    s.Cmd_Exit.caption = caption(14);
    s.Cmd_Help.caption = caption(15);
    s.mnuMap.caption = caption(23);

    s.Command1.toolTip = caption(17);
    s.Lbl_CopyN.caption = caption(18);
    s.Lbl_NameN.caption = caption(19);
    s.Lbl_TimeSignN.caption = caption(20);
    s.Lbl_SizeN.caption = caption(21);
    s.Lbl_DataCN.caption = caption(22);

    for (Control& channelSwitch : s.Cmd_DisCh)
        channelSwitch.toolTip = table.LangText(lang, kGroupOtherTexts, 0);

    renewStatusLine(s, lang);
    renewTempoReadout(s, lang);
}

}  // namespace vornel
