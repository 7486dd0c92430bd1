// The component side of the reader: reading by file name, closing, the
// selection of track and event, and access by dispatch number.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>

#include "ReaderTestUtil.h"
#include "midi/MidiVocabulary.h"
#include "midi/file/MidifileDispatch.h"
#include "support/TempDir.h"

namespace vornel::test {
namespace {

SmfBuilder twoTrackFile() {
    SmfBuilder file(1, 960);
    file.addTrack().trackName(0, "Song").tempo(0, 600000).timeSignature(0, 3, 2).endOfTrack(960);
    file.addTrack().noteOn(0, 1, 60, 100).noteOn(480, 1, 60, 0).endOfTrack();
    return file;
}

void expectNothingLoaded(const Midifile& f) {
    EXPECT_EQ(f.TrackCount(), 0);
    EXPECT_EQ(f.EventCount(), 0);
    EXPECT_EQ(selectedEvent(f), ReadEvent{});
}

// ---- Reading by file name ----

TEST(MidifileComponent, LoadSequenceReadsTheNamedFile) {
    TempDir dir;
    const auto path = twoTrackFile().writeTo(dir.file("song.mid"));
    Midifile f;
    f.FileAction(5);
    f.FileName(path.string());
    f.FileAction(1);
    EXPECT_EQ(f.FileName(), path.string());
    ASSERT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(f.Tempo(), 600000);
    EXPECT_EQ(f.Resolution(), 960);
    EXPECT_EQ(readTrack(f, 2),
              (std::vector<ReadEvent>{channel(midi::statusOf(midi::kNoteOn, 1), 60, 100),
                                      channel(midi::statusOf(midi::kNoteOn, 1), 60, 0, 480), endOfTrack()}));
}

TEST(MidifileComponent, FileThatCannotBeReadLeavesZeroTracksAndDefaultValues) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("folder.mid"));
    ASSERT_EQ(mkfifo(dir.file("pipe.mid").c_str(), 0600), 0);  // would block a reader forever
    for (const std::string& name : {std::string(), dir.file("missing.mid").string(), dir.file("folder.mid").string(),
                                    dir.path().string(), dir.file("pipe.mid").string(), std::string("/dev/zero")}) {
        Midifile f;
        f.FileName(twoTrackFile().writeTo(dir.file("good.mid")).string());
        f.FileAction(1);
        ASSERT_EQ(f.TrackCount(), 2);

        f.FileName(name);
        f.FileAction(1);
        expectNothingLoaded(f);
        EXPECT_EQ(f.Tempo(), 500000) << name;
        EXPECT_EQ(f.TimeSigNum(), 4);
        EXPECT_EQ(f.TimeSigDenExp(), 2);
        EXPECT_EQ(f.Resolution(), 0);
    }
}

TEST(MidifileComponent, FileLargerThanTheLimitIsNotRead) {
    TempDir dir;
    const auto path = twoTrackFile().writeTo(dir.file("huge.mid"));
    // A sparse file: the size is checked before anything is read.
    std::filesystem::resize_file(path, SmfData::kMaxFileBytes + 1);
    Midifile f;
    f.FileName(path.string());
    f.FileAction(1);
    EXPECT_EQ(f.TrackCount(), 0);

    std::filesystem::resize_file(path, SmfData::kMaxFileBytes);
    f.FileAction(1);
    EXPECT_EQ(f.TrackCount(), 2);  // the rest is zero bytes after the tracks
}

TEST(MidifileComponent, CloseForgetsTheFileButKeepsItsName) {
    TempDir dir;
    const auto path = twoTrackFile().writeTo(dir.file("song.mid"));
    Midifile f;
    f.FileName(path.string());
    f.FileAction(1);
    ASSERT_EQ(f.TrackCount(), 2);
    f.FileAction(5);
    expectNothingLoaded(f);
    EXPECT_EQ(f.Tempo(), 500000);
    EXPECT_EQ(f.FileName(), path.string());
    f.FileAction(5);  // closing twice is harmless
    expectNothingLoaded(f);
}

