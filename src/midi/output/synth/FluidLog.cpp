#include "midi/output/synth/FluidLog.h"

#include <fluidsynth.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace vornel {
namespace {

// The latest error text, guarded by a try-lock: the handler may run on the
// audio thread, where waiting is not allowed, so a busy buffer drops the text.
constexpr std::size_t kTextCapacity = 512;
char lastText[kTextCapacity] = {};
std::atomic_flag busy = ATOMIC_FLAG_INIT;

void quietHandler(int level, const char* message, void* /*data*/) {
    if (level != FLUID_PANIC && level != FLUID_ERR) return;
    if (!message || busy.test_and_set(std::memory_order_acquire)) return;
    std::size_t n = 0;
    while (n < kTextCapacity - 1 && message[n] != '\0') ++n;
    std::memcpy(lastText, message, n);
    lastText[n] = '\0';
    busy.clear(std::memory_order_release);
}

}  // namespace

void FluidLog::install() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = 0; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, quietHandler, nullptr);
    });
}

std::string FluidLog::lastError() {
    // Reader side of the try-lock: spin briefly, the writer holds it for one copy.
    while (busy.test_and_set(std::memory_order_acquire)) {
    }
    char copy[kTextCapacity];
    std::memcpy(copy, lastText, kTextCapacity);
    busy.clear(std::memory_order_release);
    return std::string(copy);
}

void FluidLog::clearLastError() {
    while (busy.test_and_set(std::memory_order_acquire)) {
    }
    lastText[0] = '\0';
    busy.clear(std::memory_order_release);
}

}  // namespace vornel
