#pragma once

#include <cstdint>

namespace vornel {

class Midifile;
class StyleData;

// Ticks of one bar: Resolution × TimeSigNum (the beat is taken as a quarter
// note whatever the denominator). 0 when the file gives either as 0. Both are
// 16-bit, so the product always fits 32 bits.
std::int32_t ticksPerBar(const Midifile& file);

// Milliseconds per tick at the file's one tempo, in single precision as the
// chunk stamps are built from it. A file without a resolution gives 0: its
// ticks have no length, and the caller must not place events by it.
float msPerTick(const Midifile& file);

// PartEnd − PartStart of part p, wide enough for any two 32-bit ticks.
std::int64_t partLength(const StyleData& style, int p);

// A tick position for the engine's 32-bit counters: bar positions are
// computed in 64 bits and saturate here instead of wrapping.
std::int32_t toTicks(std::int64_t ticks);

}  // namespace vornel
