#pragma once

#include <fluidsynth.h>

namespace vornel {

// Plays one channel message on a FluidSynth synthesizer. Runs on the audio
// thread: no lock, no allocation.
inline void applyChannelMessage(fluid_synth_t* synth, int status, int data1, int data2) {
    const int ch = status & 0x0F;
    switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, ch, data1); break;
        // A note-on of velocity 0 is a note-off to FluidSynth as to any synth.
        case 0x90: fluid_synth_noteon(synth, ch, data1, data2); break;
        case 0xA0: fluid_synth_key_pressure(synth, ch, data1, data2); break;
        case 0xB0: fluid_synth_cc(synth, ch, data1, data2); break;
        case 0xC0: fluid_synth_program_change(synth, ch, data1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, ch, data1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, ch, data1 | (data2 << 7)); break;
        default: break;
    }
}

}  // namespace vornel
