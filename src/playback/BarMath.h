#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornel {

class MidifileComponent;
class StyleData;

// Ticks of one written bar of the file (barTicks); 0 when the file gives no
// resolution or numerator.
std::int32_t ticksPerBar(const MidifileComponent& file);

// Ticks of one beat as a player counts it: the meter's note value, or three
// of them in a compound meter (6/8, 9/8, 12/8, 6/16 ...), whose beat is the
// dotted note. 0 when the file gives no resolution or numerator.
std::int32_t ticksPerBeat(const MidifileComponent& file);

// Milliseconds per tick at the file's one tempo, in single precision as the
// chunk stamps are built from it. A file without a resolution gives 0: its
// ticks have no length, and the caller must not place events by it.
float msPerTick(const MidifileComponent& file);

// PartEnd − PartStart of part p, wide enough for any two 32-bit ticks.
std::int64_t partLength(const StyleData& style, int p);

// Length of part p in written bars, possibly fractional. None when the file
// gives no resolution or numerator, since such a file has no bars to count.
std::optional<double> partBars(const MidifileComponent& file, const StyleData& style, int p);

// Whether the selected part's caption (PartName) begins with `kind`: "Main",
// "Intro", "End". The kind of chunk is read from it.
inline bool partNameBegins(const std::string& PartName, std::string_view kind) {
    return std::string_view(PartName).substr(0, kind.size()) == kind;
}

// The parts a song is started from: an Ending gives the choice back to the
// last of them that played.
inline bool returnsAfterEnding(const std::string& PartName) {
    return partNameBegins(PartName, "Main") || partNameBegins(PartName, "Intro");
}

// A tick position for the engine's 32-bit counters: bar positions are
// computed in 64 bits and saturate here instead of wrapping.
std::int32_t toTicks(std::int64_t ticks);

}  // namespace vornel
