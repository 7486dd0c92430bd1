#include "style/BarLength.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vornel {

namespace {
constexpr int kQuarterExp = 2;
constexpr int kShortestExp = 6;
}  // namespace

std::int32_t barTicks(int resolution, int timeSigNum, int timeSigDenExp) {
    if (resolution <= 0 || timeSigNum <= 0) return 0;
    const int exp = (timeSigDenExp < 0 || timeSigDenExp > kShortestExp) ? kQuarterExp : timeSigDenExp;
    const double ticks = std::ldexp(static_cast<double>(resolution) * 4.0 * timeSigNum, -exp);
    const double capped = std::min(ticks, static_cast<double>(std::numeric_limits<std::int32_t>::max()));
    return std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(capped)));
}

}  // namespace vornel
