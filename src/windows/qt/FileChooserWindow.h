#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/qt/ModelWindow.h"
#include "windows/FileChooser.h"
#include "windows/qt/FileList.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace vornel {

class QtDispatcher;

// The file chooser on screen. It shows the FileChooser model as it is and
// forwards every click, double-click and Enter to the model's handler of that
// name, as a handler of the dispatcher; after every handler of the program it
// shows the model again, so a change made elsewhere (the player's Open showing
// the chooser, the language being applied) reaches the screen too.
class FileChooserWindow final : public ModelWindow {
    Q_OBJECT

public:
    // Closing through the window frame is Cancel.
    FileChooserWindow(FileChooser& model, QtDispatcher& dispatcher, QWidget* parent = nullptr);

    // Shows the model's present state: title, visibility, lists, selections,
    // button captions and enabled state.
    void sync() override;

    QComboBox* driveList() const { return drive1_; }
    QListWidget* folderList() const { return dir1_; }
    QListWidget* fileList() const { return file1_; }
    QPushButton* okButton() const { return cmdOk_; }
    QPushButton* cancelButton() const { return cmdCancel_; }

private:
    void syncLists();

    FileChooser& model_;
    QComboBox* drive1_;
    QListWidget* dir1_;
    FileList* file1_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
    // What the lists show, so that an unchanged list keeps its scroll position.
    std::vector<std::string> shownRoots_;
    std::vector<FolderEntry> shownFolders_;
    std::vector<std::string> shownFiles_;
};

}  // namespace vornel
