#include "windows/AboutForm.h"

#include "settings/Language.h"

namespace vornel {

AboutForm::AboutForm(Dialogs& dialogs) : dialogs_(dialogs) {
    // The texts of the language arrive with relabel(), before the window is
    // first shown; until then they are empty.
    window.visible = false;
    Label8.caption = "Vornel";
    Label1.caption = "Version 1.5 Beta";
    Label7.caption = "© 2026 Halvex";
    Lbl_Ab_Web.caption = std::string("Web:   ") + kWebAddress;
}

void AboutForm::relabel(const TextTable& table, int lang) {
    window.caption = kTitlePrefix + table.LangText(lang, kGroupCaptions, 12);
    Lbl_Ab_Mail.caption = table.LangText(lang, kGroupOtherTexts, 2);
    Cmd_Ab_Ok.caption = table.LangText(lang, kGroupCaptions, 3);
    if (lang == kLangTurkish) Lbl_Ab_Web_Left = kWebLeftTurkish;
    if (lang == kLangEnglish) Lbl_Ab_Web_Left = kWebLeftEnglish;
}

void AboutForm::relabel(const Language& language) {
    relabel(language.table, language.LangNo);
}

void AboutForm::Cmd_Ab_Ok_Click() {
    if (showPlayer) showPlayer();
    Hide();
}

void AboutForm::Lbl_Ab_Web_Click() {
    if (!openUrl) return;
    // A browser that cannot be started has no message of its own: a beep
    // says the click was heard and nothing opened; the window stays as it is.
    if (!openUrl(kWebAddress)) dialogs_.beep();
}

}  // namespace vornel
