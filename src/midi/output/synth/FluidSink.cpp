#include "midi/output/synth/FluidSink.h"

#include "midi/output/synth/DrumChannels.h"
#include "midi/output/synth/FluidChannelMessage.h"

namespace vornel {

namespace {

constexpr int kBankMsb = 0;
constexpr int kBankLsb = 32;

}  // namespace

void FluidSink::State::reset() {
    channels.fill(Channel{});
    channels[DrumChannels::kRhythmChannel].drum = true;
}

void FluidSink::apply(const SynthMessage& m) {
    const DrumChannels::Decision d = DrumChannels::read(m);
    switch (d.action) {
        case DrumChannels::Action::Pass:
            pass(m);
            break;
        case DrumChannels::Action::Drop:
            break;
        // The same channel reset FluidSynth makes for these messages, without
        // the change of bank-select mode that comes with it there.
        case DrumChannels::Action::Reset:
            fluid_synth_system_reset(synth_);
            state_.reset();
            selectAll();
            break;
        case DrumChannels::Action::SetDrum:
            setType(d.channel, true);
            break;
        case DrumChannels::Action::SetMelodic:
            setType(d.channel, false);
            break;
    }
}

void FluidSink::selectAll() {
    for (int ch = 0; ch < static_cast<int>(state_.channels.size()); ++ch) select(ch);
}

void FluidSink::pass(const SynthMessage& m) {
    if (m.kind == SynthMessage::Kind::SysEx) {
        // FluidSynth takes the data without F0 and F7, as stored. Of what it
        // understands, only a MIDI Tuning Standard dump allocates (a new
        // tuning table); style files carry mode and part messages instead.
        fluid_synth_sysex(synth_, m.sysex.data(), m.sysexLength, nullptr, nullptr, nullptr, 0);
        return;
    }
    if (m.kind != SynthMessage::Kind::Channel) return;
    const int ch = m.status & 0x0F;
    State::Channel& c = state_.channels[static_cast<std::size_t>(ch)];
    switch (m.status & 0xF0) {
        case 0xC0:
            c.program = m.data1;
            select(ch);
            return;
        case 0xB0:
            // As FluidSynth's "xg" mode reads the MSB: it sets the channel type.
            if (m.data1 == kBankMsb) {
                c.bankMsb = m.data2;
                c.drum = m.data2 >= DrumChannels::kFirstDrumBankMsb;
            }
            if (m.data1 == kBankLsb) c.bankLsb = m.data2;
            break;
        default:
            break;
    }
    applyChannelMessage(synth_, m.status, m.data1, m.data2);
}

// FluidSynth chooses a preset only at a program change, so the channel's
// program is chosen again, now as a kit or as a melodic voice.
void FluidSink::setType(int channel, bool drum) {
    State::Channel& c = state_.channels[static_cast<std::size_t>(channel)];
    c.drum = drum;
    // A kit's bank select made the channel a drum channel; once made melodic it
    // must not ask for a kit still.
    if (!drum && c.bankMsb >= DrumChannels::kFirstDrumBankMsb) c.bankMsb = 0;
    fluid_synth_set_channel_type(synth_, channel, drum ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
    select(channel);
}

void FluidSink::select(int channel) {
    const State::Channel& c = state_.channels[static_cast<std::size_t>(channel)];
    const VoiceMap::Choice v = state_.voices.choose(c.bankMsb, c.bankLsb, c.program, c.drum);
    if (v.found() && fluid_synth_program_select(synth_, channel, state_.soundFont, v.bank, v.program) == FLUID_OK)
        return;
    // Nothing in the set can play it: silence rather than a wrong instrument.
    fluid_synth_unset_program(synth_, channel);
}

}  // namespace vornel
