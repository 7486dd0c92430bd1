#pragma once

#include <cstdint>

namespace vornel {

// One event of a track as it was read. Meta and system-exclusive events keep
// only the position of their bytes in the file buffer, so a file with many
// long texts costs no more memory than the file itself.
struct SmfEvent {
    std::uint64_t tick = 0;        // absolute: the sum of the deltas up to this event
    std::uint32_t delta = 0;       // ticks since the previous event of the track
    std::uint32_t dataOffset = 0;  // meta / sysex: where the stored bytes start
    std::uint32_t dataLength = 0;  // meta / sysex: how many bytes are stored
    std::uint8_t status = 0;       // full status byte, running status resolved; 0xFF meta
    std::uint8_t data1 = 0;        // first data byte; the type of a meta event
    std::uint8_t data2 = 0;        // second data byte; 0 where the event has none

    bool isMeta() const { return status == 0xFF; }
    bool isSysEx() const { return status == 0xF0; }
    bool isSysExEscape() const { return status == 0xF7; }
    bool isMeta(std::uint8_t type) const { return status == 0xFF && data1 == type; }
};

// Meta event types the reader itself looks at.
namespace meta {
inline constexpr std::uint8_t kEndOfTrack = 0x2F;
inline constexpr std::uint8_t kTempo = 0x51;
inline constexpr std::uint8_t kTimeSignature = 0x58;
// Types 1..15 are the text events (text, copyright, track name, marker, ...).
inline constexpr bool isTextType(std::uint8_t type) {
    return type >= 0x01 && type <= 0x0F;
}
}  // namespace meta

}  // namespace vornel
