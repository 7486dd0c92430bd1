// Damaged, odd and hostile files: every whole event before the damage is
// kept, nothing is read outside the file, and memory stays in proportion.
#include <gtest/gtest.h>

#include "ReaderTestUtil.h"
#include "midi/MidiVocabulary.h"
#include "midi/file/SmfParser.h"
#include "support/StyleLike.h"

namespace vornel::test {
namespace {

using Events = std::vector<ReadEvent>;

const Bytes kGarbage = {0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x02, 0x03, 0x04, 0x05};

int trackCountOf(const Bytes& bytes) {
    return loaded(bytes).TrackCount();
}

// ---- Not a MIDI file, or no usable header ----

TEST(MidifileRobustness, EmptyOrNonMidiBytesHaveNoTracks) {
    EXPECT_EQ(trackCountOf({}), 0);
    EXPECT_EQ(trackCountOf(bytesOf("MThd")), 0);
    EXPECT_EQ(trackCountOf(bytesOf("RIFF\x10\0\0\0RMIDdata")), 0);
    EXPECT_EQ(trackCountOf(bytesOf("mthd\0\0\0\6\0\0\0\1\0\x60")), 0);  // wrong case
    Bytes mtrkFirst = SmfBuilder::chunkBytes("MTrk", {0x00, 0xFF, 0x2F, 0x00});
    EXPECT_EQ(trackCountOf(mtrkFirst), 0);
}

TEST(MidifileRobustness, HeaderShorterThanSixBytesMakesTheFileUnreadable) {
    for (std::uint32_t length : {0u, 2u, 4u, 5u}) {
        SmfBuilder file(0, 96);
        file.headerLength(length);
        file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
        EXPECT_EQ(trackCountOf(file.build()), 0) << length;
    }
}

TEST(MidifileRobustness, HeaderLengthBelowSixIsRefusedEvenWithSixBytesThere) {
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1, 0, 96};
    const Bytes track = SmfBuilder::chunkBytes("MTrk", {0x00, 0x90, 60, 1, 0x00, 0xFF, 0x2F, 0x00});
    file.insert(file.end(), track.begin(), track.end());
    EXPECT_EQ(trackCountOf(file), 0);
    file[7] = 6;
    EXPECT_EQ(trackCountOf(file), 1);
}

TEST(MidifileRobustness, LongerHeaderIsReadAndItsExtraBytesSkipped) {
    SmfBuilder file(1, 480);
    file.headerLength(10);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.TrackCount(), 1);
    EXPECT_EQ(f.Resolution(), 480);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), endOfTrack()}));
}

TEST(MidifileRobustness, HeaderRunningPastTheEndMakesTheFileUnreadable) {
    SmfBuilder file(0, 96);
    file.headerLength(40);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    file.truncateTo(30);
    EXPECT_EQ(trackCountOf(file.build()), 0);
    EXPECT_EQ(trackCountOf(Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0}), 0);
}

// ---- Track count against MTrk chunks ----

TEST(MidifileRobustness, HeaderWithZeroTracksHasNoTracksEvenWithMTrkChunks) {
    SmfBuilder file(1, 96);
    file.declaredTracks(0);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.TrackCount(), 0);
    EXPECT_EQ(f.Resolution(), 96);  // the header itself was read
}

TEST(MidifileRobustness, HeaderIsKeptAsWrittenWhateverTheTracksAre) {
    SmfBuilder file(2, 0xE728);
    file.declaredTracks(5);
    file.addTrack().endOfTrack();
    const SmfData data = SmfParser::parse(file.build());
    EXPECT_TRUE(data.hasHeader());
    EXPECT_EQ(data.format(), 2);  // read like the other formats
    EXPECT_EQ(data.declaredTracks(), 5);
    EXPECT_EQ(data.trackCount(), 1);
    EXPECT_EQ(data.division(), 0xE728);
    EXPECT_TRUE(data.isSmpte());
}

TEST(MidifileRobustness, MTrkChunksBeyondTheHeadersCountAreNotTracks) {
    SmfBuilder file(1, 96);
    file.declaredTracks(1);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    file.addTrack().tempo(0, 1000).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.TrackCount(), 1);
    EXPECT_EQ(f.Tempo(), 500000);  // the tempo stands in an undeclared chunk
}

