#pragma once

#include <string>
#include <vector>

namespace vornel {

// The three linked lists of the file chooser, as plain records the window
// mirrors. ListIndex -1 means nothing is selected.

// Drive1: the roots, and which one is chosen.
struct DriveListBox {
    std::vector<std::string> List;
    int ListIndex = -1;
};

// One line of the folder list. `level` is its indentation: 0 for the drive's
// root, one more for each folder below it.
struct FolderEntry {
    std::string name;
    std::string path;
    int level = 0;
};

// Dir1: the current folder shown as the chain of its ancestors from the
// drive's root, itself, then its subfolders. ListIndex is the current
// folder's line.
struct DirListBox {
    std::string Path;
    std::vector<FolderEntry> List;
    int ListIndex = -1;
};

// File1: the style and MIDI files of Path, and the one last clicked.
struct FileListBox {
    std::string Path;
    std::vector<std::string> List;
    int ListIndex = -1;
    std::string FileName;  // the selected file's name; empty when none is selected
};

}  // namespace vornel
