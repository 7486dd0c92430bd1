#include <gtest/gtest.h>

#include <vector>

#include "midi/output/synth/DrumChannels.h"
#include "midi/output/synth/SynthTestSupport.h"

namespace vornel {
namespace {

using Action = DrumChannels::Action;

struct Case {
    const char* what;
    MidiMessage message;
    Action action;
    int channel = -1;  // -1: none named
};

// A GS parameter of one byte, its checksum made as a Roland device checks it.
MidiMessage gs(int a1, int a2, int a3, int value) {
    const int sum = (128 - (a1 + a2 + a3 + value) % 128) % 128;
    return test::sysex({0xF0, 0x41, 0x10, 0x42, 0x12, a1, a2, a3, value, sum, 0xF7});
}
MidiMessage xgPartMode(int part, int mode) {
    return test::sysex({0xF0, 0x43, 0x10, 0x4C, 0x08, part, 0x07, mode, 0xF7});
}

TEST(DrumChannels, ReadsWhatEachMessageDoesToTheDrumChannels) {
    const std::vector<Case> cases = {
        {"GM System On", test::sysex({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}), Action::Reset},
        {"GM2 System On, another device", test::sysex({0xF0, 0x7E, 0x10, 0x09, 0x03, 0xF7}), Action::Reset},
        {"GS reset", test::sysex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}), Action::Reset},
        {"GS reset, bad checksum", test::sysex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x40, 0xF7}),
         Action::Pass},
        {"GS rhythm part, block 0", gs(0x40, 0x10, 0x15, 0x00), Action::SetMelodic, 9},
        {"GS rhythm part, block 1", gs(0x40, 0x11, 0x15, 0x02), Action::SetDrum, 0},
        {"GS rhythm part, block A", gs(0x40, 0x1A, 0x15, 0x01), Action::SetDrum, 10},
        {"XG System On", test::sysex({0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}), Action::Reset},
        {"XG part mode drum", xgPartMode(8, 1), Action::SetDrum, 8},
        {"XG part mode drum set-up 4", xgPartMode(3, 5), Action::SetDrum, 3},
        {"XG part mode normal", xgPartMode(9, 0), Action::SetMelodic, 9},
        {"Master volume", test::sysex({0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x40, 0xF7}), Action::Pass},
        {"Bank MSB 0 on channel 10", test::channelMessage(0xB9, 0, 0), Action::Drop},
        {"Bank MSB 120 on channel 10", test::channelMessage(0xB9, 0, 120), Action::Pass},
        {"Bank MSB 0 on channel 9", test::channelMessage(0xB8, 0, 0), Action::Pass},
    };
    for (const Case& c : cases) {
        SynthMessage m;
        ASSERT_TRUE(SynthMessage::encode(c.message, m)) << c.what;
        const DrumChannels::Decision d = DrumChannels::read(m);
        EXPECT_EQ(d.action, c.action) << c.what;
        EXPECT_EQ(d.channel, c.channel) << c.what;
    }
}

}  // namespace
}  // namespace vornel
