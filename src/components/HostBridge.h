#pragma once

#include <exception>

#include "components/ComponentAbi.h"
#include "platform/Dispatcher.h"

namespace vornel {

// The host's side of VornelHost: a module's posted task becomes a function on
// the program's Dispatcher. The function owns the task, so the task is freed
// exactly once whatever becomes of it: run (call(task, 1)) when delivered,
// freed unrun (call(task, 0)) when the dispatcher drops it or when it cannot
// be posted at all.
//
// The dispatcher must outlive this bridge, and this bridge every component
// created with host().
class HostBridge {
public:
    explicit HostBridge(Dispatcher& ui);
    HostBridge(const HostBridge&) = delete;
    HostBridge& operator=(const HostBridge&) = delete;

    const VornelHost* host() const { return &host_; }

    // For the program's functions that a module calls from inside a delivered
    // task (the component's events): an exception of the program's own may not
    // unwind through the module, so it is kept here instead and thrown again
    // once the module's call has returned, from the delivered function, as if
    // the component lived in the program.
    static void carry(std::exception_ptr error) noexcept;

private:
    static void post(void* context, void (*call)(void* task, int run), void* task) noexcept;

    Dispatcher& ui_;
    VornelHost host_;
};

}  // namespace vornel
