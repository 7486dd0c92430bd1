// A file shaped like a keyboard style, read the way loading reads it.
#include <gtest/gtest.h>

#include "ReaderTestUtil.h"
#include "midi/MidiVocabulary.h"
#include "support/SeedCorpus.h"
#include "support/StyleLike.h"
#include "support/TempDir.h"

namespace vornel::test {
namespace {

using Events = std::vector<ReadEvent>;

struct TimedEvent {
    std::uint64_t tick;
    ReadEvent event;
};

std::vector<TimedEvent> timedTrack(Midifile& f, int track) {
    std::vector<TimedEvent> out;
    std::uint64_t tick = 0;
    for (const ReadEvent& e : readTrack(f, track)) {
        tick += static_cast<std::uint32_t>(e.delta);
        out.push_back({tick, e});
    }
    return out;
}

StyleOptions fiveSections() {
    StyleOptions o;
    o.copyright = "(c) Vornel";
    o.sections = {{"Intro A", 1}, {"Main A", 2}, {"Fill In AA", 1}, {"Main B", 1}, {"Ending A", 1}};
    o.channels = {8, 9, 10, 13};
    return o;
}

TEST(StyleFile, ReportsOneTrackWithEveryEventAndTheStylesValues) {
    StyleLayout layout;
    Midifile f = loaded(styleLike(fiveSections(), &layout));
    ASSERT_EQ(f.TrackCount(), 1);  // the MTrk chunks inside OTSc are no tracks
    EXPECT_EQ(f.Resolution(), 1920);
    EXPECT_EQ(f.Tempo(), 500000);
    EXPECT_EQ(f.TimeSigNum(), 4);
    EXPECT_EQ(f.TimeSigDenExp(), 2);
    f.Track(1);
    EXPECT_EQ(f.EventCount(), layout.trackEvents);
    f.EventIndex(layout.trackEvents);
    EXPECT_EQ(selectedEvent(f), endOfTrack());
}

TEST(StyleFile, StartsWithNameCopyrightTimingMarkersAndSystemExclusiveSetUp) {
    Midifile f = loaded(styleLike(fiveSections()));
    const Events events = readTrack(f, 1);
    ASSERT_GT(events.size(), 10u);
    EXPECT_EQ(events[0], metaEvent(3, 0, "Vornel Test"));  // its NUL padding dropped
    EXPECT_EQ(events[1], metaEvent(2, 0, "(c) Vornel"));
    EXPECT_EQ(events[2], metaEvent(0x58));
    EXPECT_EQ(events[3], metaEvent(0x51));
    EXPECT_EQ(events[4], metaEvent(6, 0, "SFF1"));
    EXPECT_EQ(events[5], metaEvent(6, 0, "SInt"));
    EXPECT_EQ(events[6], (ReadEvent{midi::kSysEx, 0, 0, 0, "", "\xF0\x7E\x7F\x09\x01\xF7"}));
    EXPECT_EQ(events[7],
              (ReadEvent{midi::kSysEx, 0, 0, 0, "", str({0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7})}));
    // Bank select, program and mixer set-up per channel, written with running status.
    const int control = midi::statusOf(midi::kControlChange, 8);
    EXPECT_EQ(events[8], channel(control, midi::cc::kBankSelectMsb, 0));
    EXPECT_EQ(events[9], channel(control, midi::cc::kBankSelectLsb, 0));
    EXPECT_EQ(events[10], channel(midi::statusOf(midi::kProgramChange, 8), 40, 0));
    EXPECT_EQ(events[11], channel(control, midi::cc::kVolume, 100));
    EXPECT_EQ(events[12], channel(control, midi::cc::kPan, 64));
    EXPECT_EQ(events[13],
              channel(midi::statusOf(midi::kControlChange, midi::kDrumChannel), midi::cc::kBankSelectMsb, 127));
}

TEST(StyleFile, SectionMarkersStandAtTheirTicksEachFollowedByItsName) {
    StyleLayout layout;
    Midifile f = loaded(styleLike(fiveSections(), &layout));
    const std::vector<TimedEvent> events = timedTrack(f, 1);

    std::vector<std::pair<std::uint64_t, std::string>> markers;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const ReadEvent& e = events[i].event;
        if (e.status != midi::kMeta || e.data1 != 6) continue;
        markers.emplace_back(events[i].tick, e.text);
        if (e.text == "SFF1" || e.text == "SInt") continue;
        ASSERT_LT(i + 1, events.size());
        EXPECT_EQ(events[i + 1].event, metaEvent(1, 0, "fn:" + e.text));  // its NUL dropped
    }
    std::vector<std::pair<std::uint64_t, std::string>> expected = {{0, "SFF1"}, {0, "SInt"}};
    for (const StyleSectionLayout& s : layout.sections) expected.emplace_back(s.startTick, s.name);
    EXPECT_EQ(markers, expected);
    EXPECT_EQ(layout.sections[1].startTick, 2u * 4 * 1920);  // after SInt and Intro A
}

TEST(StyleFile, NotesOfEachSectionLieBetweenItsMarkersAndEndOnTheNextMarkerTick) {
    const StyleOptions options = fiveSections();
    StyleLayout layout;
    Midifile f = loaded(styleLike(options, &layout));
    const std::vector<TimedEvent> events = timedTrack(f, 1);

    for (std::size_t s = 0; s < layout.sections.size(); ++s) {
        const StyleSectionLayout& section = layout.sections[s];
        int notes = 0;
        for (const TimedEvent& te : events) {
            const ReadEvent& e = te.event;
            if (midi::kindOf(e.status) != midi::kNoteOn) continue;
            const int ch = midi::channelOf(e.status);
            if (e.data1 != styleNote(static_cast<int>(s), ch)) continue;
            ++notes;
            EXPECT_GE(te.tick, section.startTick) << section.name;
            EXPECT_LE(te.tick, section.endTick) << section.name;
            if (te.tick == section.endTick) {
                EXPECT_EQ(e.data2, 0) << section.name;
            }
        }
        EXPECT_EQ(notes, section.noteEvents) << section.name;
    }

    // At every section boundary the closing note-offs come before the marker.
    for (std::size_t s = 1; s < layout.sections.size(); ++s) {
        const std::uint64_t boundary = layout.sections[s].startTick;
        Events atBoundary;
        for (const TimedEvent& te : events)
            if (te.tick == boundary) atBoundary.push_back(te.event);
        ASSERT_GE(atBoundary.size(), options.channels.size() + 1);
        for (std::size_t c = 0; c < options.channels.size(); ++c) {
            const int ch = options.channels[c];
            EXPECT_EQ(atBoundary[c], channel(midi::statusOf(midi::kNoteOn, ch), styleNote(static_cast<int>(s) - 1, ch),
                                             0, c == 0 ? static_cast<std::int32_t>(layout.beatTicks) : 0));
        }
        EXPECT_EQ(atBoundary[options.channels.size()], metaEvent(6, 0, layout.sections[s].name));
    }
}

// Loading's information step: only track 1, a later event of a kind
// replacing the text of an earlier one.
TEST(StyleFile, InformationScanFindsNameCopyrightAndEveryMarker) {
    Midifile f = loaded(styleLike(fiveSections()));
    std::string name, copyright;
    std::vector<std::string> markers;
    f.Track(1);
    for (int e = 1; e <= f.EventCount(); ++e) {
        f.EventIndex(e);
        if (f.EvStatus() != midi::kMeta) continue;
        if (f.EvData1() == 2)
            copyright = f.EvText();
        else if (f.EvData1() == 3)
            name = f.EvText();
        else if (f.EvData1() == 6)
            markers.push_back(f.EvText());
    }
    EXPECT_EQ(name, "Vornel Test");
    EXPECT_EQ(copyright, "(c) Vornel");
    EXPECT_EQ(markers,
              (std::vector<std::string>{"SFF1", "SInt", "Intro A", "Main A", "Fill In AA", "Main B", "Ending A"}));
}

TEST(StyleFile, RunningStatusInTheFileChangesNothingThatIsRead) {
    StyleOptions compact = fiveSections();
    compact.channels = {9};  // one channel: every note goes without its status
    StyleOptions spelled = compact;
    spelled.runningStatus = false;
    const SmfBuilder a = styleLike(compact);
    const SmfBuilder b = styleLike(spelled);
    ASSERT_LT(a.build().size(), b.build().size());
    EXPECT_EQ(eventsOf(a), eventsOf(b));
}

TEST(StyleFile, AllEighteenSectionsAndACompoundMetre) {
    StyleOptions o;
    o.division = 480;
    o.timeSigNum = 6;
    o.timeSigDenExp = 3;
    o.tempo = 428571;
    o.channels = {9, 10};
    o.sections.clear();
    for (const char* name : {"Intro A", "Intro B", "Intro C", "Intro D", "Main A", "Main B", "Main C", "Main D",
                             "Fill In AA", "Fill In BB", "Fill In CC", "Fill In DD", "Fill In AB", "Fill In BA",
                             "Ending A", "Ending B", "Ending C", "Ending D"})
        o.sections.push_back({name, 1});
    StyleLayout layout;
    Midifile f = loaded(styleLike(o, &layout));
    EXPECT_EQ(f.TimeSigNum(), 6);
    EXPECT_EQ(f.TimeSigDenExp(), 3);
    EXPECT_EQ(f.Tempo(), 428571);
    EXPECT_EQ(f.Resolution(), 480);
    EXPECT_EQ(layout.barTicks, 6u * 240u);
    const std::vector<TimedEvent> events = timedTrack(f, 1);
    std::size_t found = 0;
    for (const TimedEvent& te : events) {
        if (te.event.status != midi::kMeta || te.event.data1 != 6 || te.event.text.size() <= 4) continue;
        ASSERT_LT(found, layout.sections.size());
        EXPECT_EQ(te.event.text, layout.sections[found].name);
        EXPECT_EQ(te.tick, layout.sections[found].startTick);
        ++found;
    }
    EXPECT_EQ(found, 18u);
}

TEST(StyleFile, ReadFromDiskAsFromMemory) {
    TempDir dir;
    const SmfBuilder style = styleLike(fiveSections());
    Midifile f;
    f.FileAction(5);
    f.FileName(style.writeTo(dir.file("Pop 8Beat.sty")).string());
    f.FileAction(1);
    EXPECT_EQ(readTrack(f, 1), eventsOf(style));
}

// The fuzzer starts from these; each must be a MIDI file the reader takes in.
TEST(StyleFile, EverySeedOfTheFuzzCorpusIsAMidiFileWithEvents) {
    const auto seeds = seedCorpus();
    EXPECT_GE(seeds.size(), 6u);
    for (const auto& [name, bytes] : seeds) {
        Midifile f;
        EXPECT_TRUE(f.loadFromMemory(bytes.data(), bytes.size())) << name;
        ASSERT_GE(f.TrackCount(), 1) << name;
        f.Track(1);
        EXPECT_GE(f.EventCount(), 1) << name;
    }
}

}  // namespace
}  // namespace vornel::test
