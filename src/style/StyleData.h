#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "style/ChannelTable.h"
#include "style/PartTable.h"
#include "style/PerPart.h"
#include "style/PerPartSlot.h"

namespace vornel {

// A loaded style: for every part number 1..18 the events of its section, with
// times relative to the section's start, and where the section lies in the
// file. Loading writes these tables; playback and the player only read them.
// The event tables are seven parallel tables: event n of part p is
// (PartMes, PartD1, PartD2, PartTick, PartText, PartSysEx)(p, n) for
// n = 1..PartEvCount(p). Slots above the count hold no meaning.
//
// All capacity is reserved when the object is made; nothing is allocated per
// event afterwards except what a text or system-exclusive string needs beyond
// the capacity its slot already has.
// A tempo event inside a section: from `tick` (from the part's start) on, a
// quarter note lasts `usPerQuarter` microseconds.
struct TempoChange {
    std::int32_t tick = 0;
    std::int32_t usPerQuarter = 0;
    friend bool operator==(const TempoChange&, const TempoChange&) = default;
};

class StyleData {
public:
    StyleData() = default;

    // One instance lives as long as the player; it is never copied or moved.
    StyleData(const StyleData&) = delete;
    StyleData& operator=(const StyleData&) = delete;

    // Appends an event to part `part` (1..18) in slot PartEvCount(part) + 1.
    // Returns false and changes nothing when the part already holds
    // kPartCapacity events or `part` is not a part number (0 included: entry 0
    // is never filled).
    bool storeEvent(int part, std::int16_t mes, std::int16_t d1, std::int16_t d2,
                    std::int32_t tick, std::string_view text, std::string_view sysEx);

    PerPart<std::int32_t> PartEvCount;     // 0..kPartCapacity
    PerPartSlot<std::int16_t> PartMes;     // status byte: 128..239, or 240 for system exclusive
    PerPartSlot<std::int16_t> PartD1;
    PerPartSlot<std::int16_t> PartD2;
    PerPartSlot<std::int32_t> PartTick;    // ticks from the part's start
    PerPartSlot<std::string> PartText;
    PerPartSlot<std::string> PartSysEx;    // complete F0..F7 bytes, ready to send

    // The tempo events of each part, in time order (a slowing Ending). A part
    // pass starts at the file's tempo; these apply from their tick on.
    PerPart<std::vector<TempoChange>> PartTempos;

    PerPart<std::int32_t> PartStart;       // absolute tick of the opening marker; -1 not found
    PerPart<std::int32_t> PartEnd;         // absolute tick where the section ends; -1 unknown

    std::int16_t MarkerCount = 0;          // recognised section markers of the current load, repeats counted
    std::int32_t LoadedParts = 0;          // sections whose extraction has started in the current load

    ChannelTable channels;                 // the style's channel table (CASM), per part; empty without one
};

}  // namespace vornel
