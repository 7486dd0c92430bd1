#pragma once

#include <functional>
#include <string>

#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "settings/TextTable.h"

namespace vornel {

struct Language;

// The about window `frmAbout` as a presentation model: the program's name,
// version and maker, the contact line, a web link and OK. Created hidden when
// the language is first applied; OK only hides it again.
class AboutForm {
public:
    static constexpr const char* kWebAddress = "https://www.halvex.org/vornel";
    static constexpr const char* kTitlePrefix = "Vornel - ";
    // The link's left edge in twips for each language; the contact line in
    // front of it differs in length.
    static constexpr int kWebLeftTurkish = 1830;
    static constexpr int kWebLeftEnglish = 2655;

    explicit AboutForm(Dialogs& dialogs);
    AboutForm(const AboutForm&) = delete;
    AboutForm& operator=(const AboutForm&) = delete;

    // Collaborators, set by the owner; an unset one is skipped. openUrl
    // hands an address to the user's browser and tells whether it could.
    std::function<void()> showPlayer;
    std::function<bool(const std::string&)> openUrl;

    // Controls.
    Control window;  // caption = title; visible
    Control Label8;  // the program's name, in large bold type
    Control Label1;  // version
    Control Label7;  // maker and year
    Control Lbl_Ab_Mail;
    Control Lbl_Ab_Web;
    int Lbl_Ab_Web_Left = kWebLeftTurkish;  // twips from the window's left edge
    Control Image1;
    Control Image2;
    Control Cmd_Ab_Ok;

    // Title, contact line and OK in language `lang` of `table`; the link
    // moves to where that language's contact line leaves room for it (a
    // language with no place of its own leaves it where it is).
    void relabel(const TextTable& table, int lang);
    void relabel(const Language& language);

    // OK: the player window comes back, the about window goes.
    void Cmd_Ab_Ok_Click();
    // The link: opens the web site in the user's browser.
    void Lbl_Ab_Web_Click();

    void Show() { window.visible = true; }
    void Hide() { window.visible = false; }

private:
    Dialogs& dialogs_;
};

}  // namespace vornel
