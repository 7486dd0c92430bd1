#include "style/BarRounding.h"

#include "style/BarLength.h"

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
    const std::int64_t bar = barTicks(resolution, timeSigNum, timeSigDenExp);
    if (bar > std::numeric_limits<std::int16_t>::max()) return {true, -1};
    // No bar of a length of 0 or below can hold the section.
    if (bar <= 0) return {false, -1};

    // Bars are written bars (an eighth-note meter's bar is its own length),
    // so a short section in 6/8 ends at its one written bar by the same rule
    // as in 4/4: no half-bar case is needed.
    const std::int64_t len = static_cast<std::int64_t>(last) - start;
    for (int k = 0; k < kMaxBars; ++k) {
        const std::int64_t lo = k * bar;
        const std::int64_t hi = (k + 1) * bar;
        if (!(lo < len && len <= hi)) continue;
        const std::int64_t end = static_cast<std::int64_t>(start) + (len - lo < kLateTicks ? lo : hi);
        if (end > std::numeric_limits<std::int32_t>::max()) return {true, -1};
        return {false, static_cast<std::int32_t>(end)};
    }
    return {false, -1};
}

}  // namespace vornel
