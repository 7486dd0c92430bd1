#pragma once

#include <functional>

#include "components/ComponentAbi.h"
#include "platform/Dispatcher.h"

namespace vornel {

// Inside a component module: hands every posted function to the host as a
// heap task, which the host runs on its UI thread (call(task, 1): run, then
// free) or frees unrun (call(task, 0)). The module keeps no queue of its own,
// so the host's order of delivery is the order of posting.
class ModuleDispatcher final : public Dispatcher {
public:
    // Keeps a copy of the host's table; its context must outlive this object.
    explicit ModuleDispatcher(const VornelHost& host) : host_(host) {}

    void post(std::function<void()> fn) override;

private:
    static void callTask(void* task, int run) noexcept;

    VornelHost host_;
};

}  // namespace vornel
