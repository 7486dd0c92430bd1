/* The narrow entry point of a Vornel component module (Midifl32, Midiio32).
 *
 * A module exports one C function, vornel_component(), and nothing else. The
 * host asks it for the table below with the ABI version it was built for; a
 * module built for another version answers NULL. Properties are addressed by
 * their dispatch numbers (MidifileDispatch, MIDIOutputComponent's DispId), so
 * the table never changes when a property is added. Plain C types only: the
 * module and the host need not share a C++ standard library build. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VORNEL_COMPONENT_ABI 1
#define VORNEL_COMPONENT_ENTRY "vornel_component"

/* Marks a module's entry point: the one symbol a module exports. Modules are
 * built with hidden visibility, so everything else stays inside them. */
#if defined(_WIN32)
#define VORNEL_COMPONENT_EXPORT __declspec(dllexport)
#else
#define VORNEL_COMPONENT_EXPORT __attribute__((visibility("default")))
#endif

/* What the host offers a component. post() may be called from any thread; the
 * host runs call(task, 1) later on its UI thread, one task at a time, or
 * call(task, 0) to free a task it will never run (at shutdown). Either way
 * call() is made exactly once per task. */
typedef struct VornelHost {
    void* context;
    void (*post)(void* context, void (*call)(void* task, int run), void* task);
} VornelHost;

typedef struct VornelComponentApi {
    int abiVersion;
    const char* name; /* "Midifl32" or "Midiio32" */

    /* NULL when the component cannot be created. The host outlives it. */
    void* (*create)(const VornelHost* host);
    void (*destroy)(void* object);

    double (*getNumber)(void* object, int dispId);
    /* Points into the object; valid until the next call on the object. */
    const char* (*getString)(void* object, int dispId, size_t* length);
    void (*setNumber)(void* object, int dispId, double value);
    void (*setString)(void* object, int dispId, const char* bytes, size_t length);

    /* Events (output component only; NULL in the reader). Called on the host's
     * UI thread, from inside a posted task. */
    void (*setEvents)(void* object, void* sink, void (*cueReached)(void* sink, int32_t tag),
                      void (*queueDone)(void* sink));
} VornelComponentApi;

typedef const VornelComponentApi* (*VornelComponentEntry)(int abiVersion);

#ifdef __cplusplus
}
#endif
