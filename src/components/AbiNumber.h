#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vornel {

// Every number crosses the component boundary as a double. An integer property
// takes it as a control would take a Double: the fraction dropped. Anything
// that no 32-bit integer can hold (infinite, not a number, out of range) is
// refused rather than wrapped, so a damaged value never becomes a valid one.
inline std::optional<std::int32_t> abiInt32(double value) {
    if (!std::isfinite(value) || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// A text crosses it as a pointer and a length into `held`, which keeps it
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
