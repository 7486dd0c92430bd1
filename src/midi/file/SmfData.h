#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "midi/file/SmfEvent.h"

namespace vornel {

// A Standard MIDI File parsed once into memory: the file's bytes, every event
// of every track in file order, and the file-level values. Any event is then
// reached in constant time. Tracks and events are numbered from 0 here.
class SmfData {
public:
    // Larger files are not read at all: a style is a few hundred kilobytes,
    // and a wrongly chosen video must not be pulled into memory whole.
    static constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;
    // Track numbers are reported as 16-bit signed values; tracks beyond this
    // many are left unread rather than wrap to a negative count.
    static constexpr int kMaxTracks = 32767;
    static constexpr std::int32_t kDefaultTempo = 500000;
    static constexpr int kDefaultTimeSigNum = 4;
    static constexpr int kDefaultTimeSigDenExp = 2;

    // False when the bytes did not start with a usable MThd header; such a
    // file has no tracks and the default file values.
    bool hasHeader() const { return hasHeader_; }
    int format() const { return format_; }
    int declaredTracks() const { return declaredTracks_; }
    std::uint16_t division() const { return division_; }
    bool isSmpte() const { return (division_ & 0x8000u) != 0; }

    int trackCount() const {
        return trackBegin_.empty() ? 0 : static_cast<int>(trackBegin_.size()) - 1;
    }
    std::size_t eventCount(int track) const;
    std::size_t totalEvents() const { return events_.size(); }
    // nullptr when the track or the index is out of range.
    const SmfEvent* event(int track, std::size_t index) const;

    // The bytes stored after the length of a meta or system-exclusive event.
    std::string_view storedBytes(const SmfEvent& e) const;
    // A text-type meta event's text up to its first NUL byte (style files pad
    // their texts with NULs); empty for every other event. Bytes are kept as
    // they are, with no change of encoding.
    std::string_view text(const SmfEvent& e) const;
    // The message to hand to an output port: F0 followed by the stored bytes
    // for a system-exclusive event, the stored bytes alone for an F7 escape
    // (they are sent exactly as written); empty for every other event.
    std::string sysEx(const SmfEvent& e) const;
    // Microseconds per quarter note of a tempo meta event of at least three
    // bytes; 0 for every other event.
    std::int32_t tempoOf(const SmfEvent& e) const;

    // File-level values: the first tempo and time signature of the file
    // (earliest tick, on equal ticks the lower track), or the defaults.
    std::int32_t tempo() const { return tempo_; }
    int timeSigNum() const { return timeSigNum_; }
    int timeSigDenExp() const { return timeSigDenExp_; }
    // Ticks per quarter note; see SmfParser for SMPTE time division.
    int resolution() const { return resolution_; }

    // The body of the file's CASM chunk (a style's channel table), empty when
    // it has none. The reader only finds it; CasmParser reads what it says.
    std::string_view channelTable() const;

    // Bytes held by this object, for keeping memory in proportion to the file.
    std::size_t footprintBytes() const;

private:
    friend class SmfParser;

    std::vector<std::uint8_t> bytes_;
    std::vector<SmfEvent> events_;
    // Events of track t are events_[trackBegin_[t] .. trackBegin_[t + 1]);
    // empty while there are no tracks, so an empty object allocates nothing.
    std::vector<std::uint32_t> trackBegin_;
    bool hasHeader_ = false;
    bool hasChannelTable_ = false;
    std::uint32_t channelTableOffset_ = 0;
    std::uint32_t channelTableLength_ = 0;
    int format_ = 0;
    int declaredTracks_ = 0;
    std::uint16_t division_ = 0;
    std::int32_t tempo_ = kDefaultTempo;
    int timeSigNum_ = kDefaultTimeSigNum;
    int timeSigDenExp_ = kDefaultTimeSigDenExp;
    int resolution_ = 0;
};

}  // namespace vornel
