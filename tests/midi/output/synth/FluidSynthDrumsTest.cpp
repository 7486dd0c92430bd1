#include <gtest/gtest.h>

#include <vector>

#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/SynthFixture.h"

namespace vornel {
namespace {

using test::channelMessage;
using test::noteOn;

constexpr int kDrumBank = 128;
constexpr int kSubRhythm = 8;  // MIDI channel 9, a style's second kit

const MidiMessage kGmSystemOn = test::sysex({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
const MidiMessage kXgSystemOn = test::sysex({0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});

MidiMessage bankMsb(int ch, int msb) {
    return channelMessage(0xB0 | ch, 0, msb);
}
MidiMessage program(int ch, int p) {
    return channelMessage(0xC0 | ch, p);
}
MidiMessage xgPartMode(int part, int mode) {
    return test::sysex({0xF0, 0x43, 0x10, 0x4C, 0x08, part, 0x07, mode, 0xF7});
}

// Set-up messages as a style sends them, then a note on each channel asked
// about; the answer is the preset each channel then plays.
class FluidSynthDrums : public test::SynthFixture {
protected:
    std::vector<FluidSynthPort::ChannelPreset> play(const std::vector<MidiMessage>& setup,
                                                    const std::vector<int>& channels) {
        for (const MidiMessage& m : setup) port->send(m);
        for (int ch : channels) port->send(noteOn(ch, kSnare));
        render(*port, 0.05);
        std::vector<FluidSynthPort::ChannelPreset> presets;
        for (int ch : channels) {
            const auto p = port->channelPreset(ch);
            EXPECT_TRUE(p.has_value()) << "channel " << ch;
            presets.push_back(p.value_or(FluidSynthPort::ChannelPreset{-1, -1}));
        }
        return presets;
    }
};

// GM System On resets every channel but must leave bank MSB 127 a drum kit.
TEST_F(FluidSynthDrums, AfterGmSystemOnBankMsb127StillSelectsADrumKit) {
    const auto p = play({bankMsb(0, 127), program(0, 0), kGmSystemOn, bankMsb(kSubRhythm, 127), program(kSubRhythm, 0)},
                        {0, kSubRhythm, kSnareChannel});
    EXPECT_EQ(p[0].bank, 0) << "the reset makes channel 1 melodic again";
    EXPECT_EQ(p[1].bank, kDrumBank);
    EXPECT_EQ(p[2].bank, kDrumBank);
}

// XG part mode makes a drum part, whichever comes first, it or the program.
TEST_F(FluidSynthDrums, XgPartModeMakesADrumPartAndNormalMakesItMelodicAgain) {
    auto p = play({kXgSystemOn, program(kSubRhythm, 0), xgPartMode(kSubRhythm, 1)}, {kSubRhythm});
    EXPECT_EQ(p[0].bank, kDrumBank);
    p = play({xgPartMode(kSubRhythm, 0), program(kSubRhythm, 4)}, {kSubRhythm});
    EXPECT_EQ(p[0].bank, 0);
    EXPECT_EQ(p[0].program, 4);
}

// Channel 10 keeps its kit after a melodic bank select: program 70 (a kit in
// neither default set, nor its group of eight) falls back to the standard kit,
// not to a piano. Only part mode normal makes it melodic, with melodic programs.
TEST_F(FluidSynthDrums, Channel10StaysADrumChannelAfterBankMsb0) {
    auto p = play({bankMsb(kSnareChannel, 0), program(kSnareChannel, 70)}, {kSnareChannel});
    EXPECT_EQ(p[0].bank, kDrumBank);
    EXPECT_EQ(p[0].program, 0);
    p = play({xgPartMode(kSnareChannel, 0), program(kSnareChannel, 0)}, {kSnareChannel});
    EXPECT_EQ(p[0].bank, 0) << "a piano, not the standard kit";
}

}  // namespace
}  // namespace vornel
