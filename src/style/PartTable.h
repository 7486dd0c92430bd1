#pragma once

#include <array>
#include <string_view>

namespace vornel {

// The eighteen sections a style can offer. Their identities are fixed: the
// part button index (0..17) is the position in this table, and the part number
// that indexes every per-part table is the button index plus one.
struct PartInfo {
    int partNumber;               // 1..18
    int button;                   // 0..17
    std::string_view sectionName; // caption of the part button; the marker the extraction looks for
    std::string_view markerText;  // what marker recognition compares after upper-casing
    int loadOrder;                // 1..18, the position in which the extraction loads it
};

inline constexpr int kPartCount = 18;
// Every per-part table has an entry per part number 0..18; entry 0 is never used.
inline constexpr int kPartEntries = kPartCount + 1;
// Events a part can hold. Slots run 0..kPartCapacity and slot 0 is never used,
// so event n of a part lives in slot n.
inline constexpr int kPartCapacity = 10000;
inline constexpr int kPartSlots = kPartCapacity + 1;

// Indexed by button.
inline constexpr std::array<PartInfo, kPartCount> kPartTable{{
    {1, 0, "Intro A", "INTRO A", 1},
    {2, 1, "Main A", "MAIN A", 5},
    {3, 2, "Fill In AA", "FILL IN AA", 13},
    {4, 3, "Ending A", "ENDING A", 9},
    {5, 4, "Ending B", "ENDING B", 10},
    {6, 5, "Fill In BB", "FILL IN BB", 14},
    {7, 6, "Main B", "MAIN B", 6},
    {8, 7, "Intro B", "INTRO B", 2},
    {9, 8, "Ending C", "ENDING C", 11},
    {10, 9, "Fill In CC", "FILL IN CC", 15},
    {11, 10, "Main C", "MAIN C", 7},
    {12, 11, "Intro C", "INTRO C", 3},
    {13, 12, "Ending D", "ENDING D", 12},
    {14, 13, "Fill In DD", "FILL IN DD", 16},
    {15, 14, "Main D", "MAIN D", 8},
    {16, 15, "Intro D", "INTRO D", 4},
    {17, 16, "Fill In AB", "FILL IN AB", 17},
    {18, 17, "Fill In BA", "FILL IN BA", 18},
}};

// Button indexes in the order the extraction loads them: intros, mains,
// endings, then the fills.
inline constexpr std::array<int, kPartCount> kLoadOrderButtons{
    0, 7, 11, 15, 1, 6, 10, 14, 3, 4, 8, 12, 2, 5, 9, 13, 16, 17};

// The Main sections in the order the section check prefers them (A to D).
inline constexpr std::array<int, 4> kMainButtons{1, 6, 10, 14};

namespace detail {
constexpr bool partTableIsConsistent() {
    std::array<bool, kPartCount + 1> orderSeen{};
    for (int b = 0; b < kPartCount; ++b) {
        const PartInfo& p = kPartTable[b];
        if (p.button != b || p.partNumber != b + 1) return false;
        if (p.loadOrder < 1 || p.loadOrder > kPartCount || orderSeen[p.loadOrder]) return false;
        orderSeen[p.loadOrder] = true;
        if (kLoadOrderButtons[p.loadOrder - 1] != b) return false;
        if (p.markerText.size() != p.sectionName.size()) return false;
        for (std::size_t i = 0; i < p.sectionName.size(); ++i) {
            char c = p.sectionName[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (c != p.markerText[i]) return false;
        }
    }
    for (int b : kMainButtons)
        if (kPartTable[b].sectionName.substr(0, 5) != "Main ") return false;
    return true;
}
}  // namespace detail

// The three views of the table (rows, load order, Main buttons) are written
// out separately for readability; the compiler keeps them in agreement.
static_assert(detail::partTableIsConsistent());

}  // namespace vornel