TEST(MidifileComponent, ReadingAnotherFileReplacesEverything) {
    TempDir dir;
    SmfBuilder small(0, 48);
    small.addTrack().noteOn(0, 0, 40, 1).endOfTrack();
    Midifile f;
    f.FileName(twoTrackFile().writeTo(dir.file("a.mid")).string());
    f.FileAction(1);
    f.Track(2);
    f.EventIndex(3);
    f.FileName(small.writeTo(dir.file("b.mid")).string());
    f.FileAction(1);
    EXPECT_EQ(f.TrackCount(), 1);
    EXPECT_EQ(f.Resolution(), 48);
    EXPECT_EQ(f.Tempo(), 500000);
    EXPECT_EQ(f.TimeSigNum(), 4);
    // A new file starts with track 1, event 1 selected.
    EXPECT_EQ(selectedEvent(f), channel(midi::kNoteOn, 40, 1));
}

TEST(MidifileComponent, UnknownFileActionsChangeNothing) {
    Midifile f = loaded(twoTrackFile());
    f.Track(2);
    f.EventIndex(2);
    for (int action : {0, 2, 3, 4, 6, 9, -1, INT_MAX}) f.FileAction(action);
    EXPECT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(selectedEvent(f), channel(midi::statusOf(midi::kNoteOn, 1), 60, 0, 480));
}

TEST(MidifileComponent, LoadFromMemoryTellsWhetherTheBytesWereAMidiFile) {
    Midifile f;
    const Bytes good = twoTrackFile().build();
    EXPECT_TRUE(f.loadFromMemory(good.data(), good.size()));
    EXPECT_FALSE(f.loadFromMemory(nullptr, 0));
    expectNothingLoaded(f);
    const Bytes text = bytesOf("Dear diary, today I wrote a MIDI file.");
    EXPECT_FALSE(f.loadFromMemory(text.data(), text.size()));
    expectNothingLoaded(f);
}

// ---- Selection ----

TEST(MidifileComponent, EventsAreReadInAnyOrderAndTheSelectionStays) {
    Midifile f = loaded(twoTrackFile());
    f.Track(2);
    f.EventIndex(2);
    const ReadEvent second = selectedEvent(f);
    EXPECT_EQ(second, channel(midi::statusOf(midi::kNoteOn, 1), 60, 0, 480));
    EXPECT_EQ(selectedEvent(f), second);  // reading changes nothing

    f.EventIndex(3);
    EXPECT_EQ(selectedEvent(f), endOfTrack());
    f.EventIndex(1);
    EXPECT_EQ(selectedEvent(f), channel(midi::statusOf(midi::kNoteOn, 1), 60, 100));
    f.EventIndex(2);
    EXPECT_EQ(selectedEvent(f), second);

    // Writing Track keeps the event number: event 2 of track 1 now.
    f.Track(1);
    EXPECT_EQ(selectedEvent(f), metaEvent(0x51));
    EXPECT_EQ(f.EventCount(), 4);
}

TEST(MidifileComponent, TracksOutsideTheFileHaveNoEvents) {
    Midifile f = loaded(twoTrackFile());
    for (int track : {0, -1, 3, 32767, INT_MIN, INT_MAX}) {
        f.Track(track);
        EXPECT_EQ(f.EventCount(), 0) << track;
        for (int event : {0, 1, 2}) {
            f.EventIndex(event);
            EXPECT_EQ(selectedEvent(f), ReadEvent{}) << track << "/" << event;
        }
    }
}

TEST(MidifileComponent, EventNumbersOutsideTheTrackReadZeroAndEmpty) {
    Midifile f = loaded(twoTrackFile());
    f.Track(2);
    for (int event : {0, -1, 4, 5, INT_MIN, INT_MAX}) {
        f.EventIndex(event);
        EXPECT_EQ(selectedEvent(f), ReadEvent{}) << event;
    }
    f.EventIndex(4);
    f.Track(1);  // event 4 exists in track 1
    EXPECT_EQ(selectedEvent(f), endOfTrack(960));
}

TEST(MidifileComponent, NothingLoadedReadsNoEvents) {
    Midifile f;
    expectNothingLoaded(f);
    f.Track(1);
    f.EventIndex(1);
    expectNothingLoaded(f);
    EXPECT_EQ(f.FileName(), "");
}

// ---- Access by dispatch number ----

