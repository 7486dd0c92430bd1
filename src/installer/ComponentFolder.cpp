#include "installer/ComponentFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/SettingsStore.h"

namespace vornel {

namespace {

// A relative base would make the folder depend on where Quendel happens to be
// started from, so such a value is ignored, as the XDG rules ask.
std::optional<std::filesystem::path> absoluteFolder(const char* value) {
    if (value == nullptr || *value == '\0') return std::nullopt;
    std::filesystem::path path(value);
    if (!path.is_absolute()) return std::nullopt;
    return path;
}

std::string passwordHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr)
        return {};
    return found->pw_dir;
}

}  // namespace

std::optional<std::string> componentFolderFor(const char* xdgDataHome, const char* home) {
    std::optional<std::filesystem::path> base = absoluteFolder(xdgDataHome);
    if (!base) {
        std::optional<std::filesystem::path> homeFolder = absoluteFolder(home);
        if (!homeFolder) return std::nullopt;
        base = *homeFolder / ".local" / "share";
    }
    // Normal form without a trailing separator: the installer appends one.
    std::filesystem::path folder = (*base / kMakerName / "components").lexically_normal();
    return folder.string();
}

std::optional<std::string> componentFolder() {
    const char* home = std::getenv("HOME");
    std::string fallback;
    if (home == nullptr || *home == '\0') {
        fallback = passwordHome();
        home = fallback.c_str();
    }
    return componentFolderFor(std::getenv("XDG_DATA_HOME"), home);
}

}  // namespace vornel
