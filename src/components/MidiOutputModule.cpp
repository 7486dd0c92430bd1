// The module Midiio32: the MIDI output component behind the narrow C entry
// point, on this machine's devices (-1 the built-in synthesizer, then the
// system's MIDI ports). It plays its queue on its own scheduling thread and
// hands its events to the host as posted tasks, which the host runs on its UI
// thread; there they call the sink functions the host set.

#include <cstddef>
#include <cstdint>
#include <string>

#include "components/AbiText.h"
#include "components/ComponentAbi.h"
#include "components/ComponentLocation.h"
#include "components/ModuleDispatcher.h"
#include "midi/output/MIDIOutput.h"
#include "midi/output/ports/SystemPortProvider.h"
#include "midi/output/synth/BuiltInSynth.h"
#include "platform/Clock.h"

namespace vornel {
namespace {

struct OutputObject {
    explicit OutputObject(const VornelHost& host)
        : dispatcher(host),
          ports(BuiltInSynth::name(), [] { return BuiltInSynth::create(); }),
          output(ports, dispatcher, clock, MIDIOutput::Drive::Thread) {}

    SteadyClock clock;
    ModuleDispatcher dispatcher;
    SystemPortProvider ports;
    std::string text;  // what getString returned last; lives until the next call
    // Last, so it goes first: its scheduling thread has stopped before the
    // ports and the dispatcher it uses are gone.
    MIDIOutput output;
};

OutputObject* out(void* object) { return static_cast<OutputObject*>(object); }

void* create(const VornelHost* host) {
    // Without a way to post, no event could ever reach the host.
    if (!host || !host->post) return nullptr;
    try {
        return new OutputObject(*host);
    } catch (...) {
        return nullptr;
    }
}

void destroy(void* object) { delete out(object); }

double getNumber(void* object, int dispId) {
    if (!object) return 0;
    try {
        return out(object)->output.getNumber(dispId);
    } catch (...) {
        return 0;
    }
}

const char* getString(void* object, int dispId, size_t* length) {
    OutputObject* o = out(object);
    return abiText(o ? &o->text : nullptr, length, [&] { return o->output.getString(dispId); });
}

void setNumber(void* object, int dispId, double value) {
    if (!object) return;
    try {
        out(object)->output.set(dispId, value);
    } catch (...) {
        // A command that failed inside the component changes nothing more.
    }
}

void setString(void* object, int dispId, const char* bytes, size_t length) {
    if (!object) return;
    try {
        out(object)->output.set(dispId, bytes ? std::string(bytes, length) : std::string());
    } catch (...) {
    }
}

void setEvents(void* object, void* sink, void (*cueReached)(void* sink, int32_t tag), void (*queueDone)(void* sink)) {
    if (!object) return;
    try {
        MIDIOutput& o = out(object)->output;
        o.CueReached = nullptr;
        o.QueueDone = nullptr;
        if (cueReached) o.CueReached = [sink, cueReached](std::int32_t tag) { cueReached(sink, tag); };
        if (queueDone) o.QueueDone = [sink, queueDone] { queueDone(sink); };
    } catch (...) {
        // Left without events rather than with half of them.
        out(object)->output.CueReached = nullptr;
        out(object)->output.QueueDone = nullptr;
    }
}

constexpr VornelComponentApi kApi{
    VORNEL_COMPONENT_ABI, kMidiOutputComponent, &create,    &destroy,  &getNumber,
    &getString,           &setNumber,           &setString, &setEvents,
};

}  // namespace
}  // namespace vornel

extern "C" VORNEL_COMPONENT_EXPORT const VornelComponentApi* vornel_component(int abiVersion) {
    return abiVersion == VORNEL_COMPONENT_ABI ? &vornel::kApi : nullptr;
}
