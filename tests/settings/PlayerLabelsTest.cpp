#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeOutput.h"
#include "settings/MIDISetupForm.h"
#include "player/PlayerLabels.h"
#include "support/PlayerFixture.h"

namespace vornel {
namespace {

using Names = std::vector<std::string>;

class PlayerLabelsTest : public ::testing::Test, protected test::PlayerFixture {
protected:
    // Every text the language puts on the player window, in one list.
    Names labels() const {
        const PlayerState& s = state;
        Names out{s.Frm_File.caption,      s.Frm_Style.caption, s.Frm_Chords.caption,
                  s.Cmd_Open.caption,      s.Cmd_Play.caption,  s.Cmd_Stop.caption,
                  s.Cmd_Panic.caption,     s.Cmd_About.caption, s.Cmd_Settings.caption,
                  s.Cmd_Exit.caption,      s.Cmd_Help.caption,  s.mnuMap.caption,
                  s.Command1.toolTip,      s.Lbl_CopyN.caption, s.Lbl_NameN.caption,
                  s.Lbl_TimeSignN.caption, s.Lbl_SizeN.caption, s.Lbl_DataCN.caption};
        for (const Control& c : s.Cmd_DisCh) out.push_back(c.toolTip);
        return out;
    }

    static Names expected(const Names& head, const std::string& channelTip) {
        Names out = head;
        out.insert(out.end(), 8, channelTip);
        return out;
    }
};

// clang-format off
const Names kTurkishHead{"Dosya", "Stil", "Akorlar", "Aç ..", "Oynat", "Durdur", "Panik", "Hakkında",
                         "Ayarlar", "     - Çıkış -     ", "Yardım", "Harita",
                         " Gösterge - Açık / Kapalı ",
                         "Telif hakkı", "İsim", "Ölçü", "Boyut", "Veri sayısı"};
const Names kEnglishHead{"File", "Style", "Chords", "Open ..", "Play", "Stop", "Panic", "About",
                         "Settings", "     - Exit -     ", "Help", "Key map",
                         " Volume meters - On / Off ",
                         "Copyright", "Name", "Time Sign.", "Size", "Data count"};
// clang-format on

TEST_F(PlayerLabelsTest, EveryTextOfBothLanguagesInItsPlaceAndNothingElse) {
    state.Lbl_Loading.caption = "yükleniyor ...   % 40";
    state.Cmd_DisCh[3].colour = state.ColOff;
    relabelPlayer(state, language.table, kLangEnglish);
    EXPECT_EQ(labels(), expected(kEnglishHead, " On / Off "));
    relabelPlayer(state, language.table, kLangTurkish);
    EXPECT_EQ(labels(), expected(kTurkishHead, " Açık / Kapalı "));

    // Texts read when they are shown, and texts of no language, stay.
    EXPECT_EQ(state.Lbl_Loading.caption, "yükleniyor ...   % 40");
    EXPECT_EQ(state.Lbl_TempoN.caption, "Tempo");
    EXPECT_EQ(state.Label1.caption, "Tempo Modify");
    EXPECT_EQ(state.window.caption, "Vornel");
    EXPECT_EQ(state.Cmd_DisCh[3].colour, state.ColOff);
}

// A loaded style's name stays in the file frame's title through every change
// of language, also a name that itself contains the separator.
TEST_F(PlayerLabelsTest, ChoosingALanguageInTheSetupWindowRelabelsThePlayerAtOnce) {
    Language setupLanguage;
    MemorySettingsStore settings;
    test::FakeOutput devices;
    MIDISetupForm form{setupLanguage, settings, devices, dialogs};
    form.relabellers.push_back(
        [this](const TextTable& table, int lang) { relabelPlayer(state, table, lang); });
    // As loading leaves it.
    state.FileFrameName = "Pop - [2].sty";
    state.Frm_File.caption = "Dosya - [Pop - [2].sty]";
    Names turkish = expected(kTurkishHead, " Açık / Kapalı ");
    turkish[0] = "Dosya - [Pop - [2].sty]";
    Names english = expected(kEnglishHead, " On / Off ");
    english[0] = "File - [Pop - [2].sty]";

    form.Form_Load();
    EXPECT_EQ(labels(), turkish);
    form.Combo1_Click(kLangEnglish);
    EXPECT_EQ(labels(), english);
    form.Combo1_Scroll(kLangTurkish);
    EXPECT_EQ(labels(), turkish);
}

}  // namespace
}  // namespace vornel
