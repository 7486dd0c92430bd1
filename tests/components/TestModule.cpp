// One stand-in module per build: VORNEL_TEST_MODULE_<kind> picks which.

#include <stddef.h>
#include <stdint.h>

#include "components/ComponentAbi.h"

#if defined(VORNEL_TEST_MODULE_NO_ENTRY)

// A shared library, but no component: its one export is something else.
extern "C" VORNEL_COMPONENT_EXPORT int vornel_not_a_component(void) { return 0; }

#else

namespace {

void* create(const VornelHost*) { return nullptr; }
void destroy(void*) {}
double getNumber(void*, int) { return 0; }
const char* getString(void*, int, size_t* length) {
    if (length) *length = 0;
    return "";
}
void setNumber(void*, int, double) {}
void setString(void*, int, const char*, size_t) {}

#if defined(VORNEL_TEST_MODULE_OTHER_ABI)
// A reader of a later ABI: it answers only to its own version.
constexpr int kVersion = VORNEL_COMPONENT_ABI + 1;
constexpr VornelComponentApi kApi{kVersion, "Midifl32", &create, &destroy, &getNumber,
                                  &getString, &setNumber, &setString, nullptr};
#elif defined(VORNEL_TEST_MODULE_OLD_TABLE)
// A reader that hands out its own, older table whatever version is asked for.
constexpr int kVersion = 0;
constexpr VornelComponentApi kApi{kVersion, "Midifl32", &create, &destroy, &getNumber,
                                  &getString, &setNumber, &setString, nullptr};
#elif defined(VORNEL_TEST_MODULE_NO_OBJECT)
// A complete reader of the right version that cannot create its object.
constexpr int kVersion = VORNEL_COMPONENT_ABI;
constexpr VornelComponentApi kApi{kVersion, "Midifl32", &create, &destroy, &getNumber,
                                  &getString, &setNumber, &setString, nullptr};
#elif defined(VORNEL_TEST_MODULE_INCOMPLETE)
// An output component of the right version that cannot report its events.
constexpr int kVersion = VORNEL_COMPONENT_ABI;
constexpr VornelComponentApi kApi{kVersion, "Midiio32", &create, &destroy, &getNumber,
                                  &getString, &setNumber, &setString, nullptr};
#else
#error "define VORNEL_TEST_MODULE_<kind>"
#endif

}  // namespace

extern "C" VORNEL_COMPONENT_EXPORT const VornelComponentApi* vornel_component(int abiVersion) {
#if defined(VORNEL_TEST_MODULE_OLD_TABLE)
    (void)abiVersion;
    return &kApi;
#else
    return abiVersion == kVersion ? &kApi : nullptr;
#endif
}

#endif
