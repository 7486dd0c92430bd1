#include "midi/file/Midifile.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "midi/file/MidifileDispatch.h"
#include "midi/file/SmfParser.h"

namespace vornel {

void Midifile::FileAction(std::int32_t action) noexcept {
    if (action == kActionOpen)
        loadFromDisk();
    else if (action == kActionClose)
        close();
}

void Midifile::FileName(const std::string& path) {
    fileName_ = path;
}

std::string Midifile::FileName() const {
    return fileName_;
}

std::int16_t Midifile::TrackCount() const noexcept {
    return static_cast<std::int16_t>(data_.trackCount());
}

void Midifile::Track(std::int32_t track) noexcept {
    track_ = track;
}

std::int32_t Midifile::EventCount() const noexcept {
    if (track_ < 1) return 0;
    return static_cast<std::int32_t>(data_.eventCount(track_ - 1));
}

void Midifile::EventIndex(std::int32_t index) noexcept {
    eventIndex_ = index;
}

const SmfEvent* Midifile::selected() const noexcept {
    if (track_ < 1 || eventIndex_ < 1) return nullptr;
    return data_.event(track_ - 1, static_cast<std::size_t>(eventIndex_) - 1);
}

std::int16_t Midifile::EvStatus() const noexcept {
    const SmfEvent* e = selected();
    return e ? e->status : 0;
}

std::int16_t Midifile::EvData1() const noexcept {
    const SmfEvent* e = selected();
    return e ? e->data1 : 0;
}

std::int16_t Midifile::EvData2() const noexcept {
    const SmfEvent* e = selected();
    return e ? e->data2 : 0;
}

std::int32_t Midifile::EvDelta() const noexcept {
    const SmfEvent* e = selected();
    return e ? static_cast<std::int32_t>(e->delta) : 0;
}

std::string Midifile::EvText() const {
    const SmfEvent* e = selected();
    return e ? std::string(data_.text(*e)) : std::string();
}

std::string Midifile::EvSysEx() const {
    const SmfEvent* e = selected();
    return e ? data_.sysEx(*e) : std::string();
}

std::int32_t Midifile::EvTempo() const noexcept {
    const SmfEvent* e = selected();
    return e ? data_.tempoOf(*e) : 0;
}

std::int16_t Midifile::Resolution() const noexcept {
    return static_cast<std::int16_t>(data_.resolution());
}

std::int32_t Midifile::Tempo() const noexcept {
    return data_.tempo();
}

std::int16_t Midifile::TimeSigNum() const noexcept {
    return static_cast<std::int16_t>(data_.timeSigNum());
}

std::int16_t Midifile::TimeSigDenExp() const noexcept {
    return static_cast<std::int16_t>(data_.timeSigDenExp());
}

std::string Midifile::ChannelTable() const {
    return std::string(data_.channelTable());
}

std::string Midifile::TrackEvents() const {
    std::string packed;
    if (track_ < 1) return packed;
    const std::size_t count = data_.eventCount(track_ - 1);
    packed.resize(count * kTrackEventBytes);
    char* out = packed.data();
    for (std::size_t i = 0; i < count; ++i, out += kTrackEventBytes) {
        const SmfEvent& e = *data_.event(track_ - 1, i);
        out[0] = static_cast<char>(e.delta >> 24);
        out[1] = static_cast<char>(e.delta >> 16);
        out[2] = static_cast<char>(e.delta >> 8);
        out[3] = static_cast<char>(e.delta);
        out[4] = static_cast<char>(e.status);
        out[5] = static_cast<char>(e.data1);
        out[6] = static_cast<char>(e.data2);
        out[7] = 0;
    }
    return packed;
}

std::int32_t Midifile::getNumber(int dispId) const noexcept {
    switch (dispId) {
        case MidifileDispatch::TrackCount:
            return TrackCount();
        case MidifileDispatch::EventCount:
            return EventCount();
        case MidifileDispatch::EvStatus:
            return EvStatus();
        case MidifileDispatch::EvData1:
            return EvData1();
        case MidifileDispatch::EvData2:
            return EvData2();
        case MidifileDispatch::EvDelta:
            return EvDelta();
        case MidifileDispatch::Resolution:
            return Resolution();
        case MidifileDispatch::Tempo:
            return Tempo();
        case MidifileDispatch::EvTempo:
            return EvTempo();
        case MidifileDispatch::TimeSigNum:
            return TimeSigNum();
        case MidifileDispatch::TimeSigDenExp:
            return TimeSigDenExp();
        default:
            return 0;
    }
}

std::string Midifile::getString(int dispId) const {
    switch (dispId) {
        case MidifileDispatch::FileName:
            return FileName();
        case MidifileDispatch::EvText:
            return EvText();
        case MidifileDispatch::EvSysEx:
            return EvSysEx();
        case MidifileDispatch::ChannelTable:
            return ChannelTable();
        case MidifileDispatch::TrackEvents:
            return TrackEvents();
        default:
            return {};
    }
}

void Midifile::set(int dispId, std::int32_t value) noexcept {
    switch (dispId) {
        case MidifileDispatch::FileAction:
            FileAction(value);
            break;
        case MidifileDispatch::Track:
            Track(value);
            break;
        case MidifileDispatch::EventIndex:
            EventIndex(value);
            break;
        default:
            break;
    }
}

void Midifile::set(int dispId, const std::string& value) {
    if (dispId == MidifileDispatch::FileName) FileName(value);
}

bool Midifile::loadFromMemory(const std::uint8_t* bytes, std::size_t size) noexcept {
    close();
    if (bytes == nullptr || size > SmfData::kMaxFileBytes) return false;
    try {
        data_ = SmfParser::parse(std::vector<std::uint8_t>(bytes, bytes + size));
    } catch (...) {  // out of memory: the file is treated as unreadable
        close();
        return false;
    }
    return data_.hasHeader();
}

// The file is read whole, then parsed from memory. Its size is asked first,
// and only a regular file has one: a folder or a device would open as a
// stream too, and a pipe could block the window for good.
void Midifile::loadFromDisk() noexcept {
    close();
    try {
        std::error_code ec;
        const std::filesystem::path path(fileName_);
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (ec || size > SmfData::kMaxFileBytes) return;
        std::ifstream in(path, std::ios::binary);
        if (!in) return;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (static_cast<std::uintmax_t>(in.gcount()) != size) return;
        data_ = SmfParser::parse(std::move(bytes));
    } catch (...) {
        close();
    }
}

void Midifile::close() noexcept {
    data_ = SmfData();
    track_ = 1;
    eventIndex_ = 1;
}

}  // namespace vornel
