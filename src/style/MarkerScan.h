#pragma once

#include <string>
#include <string_view>

#include "style/PartButtons.h"
#include "style/StyleData.h"

namespace vornel {

// Upper-cases the letters a to z in place. Only ASCII letters change: bytes of
// other scripts (the Turkish ı, ş, ğ and the rest of UTF-8) are left as they
// are, and blanks are neither trimmed nor folded.
void upperAsciiInPlace(std::string& text);

// The button index whose marker text equals `upperText` exactly, or -1.
int markerButton(std::string_view upperText);

// Marker recognition for one marker text of track 1. `M_Name` is overwritten
// with its upper-case form (callers pass a copy). When it names a section,
// that section's part button is enabled and style.MarkerCount counts it, a
// repeated marker as often as it occurs; any other text changes nothing.
void LoadMarker(std::string& M_Name, PartButtons& Cmd_Part, StyleData& style);

// Empties every part (1..18) before a load fills them again: boundaries and
// counts become 0, and the slots 0..PartEvCount(p) of a part that held events
// are reset. Slots above the count are not touched, so the cost follows the
// previous style's size rather than the tables' capacity.
void LoadPartLists(StyleData& style);

}  // namespace vornel
