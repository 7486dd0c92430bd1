#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/SynthFixture.h"

namespace vornel {
namespace {

using test::channelMessage;
using Preset = FluidSynthPort::ChannelPreset;

constexpr int kKits = 128;

MidiMessage bankMsb(int ch, int msb) {
    return channelMessage(0xB0 | ch, 0, msb);
}
MidiMessage bankLsb(int ch, int lsb) {
    return channelMessage(0xB0 | ch, 32, lsb);
}
MidiMessage program(int ch, int p) {
    return channelMessage(0xC0 | ch, p);
}

// The style's requests as a style sends them, through the real synthesizer
// and its default SoundFont.
class FluidSynthVoices : public test::SynthFixture {
protected:
    bool museScoreGeneral() const { return port->soundFontPath().ends_with("MuseScore_General_Lite.sf3"); }

    Preset presetAfter(const std::vector<MidiMessage>& messages, int ch) {
        for (const MidiMessage& m : messages) port->send(m);
        render(*port, 0.01);
        return port->channelPreset(ch).value_or(Preset{-1, -1});
    }
    // The peak of one note on `ch`, from its start.
    float peakOf(int ch, int key) {
        port->send(test::noteOn(ch, key));
        const test::Stereo s = render(*port, 0.3);
        port->send(test::noteOff(ch, key));
        float peak = 0.0f;
        for (float v : s.left) peak = std::max(peak, std::abs(v));
        return peak;
    }
};

TEST_F(FluidSynthVoices, AnXgVariationPlaysTheSetsVariationOfTheSameProgram) {
    const Preset p = presetAfter({bankMsb(0, 0), bankLsb(0, 8), program(0, 25)}, 0);
    EXPECT_EQ(p.program, 25);
    EXPECT_EQ(p.bank, museScoreGeneral() ? 8 : 0) << "12-String Guitar where the set has it";
    EXPECT_GT(peakOf(0, 60), kThreshold);
}

// MuseScore General's bank 17 flute plays only under a breath controller.
TEST_F(FluidSynthVoices, AControllerDrivenPresetIsPassedOverForOneThatSounds) {
    const Preset p = presetAfter({bankMsb(1, 0), bankLsb(1, 17), program(1, 73)}, 1);
    EXPECT_EQ(p.bank, 0);
    EXPECT_EQ(p.program, 73);
    EXPECT_GT(peakOf(1, 72), kThreshold);
}

TEST_F(FluidSynthVoices, AKitOnAPartOfItsOwnIsTheKitOrItsGroups) {
    EXPECT_EQ(presetAfter({bankMsb(8, 127), program(8, 25)}, 8).bank, kKits);
    EXPECT_EQ(port->channelPreset(8)->program, 25) << "TR-808";
    EXPECT_GT(peakOf(8, kSnare), kThreshold);
    const Preset p = presetAfter({program(8, 27)}, 8);  // a kit neither set has
    EXPECT_EQ(p.bank, kKits);
    EXPECT_EQ(p.program, 24) << "the electronic group's first kit";
}

// The bank select waits for a program change, as on any MIDI synthesizer.
TEST_F(FluidSynthVoices, ABankSelectAloneChangesNothingUntilTheProgramChange) {
    EXPECT_EQ(presetAfter({program(2, 25)}, 2).bank, 0) << "a program change before any bank select";
    EXPECT_EQ(presetAfter({bankLsb(2, 8)}, 2).bank, 0);
    EXPECT_EQ(presetAfter({program(2, 25)}, 2).bank, museScoreGeneral() ? 8 : 0);
}

}  // namespace
}  // namespace vornel
