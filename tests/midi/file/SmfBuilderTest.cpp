// The builder writes the files every reader test reads, so its bytes are
// checked here against the file format itself, byte by byte.
#include <gtest/gtest.h>

#include "support/SmfBuilder.h"

namespace vornel::test {
namespace {

TEST(SmfBuilder, EncodesVariableLengthQuantitiesAsTheFileFormatDoes) {
    // The examples of the Standard MIDI File format's own table.
    EXPECT_EQ(varLen(0x00), (Bytes{0x00}));
    EXPECT_EQ(varLen(0x40), (Bytes{0x40}));
    EXPECT_EQ(varLen(0x7F), (Bytes{0x7F}));
    EXPECT_EQ(varLen(0x80), (Bytes{0x81, 0x00}));
    EXPECT_EQ(varLen(0x2000), (Bytes{0xC0, 0x00}));
    EXPECT_EQ(varLen(0x3FFF), (Bytes{0xFF, 0x7F}));
    EXPECT_EQ(varLen(0x4000), (Bytes{0x81, 0x80, 0x00}));
    EXPECT_EQ(varLen(0x100000), (Bytes{0xC0, 0x80, 0x00}));
    EXPECT_EQ(varLen(0x1FFFFF), (Bytes{0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(varLen(0x200000), (Bytes{0x81, 0x80, 0x80, 0x00}));
    EXPECT_EQ(varLen(0x8000000), (Bytes{0xC0, 0x80, 0x80, 0x00}));
    EXPECT_EQ(varLen(0xFFFFFFF), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(SmfBuilder, WritesHeaderTrackAndRunningStatusByteForByte) {
    SmfBuilder file(0, 96);
    file.addTrack()
        .useRunningStatus()
        .noteOn(0, 0, 60, 100)
        .noteOn(96, 0, 60, 0)
        .marker(0, "A")
        .noteOn(0, 0, 62, 1)
        .programChange(0, 1, 5)
        .programChange(0, 1, 6)
        .endOfTrack();
    const Bytes expected = {
        'M',  'T',  'h',  'd',  0,   0, 0, 6,  0, 0, 0, 1, 0, 96,  //
        'M',  'T',  'r',  'k',  0,   0, 0, 25,                     //
        0x00, 0x90, 60,   100,                                     //
        0x60, 60,   0,                                             // running status
        0x00, 0xFF, 0x06, 0x01, 'A',                               //
        0x00, 0x90, 62,   1,                                       // the meta event broke it
        0x00, 0xC1, 5,                                             //
        0x00, 6,                                                   //
        0x00, 0xFF, 0x2F, 0x00,
    };
    EXPECT_EQ(file.build(), expected);
}

TEST(SmfBuilder, RecordsWhereEachEventEndsAndItsTick) {
    TrackBuilder t;
    t.noteOn(10, 0, 60, 100).sysEx(0x80, {0x7E, 0xF7}).endOfTrack(5);
    EXPECT_EQ(t.eventEnds(), (std::vector<std::size_t>{4, 10, 14}));
    EXPECT_EQ(t.tick(), 10u + 0x80u + 5u);
    EXPECT_EQ(t.eventCount(), 3);
}

TEST(SmfBuilder, OverridesHeaderAndChunkLengthsAndCutsTheFile) {
    SmfBuilder file(1, 480);
    file.headerLength(8).declaredTracks(3);
    file.addTrack().endOfTrack().declaredLength(9);
    file.chunk("CASM", {1, 2}, 0x01020304).appendRaw({0xEE});
    const Bytes expected = {
        'M',  'T', 'h', 'd', 0, 0, 0, 8, 0,    1,    0,    3,    0x01, 0xE0, 0, 0,  //
        'M',  'T', 'r', 'k', 0, 0, 0, 9, 0x00, 0xFF, 0x2F, 0x00,                    //
        'C',  'A', 'S', 'M', 1, 2, 3, 4, 1,    2,                                   //
        0xEE,
    };
    EXPECT_EQ(file.build(), expected);

    file.dropLast(3);
    EXPECT_EQ(file.build(), Bytes(expected.begin(), expected.end() - 3));
    file.truncateTo(10).dropLast(0);
    EXPECT_EQ(file.build(), Bytes(expected.begin(), expected.begin() + 10));
}

TEST(SmfBuilder, WritesTempoTimeSignatureAndSystemExclusiveAsStored) {
    TrackBuilder t;
    t.tempo(0, 0x07A120).timeSignature(0, 6, 3).gmOn(0).sysExEscape(0, {0xF0, 0x01});
    const Bytes expected = {
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        //
        0x00, 0xFF, 0x58, 0x04, 6,    3,    24,   8,     //
        0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  //
        0x00, 0xF7, 0x02, 0xF0, 0x01,
    };
    EXPECT_EQ(t.body(), expected);
}

}  // namespace
}  // namespace vornel::test
