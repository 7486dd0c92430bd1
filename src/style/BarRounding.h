#pragma once

#include <cstdint>

namespace vornel {

// Where a section that runs to the end of the file ends: its last event lies
// `last` ticks into the file, the section starts at `start`.
struct RoundedEnd {
    // The written bar length does not fit 16 bits, or the
    // end does not fit 32 bits: the caller must stop loading sections.
    bool fault = false;
    std::int32_t end = -1;  // -1 when no bar length fits
};

// The end is the bar line at or before the last event when that event lies
// less than 30 ticks after it, otherwise the next bar line, within 25 written
// bars of the start. A bar length of 0 or below fits nothing.
RoundedEnd roundSectionEnd(std::int32_t start, std::int32_t last, int timeSigNum, int resolution,
                           int timeSigDenExp);

}  // namespace vornel
