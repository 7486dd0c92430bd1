#include "support/CasmBuilder.h"

#include <stdexcept>

namespace vornel::test {

namespace {

Bytes commonPart(const RecordFields& s) {
    Bytes b{static_cast<std::uint8_t>(s.source)};
    std::string name = s.name;
    name.resize(8, ' ');
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(static_cast<std::uint8_t>(s.destination));
    b.push_back(1);  // read-only, as most factory styles are
    b.push_back(static_cast<std::uint8_t>(s.noteMask >> 8));
    b.push_back(static_cast<std::uint8_t>(s.noteMask));
    for (int shift = 32; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(s.chordMask >> shift));
    b.push_back(static_cast<std::uint8_t>(s.sourceRoot));
    b.push_back(static_cast<std::uint8_t>(s.sourceType));
    return b;
}

Bytes block(const RecordFields& s) {
    return {static_cast<std::uint8_t>(s.ntr),       static_cast<std::uint8_t>(s.ntt),
            static_cast<std::uint8_t>(s.highKey),   static_cast<std::uint8_t>(s.lowLimit),
            static_cast<std::uint8_t>(s.highLimit), static_cast<std::uint8_t>(s.rtr)};
}

void feature(Bytes& b, const RecordFields& s) {
    b.push_back(static_cast<std::uint8_t>(s.featureId));
    if (s.featureId == 0) return;
    for (int v : {0x00, 0x18, s.drumNote, s.drumVolume}) b.push_back(static_cast<std::uint8_t>(v));
}

void appendChunk(Bytes& out, const std::string& id, const Bytes& body, std::uint32_t length) {
    out.insert(out.end(), id.begin(), id.end());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(length >> shift));
    out.insert(out.end(), body.begin(), body.end());
}

}  // namespace

Bytes ctabBody(const RecordFields& fields) {
    Bytes b = commonPart(fields);
    const Bytes transposition = block(fields);
    b.insert(b.end(), transposition.begin(), transposition.end());
    feature(b, fields);
    return b;
}

Bytes ctb2Body(const RecordFields& fields) {
    Bytes b = commonPart(fields);
    b.push_back(0);
    b.push_back(127);
    const Bytes transposition = block(fields);
    for (int i = 0; i < 3; ++i) b.insert(b.end(), transposition.begin(), transposition.end());
    b.insert(b.end(), 6, 0x00);
    feature(b, fields);
    return b;
}

CasmBuilder& CasmBuilder::segment(const std::string& sections, bool omitSdec) {
    segments_.emplace_back();
    if (!omitSdec) child("Sdec", bytesOf(sections));
    return *this;
}

CasmBuilder& CasmBuilder::ctab(const RecordFields& fields) {
    return child("Ctab", ctabBody(fields));
}
CasmBuilder& CasmBuilder::ctb2(const RecordFields& fields) {
    return child("Ctb2", ctb2Body(fields));
}

CasmBuilder& CasmBuilder::cntt(int channel, int ntt) {
    return child("Cntt", {static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(ntt)});
}

CasmBuilder& CasmBuilder::child(const std::string& id, const Bytes& body) {
    return child(id, body, static_cast<std::uint32_t>(body.size()));
}

CasmBuilder& CasmBuilder::child(const std::string& id, const Bytes& body, std::uint32_t declaredLength) {
    if (segments_.empty()) throw std::logic_error("CasmBuilder: child before the first segment");
    appendChunk(segments_.back(), id, body, declaredLength);
    return *this;
}

Bytes CasmBuilder::body() const {
    Bytes out;
    for (const Bytes& segment : segments_)
        appendChunk(out, "CSEG", segment, static_cast<std::uint32_t>(segment.size()));
    return out;
}

}  // namespace vornel::test
