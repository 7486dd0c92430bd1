#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class MidifileComponent;

// One event of the reader's file as loading uses it.
struct FileEvent {
    std::int64_t time = 0;  // absolute tick within its track
    std::int16_t status = 0;
    std::int16_t data1 = 0;
    std::int16_t data2 = 0;
    std::uint32_t bytes = 0;  // 1 + index of its text or system-exclusive data; 0 for none
    std::int32_t tempo = 0;   // a tempo event's microseconds per quarter note
};

// The events of the reader's file, read once per load into plain memory:
// each track in one call, and the text or system-exclusive data of the few
// events that carry some one by one. Loading then walks the file as often as
// it needs to without crossing into the reader's module again.
class FileEvents {
public:
    // Every track, or only track `onlyTrack` (1-based; the others are left
    // empty) when it is not 0.
    static FileEvents read(MidifileComponent& reader, int onlyTrack = 0);

    int trackCount() const { return static_cast<int>(tracks_.size()); }
    // Events of track `track` (1-based); empty for a track outside the file.
    const std::vector<FileEvent>& track(int track) const;
    // A text-type meta event's text, or a system-exclusive event's data as
    // EvSysEx gives it; empty for every other event.
    std::string_view text(const FileEvent& e) const;
    std::string_view sysEx(const FileEvent& e) const;

private:
    std::string_view bytesOf(const FileEvent& e) const;

    std::vector<std::vector<FileEvent>> tracks_;
    std::vector<std::string> bytes_;
};

}  // namespace vornel
