#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "settings/Language.h"
#include "windows/rtf/RtfReader.h"

namespace vornel {

// The help window `help` as a presentation model: a document area showing the
// help document of the current language, and an OK button. The Qt window
// mirrors these records and forwards the OK click to Command1_Click.
//
// The window comes into being the first time it is needed (normally the first
// OK of the setup window) and only hides afterwards. Its title and OK caption
// are written when the player's Help command shows it, not when the language
// is applied, so it has no relabel of its own.
class HelpForm {
public:
    // Reads the document at a path; the program uses readRtfFile.
    using DocumentReader = std::function<RtfResult(const std::string&)>;

    static constexpr const char* kTitlePrefix = "Vornel - ";
    static constexpr const char* kDocumentExtension = ".rtf";
    static constexpr Rgb kBackground{0x40, 0x40, 0x40};
    static constexpr Rgb kDocumentBackground{0xFF, 0xFF, 0xFF};

    // `programFolder` is the folder the help documents sit in. An empty reader
    // stands for readRtfFile.
    HelpForm(const Language& language, Dialogs& dialogs, std::string programFolder,
             DocumentReader reader = readRtfFile);
    HelpForm(const HelpForm&) = delete;
    HelpForm& operator=(const HelpForm&) = delete;

    // Collaborators, set by the owner; an unset one is skipped.
    std::function<void()> showPlayer;
    std::function<void()> hidePlayer;

    // Controls.
    Control window;    // caption = title; colour = background; visible
    Control OLE1;      // the document area; colour = its background
    Control Command1;  // OK

    // False until the window has been created.
    bool created = false;

    // Reads the help document of the current language from the program's
    // folder. On success the area shows it; otherwise the user is told that
    // the help file could not be found and the area keeps what it showed.
    // Creates the window first if it does not exist yet. True when read.
    bool prepareDocument();

    // The player's Help command: creates the window if needed, titles it
    // after the Help command's caption as it reads now, labels OK in the
    // current language and shows the window (not modal).
    void showFromPlayer(const std::string& helpCommandCaption);

    // OK: the player window comes back, the help window goes.
    void Command1_Click();

    void Show() { window.visible = true; }
    void Hide() { window.visible = false; }

    // What the document area shows; empty until a document was read.
    const RichText& document() const { return document_; }
    // Grows by one whenever the document area's content changes, so a view
    // refills its copy only then.
    std::uint64_t documentRevision() const { return documentRevision_; }

private:
    void create();
    std::string documentPath() const;

    const Language& language_;
    Dialogs& dialogs_;
    std::string programFolder_;
    DocumentReader reader_;
    RichText document_;
    std::uint64_t documentRevision_ = 0;
};

}  // namespace vornel
