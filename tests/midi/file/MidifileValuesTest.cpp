// The file-level values: resolution, the first tempo and time signature.
#include <gtest/gtest.h>

#include "ReaderTestUtil.h"
#include "midi/MidiVocabulary.h"

namespace vornel::test {
namespace {

TEST(MidifileValues, FileWithoutTempoOrTimeSignatureReads120BeatsPerMinuteInFourFour) {
    SmfBuilder file(1, 1920);
    file.addTrack().noteOn(0, 0, 60, 100).endOfTrack(1920);
    Midifile f = loaded(file);
    EXPECT_EQ(f.Tempo(), 500000);
    EXPECT_EQ(f.TimeSigNum(), 4);
    EXPECT_EQ(f.TimeSigDenExp(), 2);
    EXPECT_EQ(f.Resolution(), 1920);
}

TEST(MidifileValues, ResolutionIsTheHeadersTicksPerQuarterNote) {
    for (int division : {96, 480, 960, 1920, 0x7FFF}) {
        SmfBuilder file(0, division);
        file.addTrack().endOfTrack();
        EXPECT_EQ(loaded(file).Resolution(), division);
    }
}

// A zero resolution is reported as written; the events are read as usual and
// the callers guard their divisions.
TEST(MidifileValues, ZeroResolutionIsReportedAndTheEventsAreStillRead) {
    SmfBuilder file(0, 0);
    file.addTrack().noteOn(10, 0, 60, 100).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.Resolution(), 0);
    EXPECT_EQ(readTrack(f, 1), (std::vector<ReadEvent>{channel(midi::kNoteOn, 60, 100, 10), endOfTrack()}));
}

TEST(MidifileValues, TempoAndTimeSignatureAreTheFirstOnesOfTheFile) {
    SmfBuilder file(1, 480);
    file.addTrack().tempo(0, 600000).tempo(480, 400000).timeSignature(0, 3, 2).timeSignature(0, 6, 3).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.Tempo(), 600000);
    EXPECT_EQ(f.TimeSigNum(), 3);
    EXPECT_EQ(f.TimeSigDenExp(), 2);
}

TEST(MidifileValues, FirstByTickAcrossTracksAndOnEqualTicksTheLowerTrack) {
    SmfBuilder file(1, 480);
    file.addTrack().tempo(100, 300000).timeSignature(0, 2, 1).endOfTrack();
    file.addTrack().tempo(99, 700000).timeSignature(1, 7, 3).endOfTrack();
    file.addTrack().tempo(99, 800000).timeSignature(1, 12, 3).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.Tempo(), 700000);  // tick 99 beats tick 100; of two at 99 the lower track
    EXPECT_EQ(f.TimeSigNum(), 2);  // tick 100 in tracks 1, 2 and 3: the lowest track
    EXPECT_EQ(f.TimeSigDenExp(), 1);
}

TEST(MidifileValues, TempoAndTimeSignatureMayComeFromDifferentTracks) {
    SmfBuilder file(1, 480);
    file.addTrack().timeSignature(0, 5, 2).endOfTrack();
    file.addTrack().tempo(0, 250000).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.Tempo(), 250000);
    EXPECT_EQ(f.TimeSigNum(), 5);
    EXPECT_EQ(f.TimeSigDenExp(), 2);
}

// Too short to hold a value: still reported as events, never taken as the
// file's tempo or time signature. Extra bytes after the value are ignored.
TEST(MidifileValues, TooShortTempoOrTimeSignatureEventsAreNotTaken) {
    SmfBuilder file(0, 480);
    file.addTrack()
        .meta(0, 0x51, Bytes{0x07, 0xA1})
        .meta(0, 0x58, Bytes{0x03})
        .meta(10, 0x51, Bytes{0x0F, 0x42, 0x40, 0x99})
        .meta(0, 0x58, Bytes{0x06, 0x03})
        .endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.Tempo(), 1000000);
    EXPECT_EQ(f.TimeSigNum(), 6);
    EXPECT_EQ(f.TimeSigDenExp(), 3);
    f.Track(1);
    EXPECT_EQ(f.EventCount(), 5);
}

