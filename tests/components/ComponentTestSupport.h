#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "components/ComponentLibrary.h"
#include "platform/Dispatcher.h"
#include "support/Eventually.h"

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

// Delivers the component's events until `done` holds or patience runs out;
// returns whether `done` holds.
inline bool drainUntil(QueueDispatcher& ui, const std::function<bool()>& done) {
    return eventually([&] {
        ui.drain();
        return done();
    });
}

// Waits, delivering nothing, until the component has posted something.
inline bool waitForPost(const QueueDispatcher& ui) {
    return eventually([&] { return !ui.empty(); });
}

}  // namespace vornel::test
