#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornel {

class MidifileComponent;
class StyleData;

// Ticks of one bar: Resolution × TimeSigNum (the beat is taken as a quarter
// note whatever the denominator). 0 when the file gives either as 0. Both are
// 16-bit, so the product always fits 32 bits.
std::int32_t ticksPerBar(const MidifileComponent& file);

// Milliseconds per tick at the file's one tempo, in single precision as the
// chunk stamps are built from it. A file without a resolution gives 0: its
// ticks have no length, and the caller must not place events by it.
float msPerTick(const MidifileComponent& file);

// PartEnd − PartStart of part p, wide enough for any two 32-bit ticks.
std::int64_t partLength(const StyleData& style, int p);

// Length of part p in bars, possibly fractional: its tick length over
// Resolution, then over TimeSigNum. None when the file gives either as 0,
// since such a file has no bars to count.
std::optional<double> partBars(const MidifileComponent& file, const StyleData& style, int p);

// Whether the selected part's caption (PartName) begins with `kind`: "Main",
// "Intro", "End". The kind of chunk is read from it.
inline bool partNameBegins(const std::string& PartName, std::string_view kind) {
    return std::string_view(PartName).substr(0, kind.size()) == kind;
}

// A tick position for the engine's 32-bit counters: bar positions are
// computed in 64 bits and saturate here instead of wrapping.
std::int32_t toTicks(std::int64_t ticks);

}  // namespace vornel
