#include "windows/FileChooser.h"

#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "windows/FolderListing.h"

namespace vornel {

namespace {

// A stored drive position: plain decimal digits, nothing else.
int parsePosition(const std::string& text) {
    int value = -1;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0) return -1;
    return value;
}

// Only the first byte changes, and only an ASCII letter: a drive letter where
// there is one, harmless on "/".
std::string upperFirst(std::string s) {
    if (!s.empty())
        s.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(s.front())));
    return s;
}

bool isFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace

FileChooser::FileChooser(std::vector<std::string> roots, Dialogs& dialogs) : dialogs_(dialogs) {
    for (std::string& root : roots) {
        // A root that is not an absolute path stays listed but cannot be opened.
        const std::string normal = normalFolder(root);
        if (!normal.empty()) root = normal;
    }
    Drive1.List = std::move(roots);
    driveFolders_ = Drive1.List;
    window.visible = false;
    CmdOk.enabled = false;
    CmdOk.caption = "Tamam";
    CmdCancel.caption = "İptal";
}

void FileChooser::Form_Load(SettingsStore& settings) {
    settings_ = &settings;
    const std::string storedDrive = settings.read(kSection, kDriveKey);
    if (storedDrive.empty()) {
        Drive1_Change(kFirstUseDrive);
        return;
    }
    // Remembered values that no longer fit (not a position of the list, a
    // folder that is gone or lies outside that drive) count as never stored:
    // the chooser opens where a first use would.
    const int drive = parsePosition(storedDrive);
    const std::string folder = normalFolder(settings.read(kSection, kDirKey));
    const bool fits =
        drive >= 0 && drive < static_cast<int>(Drive1.List.size()) && !folder.empty() &&
        isWithin(folder, Drive1.List[static_cast<std::size_t>(drive)]) && isFolder(folder);
    if (!fits) {
        Drive1_Change(kFirstUseDrive);
        return;
    }
    // The stored folder becomes that drive's current folder, so selecting the
    // drive lists it at once (and falls back to the drive's root if it cannot
    // be read).
    driveFolders_[static_cast<std::size_t>(drive)] = folder;
    Drive1_Change(drive);
}

void FileChooser::Drive1_Change(int index) {
    if (index < 0 || index >= static_cast<int>(Drive1.List.size()) || index == Drive1.ListIndex)
        return;
    Drive1.ListIndex = index;
    const auto pos = static_cast<std::size_t>(index);

    dialogs_.setWaitCursor(true);
    bool opened = false;
    // The folder this drive was left in may have gone since: then its root.
    if (driveFolders_[pos] != Drive1.List[pos]) opened = openFolder(index, driveFolders_[pos]);
    if (!opened) opened = openFolder(index, Drive1.List[pos]);
    dialogs_.setWaitCursor(false);

    if (!opened) {
        // An unreadable drive: a beep, and the home folder instead. When the
        // home folder is the one that failed, selecting it again runs nothing
        // and the folder list stays where it was.
        dialogs_.beep();
        Drive1_Change(kFirstUseDrive);
    }
}

void FileChooser::Dir1_Change(const std::string& path) {
    // A folder that cannot be read, or lies outside the folder list's drive,
    // leaves both lists as they are.
    if (dirDrive_ < 0) return;
    openFolder(dirDrive_, path);
}

void FileChooser::File1_Click(int index) {
    if (index < 0 || index >= static_cast<int>(File1.List.size())) return;
    File1.ListIndex = index;
    File1.FileName = File1.List[static_cast<std::size_t>(index)];
    CmdOk.enabled = true;
    ChosenFile = joinPath(File1.Path, File1.FileName);
    if (setPathLabel) setPathLabel(upperFirst(ChosenFile));
}

void FileChooser::File1_DblClick(int index) {
    // A double-click beside the files chooses nothing, so it loads nothing.
    if (index < 0 || index >= static_cast<int>(File1.List.size())) return;
    File1_Click(index);
    CmdOk_Click();
}

void FileChooser::CmdOk_Click() {
    // A disabled button cannot be pressed: nothing was clicked yet.
    if (!CmdOk.enabled) return;
    const std::string chosen = ChosenFile;
    closeWindow();
    if (loadFile) loadFile(chosen);
    rememberPlace();
}

void FileChooser::Show() {
    if (!window.visible && dirDrive_ >= 0) openFolder(dirDrive_, Dir1.Path);
    window.visible = true;
}

void FileChooser::CmdCancel_Click() {
    closeWindow();
    rememberPlace();
}

void FileChooser::relabel(const TextTable& table, int lang) {
    window.caption = table.LangText(lang, kGroupOtherTexts, 4);
    CmdOk.caption = table.LangText(lang, kGroupCaptions, 3);
    CmdCancel.caption = table.LangText(lang, kGroupCaptions, 16);
}

bool FileChooser::openFolder(int drive, const std::string& path) {
    const std::string& root = Drive1.List[static_cast<std::size_t>(drive)];
    const std::string folder = normalFolder(path);
    if (folder.empty() || !isWithin(folder, root)) return false;
    std::optional<FolderContents> contents = listFolder(folder);
    if (!contents) return false;

    Dir1.Path = folder;
    Dir1.List.clear();
    Dir1.List.push_back({root, root, 0});
    // Each folder between the root and here, then here itself.
    const std::filesystem::path below = std::filesystem::path(folder).lexically_relative(root);
    std::string walked = root;
    int level = 0;
    for (const std::filesystem::path& part : below) {
        if (part == ".") continue;
        walked = joinPath(walked, part.string());
        Dir1.List.push_back({part.string(), walked, ++level});
    }
    Dir1.ListIndex = static_cast<int>(Dir1.List.size()) - 1;
    for (const std::string& name : contents->folders)
        Dir1.List.push_back({name, joinPath(folder, name), level + 1});

    File1.Path = folder;
    File1.List = std::move(contents->files);
    File1.ListIndex = -1;
    File1.FileName.clear();

    dirDrive_ = drive;
    driveFolders_[static_cast<std::size_t>(drive)] = folder;
    return true;
}

void FileChooser::closeWindow() {
    Hide();
    if (showPlayer) showPlayer();
}

void FileChooser::rememberPlace() {
    if (!settings_) return;
    settings_->write(kSection, kDriveKey, std::to_string(Drive1.ListIndex));
    settings_->write(kSection, kDirKey, Dir1.Path);
}

}  // namespace vornel
