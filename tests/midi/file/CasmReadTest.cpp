// The channel table of a style: found by the reader's chunk walk, handed over
// as bytes, read record by record by CasmParser.
#include <gtest/gtest.h>

#include "ReaderTestUtil.h"
#include "midi/file/CasmParser.h"
#include "midi/file/MidifileDispatch.h"
#include "support/CasmBuilder.h"
#include "support/StyleLike.h"

namespace vornel::test {
namespace {

constexpr std::uint64_t kMinorFamily = 0x7FF00;  // chord types 8..18
constexpr int kMelodyBassOn = TranspositionBlock::kBassOn | TranspositionBlock::kMelody;

SmfBuilder styleWith(const CasmBuilder& casm) {
    StyleOptions o;
    o.foreignChunks = false;
    SmfBuilder file = styleLike(o);
    file.chunk("CASM", casm.body());
    file.otsc();
    return file;
}

CasmTable readTable(const SmfBuilder& file) {
    return CasmParser::parse(loaded(file).ChannelTable());
}

TEST(CasmRead, Sff1RecordsWithTheirCnttTablesAndTheConvertedOnes) {
    RecordFields majorBass;  // Ctab Bass (3); its Cntt says Melody + Bass On
    majorBass.ntt = 3;
    majorBass.chordMask = ((std::uint64_t{1} << 34) - 1) & ~kMinorFamily;
    majorBass.highKey = 3;
    majorBass.lowLimit = 28;
    RecordFields minorBass = majorBass;
    minorBass.source = 11;
    minorBass.chordMask = kMinorFamily;
    minorBass.sourceType = 8;
    minorBass.ntt = 5;  // Harmonic Minor, with no Cntt
    RecordFields drums;
    drums.source = 9;
    drums.destination = 9;
    drums.name = "Drums";
    drums.ntr = TranspositionBlock::kRootFixed;
    drums.chordMask = std::uint64_t{1} << 34;
    drums.noteMask = 0x0F0F;

    CasmBuilder casm;
    casm.segment("Main A,Main B").ctab(drums).ctab(majorBass).ctab(minorBass).cntt(10, kMelodyBassOn);
    casm.segment("Intro A").ctab(drums);
    const CasmTable table = readTable(styleWith(casm));

    ASSERT_EQ(table.segments.size(), 2u);
    EXPECT_EQ(table.segments[0].sections, (std::vector<std::string>{"Main A", "Main B"}));
    ASSERT_EQ(table.segments[0].records.size(), 3u);
    const ChannelRecord& d = table.segments[0].records[0];
    EXPECT_EQ(d.sourceChannel, 9);
    EXPECT_EQ(d.name, "Drums");
    EXPECT_TRUE(d.autoStart());
    EXPECT_EQ(d.chordMask, std::uint64_t{1} << 34);
    EXPECT_EQ(d.noteMask, 0x0F0F);
    EXPECT_EQ(d.blocks[1].ntr, TranspositionBlock::kRootFixed);
    const ChannelRecord& maj = table.segments[0].records[1];
    EXPECT_EQ(maj.destination, 10);
    EXPECT_EQ(maj.chordMask & kMinorFamily, 0u);
    EXPECT_EQ(maj.blocks[1].ntt, kMelodyBassOn);
    EXPECT_EQ(maj.blocks[1].highKey, 3);
    EXPECT_EQ(maj.blocks[1].lowLimit, 28);
    const ChannelRecord& min = table.segments[0].records[2];
    EXPECT_EQ(min.sourceType, 8);
    EXPECT_EQ(min.blocks[1].ntt, TranspositionBlock::kHarmonicMinor);  // SFF1 Harmonic Minor in the SFF2 numbering
    EXPECT_EQ(table.segments[1].sections, (std::vector<std::string>{"Intro A"}));
}

TEST(CasmRead, Sff1WithoutCnttConvertsEveryTable) {
    CasmBuilder casm;
    casm.segment("Main A");
    const int expected[] = {TranspositionBlock::kBypass,       TranspositionBlock::kMelody,
                            TranspositionBlock::kChord,        kMelodyBassOn,
                            TranspositionBlock::kMelodicMinor, TranspositionBlock::kHarmonicMinor};
    for (int ntt = 0; ntt < 6; ++ntt) {
        RecordFields r;
        r.source = ntt;
        r.ntt = ntt;
        casm.ctab(r);
    }
    const CasmTable table = readTable(styleWith(casm));
    ASSERT_EQ(table.segments.at(0).records.size(), 6u);
    for (int ntt = 0; ntt < 6; ++ntt) EXPECT_EQ(table.segments[0].records[ntt].blocks[1].ntt, expected[ntt]);
}

TEST(CasmRead, Sff2RecordsAndTheExtraBreakDrumOf51Bytes) {
    RecordFields bass;
    bass.ntt = kMelodyBassOn;
    RecordFields breakDrum;
    breakDrum.source = 15;
    breakDrum.destination = 8;
    breakDrum.featureId = 2;
    breakDrum.drumNote = 49;
    breakDrum.drumVolume = 90;
    CasmBuilder casm;
    casm.segment("Fill In BA").ctb2(bass).ctb2(breakDrum);
    const CasmTable table = readTable(styleWith(casm));
    ASSERT_EQ(table.segments.at(0).records.size(), 2u);
    const ChannelRecord& b = table.segments[0].records[0];
    EXPECT_TRUE(b.sff2);
    EXPECT_TRUE(b.blocks[1].bassOn());
    EXPECT_EQ(b.blocks[1].table(), TranspositionBlock::kMelody);
    EXPECT_FALSE(b.hasBreakDrum);
    const ChannelRecord& drum = table.segments[0].records[1];
    EXPECT_TRUE(drum.hasBreakDrum);
    EXPECT_EQ(drum.breakDrumNote, 49);
    EXPECT_EQ(drum.breakDrumVolume, 90);
}

TEST(CasmRead, DamagedRecordsAreLeftOutOneByOne) {
    RecordFields good;
    RecordFields badDestination = good;
    badDestination.source = 1;
    badDestination.destination = 3;
    RecordFields badHighKey = good;
    badHighKey.source = 2;
    badHighKey.highKey = 60;  // a note number where a pitch class belongs
    RecordFields second = good;
    second.source = 4;
    Bytes oddSize = ctabBody(good);
    oddSize.push_back(0);

    CasmBuilder casm;
    casm.segment("Main A")
        .child("Ctab", oddSize)
        .ctab(badDestination)
        .child("Zzzz", bytesOf("unknown"))
        .ctab(badHighKey)
        .ctab(good)
        .ctab(good)  // a channel's second record
        .ctab(second);
    casm.segment("Main B", true).ctab(good);                                  // no Sdec: nothing to apply it to
    casm.segment("Main D").ctab(badDestination);                              // no usable record
    casm.segment("Main C").ctab(good).child("Ctab", ctabBody(second), 5000);  // overruns its CSEG
    const CasmTable table = readTable(styleWith(casm));

    ASSERT_EQ(table.segments.size(), 2u);
    ASSERT_EQ(table.segments[0].records.size(), 2u);
    EXPECT_EQ(table.segments[0].records[0].sourceChannel, good.source);
    EXPECT_EQ(table.segments[0].records[1].sourceChannel, second.source);
    EXPECT_EQ(table.segments[1].sections, (std::vector<std::string>{"Main C"}));
    EXPECT_EQ(table.segments[1].records.size(), 1u);
}

TEST(CasmRead, ATableCutByTheEndOfTheFileIsNoTableAndTheTrackStillReads) {
    CasmBuilder casm;
    casm.segment("Main A").ctab(RecordFields{});
    StyleOptions o;
    o.foreignChunks = false;
    SmfBuilder file = styleLike(o);
    file.chunk("CASM", casm.body(), static_cast<std::uint32_t>(casm.body().size() + 100));
    Midifile f = loaded(file);
    EXPECT_EQ(f.TrackCount(), 1);
    EXPECT_TRUE(f.ChannelTable().empty());
    EXPECT_TRUE(loaded(styleLike(o)).ChannelTable().empty());
}

TEST(CasmRead, TheTableIsFoundWhereverItStandsAndHandedOverAsItsBytes) {
    CasmBuilder casm;
    casm.segment("Main A").ctab(RecordFields{});
    SmfBuilder file(0, 1920);
    file.chunk("OTSc", bytesOf("xx"));
    file.chunk("CASM", casm.body());
    file.addTrack().noteOn(0, 0, 60, 100).endOfTrack(10);
    Midifile f = loaded(file);
    EXPECT_EQ(f.TrackCount(), 1);
    EXPECT_EQ(f.ChannelTable(), str(casm.body()));
    EXPECT_EQ(f.getString(MidifileDispatch::ChannelTable), str(casm.body()));
}

}  // namespace
}  // namespace vornel::test
