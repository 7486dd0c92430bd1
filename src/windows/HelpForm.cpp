#include "windows/HelpForm.h"

#include <filesystem>
#include <utility>

namespace vornel {

HelpForm::HelpForm(const Language& language, Dialogs& dialogs, std::string programFolder,
                   DocumentReader reader)
    : language_(language),
      dialogs_(dialogs),
      programFolder_(std::move(programFolder)),
      reader_(reader ? std::move(reader) : DocumentReader(readRtfFile)) {
    window.visible = false;
    window.colour = kBackground;
}

void HelpForm::create() {
    created = true;
    if (hidePlayer) hidePlayer();
    OLE1.colour = kDocumentBackground;
}

// An empty folder means the current one.
std::string HelpForm::documentPath() const {
    return (std::filesystem::path(programFolder_) / (language_.text(kGroupCaptions, 15) + kDocumentExtension))
        .string();
}

bool HelpForm::prepareDocument() {
    if (!created) create();
    // A language without a document name (the empty third language) has no
    // help document; looking for a hidden ".rtf" would only find a stray file.
    RtfResult result{RtfStatus::Missing, {}};
    if (!language_.text(kGroupCaptions, 15).empty()) result = reader_(documentPath());
    if (result.status != RtfStatus::Ok) {
        dialogs_.messageBox(language_.text(kGroupMessages, 2), kAppTitle,
                            MessageIcon::Exclamation);
        return false;
    }
    // The same document read again is no change: the view keeps its place in it.
    if (result.document != document_) {
        document_ = std::move(result.document);
        ++documentRevision_;
    }
    return true;
}

void HelpForm::showFromPlayer(const std::string& helpCommandCaption) {
    if (!created) create();
    window.caption = kTitlePrefix + helpCommandCaption;
    Command1.caption = language_.text(kGroupCaptions, 3);
    Show();
}

void HelpForm::Command1_Click() {
    if (showPlayer) showPlayer();
    Hide();
}

}  // namespace vornel
