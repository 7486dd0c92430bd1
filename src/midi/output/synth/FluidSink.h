#pragma once

#include <fluidsynth.h>

#include <array>
#include <cstdint>

#include "midi/output/synth/MessageSink.h"
#include "midi/output/synth/VoiceMap.h"

namespace vornel {

// Hands a block's messages to FluidSynth, with the drum channels kept as
// DrumChannels reads them and each program change played as the preset the
// voice map chooses for the channel's last bank select, rather than what
// FluidSynth would find (or not) in the SoundFont's banks by itself.
//
// Bank selects still reach FluidSynth, which keeps its own channel type from
// the MSB as State does; only the choice of preset is taken from it.
class FluidSink final : public MessageSink {
public:
    // What outlives one audio period: the loaded set's voice map and what each
    // channel last asked for. Made and reset by whoever owns the synthesizer:
    // the UI thread while it is not published, the audio thread while it is.
    struct State {
        struct Channel {
            std::uint8_t bankMsb = 0;
            std::uint8_t bankLsb = 0;
            std::uint8_t program = 0;
            bool drum = false;
        };
        VoiceMap voices;
        int soundFont = -1;  // FluidSynth's id of the loaded SoundFont
        std::array<Channel, 16> channels{};

        // Power-on values, channel 10 the only drum channel, as FluidSynth's
        // own reset leaves its channels.
        void reset();
    };

    FluidSink(fluid_synth_t* synth, State& state) : synth_(synth), state_(state) {}

    // Audio thread: no lock, no allocation.
    void apply(const SynthMessage& m) override;
    // Every channel's preset chosen again from the state. On the thread that
    // owns the synthesizer (see State); allocates nothing.
    void selectAll();

private:
    void pass(const SynthMessage& m);
    void setType(int channel, bool drum);
    void select(int channel);

    fluid_synth_t* synth_;
    State& state_;
};

}  // namespace vornel
