#pragma once

#include <memory>
#include <optional>
#include <string>

#include "midi/file/MidifileComponent.h"
#include "midi/output/MIDIOutputComponent.h"
#include "platform/Dispatcher.h"
#include "platform/SettingsStore.h"

namespace vornel {

// The two components, each from its module.
struct LoadedComponents {
    std::unique_ptr<MidifileComponent> reader;
    std::unique_ptr<MIDIOutputComponent> output;
};

struct ComponentLoad {
    std::optional<LoadedComponents> components;  // set when both loaded
    std::string failedComponent;  // "Midifl32" / "Midiio32" when one could not be found or loaded
    std::string detail;           // why, for the message
};

// Finds (findComponent) and loads both component modules, the reader first,
// and creates one object of each. The first that fails stops the loading and
// is named in the result. The output component posts its events to `ui` from
// its own thread, so `ui` must outlive both components (and whatever they
// posted to it must be run or dropped before it goes).
ComponentLoad loadComponents(const SettingsStore& settings, const std::string& exeFolder, Dispatcher& ui);

// The message the user sees when a component is missing, in language lang
// (0 Turkish, 1 English, anything else Turkish): names the component, gives
// `detail` on a line of its own when there is one, and tells the user to run
// Quendel, the installer, from Vornel's folder.
std::string missingComponentText(const std::string& name, const std::string& detail, int lang);

}  // namespace vornel
