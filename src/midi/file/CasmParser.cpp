#include "midi/file/CasmParser.h"

#include <algorithm>
#include <cstring>

#include "midi/MidiVocabulary.h"
#include "midi/file/ByteCursor.h"

namespace vornel {

namespace {

constexpr std::size_t kCtabLength = 27;
constexpr std::size_t kCtb2Length = 47;
constexpr std::size_t kSpecialFeatureLength = 4;
constexpr std::uint8_t kLastChordType = 33;
constexpr std::uint8_t kLastNtt = TranspositionBlock::kDorian5th;
constexpr std::uint8_t kLastRtr = TranspositionBlock::kNoteGenerator;

// SFF1 numbers its tables differently; its Bass table is SFF2's Melody with
// Bass On.
constexpr std::uint8_t kSff1ToSff2Ntt[] = {
    TranspositionBlock::kBypass,       TranspositionBlock::kMelody,
    TranspositionBlock::kChord,        TranspositionBlock::kBassOn | TranspositionBlock::kMelody,
    TranspositionBlock::kMelodicMinor, TranspositionBlock::kHarmonicMinor};

struct Chunk {
    char id[4];
    std::size_t begin;
    std::size_t length;
};

// The next nested chunk, or false when none lies wholly inside the parent.
bool nextChunk(ByteCursor& in, const std::uint8_t* bytes, Chunk& chunk) {
    if (in.remaining() < 8) return false;
    std::memcpy(chunk.id, bytes + in.position(), 4);
    in.skip(4);
    std::uint32_t length = 0;
    in.readU32(length);
    if (length > in.remaining()) return false;
    chunk.begin = in.position();
    chunk.length = length;
    in.skip(length);
    return true;
}

bool is(const Chunk& c, const char (&id)[5]) {
    return std::memcmp(c.id, id, 4) == 0;
}

std::vector<std::string> sectionNames(const std::uint8_t* bytes, std::size_t length) {
    std::vector<std::string> names;
    const std::string_view list(reinterpret_cast<const char*>(bytes), length);
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string_view name = list.substr(start, comma - start);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!name.empty()) names.emplace_back(name);
        start = comma + 1;
    }
    return names;
}

std::string recordName(const std::uint8_t* bytes) {
    std::string name;
    for (int i = 0; i < 8; ++i) name.push_back(bytes[i] >= 0x20 && bytes[i] < 0x7F ? static_cast<char>(bytes[i]) : '?');
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

bool readBlock(const std::uint8_t* b, bool sff2, TranspositionBlock& out) {
    out.ntr = b[0];
    out.ntt = b[1];
    out.highKey = b[2];
    out.lowLimit = b[3];
    out.highLimit = b[4];
    out.rtr = b[5];
    if (out.ntr > (sff2 ? TranspositionBlock::kGuitar : TranspositionBlock::kRootFixed)) return false;
    if (sff2 ? out.table() > kLastNtt : out.ntt >= sizeof kSff1ToSff2Ntt) return false;
    if (!sff2) out.ntt = kSff1ToSff2Ntt[out.ntt];
    return out.highKey <= 11 && out.lowLimit <= out.highLimit && out.highLimit <= midi::kDataMax && out.rtr <= kLastRtr;
}

}  // namespace

CasmTable CasmParser::parse(std::string_view casm) {
    CasmTable table;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(casm.data());
    ByteCursor in(bytes, 0, casm.size());
    Chunk chunk{};
    while (nextChunk(in, bytes, chunk))
        if (is(chunk, "CSEG")) readSegment(bytes, ByteCursor(bytes, chunk.begin, chunk.begin + chunk.length), table);
    return table;
}

// Sdec, Ctab/Ctb2 and Cntt are taken wherever they stand in the CSEG; the
// order the files keep is not needed. A source channel's first record wins,
// since a CSEG holds one record per channel. A Cntt replaces the table of the
// Ctab of its channel (the newer numbering, which the SFF1 one cannot say
// everything in); it changes nothing else. That reading is ours, not the
// format's word, but every file written both ways agrees with it.
void CasmParser::readSegment(const std::uint8_t* bytes, ByteCursor in, CasmTable& table) {
    CasmSegment segment;
    bool named = false;
    std::uint16_t seen = 0;
    struct Override {
        std::uint8_t channel, ntt;
    };
    std::vector<Override> overrides;
    Chunk chunk{};
    while (nextChunk(in, bytes, chunk)) {
        const std::uint8_t* body = bytes + chunk.begin;
        if (is(chunk, "Sdec")) {
            if (!named) segment.sections = sectionNames(body, chunk.length);
            named = true;
        } else if (is(chunk, "Ctab") || is(chunk, "Ctb2")) {
            ChannelRecord record;
            if (!readRecord(body, chunk.length, is(chunk, "Ctb2"), record)) continue;
            const std::uint16_t bit = static_cast<std::uint16_t>(1u << record.sourceChannel);
            if (seen & bit) continue;
            seen |= bit;
            segment.records.push_back(std::move(record));
        } else if (is(chunk, "Cntt") && chunk.length >= 2) {
            if (body[0] < midi::kChannels && (body[1] & 0x7F) <= kLastNtt) overrides.push_back({body[0], body[1]});
        }
    }
    // A CSEG with no usable record is left out too: its sections then play
    // as sections the table does not name, where one damaged table would
    // otherwise silence them.
    if (segment.sections.empty() || segment.records.empty()) return;
    for (const Override& o : overrides) {
        for (ChannelRecord& r : segment.records)
            if (!r.sff2 && r.sourceChannel == o.channel)
                for (TranspositionBlock& block : r.blocks) block.ntt = o.ntt;
    }
    table.segments.push_back(std::move(segment));
}

bool CasmParser::readRecord(const std::uint8_t* b, std::size_t length, bool sff2, ChannelRecord& r) {
    const std::size_t base = sff2 ? kCtb2Length : kCtabLength;
    if (length != base && length != base + kSpecialFeatureLength) return false;
    r.sff2 = sff2;
    r.sourceChannel = b[0];
    r.name = recordName(b + 1);
    r.destination = b[9];
    r.noteMask = static_cast<std::uint16_t>(((b[11] << 8) | b[12]) & 0x0FFF);
    r.chordMask = 0;
    for (int i = 13; i <= 17; ++i) r.chordMask = (r.chordMask << 8) | b[i];
    r.sourceRoot = b[18];
    r.sourceType = b[19];
    if (r.sourceChannel >= midi::kChannels || r.destination < 8 || r.destination >= midi::kChannels ||
        r.sourceRoot > 11 || r.sourceType > kLastChordType)
        return false;
    if (sff2) {
        r.middleLow = b[20];
        r.middleHigh = b[21];
        if (r.middleLow > r.middleHigh || r.middleHigh > midi::kDataMax) return false;
        for (std::size_t i = 0; i < 3; ++i)
            if (!readBlock(b + 22 + 6 * i, true, r.blocks[i])) return false;
    } else {
        if (!readBlock(b + 20, false, r.blocks[1])) return false;
        r.blocks[0] = r.blocks[2] = r.blocks[1];
    }
    // A feature id without its four bytes is a record of the plain length:
    // the declared length decides, as it does for every other chunk.
    const std::uint8_t featureId = b[base - 1];
    r.hasBreakDrum = featureId != 0 && length == base + kSpecialFeatureLength;
    if (r.hasBreakDrum) {
        r.breakDrumNote = static_cast<std::uint8_t>(b[base + 2] & 0x7F);
        r.breakDrumVolume = static_cast<std::uint8_t>(b[base + 3] & 0x7F);
    }
    return true;
}

}  // namespace vornel
