#include "components/ComponentObject.h"

#include <cstddef>

#include "platform/IntegerValue.h"

namespace vornel {

std::int32_t ComponentObject::getInt(int dispId) const { return integerValue(getNumber(dispId)).value_or(0); }

std::string ComponentObject::getString(int dispId) const {
    std::size_t length = 0;
    const char* bytes = api_.getString(object_, dispId, &length);
    // Copied at once: the module's text lives only until the next call.
    return bytes ? std::string(bytes, length) : std::string();
}

}  // namespace vornel
