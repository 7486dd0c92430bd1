// libFuzzer target for the note lifecycle: the input's bytes choose a
// generated style (meter, section lengths, notes) and a session on it (Play,
// chord and part clicks at any moment, Panic, Stop, endings), played through
// the player model on a virtual clock. It stops when any note's life is
// broken: a switch-off with nothing sounding, a note sounding past its written
// end, or a note never switched off.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/EngineSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vornel::test::Choices choices(data, size);
    const vornel::test::SessionReport report = vornel::test::playRandomSession(choices, 12);
    if (!report.faults.empty()) {
        std::fprintf(stderr, "%s\n%s", report.faults.front().c_str(), report.script.c_str());
        std::abort();
    }
    return 0;
}