TEST(MidifileComponent, DispatchNumbersReachTheSameProperties) {
    TempDir dir;
    const auto path = twoTrackFile().writeTo(dir.file("song.mid"));
    Midifile f;
    f.set(1, 5);
    f.set(9, path.string());
    f.set(1, 1);
    EXPECT_EQ(f.getString(9), path.string());
    EXPECT_EQ(f.getNumber(7), 2);
    EXPECT_EQ(f.getNumber(6), 960);
    EXPECT_EQ(f.getNumber(16), 600000);
    EXPECT_EQ(f.getNumber(22), 3);
    EXPECT_EQ(f.getNumber(23), 2);

    f.set(8, 1);
    EXPECT_EQ(f.getNumber(27), 4);
    f.set(31, 1);
    EXPECT_EQ(f.getNumber(10), midi::kMeta);
    EXPECT_EQ(f.getNumber(11), 3);
    EXPECT_EQ(f.getString(15), "Song");
    f.set(31, 4);
    EXPECT_EQ(f.getNumber(13), 960);

    f.set(8, 2);
    f.set(31, 1);
    EXPECT_EQ(f.getNumber(10), midi::statusOf(midi::kNoteOn, 1));
    EXPECT_EQ(f.getNumber(11), 60);
    EXPECT_EQ(f.getNumber(12), 100);
    EXPECT_EQ(f.getString(28), "");
}

// A whole track in one read gives what the event properties give one by one.
TEST(MidifileComponent, TrackEventsPackEveryEventOfTheSelectedTrack) {
    SmfBuilder file(1, 96);
    file.addTrack().trackName(0, "Song").endOfTrack(0x0FFFFFFF);
    file.addTrack().noteOn(200, 1, 60, 100).programChange(0, 1, 5).sysEx(3, {0x7E, 0xF7}).endOfTrack();
    Midifile f = loaded(file);
    for (int t : {1, 2}) {
        f.Track(t);
        const std::string packed = f.getString(MidifileDispatch::TrackEvents);
        EXPECT_EQ(packed, f.TrackEvents());
        ASSERT_EQ(packed.size(), static_cast<std::size_t>(f.EventCount()) * MidifileComponent::kTrackEventBytes);
        for (int e = 1; e <= f.EventCount(); ++e) {
            f.EventIndex(e);
            const auto byte = [&](int i) { return static_cast<unsigned char>(packed[(e - 1) * 8 + i]); };
            const std::int32_t delta = (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
            EXPECT_EQ(delta, f.EvDelta()) << t << "/" << e;
            EXPECT_EQ((std::vector<int>{byte(4), byte(5), byte(6), byte(7)}),
                      (std::vector<int>{f.EvStatus(), f.EvData1(), f.EvData2(), 0}));
        }
    }
    f.Track(3);
    EXPECT_EQ(f.TrackEvents(), "");
}

TEST(MidifileComponent, DispatchEnumNamesTheSameNumbers) {
    SmfBuilder file(0, 96);
    file.addTrack().gmOn(7).endOfTrack();
    Midifile f = loaded(file);
    f.set(MidifileDispatch::Track, 1);
    f.set(MidifileDispatch::EventIndex, 1);
    EXPECT_EQ(f.getNumber(MidifileDispatch::EvStatus), f.EvStatus());
    EXPECT_EQ(f.getNumber(MidifileDispatch::EvDelta), 7);
    EXPECT_EQ(f.getString(MidifileDispatch::EvSysEx), "\xF0\x7E\x7F\x09\x01\xF7");
    EXPECT_EQ(f.getNumber(MidifileDispatch::EventCount), 2);
    EXPECT_EQ(f.getNumber(MidifileDispatch::Resolution), 96);
}

TEST(MidifileComponent, WrongKindOfAccessReadsZeroOrEmptyAndChangesNothing) {
    Midifile f = loaded(twoTrackFile());
    f.FileName("kept.mid");
    f.Track(2);
    f.EventIndex(1);
    // Write-only and string properties as numbers, numbers as strings.
    for (int id : {1, 8, 9, 15, 28, 31, 0, 2, 14, 32, -1}) EXPECT_EQ(f.getNumber(id), 0) << id;
    for (int id : {1, 6, 7, 8, 10, 16, 27, 31, 0, 99}) EXPECT_EQ(f.getString(id), "") << id;
    // Read-only properties and unknown numbers cannot be written.
    for (int id : {6, 7, 9, 10, 11, 12, 13, 16, 22, 23, 27, 0, 99}) f.set(id, 3);
    for (int id : {1, 8, 15, 28, 31, 0}) f.set(id, std::string("x"));
    EXPECT_EQ(f.FileName(), "kept.mid");
    EXPECT_EQ(f.TrackCount(), 2);
    EXPECT_EQ(selectedEvent(f), channel(midi::statusOf(midi::kNoteOn, 1), 60, 100));
}

}  // namespace
}  // namespace vornel::test
