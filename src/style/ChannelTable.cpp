#include "style/ChannelTable.h"

#include <string>

#include "style/MarkerScan.h"

namespace vornel {

void ChannelTable::fill(const CasmTable& table) {
    clear();
    for (const CasmSegment& segment : table.segments) {
        for (std::string name : segment.sections) {
            upperAsciiInPlace(name);
            const int button = markerButton(name);
            if (button < 0) continue;
            const int part = button + 1;
            if (covered_(part)) continue;
            covered_(part) = true;
            records_(part) = segment.records;
            present_ = true;
        }
    }
}

void ChannelTable::clear() {
    for (int p = 0; p < kPartEntries; ++p) {
        records_(p).clear();
        covered_(p) = false;
    }
    present_ = false;
}

const ChannelRecord* ChannelTable::forSource(int part, int sourceChannel) const {
    for (const ChannelRecord& r : records_(part))
        if (r.sourceChannel == sourceChannel) return &r;
    return nullptr;
}

const ChannelRecord* ChannelTable::anyForSource(int sourceChannel) const {
    for (int p = 1; p < kPartEntries; ++p)
        if (const ChannelRecord* r = forSource(p, sourceChannel)) return r;
    return nullptr;
}

std::array<bool, midi::kChannels> ChannelTable::sentChannels(const std::array<bool, midi::kChannels>& stored) const {
    std::array<bool, midi::kChannels> sent{};
    for (int c = 0; c < midi::kChannels; ++c) {
        if (!stored[static_cast<std::size_t>(c)]) continue;
        bool routed = false;
        for (int p = 1; p < kPartEntries; ++p) {
            if (const ChannelRecord* r = forSource(p, c)) {
                sent[midi::channelOf(r->destination)] = true;
                routed = true;
            }
        }
        if (!routed) sent[static_cast<std::size_t>(c)] = true;
    }
    return sent;
}

ChannelTable::Route ChannelTable::route(int part, int sourceChannel) const {
    if (!covered_(part)) return {};
    const ChannelRecord* r = forSource(part, sourceChannel);
    return {r, r == nullptr};
}

ChannelTable::Route ChannelTable::setupRoute(int part, int sourceChannel) const {
    if (!present_) return {};
    const ChannelRecord* r = covered_(part) ? forSource(part, sourceChannel) : nullptr;
    if (!r) r = anyForSource(sourceChannel);
    if (r) return {r, false};
    return {nullptr, covered_(part)};
}

}  // namespace vornel
