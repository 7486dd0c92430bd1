#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace vornel::test {

// Waits for something another thread or process does, for at most `limit`;
// whether it happened. The limit only bounds a failing test; nothing is
// measured against it.
inline bool eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace vornel::test
