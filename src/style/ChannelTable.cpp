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

}  // namespace vornel
