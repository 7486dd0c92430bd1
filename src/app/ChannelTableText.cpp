#include "app/ChannelTableText.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "midi/MidiVocabulary.h"
#include "style/ChordType.h"
#include "style/PartTable.h"

namespace vornel {

namespace {

constexpr std::array<std::string_view, 12> kRootNames{"C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};
constexpr std::array<std::string_view, 3> kNtrNames{"Root Trans", "Root Fixed", "Guitar"};
constexpr std::array<std::string_view, 11> kNttNames{"Bypass",
                                                     "Melody",
                                                     "Chord",
                                                     "Melodic Minor",
                                                     "Melodic Minor 5th",
                                                     "Harmonic Minor",
                                                     "Harmonic Minor 5th",
                                                     "Natural Minor",
                                                     "Natural Minor 5th",
                                                     "Dorian",
                                                     "Dorian 5th"};
constexpr std::array<std::string_view, 3> kGuitarNames{"All-Purpose", "Stroke", "Arpeggio"};
constexpr std::array<std::string_view, 6> kRtrNames{"Stop",      "Pitch Shift",       "Pitch Shift to Root",
                                                    "Retrigger", "Retrigger to Root", "Note Generator"};

template <std::size_t N>
std::string_view nameOf(const std::array<std::string_view, N>& names, int value) {
    return value >= 0 && static_cast<std::size_t>(value) < N ? names[static_cast<std::size_t>(value)] : "?";
}

// A mask as the names of its bits: "all", "none", the names set, or, when
// more than half are set, the names missing.
template <std::size_t N>
std::string maskText(std::uint64_t mask, const std::array<std::string_view, N>& names) {
    int set = 0;
    for (std::size_t i = 0; i < N; ++i) set += static_cast<int>((mask >> i) & 1u);
    if (set == static_cast<int>(N)) return "all";
    if (set == 0) return "none";
    const bool listMissing = set * 2 > static_cast<int>(N);
    std::string text = listMissing ? "all but" : "";
    for (std::size_t i = 0; i < N; ++i) {
        if ((((mask >> i) & 1u) != 0) == listMissing) continue;
        if (!text.empty()) text += ' ';
        text += names[i];
    }
    return text;
}

std::string blockText(const TranspositionBlock& b) {
    std::string text(nameOf(kNtrNames, b.ntr));
    text += " / ";
    text += b.ntr == TranspositionBlock::kGuitar ? nameOf(kGuitarNames, b.table()) : nameOf(kNttNames, b.table());
    if (b.bassOn()) text += " + Bass";
    char rest[96];
    std::snprintf(rest, sizeof rest, ", High Key %s, notes %d..%d, RTR %s",
                  std::string(nameOf(kRootNames, b.highKey)).c_str(), b.lowLimit, b.highLimit,
                  std::string(nameOf(kRtrNames, b.rtr)).c_str());
    return text + rest;
}

}  // namespace

std::string channelRecordText(const ChannelRecord& r) {
    char head[64];
    std::snprintf(head, sizeof head, "%2d -> %2d  %-8s  ", r.sourceChannel + 1, r.destination + 1, r.name.c_str());
    std::string text = head;
    text += "over " + std::string(nameOf(kRootNames, r.sourceRoot)) +
            std::string(chord::isType(r.sourceType) ? chord::kTypeNames[r.sourceType] : "?");
    text += "; " + blockText(r.blocks[1]);
    if (r.middleLow > 0) text += "; below " + std::to_string(r.middleLow) + ": " + blockText(r.blocks[0]);
    if (r.middleHigh < midi::kDataMax)
        text += "; above " + std::to_string(r.middleHigh) + ": " + blockText(r.blocks[2]);
    text += "; chords: " + maskText(r.chordMask, chord::kTypeNames);
    text += "; roots: " + maskText(r.noteMask, kRootNames);
    if (r.autoStart()) text += "; auto-start";
    if (r.hasBreakDrum)
        text += "; break drum " + std::to_string(r.breakDrumNote) + " at " + std::to_string(r.breakDrumVolume);
    return text;
}

std::string channelTableText(const ChannelTable& table) {
    if (!table.present()) return "  no channel table\n";
    std::string text = "  channel table (source -> destination channel):\n";
    for (const PartInfo& part : kPartTable) {
        if (!table.covers(part.partNumber)) continue;
        text += "    " + std::string(part.sectionName) + ":\n";
        for (const ChannelRecord& r : table.records(part.partNumber)) text += "      " + channelRecordText(r) + "\n";
    }
    return text;
}

}  // namespace vornel
