#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "components/ComponentLibrary.h"
#include "platform/Dispatcher.h"

namespace vornel::test {

// The modules as the build lays them out beside the programs.
inline std::string programDir() { return VORNEL_PROGRAM_DIR; }
inline std::string builtModule(const std::string& name) { return programDir() + "/" + name + ".hcm"; }

// A module's table; fails the test (and answers nullptr) when it does not load.
inline const VornelComponentApi* loadedApi(const std::string& name) {
    const ComponentLibrary library = ComponentLibrary::load(builtModule(name), name);
    EXPECT_TRUE(library.loaded()) << library.error();
    return library.api();
}

// How long a test waits for the output component's thread at most. Only a
// hung component ever gets near it; nothing is measured against it.
inline constexpr std::chrono::seconds kPatience{20};

// Delivers the component's events until `done` holds or patience runs out;
// returns whether `done` holds.
inline bool drainUntil(QueueDispatcher& ui, const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    for (;;) {
        ui.drain();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Waits, delivering nothing, until the component has posted something.
inline bool waitForPost(const QueueDispatcher& ui) {
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (ui.empty()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace vornel::test
