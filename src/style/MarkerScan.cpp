#include "style/MarkerScan.h"

#include <cstdint>
#include <limits>

namespace vornel {

void upperAsciiInPlace(std::string& text) {
    // Deliberately not std::toupper: the result must not depend on the locale.
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

int markerButton(std::string_view upperText) {
    for (const PartInfo& p : kPartTable)
        if (p.markerText == upperText) return p.button;
    return -1;
}

void LoadMarker(std::string& M_Name, PartButtons& Cmd_Part, StyleData& style) {
    upperAsciiInPlace(M_Name);
    const int button = markerButton(M_Name);
    if (button < 0) return;
    Cmd_Part[static_cast<std::size_t>(button)].enabled = true;
    // MarkerCount is the denominator of the loading percentage. A file with
    // more than 32767 section markers stops the count at its maximum instead
    // of wrapping it to a negative number or zero.
    if (style.MarkerCount < std::numeric_limits<std::int16_t>::max()) ++style.MarkerCount;
}

void LoadPartLists(StyleData& style) {
    for (int p = 1; p <= kPartCount; ++p) {
        style.PartStart(p) = 0;
        style.PartEnd(p) = 0;
        // A count outside 0..capacity cannot come from storeEvent; clamp it
        // so a damaged count can never send the loop outside the tables.
        const int used = style.PartEvCount(p) > kPartCapacity ? kPartCapacity : style.PartEvCount(p);
        if (used > 0) {
            for (int j = 0; j <= used; ++j) {
                style.PartMes(p, j) = 0;
                style.PartD1(p, j) = 0;
                style.PartD2(p, j) = 0;
                style.PartTick(p, j) = 0;
                style.PartText(p, j).clear();
                style.PartSysEx(p, j).clear();
            }
        }
        style.PartEvCount(p) = 0;
        style.PartTempos(p).clear();
    }
}

}  // namespace vornel
