#pragma once

#include <cstddef>
#include <string>

namespace vornel {

// A text crosses the component boundary as a pointer and a length into `held`, which keeps it
// until the object's next call. With no object (`held` null), or when
// producing the text throws, the caller gets an empty text.
template <class Produce>
const char* abiText(std::string* held, std::size_t* length, Produce produce) noexcept {
    if (length) *length = 0;
    if (!held) return "";
    try {
        *held = produce();
        if (length) *length = held->size();
        return held->c_str();
    } catch (...) {
        return "";
    }
}

}  // namespace vornel
