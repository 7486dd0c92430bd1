#include "playback/BarMath.h"

#include <limits>

#include "midi/file/MidifileComponent.h"
#include "style/BarLength.h"
#include "style/StyleData.h"

namespace vornel {

namespace {
// The tempo of a MIDI file that states none; 120 quarter notes a minute.
constexpr std::int32_t kDefaultTempoUs = 500000;
}  // namespace

std::int32_t ticksPerBar(const MidifileComponent& file) {
    return barTicks(file.Resolution(), file.TimeSigNum(), file.TimeSigDenExp());
}

std::int32_t ticksPerBeat(const MidifileComponent& file) {
    const int num = file.TimeSigNum();
    const std::int32_t bar = ticksPerBar(file);
    if (bar <= 0 || num <= 0) return 0;
    const bool compound = num > 3 && num % 3 == 0 && file.TimeSigDenExp() >= 3;
    return bar / num * (compound ? 3 : 1);
}

float msPerTick(const MidifileComponent& file) {
    const std::int32_t res = file.Resolution();
    if (res <= 0) return 0.0f;
    // A tempo of 0 would stamp a whole chunk, and every cue in it, at the same
    // moment, so each cue would queue the next chunk at once, for ever; such a
    // file plays at the default tempo instead.
    const std::int32_t tempo = file.Tempo() > 0 ? file.Tempo() : kDefaultTempoUs;
    return static_cast<float>((tempo / 1000.0) / res);
}

std::int64_t partLength(const StyleData& style, int p) {
    return static_cast<std::int64_t>(style.PartEnd(p)) - style.PartStart(p);
}

std::optional<double> partBars(const MidifileComponent& file, const StyleData& style, int p) {
    const std::int32_t bar = ticksPerBar(file);
    if (bar <= 0) return std::nullopt;
    return static_cast<double>(partLength(style, p)) / bar;
}

std::int32_t toTicks(std::int64_t ticks) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(ticks < lo ? lo : (ticks > hi ? hi : ticks));
}

}  // namespace vornel
