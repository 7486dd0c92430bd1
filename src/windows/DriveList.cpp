#include "windows/DriveList.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "windows/FolderListing.h"

namespace vornel {

namespace {

// /proc/mounts writes space, tab, newline and backslash in a path as a
// backslash and three octal digits.
std::string unescapeMountPath(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                            [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool isVolumeMountPoint(const std::string& path) {
    for (const char* base : {"/media", "/mnt", "/run/media"})
        if (isWithin(path, base)) return true;
    return false;
}

}  // namespace

std::vector<std::string> rootsFrom(const std::string& home, std::istream& mounts) {
    const std::string normalHome = normalFolder(home);
    const std::string homeFolder = normalHome.empty() ? std::string("/") : normalHome;

    std::vector<std::string> volumes;
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        if (!(fields >> device >> mountPoint)) continue;
        const std::string folder = normalFolder(unescapeMountPath(mountPoint));
        if (folder.empty() || folder == "/" || folder == homeFolder || !isVolumeMountPoint(folder))
            continue;
        volumes.push_back(folder);
    }
    std::sort(volumes.begin(), volumes.end());
    volumes.erase(std::unique(volumes.begin(), volumes.end()), volumes.end());

    std::vector<std::string> roots{"/", homeFolder};
    roots.insert(roots.end(), volumes.begin(), volumes.end());
    return roots;
}

std::vector<std::string> systemRoots() {
    const char* home = std::getenv("HOME");
    std::ifstream mounts("/proc/mounts");
    return rootsFrom(home ? home : "", mounts);
}

}  // namespace vornel
