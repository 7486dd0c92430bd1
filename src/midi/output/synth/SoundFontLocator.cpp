#include "midi/output/synth/SoundFontLocator.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <initializer_list>
#include <system_error>

namespace vornel {
namespace fs = std::filesystem;

namespace {

bool isRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// The *.sf2 and *.sf3 files of one folder (the extension in any case), sorted;
// empty if the folder cannot be read.
std::vector<fs::path> soundFontsIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return found;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if ((ext == ".sf2" || ext == ".sf3") && isRegularFile(it->path())) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::vector<fs::path> SoundFontLocator::defaultFolders() {
    std::vector<fs::path> folders = {"/usr/share/sounds/sf3", "/usr/share/sounds/sf2", "/usr/share/soundfonts",
                                     "/usr/local/share/soundfonts"};
    if (const char* home = std::getenv("HOME"); home && *home)
        folders.push_back(fs::path(home) / ".local/share/soundfonts");
    return folders;
}

fs::path SoundFontLocator::find(const std::vector<fs::path>& folders) {
    for (const char* preferred : {"MuseScore_General_Lite.sf3", "TimGM6mb.sf2", "default-GM.sf2"})
        for (const fs::path& folder : folders)
            if (isRegularFile(folder / preferred)) return folder / preferred;
    for (const fs::path& folder : folders) {
        const std::vector<fs::path> any = soundFontsIn(folder);
        if (!any.empty()) return any.front();
    }
    return {};
}

}  // namespace vornel