TEST(MidifileRobustness, FewerMTrkChunksThanTheHeaderSaysReportsThoseFound) {
    SmfBuilder file(1, 96);
    file.declaredTracks(5);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    file.chunk("XFKM", bytesOf("karaoke"));
    file.addTrack().noteOn(0, 1, 61, 2).endOfTrack();
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(readTrack(f, 2), (Events{channel(midi::statusOf(midi::kNoteOn, 1), 61, 2), endOfTrack()}));
}

TEST(MidifileRobustness, UnknownChunksAnywhereAreSkippedByTheirLength) {
    SmfBuilder file(1, 96);
    file.chunk("XFIH", bytesOf("MTrk\0\0\0\4\0\xFF\x2F\0"));  // looks like a track inside
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    file.chunk("\0\0\0\0", {});
    file.addTrack().noteOn(0, 1, 61, 2).endOfTrack();
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), endOfTrack()}));
    EXPECT_EQ(readTrack(f, 2), (Events{channel(midi::statusOf(midi::kNoteOn, 1), 61, 2), endOfTrack()}));
}

TEST(MidifileRobustness, MTrkChunksInsideOtherChunksAreNotTracks) {
    SmfBuilder file(0, 1920);
    file.declaredTracks(4);  // room for more: only the chunk walk decides
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    file.styleChunks();
    Midifile f = loaded(file);
    EXPECT_EQ(f.TrackCount(), 1);
}

TEST(MidifileRobustness, TrackCountStopsAt32767) {
    SmfBuilder file(1, 96);
    file.declaredTracks(0xFFFF);
    Bytes empty;
    for (int i = 0; i < 32800; ++i) file.appendRaw(SmfBuilder::chunkBytes("MTrk", empty));
    Midifile f = loaded(file);
    EXPECT_EQ(f.TrackCount(), 32767);
    f.Track(32767);
    EXPECT_EQ(f.EventCount(), 0);
}

// ---- Chunks cut short ----

TEST(MidifileRobustness, TrackEndingInsideItsLastEventKeepsTheWholeEventsBeforeIt) {
    SmfBuilder file(1, 96);
    file.declaredTracks(2);
    TrackBuilder& t = file.addTrack();
    t.noteOn(0, 0, 60, 1).marker(5, "Main A").noteOn(7, 0, 62, 2);
    t.declaredLength(static_cast<std::uint32_t>(t.eventEnds()[1] + 2));
    file.appendRaw(kGarbage);  // the walk lands in the cut event, then in this
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 1);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), metaEvent(6, 5, "Main A")}));
}

TEST(MidifileRobustness, FileCutAnywhereKeepsExactlyTheEventsThatAreWhole) {
    StyleOptions options;
    options.sections = {{"Main A", 1}, {"Fill In AA", 1}};
    options.channels = {9, 10};
    const SmfBuilder file = styleLike(options);
    const Bytes full = file.build();
    Midifile whole = loaded(full);
    const Events all = readTrack(whole, 1);
    const std::vector<std::size_t>& ends = file.track(0).eventEnds();
    ASSERT_EQ(all.size(), ends.size());

    constexpr std::size_t kBodyStart = 14 + 8;  // MThd chunk, MTrk chunk header
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        Midifile f = loaded(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
        if (cut < kBodyStart) {
            EXPECT_EQ(f.TrackCount(), 0) << "cut at " << cut;
            continue;
        }
        ASSERT_EQ(f.TrackCount(), 1) << "cut at " << cut;
        const auto whole =
            static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), cut - kBodyStart) - ends.begin());
        EXPECT_EQ(readTrack(f, 1), Events(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(whole)))
            << "cut at " << cut;
    }
}

TEST(MidifileRobustness, TrackLongerThanTheFileKeepsItsWholeEvents) {
    SmfBuilder file(0, 96);
    TrackBuilder& t = file.addTrack();
    t.noteOn(0, 0, 60, 1).noteOn(3, 0, 62, 2).endOfTrack();
    t.declaredLength(0xFFFFFFFF);
    Midifile f = loaded(file);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), channel(midi::kNoteOn, 62, 2, 3), endOfTrack()}));
}

TEST(MidifileRobustness, TrailingChunkRunningPastTheEndLeavesTheTracksWhole) {
    SmfBuilder file(1, 96);
    file.declaredTracks(2);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    file.chunk("AASM", {1, 2, 3}, 0x7FFFFFFF);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();  // swallowed by the chunk before
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 1);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), endOfTrack()}));
}

TEST(MidifileRobustness, GarbageAfterTheTracksIsIgnored) {
    SmfBuilder file(0, 96);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    file.appendRaw(kGarbage).appendRaw(bytesOf("MTrk"));
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 1);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), endOfTrack()}));
}

