#pragma once

#include <string>

namespace vornel {

// FluidSynth writes its messages to stderr unless told otherwise, and its
// log handlers are process-wide. The built-in synthesizer must not print (a
// machine without sound hardware is normal, not an error worth a line on the
// terminal), so every level goes to one quiet handler that keeps the latest
// error for whoever needs to know why opening failed.
class FluidLog {
public:
    // Installs the quiet handler; idempotent and thread-safe.
    static void install();
    // The latest error or panic FluidSynth reported, empty if none. May miss a
    // message that arrived at the same moment as another (the handler never
    // waits, as it can run on the audio thread).
    static std::string lastError();
    // Forgets the latest error.
    static void clearLastError();
};

}  // namespace vornel
