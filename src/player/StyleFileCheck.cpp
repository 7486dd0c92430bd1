#include "player/StyleFileCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <system_error>

#include "midi/file/MidifileComponent.h"
#include "style/MarkerScan.h"
#include "style/PartTable.h"

namespace vornel {

namespace {

constexpr std::int16_t kMetaStatus = 255;
constexpr std::int16_t kMarkerType = 6;
constexpr std::size_t kChunkHeaderBytes = 8;

// The big-endian length after a chunk's four-character id.
std::uint64_t chunkLength(const std::array<char, kChunkHeaderBytes>& header) {
    std::uint64_t value = 0;
    for (std::size_t i = 4; i < 8; ++i)
        value = (value << 8) | static_cast<unsigned char>(header[i]);
    return value;
}

}  // namespace

// Only the chunk headers are read, by seeking past each chunk, so a large
// style costs a few reads. The walk ends with the last track the header
// declares, as the reader's does: whatever follows the tracks (a style's own
// chunks, padding, stray bytes) is not the reader's to play.
StyleFileState checkStyleFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return StyleFileState::Unreadable;
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    in.seekg(0);

    std::array<char, kChunkHeaderBytes> header{};
    std::array<char, 4> counts{};  // format and number of tracks
    if (!in.read(header.data(), header.size()) || std::string(header.data(), 4) != "MThd")
        return StyleFileState::NotMidi;
    if (!in.read(counts.data(), counts.size())) return StyleFileState::Truncated;
    const int declaredTracks =
        (static_cast<unsigned char>(counts[2]) << 8) | static_cast<unsigned char>(counts[3]);

    std::uint64_t at = kChunkHeaderBytes + chunkLength(header);
    int tracks = 0;
    while (tracks < declaredTracks) {
        if (size - std::min(at, size) < kChunkHeaderBytes) return StyleFileState::Truncated;
        in.seekg(static_cast<std::streamoff>(at));
        if (!in.read(header.data(), header.size())) return StyleFileState::Unreadable;
        if (std::string(header.data(), 4) == "MTrk") ++tracks;
        at += kChunkHeaderBytes + chunkLength(header);
        if (at > size) return StyleFileState::Truncated;
    }
    return StyleFileState::Whole;
}

std::string lastSectionMarker(MidifileComponent& file) {
    std::string last;
    file.Track(1);
    const std::int32_t events = file.EventCount();
    for (std::int32_t e = 1; e <= events; ++e) {
        file.EventIndex(e);
        if (file.EvStatus() != kMetaStatus || file.EvData1() != kMarkerType) continue;
        std::string text = file.EvText();
        upperAsciiInPlace(text);
        const int button = markerButton(text);
        if (button >= 0)
            last = std::string(kPartTable[static_cast<std::size_t>(button)].sectionName);
    }
    return last;
}

}  // namespace vornel
