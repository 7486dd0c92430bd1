#include "components/LoadedMidifile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "components/ComponentLocation.h"
#include "components/ComponentTestSupport.h"
#include "midi/file/Midifile.h"
#include "support/SmfBuilder.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

using Event = std::tuple<int, int, int, std::int32_t, std::string, std::string>;
using Values = std::tuple<int, int, std::int32_t, int, int, std::string>;

// Every event of every track and of the track past the last, read the way
// loading reads them, after the file-level values.
std::pair<Values, std::vector<std::vector<Event>>> readAll(MidifileComponent& f, const std::string& path) {
    f.FileAction(MidifileComponent::kActionClose);
    f.FileName(path);
    f.FileAction(MidifileComponent::kActionOpen);
    std::vector<std::vector<Event>> tracks;
    for (int t = 1; t <= f.TrackCount() + 1; ++t) {
        f.Track(t);
        std::vector<Event>& events = tracks.emplace_back();
        events.emplace_back(0, 0, 0, 0, "packed", f.TrackEvents());
        for (std::int32_t e = 1; e <= f.EventCount() + 1; ++e) {  // and the event past the last
            f.EventIndex(e);
            events.emplace_back(f.EvStatus(), f.EvData1(), f.EvData2(), f.EvDelta(), f.EvText(), f.EvSysEx());
        }
    }
    return {{f.TrackCount(), f.Resolution(), f.Tempo(), f.TimeSigNum(), f.TimeSigDenExp(), f.ChannelTable()},
            tracks};
}

// A channel table's bytes: NULs and bytes above 127 must cross unchanged.
const test::Bytes kChannelTable{'C', 'S', 'E', 'G', 0, 0, 0, 4, 0x00, 0xFF, 0x80, 0x0A};

// Every kind of event loading reads: texts with Turkish letters, markers,
// system-exclusive data with NUL bytes and an F7 escape, running status; and
// a channel table after the tracks.
test::SmfBuilder styleFile() {
    test::SmfBuilder file(1, 96);
    file.addTrack()
        .trackName(0, "Çay Bahçesi")
        .timeSignature(0, 6, 3)
        .tempo(0, 428571)
        .xgOn(0)
        .sysExEscape(0, test::Bytes{0xF0, 0x7E, 0x00, 0xF7})
        .marker(0, "Main A")
        .useRunningStatus()
        .noteOn(48, 8, 60, 100)
        .noteOn(48, 8, 60, 0)
        .endOfTrack(96);
    file.addTrack().noteOn(0, 13, 64, 90).noteOff(200000, 13, 64).endOfTrack();
    file.chunk("CASM", kChannelTable);
    return file;
}

TEST(LoadedMidifileTest, ReadsAFileAsTheReaderInTheProgramReadsIt) {
    QueueDispatcher ui;
    const VornelComponentApi* api = test::loadedApi(kMidiFileComponent);
    ASSERT_NE(api, nullptr);
    std::unique_ptr<LoadedMidifile> reader = LoadedMidifile::create(*api, ui);
    ASSERT_NE(reader, nullptr);
    Midifile inProcess;
    test::TempDir files;
    // The name travels as UTF-8 bytes both ways.
    const std::string path = styleFile().writeTo(files.file("Çay Bahçesi.sty")).string();

    const auto [values, tracks] = readAll(*reader, path);
    EXPECT_EQ(reader->FileName(), path);
    EXPECT_EQ(readAll(inProcess, path), std::pair(values, tracks));
    EXPECT_EQ(values, Values(2, 96, 428571, 6, 3, std::string(kChannelTable.begin(), kChannelTable.end())));
    ASSERT_EQ(tracks.size(), 3u);
    ASSERT_EQ(tracks[0].size(), 11u);
    EXPECT_EQ(std::get<5>(tracks[0][0]).size(), 9 * MidifileComponent::kTrackEventBytes);  // a track in one read
    EXPECT_EQ(std::get<4>(tracks[0][1]), "Çay Bahçesi");
    EXPECT_EQ(std::get<5>(tracks[0][4]), std::string("\xF0\x43\x10\x4C\x00\x00\x7E\x00\xF7", 9));  // NULs kept
    EXPECT_EQ(std::get<5>(tracks[0][5]), std::string("\xF0\x7E\x00\xF7", 4));
    EXPECT_EQ(tracks[0][8], Event(0x98, 60, 0, 48, "", ""));  // status from running status
    EXPECT_EQ(tracks[0][10], Event(0, 0, 0, 0, "", ""));      // past the last event
    EXPECT_EQ(std::get<3>(tracks[1][2]), 200000);
    EXPECT_EQ(tracks[2], (std::vector<Event>{Event(0, 0, 0, 0, "packed", ""), Event()}));  // past the last track

    // A file that is not there leaves no tracks, as in the program.
    const std::string missing = files.file("yok.sty").string();
    const auto gone = readAll(*reader, missing);
    EXPECT_EQ(std::get<0>(gone.first), 0);
    EXPECT_EQ(readAll(inProcess, missing), gone);
    EXPECT_EQ(reader->FileName(), missing);
}

}  // namespace
}  // namespace vornel
