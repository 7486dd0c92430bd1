#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vornel {

// What the chooser shows of one folder: its visible subfolders and its style
// and MIDI files, each sorted without regard to case.
struct FolderContents {
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

// Reads `folder`. nullopt when the folder itself cannot be read (missing, not
// a folder, permission denied); an entry that cannot be examined is left out.
std::optional<FolderContents> listFolder(const std::string& folder);

// The file pattern "*.sty;*.mid", matched without regard to case.
bool isStyleFileName(const std::string& name);

// Orders names as the lists show them: case-insensitive (ASCII), ties broken
// by the exact bytes so the order never depends on the file system's.
bool caselessLess(const std::string& a, const std::string& b);

// `path` as the chooser keeps folders: absolute, lexically normal, without a
// trailing separator except for the root itself. Empty if `path` is not
// absolute.
std::string normalFolder(const std::string& path);

// True when `folder` is `root` or lies below it (both normal folders).
bool isWithin(const std::string& folder, const std::string& root);

// folder + "/" + name, without doubling the separator at the root.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace vornel
