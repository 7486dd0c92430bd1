#include "midi/file/SmfParser.h"

#include <algorithm>
#include <cmath>

#include "midi/MidiVocabulary.h"
#include "midi/file/ByteCursor.h"

namespace vornel {

SmfData SmfParser::parse(std::vector<std::uint8_t> bytes) {
    SmfData data;
    if (bytes.size() > SmfData::kMaxFileBytes) return data;
    data.bytes_ = std::move(bytes);
    SmfParser parser(data);
    parser.readChunks();
    parser.findFileValues();
    if (!data.hasHeader_) {
        // Nothing refers to the bytes of a file that is not a MIDI file.
        data.bytes_ = {};
    }
    // The event table grew by doubling; give back the slack it left.
    data.events_.shrink_to_fit();
    data.trackBegin_.shrink_to_fit();
    return data;
}

// Chunks are walked by their declared lengths, never by searching for a
// chunk name: style files carry chunks after their tracks (CASM, OTSc, FNRc,
// AASM, ...) and OTSc holds chunks named MTrk of its own that are not tracks
// of the file. Unknown chunks are skipped.
//
// The header's track count is the number of MTrk chunks read: MTrk chunks
// beyond it are not tracks of the file, and a file with fewer reports the
// tracks it has. A header of fewer than six bytes, or one that runs past the
// end of the buffer, makes the file unreadable; a longer header is allowed
// and its extra bytes skipped. A chunk whose declared length runs past the
// end of the buffer ends the walk; if it is a track, its whole events are
// read up to the end of the buffer.
void SmfParser::readChunks() {
    ByteCursor in(data_.bytes_.data(), 0, data_.bytes_.size());
    std::uint32_t headerLength = 0;
    std::uint16_t format = 0, declaredTracks = 0, division = 0;
    if (!in.readId("MThd") || !in.readU32(headerLength) || headerLength < 6 || headerLength > in.remaining()) return;
    in.readU16(format);
    in.readU16(declaredTracks);
    in.readU16(division);
    in.skip(headerLength - 6);
    data_.hasHeader_ = true;
    data_.format_ = format;
    data_.declaredTracks_ = declaredTracks;
    data_.division_ = division;
    data_.trackBegin_.push_back(0);

    // The walk goes on past the tracks: the channel table of a style follows
    // them. Only the first CASM chunk counts, and only when it lies wholly in
    // the buffer: a cut table would be read as something it is not.
    const int wanted = std::min<int>(declaredTracks, SmfData::kMaxTracks);
    while (in.remaining() >= 8) {
        const bool isTrack = data_.trackCount() < wanted && in.readId("MTrk");
        const bool isTable = !isTrack && !data_.hasChannelTable_ && in.readId("CASM");
        if (!isTrack && !isTable) in.skip(4);
        std::uint32_t length = 0;
        in.readU32(length);
        const std::size_t begin = in.position();
        if (isTrack) readTrack(begin, begin + std::min<std::size_t>(length, in.remaining()));
        if (isTable && length <= in.remaining()) {
            data_.hasChannelTable_ = true;
            data_.channelTableOffset_ = static_cast<std::uint32_t>(begin);
            data_.channelTableLength_ = length;
        }
        if (!in.skip(length)) break;
    }
}

// A track ends at its End-of-Track event; bytes after it inside the chunk are
// not read, so every track reports End-of-Track last when it has one. A track
// without one ends with its last whole event. Damage ends the track where it
// starts, keeping every whole event before it.
void SmfParser::readTrack(std::size_t begin, std::size_t end) {
    ByteCursor in(data_.bytes_.data(), begin, end);
    runningStatus_ = 0;
    std::uint64_t tick = 0;
    SmfEvent ev;
    while (readEvent(in, ev)) {
        tick += ev.delta;
        ev.tick = tick;
        data_.events_.push_back(ev);
        if (ev.isMeta(meta::kEndOfTrack)) break;
    }
    data_.trackBegin_.push_back(static_cast<std::uint32_t>(data_.events_.size()));
}

// Reads one event; false at the end of the track or where it is damaged:
// - a variable-length number of more than four bytes (beyond what the format
//   allows; reading on would mean guessing where the next event starts);
// - a data byte where a status is due while no running status is in force;
// - a status byte F1..FE other than F7 and FF: such system messages cannot
//   stand in a file, and their length is unknown there;
// - a byte with its top bit set where a channel message needs a data byte;
// - a meta or system-exclusive event whose length runs past the track.
// Running status is set only by channel messages. Meta and system-exclusive
// events neither set nor cancel it: a correct file never depends on the
// cancelling, and files written by lax sequencers go on with the running
// status after a meta event, so this reads both as they were meant.
bool SmfParser::readEvent(ByteCursor& in, SmfEvent& ev) {
    ev = SmfEvent{};
    std::uint8_t first = 0;
    if (!in.readVarLen(ev.delta) || !in.readByte(first)) return false;

    std::uint8_t data[2] = {0, 0};
    int have = 0;
    if (midi::isDataByte(first)) {
        if (runningStatus_ == 0) return false;
        ev.status = runningStatus_;
        data[have++] = first;
    } else {
        ev.status = first;
    }

    if (ev.status == midi::kMeta) return in.readByte(ev.data1) && readStoredBytes(in, ev);
    if (ev.status == midi::kSysEx || ev.status == midi::kSysExEnd) return readStoredBytes(in, ev);
    if (!midi::isChannelMessage(ev.status)) return false;

    runningStatus_ = ev.status;
    const int kind = midi::kindOf(ev.status);
    const int needed = (kind == midi::kProgramChange || kind == midi::kChannelPressure) ? 1 : 2;
    for (; have < needed; ++have)
        if (!in.readByte(data[have]) || !midi::isDataByte(data[have])) return false;
    ev.data1 = data[0];
    ev.data2 = data[1];
    return true;
}

bool SmfParser::readStoredBytes(ByteCursor& in, SmfEvent& ev) {
    std::uint32_t length = 0;
    if (!in.readVarLen(length) || length > in.remaining()) return false;
    // Offsets fit in 32 bits: files above kMaxFileBytes are never parsed.
    ev.dataOffset = static_cast<std::uint32_t>(in.position());
    ev.dataLength = length;
    in.skip(length);
    return true;
}

// The first tempo and time signature by absolute tick, on equal ticks the one
// in the lower track. A tempo event with fewer than three bytes or a time
// signature with fewer than two is not taken; values are taken as written,
// even 0, and left to the callers to guard.
//
// With SMPTE time division (top bit of the division set: minus the frames per
// second in the high byte, ticks per frame in the low byte) the file counts
// ticks per second, not per quarter note. Resolution then reports the ticks
// that fall in one quarter note at the file's tempo, so that ticks convert to
// the right milliseconds through Tempo and Resolution like in any other file.
void SmfParser::findFileValues() {
    const SmfEvent* tempo = nullptr;
    const SmfEvent* timeSig = nullptr;
    for (int t = 0; t < data_.trackCount(); ++t) {
        const SmfEvent* trackTempo = nullptr;
        const SmfEvent* trackTimeSig = nullptr;
        for (std::size_t i = 0, n = data_.eventCount(t); i < n; ++i) {
            const SmfEvent* e = data_.event(t, i);
            if (!trackTempo && e->isMeta(meta::kTempo) && e->dataLength >= 3) trackTempo = e;
            if (!trackTimeSig && e->isMeta(meta::kTimeSignature) && e->dataLength >= 2) trackTimeSig = e;
            if (trackTempo && trackTimeSig) break;
        }
        if (trackTempo && (!tempo || trackTempo->tick < tempo->tick)) tempo = trackTempo;
        if (trackTimeSig && (!timeSig || trackTimeSig->tick < timeSig->tick)) timeSig = trackTimeSig;
    }
    const std::uint8_t* bytes = data_.bytes_.data();
    if (tempo) {
        const std::uint8_t* b = bytes + tempo->dataOffset;
        data_.tempo_ = (b[0] << 16) | (b[1] << 8) | b[2];
    }
    if (timeSig) {
        data_.timeSigNum_ = bytes[timeSig->dataOffset];
        data_.timeSigDenExp_ = bytes[timeSig->dataOffset + 1];
    }

    if (!data_.isSmpte()) {
        data_.resolution_ = data_.division_;
        return;
    }
    const int framesPerSecond = 256 - (data_.division_ >> 8);
    const int ticksPerFrame = data_.division_ & 0xFF;
    // Code 29 stands for 29.97 frames per second (drop-frame).
    const double exactFrames = framesPerSecond == 29 ? 29.97 : framesPerSecond;
    const double perQuarter = exactFrames * ticksPerFrame * data_.tempo_ / 1e6;
    data_.resolution_ = static_cast<int>(std::clamp(std::lround(perQuarter), 0L, 32767L));
}

}  // namespace vornel
