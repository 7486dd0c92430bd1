#include "support/SeedCorpus.h"

#include "support/CasmBuilder.h"
#include "support/StyleLike.h"

namespace vornel::test {

namespace {

SmfBuilder everyKindOfEvent() {
    SmfBuilder file(1, 96);
    TrackBuilder& conductor = file.addTrack();
    conductor.trackName(0, "Conductor")
        .copyright(0, "(c) Vornel")
        .tempo(0, 600000)
        .timeSignature(0, 6, 3)
        .marker(0, "Main A")
        .text(0, "fn:Main A")
        .endOfTrack(384);
    TrackBuilder& music = file.addTrack();
    music.gmOn(0)
        .sysExEscape(0, {0xF0, 0x43, 0x10, 0xF7})
        .programChange(0, 2, 33)
        .noteOn(0, 2, 60, 100)
        .polyPressure(10, 2, 60, 50)
        .channelPressure(10, 2, 40)
        .pitchBend(10, 2, 9000)
        .controlChange(10, 2, 11, 90)
        .noteOff(10, 2, 60, 64)
        .meta(0, 0x7F, Bytes{0x43, 0x7B, 0x01})
        .endOfTrack();
    return file;
}

}  // namespace

std::vector<std::pair<std::string, Bytes>> seedCorpus() {
    std::vector<std::pair<std::string, Bytes>> seeds;

    StyleOptions fourSections;
    fourSections.copyright = "(c) Vornel";
    fourSections.sections = {{"Intro A", 1}, {"Main A", 2}, {"Fill In AA", 1}, {"Ending A", 1}};
    fourSections.channels = {9, 10};
    seeds.emplace_back("style-sections.sty", styleLike(fourSections).build());

    StyleOptions compound;
    compound.division = 480;
    compound.timeSigNum = 6;
    compound.timeSigDenExp = 3;
    compound.channels = {10};
    compound.foreignChunks = false;
    seeds.emplace_back("style-compound.mid", styleLike(compound).build());

    seeds.emplace_back("every-kind.mid", everyKindOfEvent().build());

    SmfBuilder runningAfterMeta(0, 480);
    runningAfterMeta.addTrack()
        .noteOn(0, 0, 60, 90)
        .marker(0, "x")
        .running(10, {62, 90})
        .sysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .running(10, {64, 90})
        .endOfTrack();
    seeds.emplace_back("running-after-meta.mid", runningAfterMeta.build());

    SmfBuilder smpte(1, 0xE728);  // -25 frames per second, 40 ticks per frame
    smpte.addTrack().tempo(0, 500000).noteOn(0, 0, 60, 100).noteOff(1000, 0, 60).endOfTrack();
    seeds.emplace_back("smpte.mid", smpte.build());

    SmfBuilder cutInEvent(0, 1920);
    TrackBuilder& cut = cutInEvent.addTrack();
    cut.noteOn(0, 0, 60, 100).sysEx(0, {0x43, 0x10, 0x4C, 0xF7});
    cut.declaredLength(static_cast<std::uint32_t>(cut.body().size() - 3));
    cutInEvent.appendRaw({0xDE, 0xAD, 0xBE, 0xEF});
    seeds.emplace_back("garbage-after-track.mid", cutInEvent.build());

    SmfBuilder truncated = styleLike();
    truncated.truncateTo(200);
    seeds.emplace_back("style-truncated.sty", truncated.build());

    SmfBuilder runaway(1, 480);
    runaway.declaredTracks(3).headerLength(8);
    runaway.addTrack().noteOn(0, 0, 60, 1).endOfTrack();
    runaway.chunk("XFIH", {1, 2, 3}, 0x7FFFFFFF);
    seeds.emplace_back("runaway-chunk.mid", runaway.build());

    // Channel tables: SFF1 with Cntt, SFF2 with an extra break drum, and one
    // whose records and chunks are damaged in the ways the reader skips.
    StyleOptions bare;
    bare.foreignChunks = false;
    RecordFields bass, drums;
    drums.source = drums.destination = 9;
    drums.ntr = 1;
    drums.chordMask = std::uint64_t{1} << 34;
    CasmBuilder sff1, sff2, damaged;
    sff1.segment("Main A,Fill In AA").ctab(drums).ctab(bass).cntt(10, 0x81);
    drums.featureId = 2;
    sff2.segment("Main A").ctb2(drums).ctb2(bass);
    Bytes longRecord = ctabBody(bass);
    longRecord.push_back(0);
    damaged.segment("Main A").child("Ctab", longRecord).child("Zzzz", {1}).ctab(bass).child("Ctb2", {1, 2}, 999);
    damaged.segment("", true).ctab(bass);
    for (auto [name, casm] : {std::pair{"style-sff1-table.sty", &sff1}, std::pair{"style-sff2-table.sty", &sff2},
                              std::pair{"style-damaged-table.sty", &damaged}}) {
        SmfBuilder file = styleLike(bare);
        file.chunk("CASM", casm->body());
        seeds.emplace_back(name, file.build());
    }

    return seeds;
}

}  // namespace vornel::test
