#pragma once

#include <cstdint>

namespace vornel {

// Ticks of one written bar: Resolution × 4 × numerator / 2^denominator
// exponent, so 6/8 at 1920 ticks per quarter is 5,760 ticks and 7/8 is 6,720.
// This is the one place that knows how long a bar is; everything that counts
// bars asks here.
//
// Bad values: a resolution or numerator of 0 or below has no bars (0). An
// exponent above 6 (a 1/64 note) is no meter a style is written in; such a
// file is read as if its beat were a quarter note, so its bars keep a
// playable length. A bar that would be shorter than one tick is one tick.
std::int32_t barTicks(int resolution, int timeSigNum, int timeSigDenExp);

}  // namespace vornel
