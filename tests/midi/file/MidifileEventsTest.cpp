// What the event properties show: every event in file order, with its full
// status byte, data bytes, delta, text and system-exclusive data.
#include <gtest/gtest.h>

#include "ReaderTestUtil.h"
#include "midi/MidiVocabulary.h"

namespace vornel::test {
namespace {

using Events = std::vector<ReadEvent>;

TEST(MidifileEvents, ReportsEveryEventOfEveryTrackInFileOrder) {
    SmfBuilder file(1, 480);
    file.addTrack().trackName(0, "Conductor").tempo(0, 400000).endOfTrack(1920);
    file.addTrack().programChange(0, 3, 24).noteOn(10, 3, 64, 90).noteOff(470, 3, 64, 0).text(0, "end").endOfTrack(5);
    Midifile f = loaded(file);

    ASSERT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(readTrack(f, 1), (Events{metaEvent(3, 0, "Conductor"), metaEvent(0x51), endOfTrack(1920)}));
    EXPECT_EQ(readTrack(f, 2),
              (Events{channel(midi::statusOf(midi::kProgramChange, 3), 24, 0),
                      channel(midi::statusOf(midi::kNoteOn, 3), 64, 90, 10),
                      channel(midi::statusOf(midi::kNoteOff, 3), 64, 0, 470), metaEvent(1, 0, "end"), endOfTrack(5)}));
}

TEST(MidifileEvents, ChannelMessagesShowTheirFullStatusWithTheChannelInTheLowBits) {
    SmfBuilder file(0, 96);
    file.addTrack()
        .noteOff(0, 0, 1, 2)
        .noteOn(0, 15, 127, 127)
        .polyPressure(0, 9, 38, 20)
        .controlChange(0, 10, midi::cc::kVolume, 100)
        .programChange(0, 11, 127)
        .channelPressure(0, 12, 33)
        .pitchBend(0, 13, 0x3FFF)
        .endOfTrack();
    Midifile f = loaded(file);
    // One-data-byte messages read 0 as their second data byte.
    EXPECT_EQ(readTrack(f, 1),
              (Events{channel(midi::kNoteOff, 1, 2), channel(midi::statusOf(midi::kNoteOn, 15), 127, 127),
                      channel(midi::statusOf(midi::kPolyPressure, 9), 38, 20),
                      channel(midi::statusOf(midi::kControlChange, 10), midi::cc::kVolume, 100),
                      channel(midi::statusOf(midi::kProgramChange, 11), 127, 0),
                      channel(midi::statusOf(midi::kChannelPressure, 12), 33, 0),
                      channel(midi::statusOf(midi::kPitchBend, 13), 0x7F, 0x7F), endOfTrack()}));
}

TEST(MidifileEvents, RunningStatusIsResolvedForEveryKindOfChannelMessage) {
    SmfBuilder file(0, 96);
    file.addTrack()
        .noteOn(0, 4, 60, 100)
        .running(12, {62, 101})
        .programChange(0, 5, 1)
        .running(0, {2})
        .running(3, {3})
        .channelPressure(0, 6, 9)
        .running(1, {10})
        .pitchBend(0, 7, 0)
        .running(0, {0x7F, 0x40})
        .endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::statusOf(midi::kNoteOn, 4), 60, 100),
                                       channel(midi::statusOf(midi::kNoteOn, 4), 62, 101, 12),
                                       channel(midi::statusOf(midi::kProgramChange, 5), 1, 0),
                                       channel(midi::statusOf(midi::kProgramChange, 5), 2, 0),
                                       channel(midi::statusOf(midi::kProgramChange, 5), 3, 0, 3),
                                       channel(midi::statusOf(midi::kChannelPressure, 6), 9, 0),
                                       channel(midi::statusOf(midi::kChannelPressure, 6), 10, 0, 1),
                                       channel(midi::statusOf(midi::kPitchBend, 7), 0, 0),
                                       channel(midi::statusOf(midi::kPitchBend, 7), 0x7F, 0x40), endOfTrack()}));
}

TEST(MidifileEvents, AbsoluteTicksAreTheSumsOfTheDeltas) {
    SmfBuilder file(1, 1920);
    TrackBuilder& t = file.addTrack();
    std::vector<std::uint64_t> writtenTicks;
    for (std::uint32_t delta : {0u, 1u, 127u, 128u, 16383u, 16384u, 0x0FFFFFFFu, 7u}) {
        t.noteOn(delta, 0, 60, 1);
        writtenTicks.push_back(t.tick());
    }
    t.endOfTrack();
    Midifile f = loaded(file);

    f.Track(1);
    ASSERT_EQ(f.EventCount(), 9);
    std::uint64_t tick = 0;
    for (int e = 1; e <= 8; ++e) {
        f.EventIndex(e);
        tick += static_cast<std::uint32_t>(f.EvDelta());
        EXPECT_EQ(tick, writtenTicks[static_cast<std::size_t>(e - 1)]) << "event " << e;
    }
    f.EventIndex(7);
    EXPECT_EQ(f.EvDelta(), 0x0FFFFFFF);  // the largest delta the format allows
}

