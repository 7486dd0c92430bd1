#include "style/PartButtons.h"

#include <string>

namespace vornel {

PartButtons makePartButtons(Rgb colNormal) {
    PartButtons buttons;
    for (int b = 0; b < kPartCount; ++b) {
        Control& c = buttons[b];
        c.enabled = false;
        c.visible = true;
        c.caption = std::string(kPartTable[b].sectionName);
        c.colour = colNormal;
    }
    return buttons;
}

}  // namespace vornel
