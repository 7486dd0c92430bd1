#pragma once

#include <array>
#include <cstdint>

#include "midi/output/MidiMessage.h"

namespace vornel {

// A MIDI message in a form that fits a lock-free ring: fixed size, no heap.
// System-exclusive data is kept inline without its F0/F7 framing, which is the
// form fluid_synth_sysex() takes.
struct SynthMessage {
    enum class Kind : std::uint8_t {
        None,     // carries nothing: a queued message the synthesizer cannot play
        Channel,  // status + data bytes
        SysEx,    // sysex[0 .. sysexLength)
    };

    // Longest system-exclusive message kept, F0 and F7 included. FluidSynth acts
    // only on short GM/GS/XG mode, master-volume and tuning messages; longer
    // ones (bulk dumps of other instruments) it would ignore anyway, so they are
    // dropped rather than make every ring slot larger.
    static constexpr std::size_t kMaxSysEx = 256;

    Kind kind = Kind::None;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint16_t sysexLength = 0;
    std::array<char, kMaxSysEx - 2> sysex{};

    // The ring form of `m`; false (and `out` of kind None) when `m` is not
    // sendable or is a system-exclusive message longer than kMaxSysEx.
    static bool encode(const MidiMessage& m, SynthMessage& out);
};

}  // namespace vornel
