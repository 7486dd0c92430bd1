#include "style/FileEvents.h"

#include <cstddef>

#include "midi/MidiVocabulary.h"
#include "midi/file/MidifileComponent.h"

namespace vornel {

namespace {

constexpr std::int16_t kTempoType = 0x51;

bool isTextMeta(const FileEvent& e) {
    return e.status == midi::kMeta && e.data1 >= 1 && e.data1 <= 15;
}
bool isSysEx(const FileEvent& e) {
    return e.status == midi::kSysEx || e.status == midi::kSysExEnd;
}

std::uint32_t u32At(const std::string& packed, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(packed[at + i]));
    };
    return (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
}

}  // namespace

FileEvents FileEvents::read(MidifileComponent& reader, int onlyTrack) {
    FileEvents events;
    const int tracks = reader.TrackCount();
    events.tracks_.resize(tracks > 0 ? static_cast<std::size_t>(tracks) : 0u);
    for (int t = 1; t <= tracks; ++t) {
        if (onlyTrack != 0 && t != onlyTrack) continue;
        reader.Track(t);
        const std::string packed = reader.TrackEvents();
        const std::size_t count = packed.size() / MidifileComponent::kTrackEventBytes;
        std::vector<FileEvent>& out = events.tracks_[static_cast<std::size_t>(t - 1)];
        out.resize(count);
        std::int64_t time = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = i * MidifileComponent::kTrackEventBytes;
            FileEvent& e = out[i];
            time += u32At(packed, at);
            e.time = time;
            e.status = static_cast<unsigned char>(packed[at + 4]);
            e.data1 = static_cast<unsigned char>(packed[at + 5]);
            e.data2 = static_cast<unsigned char>(packed[at + 6]);
            if (e.status == midi::kMeta && e.data1 == kTempoType) {
                reader.EventIndex(static_cast<std::int32_t>(i + 1));
                e.tempo = reader.EvTempo();
                continue;
            }
            if (!isTextMeta(e) && !isSysEx(e)) continue;
            reader.EventIndex(static_cast<std::int32_t>(i + 1));
            events.bytes_.push_back(isSysEx(e) ? reader.EvSysEx() : reader.EvText());
            e.bytes = static_cast<std::uint32_t>(events.bytes_.size());
        }
    }
    return events;
}

const std::vector<FileEvent>& FileEvents::track(int track) const {
    static const std::vector<FileEvent> kNone;
    if (track < 1 || track > trackCount()) return kNone;
    return tracks_[static_cast<std::size_t>(track - 1)];
}

std::string_view FileEvents::bytesOf(const FileEvent& e) const {
    if (e.bytes == 0 || e.bytes > bytes_.size()) return {};
    return bytes_[e.bytes - 1];
}

std::string_view FileEvents::text(const FileEvent& e) const {
    return isTextMeta(e) ? bytesOf(e) : std::string_view();
}

std::string_view FileEvents::sysEx(const FileEvent& e) const {
    return isSysEx(e) ? bytesOf(e) : std::string_view();
}

}  // namespace vornel
