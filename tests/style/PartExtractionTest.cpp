#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "midi/MidiVocabulary.h"
#include "style/BarLength.h"
#include "style/BarRounding.h"
#include "style/StyleLoading.h"
#include "style/TrackMerge.h"
#include "support/PlayerFixture.h"

namespace vornel {
namespace {

using test::Bytes;
using test::DialogCall;
using test::SmfBuilder;
using test::TrackBuilder;

struct Ev {
    int status, d1, d2, tick;
    friend bool operator==(const Ev&, const Ev&) = default;
};

std::ostream& operator<<(std::ostream& os, const Ev& e) {
    return os << "{" << e.status << "," << e.d1 << "," << e.d2 << " @" << e.tick << "}";
}

// One section at a time on a file the reader holds in memory, with the
// section's button enabled as marker recognition would leave it.
class PartExtraction : public ::testing::Test, protected test::PlayerFixture {
protected:
    void load(const SmfBuilder& file) {
        const Bytes bytes = file.build();
        ASSERT_TRUE(reader.loadFromMemory(bytes.data(), bytes.size()));
        style.MarkerCount = 1;
        style.LoadedParts = 0;
        clearSent();
    }
    // Extracts the section of button `button`; returns PartNo as it came back.
    int extract(int button) {
        state.Cmd_Part[static_cast<std::size_t>(button)].enabled = true;
        std::int16_t partNo = static_cast<std::int16_t>(button);
        LoadPartData(state, kPartTable[static_cast<std::size_t>(button)].sectionName, partNo);
        return partNo;
    }
    std::vector<Ev> events(int part) const {
        std::vector<Ev> out;
        for (int n = 1; n <= style.PartEvCount(part); ++n)
            out.push_back(
                {style.PartMes(part, n), style.PartD1(part, n), style.PartD2(part, n), style.PartTick(part, n)});
        return out;
    }
};

constexpr int kMainA = 1;    // button
constexpr int kEndingA = 3;  // button

TEST_F(PartExtraction, RepeatedStartMarkerDoesNotEndTheSection) {
    SmfBuilder file(0, 480);
    file.addTrack()
        .marker(0, "Main A")
        .noteOn(0, 0, 60, 100)
        .marker(480, "Main A")
        .noteOn(0, 0, 62, 100)
        .marker(480, "Ending A")
        .endOfTrack(480);
    load(file);
    EXPECT_EQ(extract(kMainA), 2);  // PartNo comes back as the part number
    EXPECT_EQ(style.PartStart(2), 0);
    EXPECT_EQ(style.PartEnd(2), 960);
    EXPECT_EQ(events(2), (std::vector<Ev>{{midi::kNoteOn, 60, 100, 0}, {midi::kNoteOn, 62, 100, 480}}));
}

TEST_F(PartExtraction, OnlyAMarkerTwoTicksAfterTheStartEndsTheSection) {
    SmfBuilder file(0, 480);
    file.addTrack()
        .marker(100, "Main A")
        .marker(0, "Intro A")
        .noteOn(1, 0, 60, 100)
        .marker(0, "Fill In AA")
        .marker(1, "Ending A")
        .endOfTrack(480);
    load(file);
    extract(kMainA);
    EXPECT_EQ(style.PartStart(2), 100);
    EXPECT_EQ(style.PartEnd(2), 102);
    EXPECT_EQ(events(2), (std::vector<Ev>{{midi::kNoteOn, 60, 100, 1}}));
}

TEST_F(PartExtraction, OnlySilentNotesOnTheEndTickAreKept) {
    SmfBuilder file(0, 480);
    file.addTrack()
        .marker(0, "Main A")
        .noteOn(0, 0, 60, 100)
        .noteOn(0, 0, 61, 100)
        .noteOn(0, 0, 62, 100)
        .noteOn(960, 0, 60, 0)                       // silent note-on on the end tick: kept
        .noteOff(0, 0, 61, 0)                        // note-off with release 0: kept
        .noteOff(0, 0, 62, 64)                       // note-off with a release velocity: not kept
        .controlChange(0, 0, midi::cc::kVolume, 90)  // anything else on the end tick: not kept
        .marker(0, "Ending A")
        .noteOn(0, 0, 64, 0)  // after the marker, still on the end tick: kept
        .noteOn(0, 0, 65, 100)
        .endOfTrack(480);
    load(file);
    extract(kMainA);
    EXPECT_EQ(style.PartEnd(2), 960);
    EXPECT_EQ(events(2), (std::vector<Ev>{{midi::kNoteOn, 60, 100, 0},
                                          {midi::kNoteOn, 61, 100, 0},
                                          {midi::kNoteOn, 62, 100, 0},
                                          {midi::kNoteOn, 60, 0, 960},
                                          {midi::kNoteOff, 61, 0, 960},
                                          {midi::kNoteOn, 64, 0, 960}}));
}

TEST_F(PartExtraction, TextAndSysExOfStoredEventsAreKeptAndMetaEventsAreNot) {
    const Bytes body{0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
    SmfBuilder file(0, 480);
    file.addTrack()
        .marker(0, "Main A")
        .text(10, "fn:Main A")
        .sysEx(10, body)
        .noteOn(10, midi::kDrumChannel, 36, 90)
        .marker(470, "Ending A")
        .endOfTrack(0);
    load(file);
    extract(kMainA);
    ASSERT_EQ(style.PartEvCount(2), 2);
    EXPECT_EQ(style.PartMes(2, 1), midi::kSysEx);
    EXPECT_EQ(style.PartTick(2, 1), 20);
    EXPECT_EQ(style.PartSysEx(2, 1), std::string("\xF0\x43\x10\x4C\x00\x00\x7E\x00\xF7", 9));
    EXPECT_EQ(style.PartMes(2, 2), midi::statusOf(midi::kNoteOn, midi::kDrumChannel));
    EXPECT_EQ(style.PartSysEx(2, 2), "");
}

TEST_F(PartExtraction, LastSectionEndsOnABarLineThroughTheScan) {
    // 4/4 at 480 ticks; the last event that counts lies exactly two bars
    // after the start. The silent note 100 ticks later does not count: if it
    // did, the section would run on to the next bar line.
    SmfBuilder file(0, 480);
    file.addTrack()
        .timeSignature(0, 4, 2)
        .marker(0, "Main A")
        .marker(1000, "Ending A")
        .noteOn(0, 0, 60, 100)
        .noteOn(3840, 0, 60, 0)
        .noteOn(0, 1, 60, 100)
        .noteOn(100, 1, 60, 0);
    load(file);
    extract(kEndingA);
    EXPECT_EQ(style.PartStart(4), 1000);
    EXPECT_EQ(style.PartEnd(4), 1000 + 3840);
    EXPECT_EQ(events(4), (std::vector<Ev>{{midi::kNoteOn, 60, 100, 0}, {midi::kNoteOn, 60, 0, 3840}}));
}

TEST_F(PartExtraction, DisabledSectionOrAButtonOutsideTheTableIsSkippedUntouched) {
    SmfBuilder file(0, 480);
    file.addTrack().programChange(0, 0, 5).marker(0, "Main A").noteOn(0, 0, 60, 100).endOfTrack(480);
    load(file);
    style.PartStart(2) = 77;
    const std::string label4 = state.Label4.caption;
    // Button 1 (Main A) is not enabled; -1 and 18 name no section at all.
    for (std::int16_t button : {std::int16_t{kMainA}, std::int16_t{-1}, std::int16_t{18}}) {
        std::int16_t partNo = button;
        LoadPartData(state, "Main A", partNo);
        EXPECT_EQ(partNo, button);
    }
    EXPECT_EQ(style.LoadedParts, 0);
    EXPECT_EQ(style.PartStart(2), 77);
    EXPECT_EQ(style.PartEvCount(2), 0);
    EXPECT_EQ(state.Label4.caption, label4);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(sent().empty());
}

TEST_F(PartExtraction, ProgressRepaintsTheSectionNameAndShowsItsShareRoundedDown) {
    SmfBuilder file(0, 480);
    file.addTrack().marker(0, "Main A").noteOn(0, 0, 60, 100).marker(480, "Ending A").endOfTrack(0);
    load(file);
    std::vector<std::pair<std::string, bool>> repaints;  // Label4 and its visibility
    dialogs.observe = [&](const DialogCall& c) {
        if (c.kind == DialogCall::Kind::RepaintNow) repaints.emplace_back(state.Label4.caption, state.Label4.visible);
    };
    state.Label4.visible = false;
    state.Lbl_Loading.visible = false;
    style.MarkerCount = 3;
    style.LoadedParts = 2;
    extract(kMainA);
    EXPECT_EQ(repaints, (std::vector<std::pair<std::string, bool>>{{"--------------", true}, {"Main A", true}}));
    EXPECT_EQ(state.Lbl_Loading.caption, "yükleniyor ...   % 66");  // 100 / 3 x 2
    EXPECT_TRUE(state.Lbl_Loading.visible);
    EXPECT_EQ(style.LoadedParts, 3);

    // Without a count of section markers no share is shown; the section still loads.
    style.MarkerCount = 0;
    style.PartEvCount(2) = 0;
    extract(kMainA);
    EXPECT_EQ(state.Lbl_Loading.caption, "yükleniyor ...   % 0");
    EXPECT_EQ(style.PartEvCount(2), 1);
}

TEST_F(PartExtraction, SectionIsCutAtItsCapacity) {
    SmfBuilder file(0, 480);
    TrackBuilder& t = file.addTrack();
    t.marker(0, "Main A");
    for (int i = 0; i < kPartCapacity + 1; ++i) t.noteOn(1, 0, i % 128, 100);
    t.marker(10, "Ending A").endOfTrack(0);
    load(file);
    extract(kMainA);
    ASSERT_EQ(style.PartEvCount(2), kPartCapacity);
    EXPECT_EQ(style.PartTick(2, kPartCapacity), kPartCapacity);  // the 10000th, one tick apart
    EXPECT_EQ(style.PartD1(2, kPartCapacity), (kPartCapacity - 1) % 128);
}

TEST_F(PartExtraction, SetUpMessagesUpToTheSectionEndAreSentEachTime) {
    const Bytes gmOn{0x7E, 0x7F, 0x09, 0x01, 0xF7};
    SmfBuilder file(0, 480);
    file.addTrack()
        .sysEx(0, gmOn)
        .programChange(0, 2, 33)
        .marker(0, "Main A")
        .noteOn(0, 2, 60, 100)
        .controlChange(100, 2, midi::cc::kVolume, 90)
        .pitchBend(0, 2, 8192)
        .channelPressure(0, 2, 40)
        .polyPressure(0, 2, 60, 30)
        .marker(380, "Ending A")
        .controlChange(100, 2, midi::cc::kPan, 64)
        .endOfTrack(0);
    load(file);
    auto wire = [this] {
        std::vector<Ev> out;
        for (const test::SentMessage& m : sent())
            out.push_back(
                {m.message.status,
                 m.message.status == midi::kSysEx ? static_cast<int>(m.message.sysex.size()) : m.message.data1,
                 m.message.data2, 0});
        return out;
    };
    const std::vector<Ev> upToMainEnd{
        {midi::kSysEx, 6, 0, 0},
        {midi::statusOf(midi::kProgramChange, 2), 33, 0, 0},
        {midi::statusOf(midi::kControlChange, 2), midi::cc::kVolume, 90, 0},
        {midi::statusOf(midi::kPitchBend, 2), midi::kBendCentreLsb, midi::kBendCentreMsb, 0},
        {midi::statusOf(midi::kChannelPressure, 2), 40, 0, 0},
        {midi::statusOf(midi::kPolyPressure, 2), 60, 30, 0}};
    extract(kMainA);
    EXPECT_EQ(wire(), upToMainEnd);
    ASSERT_FALSE(sent().empty());
    EXPECT_EQ(sent()[0].message.sysex, std::string("\xF0\x7E\x7F\x09\x01\xF7", 6));

    clearSent();
    extract(kEndingA);
    std::vector<Ev> wholeFile = upToMainEnd;
    wholeFile.push_back({midi::statusOf(midi::kControlChange, 2), midi::cc::kPan, 64, 0});
    EXPECT_EQ(wire(), wholeFile);
}

TEST_F(PartExtraction, SplitAndEscapedSystemExclusiveReachTheDeviceWhole) {
    SmfBuilder file(0, 480);
    file.addTrack()
        .sysExEscape(0, Bytes{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7})  // GM on, escaped
        .sysEx(0, Bytes{0x43, 0x10, 0x4C})                          // XG on, split in two packets
        .sysExEscape(0, Bytes{0x00, 0x00, 0x7E, 0x00, 0xF7})
        .sysExEscape(0, Bytes{0xF8})  // an escaped real-time byte: no message
        .marker(0, "Main A")
        .noteOn(0, 2, 60, 100)
        .marker(480, "Ending A")
        .endOfTrack(0);
    load(file);
    extract(kMainA);
    std::vector<std::string> messages;
    for (const test::SentMessage& m : sent())
        if (m.message.status == midi::kSysEx) messages.push_back(m.message.sysex);
    EXPECT_EQ(messages, (std::vector<std::string>{std::string("\xF0\x7E\x7F\x09\x01\xF7", 6),
                                                  std::string("\xF0\x43\x10\x4C\x00\x00\x7E\x00\xF7", 9)}));
}

TEST_F(PartExtraction, TempoChangesInsideASectionAreKeptWithTheirTicks) {
    SmfBuilder file(0, 480);
    file.addTrack()
        .tempo(0, 500000)
        .marker(0, "Intro A")
        .noteOn(0, 2, 60, 100)
        .marker(1920, "Ending A")
        .noteOn(0, 2, 62, 100)
        .tempo(960, 600000)
        .tempo(480, 750000)
        .noteOn(480, 2, 62, 0)
        .endOfTrack(0);
    load(file);
    extract(kEndingA);
    EXPECT_EQ(style.PartTempos(4), (std::vector<TempoChange>{{960, 600000}, {1440, 750000}}));
}

// A format-1 style: track 1 holds the markers, the other tracks the music.
TEST_F(PartExtraction, MultiTrackSectionsMergeEveryTrackInTimeOrder) {
    SmfBuilder file(1, 480);
    file.addTrack().timeSignature(0, 4, 2).marker(0, "Main A").marker(1920, "Ending A").endOfTrack(0);
    file.addTrack()
        .programChange(0, 1, 20)
        .noteOn(0, 1, 60, 100)
        .marker(100, "Intro A")  // markers of other tracks bound nothing
        .noteOn(380, 1, 60, 0)
        .noteOn(1440, 1, 62, 0)  // silent note on the end tick: kept
        .noteOn(0, 1, 64, 100)   // first note of the ending
        .noteOn(480, 1, 64, 0)
        .endOfTrack(0);
    file.addTrack()
        .noteOn(0, midi::kDrumChannel, 36, 100)  // same tick as track 2's first note: after it
        .controlChange(480, midi::kDrumChannel, midi::cc::kVolume, 80)
        .noteOn(0, midi::kDrumChannel, 36, 0)
        .endOfTrack(0);
    load(file);

    const int program = midi::statusOf(midi::kProgramChange, 1);
    const int notes = midi::statusOf(midi::kNoteOn, 1);
    const int drums = midi::statusOf(midi::kNoteOn, midi::kDrumChannel);
    const int drumControl = midi::statusOf(midi::kControlChange, midi::kDrumChannel);
    extract(kMainA);
    EXPECT_EQ(style.PartStart(2), 0);
    EXPECT_EQ(style.PartEnd(2), 1920);
    EXPECT_EQ(events(2), (std::vector<Ev>{{program, 20, 0, 0},
                                          {notes, 60, 100, 0},
                                          {drums, 36, 100, 0},
                                          {notes, 60, 0, 480},
                                          {drumControl, midi::cc::kVolume, 80, 480},
                                          {drums, 36, 0, 480},
                                          {notes, 62, 0, 1920}}));
    // Set-up messages of every track reach the device.
    std::vector<int> statuses;
    for (const test::SentMessage& m : sent()) statuses.push_back(m.message.status);
    EXPECT_EQ(statuses, (std::vector<int>{program, drumControl}));

    // The ending runs to the latest event of any track (2400), so it ends on
    // the next bar line.
    extract(kEndingA);
    EXPECT_EQ(style.PartStart(4), 1920);
    EXPECT_EQ(style.PartEnd(4), 3840);
    // A note-off on the start tick belongs to the section as well.
    EXPECT_EQ(events(4), (std::vector<Ev>{{notes, 62, 0, 0}, {notes, 64, 100, 0}, {notes, 64, 0, 480}}));
}

TEST(TrackMerge, TiesGoInTrackOrderThenFileOrder) {
    SmfBuilder file(1, 96);
    file.addTrack().noteOn(5, 0, 1, 1).noteOn(0, 0, 2, 1).noteOn(10, 0, 3, 1);
    file.addTrack().noteOn(0, 1, 4, 1).noteOn(5, 1, 5, 1);
    file.addTrack();  // an empty track takes no part
    file.addTrack().noteOn(15, 2, 6, 1);
    const Bytes bytes = file.build();
    Midifile reader;
    ASSERT_TRUE(reader.loadFromMemory(bytes.data(), bytes.size()));
    const FileEvents events = FileEvents::read(reader);
    TrackMerge merge(events);
    std::vector<std::pair<int, int>> seen;  // (time, note)
    while (merge.next()) seen.emplace_back(merge.time(), merge.event().data1);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 4}, {5, 1}, {5, 2}, {5, 5}, {15, 3}, {15, 6}}));
    EXPECT_FALSE(merge.overflowed());
}

