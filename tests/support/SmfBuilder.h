#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace vornel::test {

using Bytes = std::vector<std::uint8_t>;

// Bytes of a string, NULs included: Bytes("fn:Main A\0" as a std::string).
Bytes bytesOf(const std::string& s);
// The variable-length encoding of a delta time or length (up to 0x0FFFFFFF).
Bytes varLen(std::uint32_t value);

// The body of one MTrk chunk, written event by event. Every event method takes
// the delta time first; channels are 0..15. Nothing is checked: tests write
// broken tracks on purpose with raw() and declaredLength().
class TrackBuilder {
public:
    TrackBuilder& noteOn(std::uint32_t delta, int channel, int note, int velocity);
    TrackBuilder& noteOff(std::uint32_t delta, int channel, int note, int velocity = 0);
    TrackBuilder& polyPressure(std::uint32_t delta, int channel, int note, int value);
    TrackBuilder& controlChange(std::uint32_t delta, int channel, int controller, int value);
    TrackBuilder& programChange(std::uint32_t delta, int channel, int program);
    TrackBuilder& channelPressure(std::uint32_t delta, int channel, int value);
    // value 0..16383, 8192 is the centre.
    TrackBuilder& pitchBend(std::uint32_t delta, int channel, int value);
    // Any channel message; data2 is written only for statuses that have it.
    TrackBuilder& channelMessage(std::uint32_t delta, int status, int data1, int data2 = 0);
    // A data-only event relying on running status: the delta, then `data`.
    TrackBuilder& running(std::uint32_t delta, std::initializer_list<std::uint8_t> data);

    // F0 <length> body: `body` is what follows F0, normally ending with F7.
    TrackBuilder& sysEx(std::uint32_t delta, const Bytes& body);
    // F7 <length> bytes: an escape, the bytes are sent as they are.
    TrackBuilder& sysExEscape(std::uint32_t delta, const Bytes& bytes);
    TrackBuilder& gmOn(std::uint32_t delta);  // F0 7E 7F 09 01 F7
    TrackBuilder& xgOn(std::uint32_t delta);  // F0 43 10 4C 00 00 7E 00 F7

    TrackBuilder& meta(std::uint32_t delta, int type, const Bytes& data);
    TrackBuilder& meta(std::uint32_t delta, int type, const std::string& data);
    TrackBuilder& text(std::uint32_t delta, const std::string& s) { return meta(delta, 0x01, s); }
    TrackBuilder& copyright(std::uint32_t delta, const std::string& s) {
        return meta(delta, 0x02, s);
    }
    TrackBuilder& trackName(std::uint32_t delta, const std::string& s) {
        return meta(delta, 0x03, s);
    }
    TrackBuilder& marker(std::uint32_t delta, const std::string& s) { return meta(delta, 0x06, s); }
    TrackBuilder& tempo(std::uint32_t delta, std::uint32_t microsPerQuarter);
    TrackBuilder& timeSignature(std::uint32_t delta, int numerator, int denominatorExp,
                                int clocksPerClick = 24, int thirtySecondsPerQuarter = 8);
    TrackBuilder& endOfTrack(std::uint32_t delta = 0);

    // Bytes written as they are, with no delta; not counted as an event.
    TrackBuilder& raw(const Bytes& bytes);
    // From now on, a channel message whose status equals that of the channel
    // message written just before it is written without its status byte.
    TrackBuilder& useRunningStatus(bool on = true);
    // The chunk length to write instead of the body's real length.
    TrackBuilder& declaredLength(std::uint32_t length);

    const Bytes& body() const { return body_; }
    std::uint32_t chunkLength() const;
    // Events written through the event methods, and the tick after the last.
    int eventCount() const { return static_cast<int>(eventEnds_.size()); }
    std::uint64_t tick() const { return tick_; }
    // Where each event ends, as an offset into body(): a track cut at offset n
    // holds exactly the events that end at or before n.
    const std::vector<std::size_t>& eventEnds() const { return eventEnds_; }

private:
    void startEvent(std::uint32_t delta);
    TrackBuilder& endEvent();
    void writeStatus(std::uint8_t status);

    Bytes body_;
    std::vector<std::size_t> eventEnds_;
    std::uint64_t tick_ = 0;
    bool runningStatus_ = false;
    std::uint8_t lastStatus_ = 0;
    bool hasDeclaredLength_ = false;
    std::uint32_t declaredLength_ = 0;
};

// A whole Standard MIDI File: the MThd header, then tracks, foreign chunks and
// raw bytes in the order they were added, then an optional cut.
class SmfBuilder {
public:
    explicit SmfBuilder(int format = 1, int division = 480);

    SmfBuilder& format(int format);
    // Written as given: 0x8000 and above is SMPTE time division.
    SmfBuilder& division(int division);
    // The header's track count; by default the number of tracks added.
    SmfBuilder& declaredTracks(int count);
    // The header chunk's length; 6 by default. Longer pads the header with
    // zero bytes, shorter writes only that many of its six bytes.
    SmfBuilder& headerLength(std::uint32_t length);

    // A new track after everything added so far. The reference stays valid
    // until the builder is copied, moved or destroyed.
    TrackBuilder& addTrack();
    // The tracks added so far, in order (0-based).
    const TrackBuilder& track(int index) const {
        return tracks_.at(static_cast<std::size_t>(index));
    }
    int trackCount() const { return static_cast<int>(tracks_.size()); }
    // A chunk with any four-character id; `declaredLength` overrides its
    // length field (a chunk that claims more bytes than it has, say).
    SmfBuilder& chunk(const std::string& id, const Bytes& body);
    SmfBuilder& chunk(const std::string& id, const Bytes& body, std::uint32_t declaredLength);
    // The chunks that follow the track in a keyboard style file.
    SmfBuilder& casm();
    SmfBuilder& otsc();  // holds chunks named MTrk that are not tracks of the file
    SmfBuilder& fnrc();
    SmfBuilder& aasm();
    SmfBuilder& styleChunks();  // casm, otsc, fnrc, aasm
    // Bytes after everything added so far (garbage after a track, say).
    SmfBuilder& appendRaw(const Bytes& bytes);
    // Cuts the finished file to `size` bytes (no effect if it is shorter).
    SmfBuilder& truncateTo(std::size_t size);
    // Cuts `count` bytes off the end of the finished file.
    SmfBuilder& dropLast(std::size_t count);

    Bytes build() const;
    // Writes build() to `path`; returns `path`. Throws std::runtime_error if
    // the file cannot be written.
    std::filesystem::path writeTo(const std::filesystem::path& path) const;

    // The bytes of one whole chunk: id, big-endian length, body.
    static Bytes chunkBytes(const std::string& id, const Bytes& body);

private:
    struct Part {
        int track = -1;  // index into tracks_, or else
        Bytes bytes;     // bytes written as they are
    };

    int format_;
    int division_;
    int declaredTracks_ = -1;
    std::uint32_t headerLength_ = 6;
    std::deque<TrackBuilder> tracks_;
    std::vector<Part> parts_;
    std::size_t truncateTo_ = SIZE_MAX;
    std::size_t dropLast_ = 0;
};

}  // namespace vornel::test
