// The module Midifl32: the MIDI file reader behind the narrow C entry point.
// Every property is reached by its dispatch number (MidifileDispatch); the
// reader itself is the in-process Midifile, unchanged.

#include <cstddef>
#include <new>
#include <string>

#include "components/AbiText.h"
#include "components/ComponentAbi.h"
#include "components/ComponentLocation.h"
#include "midi/file/Midifile.h"
#include "platform/IntegerValue.h"

namespace vornel {
namespace {

struct ReaderObject {
    Midifile file;
    std::string text;  // what getString returned last; lives until the next call
};

ReaderObject* reader(void* object) { return static_cast<ReaderObject*>(object); }

// The reader needs nothing of the host: it never posts.
void* create(const VornelHost*) {
    try {
        return new ReaderObject;
    } catch (...) {
        return nullptr;
    }
}

void destroy(void* object) { delete reader(object); }

double getNumber(void* object, int dispId) {
    if (!object) return 0;
    return reader(object)->file.getNumber(dispId);
}

const char* getString(void* object, int dispId, size_t* length) {
    ReaderObject* o = reader(object);
    return abiText(o ? &o->text : nullptr, length, [&] { return o->file.getString(dispId); });
}

void setNumber(void* object, int dispId, double value) {
    if (!object) return;
    if (const auto v = integerValue(value)) reader(object)->file.set(dispId, *v);
}

void setString(void* object, int dispId, const char* bytes, size_t length) {
    if (!object) return;
    try {
        reader(object)->file.set(dispId, bytes ? std::string(bytes, length) : std::string());
    } catch (...) {
        // Out of memory for the path: the property keeps its value.
    }
}

constexpr VornelComponentApi kApi{
    VORNEL_COMPONENT_ABI, kMidiFileComponent, &create, &destroy, &getNumber, &getString, &setNumber, &setString,
    nullptr,  // the reader has no events
};

}  // namespace
}  // namespace vornel

extern "C" VORNEL_COMPONENT_EXPORT const VornelComponentApi* vornel_component(int abiVersion) {
    return abiVersion == VORNEL_COMPONENT_ABI ? &vornel::kApi : nullptr;
}
