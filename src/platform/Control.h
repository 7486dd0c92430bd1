#pragma once

#include <cstdint>
#include <string>

namespace vornel {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// What a window keeps in one of its controls. The core reads and writes these
// records (colour is state: a channel is on exactly when its switch shows the
// "on" colour); the windows only mirror them on screen and forward input.
struct Control {
    bool enabled = true;
    bool visible = true;
    std::string caption;
    Rgb colour;
    std::string toolTip;
};

}  // namespace vornel
