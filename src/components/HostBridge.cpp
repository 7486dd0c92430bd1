#include "components/HostBridge.h"

#include <functional>
#include <memory>
#include <utility>

namespace vornel {

namespace {

// The exception a program function raised inside the task being delivered on
// this thread.
thread_local std::exception_ptr carried;

// Owns one posted task until it has run; frees it unrun otherwise.
class PostedTask {
public:
    PostedTask(void (*call)(void*, int), void* task) : call_(call), task_(task) {}
    PostedTask(const PostedTask&) = delete;
    PostedTask& operator=(const PostedTask&) = delete;
    ~PostedTask() {
        if (task_) call_(task_, 0);
    }

    void run() {
        void* task = std::exchange(task_, nullptr);
        if (!task) return;
        // A task delivered while another one runs (a nested event loop) keeps
        // its own error apart from the outer one's.
        std::exception_ptr outer = std::exchange(carried, nullptr);
        call_(task, 1);
        std::exception_ptr mine = std::exchange(carried, std::move(outer));
        if (mine) std::rethrow_exception(mine);
    }

private:
    void (*call_)(void*, int);
    void* task_;
};

}  // namespace

HostBridge::HostBridge(Dispatcher& ui) : ui_(ui), host_{this, &HostBridge::post} {}

void HostBridge::carry(std::exception_ptr error) noexcept {
    // The first error of a task is the one that counts.
    if (!carried) carried = std::move(error);
}

// Called by the module, from any of its threads: nothing may leave it.
void HostBridge::post(void* context, void (*call)(void* task, int run), void* task) noexcept {
    if (!call) return;  // a task without its function can be neither run nor freed
    std::shared_ptr<PostedTask> posted;
    try {
        posted = std::make_shared<PostedTask>(call, task);
    } catch (...) {
        call(task, 0);
        return;
    }
    try {
        // std::function must be copyable; the shared holder keeps one owner.
        static_cast<HostBridge*>(context)->ui_.post([posted] { posted->run(); });
    } catch (...) {
        // Not posted: `posted` is the last owner and frees the task.
    }
}

}  // namespace vornel
