#include "midi/file/SmfData.h"

namespace vornel {

std::size_t SmfData::eventCount(int track) const {
    if (track < 0 || track >= trackCount()) return 0;
    return trackBegin_[track + 1] - trackBegin_[track];
}

const SmfEvent* SmfData::event(int track, std::size_t index) const {
    if (index >= eventCount(track)) return nullptr;
    return &events_[trackBegin_[track] + index];
}

std::string_view SmfData::storedBytes(const SmfEvent& e) const {
    if (!e.isMeta() && !e.isSysEx() && !e.isSysExEscape()) return {};
    // The parser only records ranges inside the buffer; the check keeps a
    // hand-made event from reaching outside it.
    if (e.dataOffset > bytes_.size() || e.dataLength > bytes_.size() - e.dataOffset) return {};
    return {reinterpret_cast<const char*>(bytes_.data()) + e.dataOffset, e.dataLength};
}

std::string_view SmfData::channelTable() const {
    if (!hasChannelTable_ || channelTableOffset_ > bytes_.size() ||
        channelTableLength_ > bytes_.size() - channelTableOffset_)
        return {};
    return {reinterpret_cast<const char*>(bytes_.data()) + channelTableOffset_, channelTableLength_};
}

std::string_view SmfData::text(const SmfEvent& e) const {
    if (!e.isMeta() || !meta::isTextType(e.data1)) return {};
    const std::string_view stored = storedBytes(e);
    return stored.substr(0, stored.find('\0'));
}

std::string SmfData::sysEx(const SmfEvent& e) const {
    if (e.isSysEx()) {
        std::string message;
        const std::string_view stored = storedBytes(e);
        message.reserve(stored.size() + 1);
        message.push_back(static_cast<char>(0xF0));
        message.append(stored);
        return message;
    }
    if (e.isSysExEscape()) return std::string(storedBytes(e));
    return {};
}

std::int32_t SmfData::tempoOf(const SmfEvent& e) const {
    if (!e.isMeta(meta::kTempo) || e.dataLength < 3) return 0;
    const auto* b = bytes_.data() + e.dataOffset;
    return (b[0] << 16) | (b[1] << 8) | b[2];
}

std::size_t SmfData::footprintBytes() const {
    return sizeof(*this) + bytes_.capacity() + events_.capacity() * sizeof(SmfEvent) +
           trackBegin_.capacity() * sizeof(std::uint32_t);
}

}  // namespace vornel
