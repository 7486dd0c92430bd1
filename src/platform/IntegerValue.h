#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace vornel {

// A number given to an integer property, taken as a control would take a
// Double: the fraction dropped. Anything that no 32-bit integer can hold
// (infinite, not a number, out of range) is refused rather than wrapped, so a
// damaged value never becomes a valid one.
inline std::optional<std::int32_t> integerValue(double value) {
    if (!std::isfinite(value) || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace vornel
