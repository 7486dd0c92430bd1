#include "player/AutoFill.h"

#include <string>
#include <string_view>

#include "style/PartTable.h"

namespace vornel {

namespace {

constexpr std::string_view kMain = "Main ";

// The variation letter of a Main part button ('A' for "Main A"), or 0.
char variationOf(int button) {
    if (button < 0 || button >= kPartCount) return 0;
    const std::string_view name = kPartTable[static_cast<std::size_t>(button)].sectionName;
    return name.size() == kMain.size() + 1 && name.starts_with(kMain) ? name.back() : 0;
}

int offeredFill(const std::string& name, const PartButtons& buttons) {
    for (int b = 0; b < kPartCount; ++b)
        if (kPartTable[static_cast<std::size_t>(b)].sectionName == name && buttons[static_cast<std::size_t>(b)].enabled)
            return b;
    return -1;
}

}  // namespace

int autoFillButton(int from, int to, const PartButtons& buttons) {
    const char x = variationOf(from);
    const char y = variationOf(to);
    if (x == 0 || y == 0) return -1;
    if (x != y)
        if (const int across = offeredFill(std::string("Fill In ") + x + y, buttons); across >= 0) return across;
    return offeredFill(std::string("Fill In ") + y + y, buttons);
}

}  // namespace vornel
