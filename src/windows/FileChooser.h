#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "settings/Language.h"
#include "windows/ChooserLists.h"

namespace vornel {

// The file chooser frmCD as a presentation model: three linked lists (roots,
// folders, style files), OK and Cancel. The Qt window mirrors these records
// and forwards input to the handlers of the same names.
class FileChooser {
public:
    // Section and keys of the remembered place in the settings store.
    static constexpr const char* kSection = "Dirs";
    static constexpr const char* kDriveKey = "Drive";
    static constexpr const char* kDirKey = "Dir";
    // The drive a first use stands on: the user's home folder.
    static constexpr int kFirstUseDrive = 1;

    // `roots` is the drive list (systemRoots() in the program). The window is
    // created hidden, OK disabled, the title empty until relabel().
    FileChooser(std::vector<std::string> roots, Dialogs& dialogs);
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;

    // Collaborators, set by the owner; an unset one is skipped.
    std::function<void(const std::string&)> loadFile;      // the player's LoadFile
    std::function<void()> showPlayer;                      // shows the player window
    std::function<void(const std::string&)> setPathLabel;  // writes the player's Label7

    // Controls.
    Control window;  // caption = title; visible
    DriveListBox Drive1;
    DirListBox Dir1;
    FileListBox File1;
    Control CmdOk;
    Control CmdCancel;

    // Full path of the file last clicked; empty until the first click.
    std::string ChosenFile;

    // Creation: goes to the drive and folder remembered in `settings`, or to
    // the first-use place. The store is kept for OK and Cancel.
    void Form_Load(SettingsStore& settings);

    // The user selects drive `index`. Selecting the drive already selected,
    // or a position outside the list, runs nothing.
    void Drive1_Change(int index);
    // The folder list moves to `path`, and the file list with it.
    void Dir1_Change(const std::string& path);
    void File1_Click(int index);
    void File1_DblClick(int index);
    void CmdOk_Click();
    void CmdCancel_Click();

    // Title and button captions in language `lang` of `table`.
    void relabel(const TextTable& table, int lang);
    void relabel(const Language& language) { relabel(language.table, language.LangNo); }

    // Opening the window again reads its folder afresh, so style files copied
    // there meanwhile are listed; a folder gone meanwhile leaves the lists.
    void Show();
    void Hide() { window.visible = false; }

private:
    // Shows `path` (within drive `drive`) in the folder and file lists; false,
    // changing nothing, when it lies outside that drive or cannot be read.
    bool openFolder(int drive, const std::string& path);
    void closeWindow();
    void rememberPlace();

    Dialogs& dialogs_;
    // Kept from Form_Load for OK and Cancel; before it they store nothing.
    SettingsStore* settings_ = nullptr;
    // The folder each drive was left in, so returning to a drive returns there.
    std::vector<std::string> driveFolders_;
    // The drive whose tree the folder list shows. It differs from
    // Drive1.ListIndex only after the home folder itself failed to open.
    int dirDrive_ = -1;
};

}  // namespace vornel
