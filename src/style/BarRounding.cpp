#include "style/BarRounding.h"

#include <cmath>
#include <limits>

namespace vornel {

namespace {
constexpr int kMaxBars = 25;
// A last event this close after a bar line is taken as a late note-off of
// the bar before, not as the start of another bar.
constexpr std::int64_t kLateTicks = 30;
}  // namespace

RoundedEnd roundSectionEnd(std::int32_t start, std::int32_t last, int timeSigNum, int resolution,
                           int timeSigDenExp) {
    // The bar length is a 16-bit value in the part tables' arithmetic.
    const std::int64_t bar = static_cast<std::int64_t>(timeSigNum) * resolution;
    if (bar > std::numeric_limits<std::int16_t>::max() || bar < std::numeric_limits<std::int16_t>::min())
        return {true, -1};
    // No bar of a length of 0 or below can hold the section.
    if (bar <= 0) return {false, -1};

    const std::int64_t len = static_cast<std::int64_t>(last) - start;
    const bool compound = static_cast<std::int64_t>(timeSigDenExp) * timeSigDenExp > 4;
    for (int k = 0; k < kMaxBars; ++k) {
        const std::int64_t lo = k * bar;
        double hi = static_cast<double>((k + 1) * bar);
        if (compound && hi - static_cast<double>(len) > hi / 2) hi /= 2;
        if (!(static_cast<double>(lo) < static_cast<double>(len) && static_cast<double>(len) <= hi)) continue;
        // Half ticks (half of an odd bar length) round to even, as the
        // default floating-point rounding does.
        const double end = len - lo < kLateTicks ? static_cast<double>(start + lo)
                                                 : std::nearbyint(static_cast<double>(start) + hi);
        if (end > std::numeric_limits<std::int32_t>::max()) return {true, -1};
        return {false, static_cast<std::int32_t>(end)};
    }
    return {false, -1};
}

}  // namespace vornel
