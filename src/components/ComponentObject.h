#pragma once

#include <cstdint>
#include <string>

#include "components/ComponentAbi.h"

namespace vornel {

// One object created by a loaded module, reached through the module's table.
// Converts between the table's plain C values and the program's types; the
// proxies (LoadedMidifile, LoadedMIDIOutput) are made of it.
class ComponentObject {
public:
    // Takes over `object`, created by api.create(); destroys it at the end.
    ComponentObject(const VornelComponentApi& api, void* object) : api_(api), object_(object) {}
    ~ComponentObject() { api_.destroy(object_); }
    ComponentObject(const ComponentObject&) = delete;
    ComponentObject& operator=(const ComponentObject&) = delete;

    const VornelComponentApi& api() const { return api_; }
    void* object() const { return object_; }

    // A number that no 32-bit integer holds reads 0: a module answers with
    // whole numbers only, so anything else is a fault of the module.
    std::int32_t getInt(int dispId) const;
    double getNumber(int dispId) const { return api_.getNumber(object_, dispId); }
    std::string getString(int dispId) const;
    void setNumber(int dispId, double value) { api_.setNumber(object_, dispId, value); }
    void setString(int dispId, const std::string& value) {
        api_.setString(object_, dispId, value.data(), value.size());
    }

private:
    const VornelComponentApi& api_;
    void* object_;
};

}  // namespace vornel
