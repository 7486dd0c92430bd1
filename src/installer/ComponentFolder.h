#pragma once

#include <optional>
#include <string>

namespace vornel {

// The per-user folder the installer puts the components in:
// <data home>/Halvex/components, where the data home is `xdgDataHome` when it
// is an absolute path and <home>/.local/share otherwise. Either argument may
// be null. nullopt when neither gives an absolute folder.
std::optional<std::string> componentFolderFor(const char* xdgDataHome, const char* home);

// The same for this process: XDG_DATA_HOME and HOME from the environment, the
// user's home from the password database when HOME is unset.
std::optional<std::string> componentFolder();

}  // namespace vornel
