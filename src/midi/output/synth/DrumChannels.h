#pragma once

#include <cstdint>

#include "midi/output/synth/SynthMessage.h"

namespace vornel {

// Which channels of the built-in synthesizer play drum kits, read from the
// messages on their way to FluidSynth.
//
// FluidSynth runs with bank-select mode "xg", where bank MSB 120..127 makes a
// channel a drum channel; that is how style files put a second kit on a part
// of their own. Left alone, FluidSynth would lose that on the first set-up
// message: GM System On, GS reset and XG System On each switch its mode (GM
// ignores the bank MSB altogether), and in "xg" a bank MSB below 120 turns
// even channel 10 melodic. It also ignores XG part mode and, outside "gs",
// GS "use for rhythm part". So the resets become a plain channel reset, which
// keeps the mode, and the drum/melodic switches are made by the caller.
//
// Pure and stateless: no allocation, no lock, fit for the audio thread.
class DrumChannels {
public:
    enum class Action : std::uint8_t {
        Pass,        // hand the message to FluidSynth as it is
        Drop,        // apply nothing
        Reset,       // reset every channel (channel 10 drums, the rest melodic), keep the mode
        SetDrum,     // make `channel` a drum channel
        SetMelodic,  // make `channel` a melodic channel
    };
    struct Decision {
        Action action = Action::Pass;
        int channel = -1;  // 0..15, for SetDrum and SetMelodic
    };

    // Channel 10, whose kit no bank select takes away.
    static constexpr int kRhythmChannel = 9;
    // FluidSynth's own "xg" threshold, kept so that both agree.
    static constexpr int kFirstDrumBankMsb = 120;

    // Any thread, the audio thread included.
    static Decision read(const SynthMessage& m);
};

}  // namespace vornel
