#include "settings/PlayerLabels.h"

#include <string>

#include "player/PlayerState.h"
#include "settings/TextTable.h"

namespace vornel {

namespace {

// What loading puts between the file frame's title and the style's name.
constexpr const char* kFileNameLead = " - [";

}  // namespace

void relabelPlayer(PlayerState& s, const TextTable& table, int lang) {
    auto caption = [&](int entry) -> const std::string& {
        return table.LangText(lang, kGroupCaptions, entry);
    };

    // Once a style is loaded the file frame reads its title followed by
    // " - [name]". Only the title is the language's: the name stays, or a
    // language change would make the loaded style's name vanish. Neither
    // language's title contains the lead, so its first occurrence starts the
    // name's part.
    const std::size_t lead = s.Frm_File.caption.find(kFileNameLead);
    const std::string loadedName =
        lead == std::string::npos ? std::string() : s.Frm_File.caption.substr(lead);
    s.Frm_File.caption = caption(5) + loadedName;
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
}

}  // namespace vornel
