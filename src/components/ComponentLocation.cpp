#include "components/ComponentLocation.h"

#include <filesystem>
#include <system_error>

namespace vornel {

namespace {

// A regular file (or a link to one). A folder that happens to carry the name,
// or a path the process may not even look at, is not a component.
bool isFile(const std::filesystem::path& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string installedExtension() {
#if defined(_WIN32)
    return ".dll";
#elif defined(__APPLE__)
    return ".dylib";
#else
    return ".so";
#endif
}

std::string executableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path().string();
}

std::string findComponent(const std::string& name, const SettingsStore& settings, const std::string& exeFolder) {
    // A record left behind by an earlier install whose file has since gone
    // must not hide a usable copy beside the program.
    const std::string recorded = settings.read(kComponentsSection, name);
    if (isFile(recorded)) return recorded;
    // An unknown program folder is not the working folder: whatever happens to
    // lie there was not shipped with the program.
    if (!name.empty() && !exeFolder.empty()) {
        const std::filesystem::path beside = std::filesystem::path(exeFolder) / (name + kDistributedExtension);
        if (isFile(beside)) return beside.string();
    }
    return {};
}

}  // namespace vornel