TEST(TrackMerge, TimesPastTheTickTablesEndTheWalk) {
    SmfBuilder file(0, 96);
    TrackBuilder& t = file.addTrack();
    for (int i = 0; i < 9; ++i) t.noteOn(0x0FFFFFFF, 0, 60, 1);  // 9 x 2^28 passes 2^31
    const Bytes bytes = file.build();
    Midifile reader;
    ASSERT_TRUE(reader.loadFromMemory(bytes.data(), bytes.size()));
    const FileEvents events = FileEvents::read(reader);
    TrackMerge merge(events);
    int walked = 0;
    while (merge.next()) ++walked;
    EXPECT_EQ(walked, 8);
    EXPECT_TRUE(merge.overflowed());
}

TEST(BarLength, BarsHaveTheirWrittenLengthInEveryMeter) {
    EXPECT_EQ(barTicks(1920, 4, 2), 7680);
    EXPECT_EQ(barTicks(1920, 6, 3), 5760);
    EXPECT_EQ(barTicks(1920, 7, 3), 6720);
    EXPECT_EQ(barTicks(1920, 10, 3), 9600);
    EXPECT_EQ(barTicks(1920, 6, 2), 11520);
    EXPECT_EQ(barTicks(96, 3, 3), 144);
    EXPECT_EQ(barTicks(96, 2, 1), 384);
    // Bad values: no bars without a resolution or numerator; an exponent past
    // a 1/64 note reads as a quarter; a bar is never shorter than a tick.
    EXPECT_EQ(barTicks(0, 4, 2), 0);
    EXPECT_EQ(barTicks(96, 0, 2), 0);
    EXPECT_EQ(barTicks(96, 4, 17), 384);
    EXPECT_EQ(barTicks(96, 4, 255), 384);
    EXPECT_EQ(barTicks(1, 1, 6), 1);
}

