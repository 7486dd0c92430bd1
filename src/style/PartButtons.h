#pragma once

#include <array>

#include "platform/Control.h"
#include "style/PartTable.h"

namespace vornel {

// The records of the eighteen part buttons, indexed by button. The player
// owns them; whether a style offers a section is the enabled state of its
// button, so loading reads and writes them through this type.
using PartButtons = std::array<Control, kPartCount>;

// Light grey, the background of an unselected part button when the player
// window is created.
inline constexpr Rgb kInitialColNormal{224, 224, 224};

// The buttons as the player window creates them: disabled (no style offers
// anything yet), captioned with their section names, which are the same in
// every language, and painted with the unselected colour.
PartButtons makePartButtons(Rgb colNormal = kInitialColNormal);

}  // namespace vornel