// Zero values are the file's and are reported so; the callers guard them.
TEST(MidifileValues, ZeroTempoAndZeroNumeratorAreReportedAsWritten) {
    SmfBuilder file(0, 480);
    file.addTrack().tempo(0, 0).timeSignature(0, 0, 0).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.Tempo(), 0);
    EXPECT_EQ(f.TimeSigNum(), 0);
    EXPECT_EQ(f.TimeSigDenExp(), 0);
}

TEST(MidifileValues, LargestTempoAndTimeSignatureBytesReadUnsigned) {
    SmfBuilder file(0, 480);
    file.addTrack().tempo(0, 0xFFFFFF).timeSignature(0, 255, 255).endOfTrack();
    Midifile f = loaded(file);
    EXPECT_EQ(f.Tempo(), 0xFFFFFF);
    EXPECT_EQ(f.TimeSigNum(), 255);
    EXPECT_EQ(f.TimeSigDenExp(), 255);
}

TEST(MidifileValues, FileValuesDoNotDependOnTheSelectedEvent) {
    SmfBuilder file(1, 960);
    file.addTrack().tempo(0, 545454).timeSignature(0, 6, 3).endOfTrack();
    file.addTrack().tempo(960, 300000).timeSignature(0, 2, 2).endOfTrack();
    Midifile f = loaded(file);
    for (int track : {0, 1, 2, 3}) {
        for (int event : {0, 1, 2, 3, 4}) {
            f.Track(track);
            f.EventIndex(event);
            EXPECT_EQ(f.Tempo(), 545454);
            EXPECT_EQ(f.TimeSigNum(), 6);
            EXPECT_EQ(f.TimeSigDenExp(), 3);
            EXPECT_EQ(f.Resolution(), 960);
        }
    }
}

// SMPTE time counts ticks per second; Resolution reports the ticks of one
// quarter note at the file's tempo, so ticks still convert to milliseconds
// as ticks * Tempo / Resolution / 1000.
TEST(MidifileValues, SmpteDivisionGivesTheTicksOfOneQuarterNoteAtTheFilesTempo) {
    struct Case {
        int division;
        std::uint32_t tempo;
        int resolution;
    };
    const Case cases[] = {
        {0xE728, 500000, 500},      // 25 frames/s x 40 ticks = 1000 ticks/s, half a second
        {0xE728, 1000000, 1000},    // one second per quarter note
        {0xE850, 500000, 960},      // 24 frames/s x 80 ticks
        {0xE250, 500000, 1200},     // 30 frames/s x 80 ticks
        {0xE350, 500000, 1199},     // 29.97 frames/s x 80 ticks = 2397.6 ticks/s
        {0xE2FF, 0xFFFFFF, 32767},  // more than 16 bits hold: the largest value
        {0xE728, 0, 0},             // a tempo of 0 leaves no ticks per quarter note
        {0xE700, 500000, 0},        // 0 ticks per frame
    };
    for (const Case& c : cases) {
        SmfBuilder file(0, c.division);
        file.addTrack().tempo(0, c.tempo).noteOn(25, 0, 60, 1).endOfTrack();
        Midifile f = loaded(file);
        EXPECT_EQ(f.Resolution(), c.resolution) << std::hex << c.division << std::dec << " " << c.tempo;
        f.Track(1);
        EXPECT_EQ(f.EventCount(), 3);
    }
}

TEST(MidifileValues, SmpteDivisionWithoutTempoUsesTheDefaultTempo) {
    SmfBuilder file(0, 0xE728);
    file.addTrack().endOfTrack();
    EXPECT_EQ(loaded(file).Resolution(), 500);
}

}  // namespace
}  // namespace vornel::test