TEST(BarRounding, LastSectionEndsOnTheExpectedTick) {
    struct Case {
        const char* what;
        int start, last, num, res, denExp;
        std::int32_t end;
    };
    const Case cases[] = {
        {"late note-off after a bar line", 1000, 1000 + 1920 + 20, 4, 480, 2, 1000 + 1920},
        {"well into the next bar", 1000, 1000 + 1920 + 40, 4, 480, 2, 1000 + 3840},
        {"exactly on a bar line", 1000, 1000 + 3840, 4, 480, 2, 1000 + 3840},
        {"29 ticks into the first bar", 0, 29, 4, 480, 2, 0},
        {"6/8: within its written bar of 1,440 ticks", 500, 500 + 1000, 6, 480, 3, 500 + 1440},
        {"6/8, under 30 ticks", 500, 520, 6, 480, 3, 500},
        {"6/8, exactly one written bar", 0, 1440, 6, 480, 3, 1440},
        {"7/8 at 1,920 ticks per quarter", 0, 6720 + 40, 7, 1920, 3, 2 * 6720},
        {"3/8 at an odd resolution: the bar rounds to whole ticks", 1, 41, 3, 41, 3, 63},
        {"a quarter-note metre", 0, 100, 4, 480, 2, 1920},
        {"nothing after the start", 700, 700, 4, 480, 2, -1},
        {"exactly 25 bars", 0, 25 * 1920, 4, 480, 2, 25 * 1920},
        {"longer than 25 bars", 0, 25 * 1920 + 40, 4, 480, 2, -1},
        {"numerator 0", 0, 500, 0, 480, 3, -1},
        {"largest bar length", 0, 40, 1, 32767, 2, 32767},
    };
    for (const Case& c : cases) {
        const RoundedEnd r = roundSectionEnd(c.start, c.last, c.num, c.res, c.denExp);
        EXPECT_FALSE(r.fault) << c.what;
        EXPECT_EQ(r.end, c.end) << c.what;
    }
    // A bar length past 16 bits, or an end past 32 bits, is an arithmetic fault.
    EXPECT_TRUE(roundSectionEnd(0, 100, 4, 8192, 2).fault);
    EXPECT_TRUE(roundSectionEnd(0, 100, 2, 16384, 2).fault);
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_TRUE(roundSectionEnd(kMax - 100, kMax - 50, 4, 480, 2).fault);
}

}  // namespace
}  // namespace vornel
