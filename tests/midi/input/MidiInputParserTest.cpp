#include <gtest/gtest.h>

#include <vector>

#include "midi/MidiVocabulary.h"
#include "midi/input/MidiInputParser.h"

namespace vornel {
namespace {

std::vector<ChannelMessage> parse(MidiInputParser& parser, std::vector<std::uint8_t> bytes) {
    std::vector<ChannelMessage> out;
    parser.feed(bytes.data(), bytes.size(), [&](const ChannelMessage& m) { out.push_back(m); });
    return out;
}

std::vector<ChannelMessage> parse(std::vector<std::uint8_t> bytes) {
    MidiInputParser parser;
    return parse(parser, std::move(bytes));
}

TEST(MidiInputParser, RunningStatusAndRealTimeBytesInsideMessages) {
    // Note On C4, then E4 and G4 by running status, a clock and an active
    // sensing byte falling between data bytes, then E4 released by velocity 0.
    const auto got = parse({midi::kNoteOn, 60, 100, 0xF8, 64, 0xFE, 90, 67, 0xF8, 80, 64, 0});
    const std::vector<ChannelMessage> want{
        {midi::kNoteOn, 60, 100}, {midi::kNoteOn, 64, 90}, {midi::kNoteOn, 67, 80}, {midi::kNoteOff, 64, 0}};
    EXPECT_EQ(got, want);
}

TEST(MidiInputParser, TwoByteMessagesAndMessagesSplitAcrossCalls) {
    MidiInputParser parser;
    const std::uint8_t program = midi::statusOf(midi::kProgramChange, 2);
    EXPECT_TRUE(parse(parser, {midi::kControlChange, midi::cc::kSustain}).empty());
    EXPECT_EQ(parse(parser, {127, program, 5, 6}),
              (std::vector<ChannelMessage>{
                  {midi::kControlChange, midi::cc::kSustain, 127}, {program, 5, 0}, {program, 6, 0}}));
    EXPECT_EQ(parse(parser, {midi::kPitchBend, midi::kBendCentreLsb, midi::kBendCentreMsb}),
              (std::vector<ChannelMessage>{{midi::kPitchBend, midi::kBendCentreLsb, midi::kBendCentreMsb}}));
}

TEST(MidiInputParser, SysExAndSystemCommonAreSkippedAndEndRunningStatus) {
    // A SysEx (with a clock inside), then data bytes with no status of their
    // own: they belong to nothing. A song position pointer ends running status.
    EXPECT_EQ(parse({midi::kNoteOn, 60, 100, midi::kSysEx, 0x43, 0x10, 0xF8, 0x4C, midi::kSysExEnd, 62, 100,
                     midi::kNoteOn, 62, 100, 0xF2, 1, 2, 64, 1}),
              (std::vector<ChannelMessage>{{midi::kNoteOn, 60, 100}, {midi::kNoteOn, 62, 100}}));
    // A SysEx cut short by a status byte: the message after it still counts.
    EXPECT_EQ(parse({midi::kSysEx, 0x7E, 0x01, midi::kNoteOn, 48, 70}),
              (std::vector<ChannelMessage>{{midi::kNoteOn, 48, 70}}));
    // A status byte in the middle of a message abandons the half message.
    EXPECT_EQ(parse({midi::kNoteOn, 60, midi::kNoteOff, 60, 0}),
              (std::vector<ChannelMessage>{{midi::kNoteOff, 60, 0}}));
}

}  // namespace
}  // namespace vornel
