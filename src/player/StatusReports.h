#pragma once

#include <string>

namespace vornel {

// What the status line knows about the output device: what the setup
// window's last OK opened, or failed to open.
struct DeviceReport {
    enum class State { NotApplied, Open, Failed };
    State state = State::NotApplied;
    bool builtIn = false;  // device list position 0, the built-in synthesizer
    std::string name;      // the device list entry's text
};

// What the status line knows about the last style file loaded.
struct LoadReport {
    enum class Problem { None, Unreadable, NotMidi, Damaged };
    Problem problem = Problem::None;
    std::string file;         // the file's name, without its folder
    std::string lastSection;  // Damaged: the last section whose marker was read; empty for none
};

}  // namespace vornel
