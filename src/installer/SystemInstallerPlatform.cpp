#include "installer/SystemInstallerPlatform.h"

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "components/ComponentLocation.h"
#include "installer/ComponentFolder.h"

extern char** environ;

namespace vornel {

namespace fs = std::filesystem;

namespace {

// A temporary file beside `target`, so that the final rename stays within one
// file system. Empty when none can be made there.
std::string temporaryBeside(const fs::path& target) {
    std::string pattern = target.string() + ".XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) return {};
    close(fd);
    return pattern;
}

// Everything the started program inherits but should not: Quendel's blocked
// signals and its handlers. It gets its own session, so it neither dies with
// the terminal Quendel was started from nor waits for Quendel.
class SpawnAttributes {
public:
    SpawnAttributes() { ok_ = posix_spawnattr_init(&attr_) == 0; }
    ~SpawnAttributes() {
        if (ok_) posix_spawnattr_destroy(&attr_);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    bool detach() {
        if (!ok_) return false;
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
        flags |= POSIX_SPAWN_SETSID;
#else
        flags |= POSIX_SPAWN_SETPGROUP;
#endif
        return posix_spawnattr_setsigmask(&attr_, &none) == 0 &&
               posix_spawnattr_setsigdefault(&attr_, &all) == 0 &&
               posix_spawnattr_setflags(&attr_, flags) == 0;
    }
    const posix_spawnattr_t* get() const { return &attr_; }

private:
    posix_spawnattr_t attr_{};
    bool ok_ = false;
};

}  // namespace

SystemInstallerPlatform::SystemInstallerPlatform(SettingsStore& settings, MessageBoxFunction messageBox)
    : settings_(settings), messageBox_(std::move(messageBox)) {}

std::optional<std::string> SystemInstallerPlatform::vbSysDir() {
    std::optional<std::string> folder = componentFolder();
    if (!folder) return std::nullopt;
    std::error_code ec;
    fs::create_directories(*folder, ec);
    // A file in the way, or a folder that exists but cannot be entered, is as
    // good as no folder.
    if (!fs::is_directory(*folder, ec)) return std::nullopt;
    return folder;
}

// The copy goes to a temporary file that then replaces the target in one
// rename: a Vornel that is running with the old component mapped keeps its
// file intact, and a copy cut short never leaves half a component behind.
bool SystemInstallerPlatform::copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (from.empty() || to.empty() || !fs::is_regular_file(from, ec)) return false;
    const fs::path target(to);
    if (fs::is_directory(target, ec)) return false;
    const std::string temporary = temporaryBeside(target);
    if (temporary.empty()) return false;
    if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, ec) || ec) {
        fs::remove(temporary, ec);
        return false;
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

// The store writes through and answers from what it holds; reading the value
// back catches a store that refused the name or the value.
bool SystemInstallerPlatform::registerComponent(const std::string& name, const std::string& installedPath) {
    if (name.empty() || installedPath.empty()) return false;
    settings_.write(kComponentsSection, name, installedPath);
    return settings_.read(kComponentsSection, name) == installedPath;
}

// Not waited for: the child is left to init when Quendel ends, which it does
// at once. Vornel opens as it always does: a desktop has no portable way to
// ask another program to start minimised.
bool SystemInstallerPlatform::startProgram(const std::string& path) {
    if (path.empty()) return false;
    // posix_spawn reports a program that cannot be run on this C library, but
    // not on every one; the check keeps the answer the same everywhere.
    std::error_code ec;
    if (access(path.c_str(), X_OK) != 0 || !fs::is_regular_file(path, ec)) return false;
    SpawnAttributes attributes;
    if (!attributes.detach()) return false;
    std::string argument0 = path;
    char* argv[] = {argument0.data(), nullptr};
    pid_t pid = 0;
    return posix_spawn(&pid, path.c_str(), nullptr, attributes.get(), argv, environ) == 0;
}

void SystemInstallerPlatform::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    if (messageBox_) messageBox_(text, title, icon);
}

}  // namespace vornel
