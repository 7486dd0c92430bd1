#include "components/ComponentLibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "components/ComponentLocation.h"

namespace vornel {

namespace {

// The first function a component table lacks, or nullptr when it has all the
// component needs. Only the output component has events.
const char* missingFunction(const VornelComponentApi& api, bool needsEvents) {
    if (!api.create) return "create";
    if (!api.destroy) return "destroy";
    if (!api.getNumber) return "getNumber";
    if (!api.getString) return "getString";
    if (!api.setNumber) return "setNumber";
    if (!api.setString) return "setString";
    if (needsEvents && !api.setEvents) return "setEvents";
    return nullptr;
}

}  // namespace

ComponentLibrary ComponentLibrary::load(const std::string& path, const std::string& name) {
    ComponentLibrary library;
    std::error_code ec;
    std::filesystem::path file = path;
    if (!file.empty()) file = std::filesystem::absolute(file, ec);
    if (file.empty() || ec || !std::filesystem::is_regular_file(file, ec)) {
        library.error_ = "\"" + path + "\" was not found.";
        return library;
    }
    const std::string shown = "\"" + file.string() + "\"";

    dlerror();  // forget an earlier error, so the one read below is this one's
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        library.error_ = shown + " could not be loaded: " + (why ? why : "unknown reason") + ".";
        return library;
    }
    // From here on the handle is kept open for good (see the class comment).
    auto entry = reinterpret_cast<VornelComponentEntry>(dlsym(handle, VORNEL_COMPONENT_ENTRY));
    if (!entry) {
        library.error_ = shown + " is not a Vornel component (it has no " VORNEL_COMPONENT_ENTRY " entry).";
        return library;
    }
    const VornelComponentApi* api = entry(VORNEL_COMPONENT_ABI);
    if (!api || api->abiVersion != VORNEL_COMPONENT_ABI) {
        library.error_ = shown + " is a Vornel component of another version; this program needs version " +
                         std::to_string(VORNEL_COMPONENT_ABI) + ".";
        return library;
    }
    if (!api->name || name != api->name) {
        library.error_ = shown + " is not the component " + name +
                         (api->name ? std::string(" but ") + api->name : std::string()) + ".";
        return library;
    }
    const bool needsEvents = name == kMidiOutputComponent;
    if (const char* missing = missingFunction(*api, needsEvents)) {
        library.error_ = shown + " is not a complete Vornel component (it lacks " + missing + ").";
        return library;
    }
    library.api_ = api;
    return library;
}

}  // namespace vornel