// ---- Inside a track ----

TEST(MidifileRobustness, EndOfTrackEndsTheTrackWhateverFollowsInTheChunk) {
    SmfBuilder file(1, 96);
    file.addTrack().noteOn(0, 0, 60, 1).endOfTrack(4).noteOn(0, 0, 61, 1).raw(kGarbage);
    file.addTrack().noteOn(0, 1, 62, 1).endOfTrack();
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), endOfTrack(4)}));
    EXPECT_EQ(readTrack(f, 2), (Events{channel(midi::statusOf(midi::kNoteOn, 1), 62, 1), endOfTrack()}));
}

TEST(MidifileRobustness, TrackWithoutEndOfTrackEndsWithItsLastEvent) {
    SmfBuilder file(1, 96);
    file.addTrack().noteOn(0, 0, 60, 1).noteOn(9, 0, 60, 0);
    file.addTrack();
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1), channel(midi::kNoteOn, 60, 0, 9)}));
    f.Track(2);
    EXPECT_EQ(f.EventCount(), 0);
}

TEST(MidifileRobustness, RunningStatusGoesOnAfterMetaAndSystemExclusiveEvents) {
    SmfBuilder file(0, 96);
    file.addTrack()
        .controlChange(0, 2, midi::cc::kVolume, 100)
        .marker(0, "Main A")
        .running(1, {midi::cc::kPan, 64})
        .gmOn(0)
        .running(2, {midi::cc::kExpression, 127})
        .sysExEscape(0, {0xFA})
        .running(3, {midi::cc::kModulation, 0})
        .endOfTrack();
    Midifile f = loaded(file);
    const Events events = readTrack(f, 1);
    ASSERT_EQ(events.size(), 8u);
    const int control = midi::statusOf(midi::kControlChange, 2);
    EXPECT_EQ(events[2], channel(control, midi::cc::kPan, 64, 1));
    EXPECT_EQ(events[4], channel(control, midi::cc::kExpression, 127, 2));
    EXPECT_EQ(events[6], channel(control, midi::cc::kModulation, 0, 3));
}

TEST(MidifileRobustness, DataByteBeforeAnyStatusEndsTheTrack) {
    SmfBuilder file(1, 96);
    file.addTrack().running(0, {60, 100}).noteOn(0, 0, 60, 1).endOfTrack();
    file.addTrack().marker(0, "x").running(0, {60, 100}).endOfTrack();  // a meta sets none
    file.addTrack().noteOn(0, 0, 64, 1).endOfTrack();
    Midifile f = loaded(file);
    ASSERT_EQ(f.TrackCount(), 3);
    EXPECT_EQ(readTrack(f, 1), Events{});
    EXPECT_EQ(readTrack(f, 2), (Events{metaEvent(6, 0, "x")}));
    EXPECT_EQ(readTrack(f, 3), (Events{channel(midi::kNoteOn, 64, 1), endOfTrack()}));
}

TEST(MidifileRobustness, RunningStatusDoesNotCarryFromOneTrackToTheNext) {
    SmfBuilder file(1, 96);
    file.addTrack().noteOn(0, 0, 60, 1);
    file.addTrack().running(0, {61, 1}).endOfTrack();
    Midifile f = loaded(file);
    f.Track(2);
    EXPECT_EQ(f.EventCount(), 0);
}

TEST(MidifileRobustness, SystemMessagesThatCannotStandInAFileEndTheTrack) {
    for (std::uint8_t status : {0xF1, 0xF2, 0xF3, 0xF4, 0xF6, 0xF8, 0xFA, 0xFE}) {
        SmfBuilder file(0, 96);
        file.addTrack().noteOn(0, 0, 60, 1).raw({0x00, status, 0x00, 0x00}).endOfTrack();
        Midifile f = loaded(file);
        EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1)})) << int{status};
    }
}

TEST(MidifileRobustness, StatusByteWhereADataByteIsDueEndsTheTrack) {
    SmfBuilder file(0, 96);
    file.addTrack().noteOn(0, 0, 60, 1).raw({0x00, 0x90, 0x3C, 0x80, 0x00}).endOfTrack();
    EXPECT_EQ(eventsOf(file), (Events{channel(midi::kNoteOn, 60, 1)}));
    SmfBuilder program(0, 96);
    program.addTrack().programChange(0, 0, 1).raw({0x00, 0xC0, 0xFF}).endOfTrack();
    EXPECT_EQ(eventsOf(program), (Events{channel(midi::kProgramChange, 1, 0)}));
}

