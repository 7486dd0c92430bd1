#include "components/ModuleDispatcher.h"

#include <memory>
#include <utility>

namespace vornel {

void ModuleDispatcher::post(std::function<void()> fn) {
    auto task = std::make_unique<std::function<void()>>(std::move(fn));
    // From here the host owns the task: it calls callTask exactly once.
    host_.post(host_.context, &ModuleDispatcher::callTask, task.release());
}

void ModuleDispatcher::callTask(void* task, int run) noexcept {
    std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(task));
    if (run == 0 || !fn || !*fn) return;
    // Nothing may cross back into the host, and the host could do nothing with
    // a failure of the module's own; the event is lost, the module lives on.
    try {
        (*fn)();
    } catch (...) {
    }
}

}  // namespace vornel
