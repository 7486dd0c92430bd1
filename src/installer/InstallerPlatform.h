#pragma once

#include <optional>
#include <string>

#include "platform/Dialogs.h"

namespace vornel {

// What the installer asks of the system. An operation that fails says so by
// its result; one that throws counts as failed as well.
class InstallerPlatform {
public:
    virtual ~InstallerPlatform() = default;

    // The folder the components are installed into, created when missing;
    // nullopt when it cannot be found or created. No trailing separator.
    virtual std::optional<std::string> vbSysDir() = 0;
    // Copies the file `from` to `to`, replacing `to` when it exists.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    // Records where component `name` is installed, so that Vornel finds it.
    virtual bool registerComponent(const std::string& name, const std::string& installedPath) = 0;
    // Starts the program file `path` and returns without waiting for it.
    virtual bool startProgram(const std::string& path) = 0;
    // A modal message box with an OK button.
    virtual void messageBox(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace vornel