TEST(MidifileRobustness, NumbersOfMoreThanFourBytesEndTheTrack) {
    const Bytes fiveByteDelta = {0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 1};
    const Bytes fiveByteLength = {0x00, 0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x01, 'a'};
    const Bytes fiveByteSysEx = {0x00, 0xF0, 0x80, 0x80, 0x80, 0x80, 0x01, 0xF7};
    for (const Bytes& bad : {fiveByteDelta, fiveByteLength, fiveByteSysEx}) {
        SmfBuilder file(1, 96);
        file.addTrack().noteOn(0, 0, 60, 1).raw(bad).endOfTrack();
        file.addTrack().noteOn(0, 1, 61, 1).endOfTrack();
        Midifile f = loaded(file);
        ASSERT_EQ(f.TrackCount(), 2);
        EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1)}));
        EXPECT_EQ(readTrack(f, 2), (Events{channel(midi::statusOf(midi::kNoteOn, 1), 61, 1), endOfTrack()}));
    }
    // Four bytes, even with needless leading zero groups, are fine.
    SmfBuilder file(0, 96);
    file.addTrack().raw({0x80, 0x80, 0x80, 0x05, 0x90, 60, 1}).endOfTrack();
    EXPECT_EQ(eventsOf(file), (Events{channel(midi::kNoteOn, 60, 1, 5), endOfTrack()}));
}

TEST(MidifileRobustness, MetaOrSystemExclusiveRunningPastItsTrackEndsTheTrack) {
    const Bytes metaTooLong = {0x00, 0xFF, 0x06, 0x20, 'M', 'a', 'i', 'n'};
    const Bytes sysExTooLong = {0x00, 0xF0, 0x7F, 0x7E, 0x7F};
    const Bytes escapeTooLong = {0x00, 0xF7, 0x05, 0xF8};
    const Bytes metaWithoutType = {0x00, 0xFF};
    const Bytes metaWithoutLength = {0x00, 0xFF, 0x03};
    for (const Bytes& bad : {metaTooLong, sysExTooLong, escapeTooLong, metaWithoutType, metaWithoutLength}) {
        // Once inside the file (the next track follows), once at its very end.
        SmfBuilder file(1, 96);
        file.addTrack().noteOn(0, 0, 60, 1).raw(bad);
        file.addTrack().noteOn(0, 1, 61, 1).endOfTrack();
        Midifile f = loaded(file);
        ASSERT_EQ(f.TrackCount(), 2);
        EXPECT_EQ(readTrack(f, 1), (Events{channel(midi::kNoteOn, 60, 1)}));
        EXPECT_EQ(readTrack(f, 2), (Events{channel(midi::statusOf(midi::kNoteOn, 1), 61, 1), endOfTrack()}));

        SmfBuilder last(0, 96);
        last.addTrack().noteOn(0, 0, 60, 1).raw(bad);
        Midifile g = loaded(last);
        EXPECT_EQ(readTrack(g, 1), (Events{channel(midi::kNoteOn, 60, 1)}));
    }
}

// ---- Memory ----

TEST(MidifileRobustness, TextsAreNotCopiedPerEvent) {
    SmfBuilder file(0, 96);
    TrackBuilder& t = file.addTrack();
    for (int i = 0; i < 2000; ++i) t.text(0, std::string(200, 'a' + i % 26));
    t.endOfTrack();
    const Bytes bytes = file.build();
    const SmfData data = SmfParser::parse(bytes);
    ASSERT_EQ(data.eventCount(0), 2001u);
    EXPECT_LT(data.footprintBytes(), bytes.size() * 5 / 4);
}

TEST(MidifileRobustness, TheSmallestEventsCostAFixedFactorOfTheirBytes) {
    // Running-status program changes: two bytes a message, the densest a file gets.
    SmfBuilder file(0, 96);
    TrackBuilder& t = file.addTrack();
    t.programChange(0, 0, 1);
    for (int i = 0; i < 100000; ++i) t.running(0, {static_cast<std::uint8_t>(i % 128)});
    const Bytes bytes = file.build();
    const SmfData data = SmfParser::parse(bytes);
    ASSERT_EQ(data.eventCount(0), 100001u);
    EXPECT_LE(data.footprintBytes(), bytes.size() * (1 + sizeof(SmfEvent) / 2) + 1024);
}

}  // namespace
}  // namespace vornel::test
