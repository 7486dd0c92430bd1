#include "components/ComponentLoading.h"

#include <utility>

#include "components/ComponentLibrary.h"
#include "components/ComponentLocation.h"
#include "components/LoadedMIDIOutput.h"
#include "components/LoadedMidifile.h"
#include "settings/TextTable.h"

namespace vornel {

namespace {

// The table of component `name`, or why there is none. The reason stays in
// English whatever the language: it mostly carries the system's own words
// (the loader's error), and it is there for whoever helps the user.
const VornelComponentApi* loadModule(const std::string& name, const SettingsStore& settings,
                                     const std::string& exeFolder, std::string& why) {
    const std::string path = findComponent(name, settings, exeFolder);
    if (path.empty()) {
        why = name + kDistributedExtension + " is neither installed nor in the program's folder \"" + exeFolder +
              "\".";
        return nullptr;
    }
    const ComponentLibrary library = ComponentLibrary::load(path, name);
    if (!library.loaded()) why = library.error();
    return library.api();
}

}  // namespace

ComponentLoad loadComponents(const SettingsStore& settings, const std::string& exeFolder, Dispatcher& ui) {
    ComponentLoad load;
    auto fail = [&load](const char* name, std::string why) {
        load.failedComponent = name;
        load.detail = std::move(why);
        return std::move(load);
    };
    std::string why;

    const VornelComponentApi* readerApi = loadModule(kMidiFileComponent, settings, exeFolder, why);
    if (!readerApi) return fail(kMidiFileComponent, why);
    std::unique_ptr<MidifileComponent> reader = LoadedMidifile::create(*readerApi, ui);
    if (!reader) return fail(kMidiFileComponent, "The component could not be created.");

    const VornelComponentApi* outputApi = loadModule(kMidiOutputComponent, settings, exeFolder, why);
    if (!outputApi) return fail(kMidiOutputComponent, why);
    std::unique_ptr<MIDIOutputComponent> output = LoadedMIDIOutput::create(*outputApi, ui);
    if (!output) return fail(kMidiOutputComponent, "The component could not be created.");

    load.components = LoadedComponents{std::move(reader), std::move(output)};
    return load;
}

// New texts, kept here rather than in the text table: they are shown before
// any window, when the program may not even be able to run.
std::string missingComponentText(const std::string& name, const std::string& detail, int lang) {
    const std::string why = detail.empty() ? std::string() : detail + "\n";
    if (lang == kLangEnglish)
        return "Vornel could not load its component " + name + ".\n" + why +
               "\nPlease run Quendel, the installer, from Vornel's folder.";
    return "Vornel, " + name + " bileşenini yükleyemedi.\n" + why +
           "\nLütfen kurulum programı Quendel'i Vornel'in klasöründen çalıştırın.";
}

}  // namespace vornel
