#include "midi/file/MidiFile.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "midi/file/MidiFileDispatch.h"
#include "midi/file/SmfParser.h"

namespace vornel {

void MidiFile::FileAction(std::int32_t action) noexcept {
    if (action == kActionOpen)
        loadFromDisk();
    else if (action == kActionClose)
        close();
}

void MidiFile::FileName(const std::string& path) {
    fileName_ = path;
}

std::string MidiFile::FileName() const {
    return fileName_;
}

std::int16_t MidiFile::TrackCount() const noexcept {
    return static_cast<std::int16_t>(data_.trackCount());
}

void MidiFile::Track(std::int32_t track) noexcept {
    track_ = track;
}

std::int32_t MidiFile::EventCount() const noexcept {
    if (track_ < 1) return 0;
    return static_cast<std::int32_t>(data_.eventCount(track_ - 1));
}

void MidiFile::EventIndex(std::int32_t index) noexcept {
    eventIndex_ = index;
}

const SmfEvent* MidiFile::selected() const noexcept {
    if (track_ < 1 || eventIndex_ < 1) return nullptr;
    return data_.event(track_ - 1, static_cast<std::size_t>(eventIndex_) - 1);
}

std::int16_t MidiFile::EvStatus() const noexcept {
    const SmfEvent* e = selected();
    return e ? e->status : 0;
}

std::int16_t MidiFile::EvData1() const noexcept {
    const SmfEvent* e = selected();
    return e ? e->data1 : 0;
}

std::int16_t MidiFile::EvData2() const noexcept {
    const SmfEvent* e = selected();
    return e ? e->data2 : 0;
}

std::int32_t MidiFile::EvDelta() const noexcept {
    const SmfEvent* e = selected();
    return e ? static_cast<std::int32_t>(e->delta) : 0;
}

std::string MidiFile::EvText() const {
    const SmfEvent* e = selected();
    return e ? std::string(data_.text(*e)) : std::string();
}

std::string MidiFile::EvSysEx() const {
    const SmfEvent* e = selected();
    return e ? data_.sysEx(*e) : std::string();
}

std::int16_t MidiFile::Resolution() const noexcept {
    return static_cast<std::int16_t>(data_.resolution());
}

std::int32_t MidiFile::Tempo() const noexcept {
    return data_.tempo();
}

std::int16_t MidiFile::TimeSigNum() const noexcept {
    return static_cast<std::int16_t>(data_.timeSigNum());
}

std::int16_t MidiFile::TimeSigDenExp() const noexcept {
    return static_cast<std::int16_t>(data_.timeSigDenExp());
}

std::int32_t MidiFile::getNumber(int dispId) const noexcept {
    switch (dispId) {
        case MidiFileDispatch::TrackCount:
            return TrackCount();
        case MidiFileDispatch::EventCount:
            return EventCount();
        case MidiFileDispatch::EvStatus:
            return EvStatus();
        case MidiFileDispatch::EvData1:
            return EvData1();
        case MidiFileDispatch::EvData2:
            return EvData2();
        case MidiFileDispatch::EvDelta:
            return EvDelta();
        case MidiFileDispatch::Resolution:
            return Resolution();
        case MidiFileDispatch::Tempo:
            return Tempo();
        case MidiFileDispatch::TimeSigNum:
            return TimeSigNum();
        case MidiFileDispatch::TimeSigDenExp:
            return TimeSigDenExp();
        default:
            return 0;
    }
}

std::string MidiFile::getString(int dispId) const {
    switch (dispId) {
        case MidiFileDispatch::FileName:
            return FileName();
        case MidiFileDispatch::EvText:
            return EvText();
        case MidiFileDispatch::EvSysEx:
            return EvSysEx();
        default:
            return {};
    }
}

void MidiFile::set(int dispId, std::int32_t value) noexcept {
    switch (dispId) {
        case MidiFileDispatch::FileAction:
            FileAction(value);
            break;
        case MidiFileDispatch::Track:
            Track(value);
            break;
        case MidiFileDispatch::EventIndex:
            EventIndex(value);
            break;
        default:
            break;
    }
}

void MidiFile::set(int dispId, const std::string& value) {
    if (dispId == MidiFileDispatch::FileName) FileName(value);
}

bool MidiFile::loadFromMemory(const std::uint8_t* bytes, std::size_t size) noexcept {
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
void MidiFile::loadFromDisk() noexcept {
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

void MidiFile::close() noexcept {
    data_ = SmfData();
    track_ = 1;
    eventIndex_ = 1;
}

}  // namespace vornel
