#pragma once

#include <string>

#include "components/ComponentAbi.h"

namespace vornel {

// A component module loaded into the program: the file opened as a shared
// library, its entry point found, and its table checked to be the named
// component of this program's ABI version.
//
// A module, once opened, is never closed: the tasks it posted may still wait
// in the program's dispatcher holding its code, and it lives until the
// program ends anyway. A file that turns out not to be the component stays
// mapped as well; it costs nothing and its own clean-up is never run early.
class ComponentLibrary {
public:
    // Opens the module at `path` (made absolute first, so the system's library
    // search never applies) and checks it is component `name`. A file that
    // fails shows in error(); only a lack of memory throws.
    static ComponentLibrary load(const std::string& path, const std::string& name);

    bool loaded() const { return api_ != nullptr; }
    // The component's table; nullptr unless loaded().
    const VornelComponentApi* api() const { return api_; }
    // Why it is not loaded, naming the file; empty when it is.
    const std::string& error() const { return error_; }

private:
    const VornelComponentApi* api_ = nullptr;
    std::string error_;
};

}  // namespace vornel
