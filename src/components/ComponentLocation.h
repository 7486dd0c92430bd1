#pragma once

#include <string>

#include "platform/SettingsStore.h"

namespace vornel {

// The two component modules, by the names they travel under.
inline constexpr const char* kMidiFileComponent = "Midifl32";
inline constexpr const char* kMidiOutputComponent = "Midiio32";
// Beside the programs, in the distribution folder and in a build.
inline constexpr const char* kDistributedExtension = ".hcm";
// Where the installer records each component's installed location: section
// "Components" of the per-user settings store, one key per component name.
inline constexpr const char* kComponentsSection = "Components";

// The platform's shared-library extension (".so" here), which an installed
// component carries.
std::string installedExtension();

// The folder of the running executable, without a trailing separator.
std::string executableFolder();

// Where the program loads component `name` from: the location recorded by the
// installer when that file exists, otherwise `<exeFolder>/<name>.hcm` when
// that exists (a development build or an uninstalled distribution folder);
// empty when neither exists.
std::string findComponent(const std::string& name, const SettingsStore& settings, const std::string& exeFolder);

}  // namespace vornel
