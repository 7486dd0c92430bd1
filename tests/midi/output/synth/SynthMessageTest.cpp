#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi/output/synth/SynthMessage.h"
#include "midi/output/synth/SynthTestSupport.h"

namespace vornel {
namespace {

using test::channelMessage;

TEST(SynthMessage, ChannelMessagesKeepTheirBytesAndTwoByteOnesDropTheSecond) {
    SynthMessage m;
    ASSERT_TRUE(SynthMessage::encode(channelMessage(0x93, 60, 100), m));
    EXPECT_EQ(m.kind, SynthMessage::Kind::Channel);
    EXPECT_EQ(m.status, 0x93);
    EXPECT_EQ(m.data1, 60);
    EXPECT_EQ(m.data2, 100);
    // Program change and channel pressure take one data byte: a stale second
    // byte from the caller must not travel along.
    ASSERT_TRUE(SynthMessage::encode(channelMessage(0xC9, 5, 77), m));
    EXPECT_EQ(m.data2, 0);
    ASSERT_TRUE(SynthMessage::encode(channelMessage(0xEF, 0, 64), m));
    EXPECT_EQ(m.status, 0xEF);
    EXPECT_EQ(m.data2, 64);
}

TEST(SynthMessage, SysExIsStoredWithoutItsFraming) {
    SynthMessage m;
    ASSERT_TRUE(SynthMessage::encode(test::sysex({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}), m));
    EXPECT_EQ(m.kind, SynthMessage::Kind::SysEx);
    ASSERT_EQ(m.sysexLength, 4);
    EXPECT_EQ(std::string(m.sysex.data(), 4), std::string("\x7E\x7F\x09\x01"));
    ASSERT_TRUE(SynthMessage::encode(test::sysex({0xF0, 0xF7}), m));
    EXPECT_EQ(m.sysexLength, 0);
}

TEST(SynthMessage, SysExUpTo256BytesFitsAndLongerIsRefused) {
    std::vector<int> bytes(SynthMessage::kMaxSysEx, 0x11);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    SynthMessage m;
    ASSERT_TRUE(SynthMessage::encode(test::sysex(bytes), m));
    EXPECT_EQ(m.sysexLength, SynthMessage::kMaxSysEx - 2);
    bytes.insert(bytes.begin() + 1, 0x22);
    EXPECT_FALSE(SynthMessage::encode(test::sysex(bytes), m));
    EXPECT_EQ(m.kind, SynthMessage::Kind::None);
}

TEST(SynthMessage, UnsendableMessagesAreRefused) {
    SynthMessage m;
    EXPECT_FALSE(SynthMessage::encode(channelMessage(0x90, 128, 1), m));  // transposed too high
    EXPECT_FALSE(SynthMessage::encode(channelMessage(0x90, -1, 1), m));
    EXPECT_FALSE(SynthMessage::encode(channelMessage(0xFF, 0, 0), m));       // meta
    EXPECT_FALSE(SynthMessage::encode(channelMessage(0xF0, 0, 0), m));       // sysex without data
    EXPECT_FALSE(SynthMessage::encode(test::sysex({0xF0, 0x43, 0x10}), m));  // no F7
    EXPECT_EQ(m.kind, SynthMessage::Kind::None);
}

}  // namespace
}  // namespace vornel
