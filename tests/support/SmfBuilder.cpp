#include "support/SmfBuilder.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace vornel::test {

namespace {

void appendU32(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void appendU16(Bytes& out, int v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

}  // namespace

Bytes bytesOf(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes varLen(std::uint32_t value) {
    Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0)
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

// ---- TrackBuilder ----

void TrackBuilder::startEvent(std::uint32_t delta) {
    append(body_, varLen(delta));
    tick_ += delta;
}

TrackBuilder& TrackBuilder::endEvent() {
    eventEnds_.push_back(body_.size());
    return *this;
}

void TrackBuilder::writeStatus(std::uint8_t status) {
    const bool isChannel = status >= 0x80 && status < 0xF0;
    if (!(runningStatus_ && isChannel && status == lastStatus_)) body_.push_back(status);
    lastStatus_ = isChannel ? status : 0;
}

TrackBuilder& TrackBuilder::channelMessage(std::uint32_t delta, int status, int data1, int data2) {
    startEvent(delta);
    writeStatus(static_cast<std::uint8_t>(status));
    body_.push_back(static_cast<std::uint8_t>(data1));
    const int kind = status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0) body_.push_back(static_cast<std::uint8_t>(data2));
    return endEvent();
}

TrackBuilder& TrackBuilder::noteOn(std::uint32_t delta, int channel, int note, int velocity) {
    return channelMessage(delta, 0x90 | channel, note, velocity);
}

TrackBuilder& TrackBuilder::noteOff(std::uint32_t delta, int channel, int note, int velocity) {
    return channelMessage(delta, 0x80 | channel, note, velocity);
}

TrackBuilder& TrackBuilder::polyPressure(std::uint32_t delta, int channel, int note, int value) {
    return channelMessage(delta, 0xA0 | channel, note, value);
}

TrackBuilder& TrackBuilder::controlChange(std::uint32_t delta, int channel, int controller,
                                          int value) {
    return channelMessage(delta, 0xB0 | channel, controller, value);
}

TrackBuilder& TrackBuilder::programChange(std::uint32_t delta, int channel, int program) {
    return channelMessage(delta, 0xC0 | channel, program);
}

TrackBuilder& TrackBuilder::channelPressure(std::uint32_t delta, int channel, int value) {
    return channelMessage(delta, 0xD0 | channel, value);
}

TrackBuilder& TrackBuilder::pitchBend(std::uint32_t delta, int channel, int value) {
    return channelMessage(delta, 0xE0 | channel, value & 0x7F, (value >> 7) & 0x7F);
}

TrackBuilder& TrackBuilder::running(std::uint32_t delta, std::initializer_list<std::uint8_t> data) {
    startEvent(delta);
    body_.insert(body_.end(), data.begin(), data.end());
    return endEvent();
}

TrackBuilder& TrackBuilder::sysEx(std::uint32_t delta, const Bytes& body) {
    startEvent(delta);
    writeStatus(0xF0);
    append(body_, varLen(static_cast<std::uint32_t>(body.size())));
    append(body_, body);
    return endEvent();
}

TrackBuilder& TrackBuilder::sysExEscape(std::uint32_t delta, const Bytes& bytes) {
    startEvent(delta);
    writeStatus(0xF7);
    append(body_, varLen(static_cast<std::uint32_t>(bytes.size())));
    append(body_, bytes);
    return endEvent();
}

TrackBuilder& TrackBuilder::gmOn(std::uint32_t delta) {
    return sysEx(delta, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
}

TrackBuilder& TrackBuilder::xgOn(std::uint32_t delta) {
    return sysEx(delta, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
}

TrackBuilder& TrackBuilder::meta(std::uint32_t delta, int type, const Bytes& data) {
    startEvent(delta);
    writeStatus(0xFF);
    body_.push_back(static_cast<std::uint8_t>(type));
    append(body_, varLen(static_cast<std::uint32_t>(data.size())));
    append(body_, data);
    return endEvent();
}

TrackBuilder& TrackBuilder::meta(std::uint32_t delta, int type, const std::string& data) {
    return meta(delta, type, bytesOf(data));
}

TrackBuilder& TrackBuilder::tempo(std::uint32_t delta, std::uint32_t microsPerQuarter) {
    return meta(delta, 0x51,
                Bytes{static_cast<std::uint8_t>(microsPerQuarter >> 16),
                      static_cast<std::uint8_t>(microsPerQuarter >> 8),
                      static_cast<std::uint8_t>(microsPerQuarter)});
}

TrackBuilder& TrackBuilder::timeSignature(std::uint32_t delta, int numerator, int denominatorExp,
                                          int clocksPerClick, int thirtySecondsPerQuarter) {
    return meta(
        delta, 0x58,
        Bytes{static_cast<std::uint8_t>(numerator), static_cast<std::uint8_t>(denominatorExp),
              static_cast<std::uint8_t>(clocksPerClick),
              static_cast<std::uint8_t>(thirtySecondsPerQuarter)});
}

TrackBuilder& TrackBuilder::endOfTrack(std::uint32_t delta) {
    return meta(delta, 0x2F, Bytes{});
}

TrackBuilder& TrackBuilder::raw(const Bytes& bytes) {
    append(body_, bytes);
    return *this;
}

TrackBuilder& TrackBuilder::useRunningStatus(bool on) {
    runningStatus_ = on;
    return *this;
}

TrackBuilder& TrackBuilder::declaredLength(std::uint32_t length) {
    hasDeclaredLength_ = true;
    declaredLength_ = length;
    return *this;
}

std::uint32_t TrackBuilder::chunkLength() const {
    return hasDeclaredLength_ ? declaredLength_ : static_cast<std::uint32_t>(body_.size());
}

// ---- SmfBuilder ----

SmfBuilder::SmfBuilder(int format, int division) : format_(format), division_(division) {}

SmfBuilder& SmfBuilder::format(int format) {
    format_ = format;
    return *this;
}

SmfBuilder& SmfBuilder::division(int division) {
    division_ = division;
    return *this;
}

SmfBuilder& SmfBuilder::declaredTracks(int count) {
    declaredTracks_ = count;
    return *this;
}

SmfBuilder& SmfBuilder::headerLength(std::uint32_t length) {
    headerLength_ = length;
    return *this;
}

TrackBuilder& SmfBuilder::addTrack() {
    tracks_.emplace_back();
    parts_.push_back(Part{static_cast<int>(tracks_.size()) - 1, {}});
    return tracks_.back();
}

Bytes SmfBuilder::chunkBytes(const std::string& id, const Bytes& body) {
    Bytes out = bytesOf(id.substr(0, 4));
    out.resize(4, ' ');
    appendU32(out, static_cast<std::uint32_t>(body.size()));
    append(out, body);
    return out;
}

SmfBuilder& SmfBuilder::chunk(const std::string& id, const Bytes& body) {
    parts_.push_back(Part{-1, chunkBytes(id, body)});
    return *this;
}

SmfBuilder& SmfBuilder::chunk(const std::string& id, const Bytes& body,
                              std::uint32_t declaredLength) {
    Bytes out = chunkBytes(id, body);
    out[4] = static_cast<std::uint8_t>(declaredLength >> 24);
    out[5] = static_cast<std::uint8_t>(declaredLength >> 16);
    out[6] = static_cast<std::uint8_t>(declaredLength >> 8);
    out[7] = static_cast<std::uint8_t>(declaredLength);
    parts_.push_back(Part{-1, out});
    return *this;
}

// CASM: one CSEG with the sections it applies to (Sdec) and a channel table
// (Ctab), as a keyboard writes it.
SmfBuilder& SmfBuilder::casm() {
    Bytes ctab = bytesOf(
        "\x08"
        "Bass    ");
    ctab.resize(27, 0x00);
    Bytes cseg = chunkBytes("Sdec", bytesOf("Main A,Main B,Fill In AA"));
    append(cseg, chunkBytes("Ctab", ctab));
    return chunk("CASM", chunkBytes("CSEG", cseg));
}

// OTSc: one-touch settings, each an MTrk chunk of its own with real events.
// A reader that searched the bytes for "MTrk" would take them for tracks.
SmfBuilder& SmfBuilder::otsc() {
    Bytes body;
    for (int i = 0; i < 2; ++i) {
        TrackBuilder ots;
        ots.programChange(0, 0, 10 + i).controlChange(0, 0, 7, 100).text(0, "OTS").endOfTrack();
        append(body, chunkBytes("MTrk", ots.body()));
    }
    return chunk("OTSc", body);
}

SmfBuilder& SmfBuilder::fnrc() {
    return chunk("FNRc", bytesOf(std::string("MDB\0Test Style\0", 15)));
}

SmfBuilder& SmfBuilder::aasm() {
    return chunk("AASM", Bytes{0x00, 0x01, 0x02, 0x03, 0xFF, 0xF0});
}

SmfBuilder& SmfBuilder::styleChunks() {
    return casm().otsc().fnrc().aasm();
}

SmfBuilder& SmfBuilder::appendRaw(const Bytes& bytes) {
    parts_.push_back(Part{-1, bytes});
    return *this;
}

SmfBuilder& SmfBuilder::truncateTo(std::size_t size) {
    truncateTo_ = size;
    return *this;
}

SmfBuilder& SmfBuilder::dropLast(std::size_t count) {
    dropLast_ = count;
    return *this;
}

Bytes SmfBuilder::build() const {
    Bytes header;
    appendU16(header, format_);
    appendU16(header, declaredTracks_ >= 0 ? declaredTracks_ : static_cast<int>(tracks_.size()));
    appendU16(header, division_);
    header.resize(headerLength_, 0x00);

    Bytes out = chunkBytes("MThd", header);
    for (const Part& part : parts_) {
        if (part.track < 0) {
            append(out, part.bytes);
            continue;
        }
        const TrackBuilder& track = tracks_[static_cast<std::size_t>(part.track)];
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        appendU32(out, track.chunkLength());
        append(out, track.body());
    }
    out.resize(std::min(out.size(), truncateTo_));
    out.resize(out.size() - std::min(out.size(), dropLast_));
    return out;
}

std::filesystem::path SmfBuilder::writeTo(const std::filesystem::path& path) const {
    const Bytes bytes = build();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path;
}

}  // namespace vornel::test
