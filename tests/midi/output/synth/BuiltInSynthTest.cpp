#include <gtest/gtest.h>

#include "midi/output/synth/BuiltInSynth.h"
#include "midi/output/synth/FluidSynthPort.h"

namespace vornel {
namespace {

TEST(BuiltInSynth, NameCarriesTheSoundFontsName) {
    EXPECT_EQ(BuiltInSynth::nameFor("/usr/share/sounds/sf2/TimGM6mb.sf2"),
              "Vornel Synthesizer (FluidSynth, TimGM6mb)");
    EXPECT_EQ(BuiltInSynth::nameFor(""), "Vornel Synthesizer (FluidSynth, no SoundFont)");
    EXPECT_EQ(BuiltInSynth::name().rfind("Vornel Synthesizer (FluidSynth, ", 0), 0u);
}

TEST(BuiltInSynth, CreatesAnUnopenedTimedPort) {
    std::unique_ptr<MidiPort> port = BuiltInSynth::create();
    ASSERT_NE(port, nullptr);
    EXPECT_NE(dynamic_cast<TimedPort*>(port.get()), nullptr);
    EXPECT_FALSE(port->isOpen());
}

}  // namespace
}  // namespace vornel