TEST(MidifileEvents, MetaEventsShowTypeAndTextUpToTheFirstNul) {
    const std::string turkish = "Ba\xC5\x9Fl\xC4\xB1k \xFC";  // UTF-8 and a Latin-1 byte
    SmfBuilder file(0, 1920);
    file.addTrack()
        .copyright(0, "(c) 2024")
        .trackName(0, std::string("Pop 8Beat\0\0\0", 12))
        .marker(0, "Main A")
        .text(0, std::string("fn:Main A\0", 10))
        .meta(0, 0x05, std::string("la\0la", 5))
        .meta(0, 0x0F, turkish)
        .meta(0, 0x01, std::string())
        .meta(0, 0x01, std::string("\0tail", 5))
        .endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(readTrack(f, 1),
              (Events{metaEvent(2, 0, "(c) 2024"), metaEvent(3, 0, "Pop 8Beat"), metaEvent(6, 0, "Main A"),
                      metaEvent(1, 0, "fn:Main A"), metaEvent(5, 0, "la"), metaEvent(15, 0, turkish),
                      metaEvent(1, 0, ""), metaEvent(1, 0, ""), endOfTrack()}));
}

TEST(MidifileEvents, OnlyMetaTypesOneToFifteenHaveText) {
    SmfBuilder file(0, 480);
    TrackBuilder& t = file.addTrack();
    const std::vector<int> types = {0x00, 0x01, 0x07, 0x0F, 0x10, 0x20, 0x21, 0x54, 0x59, 0x7F, 0xFF};
    for (int type : types) t.meta(0, type, std::string("abc"));
    t.endOfTrack();
    Midifile f = loaded(file);

    f.Track(1);
    ASSERT_EQ(f.EventCount(), static_cast<int>(types.size()) + 1);
    for (std::size_t i = 0; i < types.size(); ++i) {
        f.EventIndex(static_cast<int>(i) + 1);
        const bool isText = types[i] >= 1 && types[i] <= 15;
        EXPECT_EQ(f.EvStatus(), midi::kMeta);
        EXPECT_EQ(f.EvData1(), types[i]);
        EXPECT_EQ(f.EvData2(), 0);
        EXPECT_EQ(f.EvText(), isText ? "abc" : "") << "type " << types[i];
        EXPECT_EQ(f.EvSysEx(), "");
    }
}

TEST(MidifileEvents, SystemExclusiveReadsAsTheCompleteMessageFromF0) {
    const Bytes xgOn = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
    SmfBuilder file(0, 480);
    file.addTrack()
        .xgOn(0)
        .sysEx(5, {0x41, 0x10})  // first packet of a divided message: no F7 yet
        .sysEx(0, {})
        .endOfTrack();
    Midifile f = loaded(file);

    f.Track(1);
    f.EventIndex(1);
    EXPECT_EQ(selectedEvent(f), (ReadEvent{midi::kSysEx, 0, 0, 0, "", str(xgOn)}));
    f.EventIndex(2);
    EXPECT_EQ(selectedEvent(f), (ReadEvent{midi::kSysEx, 0, 0, 5, "", "\xF0\x41\x10"}));
    f.EventIndex(3);
    EXPECT_EQ(selectedEvent(f), (ReadEvent{midi::kSysEx, 0, 0, 0, "", "\xF0"}));
}

// An F7 event carries bytes to be sent exactly as written (a continuation
// packet or a real-time message): it reads as status 247 with those bytes.
TEST(MidifileEvents, EscapedBytesReadAsStatus247WithTheBytesAsWritten) {
    SmfBuilder file(0, 480);
    file.addTrack().sysExEscape(3, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}).sysExEscape(0, {0xFA}).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(readTrack(f, 1), (Events{{midi::kSysExEnd, 0, 0, 3, "", "\xF0\x7E\x7F\x09\x01\xF7"},
                                       {midi::kSysExEnd, 0, 0, 0, "", "\xFA"},
                                       endOfTrack()}));
}

TEST(MidifileEvents, ChannelMessagesHaveNoTextAndNoSystemExclusiveData) {
    SmfBuilder file(0, 480);
    file.addTrack().marker(0, "Main A").noteOn(0, 0, 60, 100).endOfTrack();
    Midifile f = loaded(file);
    f.Track(1);
    f.EventIndex(2);
    EXPECT_EQ(f.EvText(), "");
    EXPECT_EQ(f.EvSysEx(), "");
}

}  // namespace
}  // namespace vornel::test
