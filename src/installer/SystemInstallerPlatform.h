#pragma once

#include <functional>
#include <optional>
#include <string>

#include "installer/InstallerPlatform.h"
#include "platform/SettingsStore.h"

namespace vornel {

// The installer's operations on this system: the per-user component folder
// (componentFolder()), file copies with std::filesystem, registration in the
// settings store Vornel reads, and programs started with posix_spawn.
class SystemInstallerPlatform final : public InstallerPlatform {
public:
    using MessageBoxFunction =
        std::function<void(const std::string& text, const std::string& title, MessageIcon icon)>;

    // `settings` must outlive the platform. `messageBox` shows the box; an
    // empty one shows nothing.
    SystemInstallerPlatform(SettingsStore& settings, MessageBoxFunction messageBox);

    std::optional<std::string> vbSysDir() override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool registerComponent(const std::string& name, const std::string& installedPath) override;
    bool startProgram(const std::string& path) override;
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;

private:
    SettingsStore& settings_;
    MessageBoxFunction messageBox_;
};

}  // namespace vornel
