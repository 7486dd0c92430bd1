#include "platform/qt/QtDispatcher.h"

#include <QMetaObject>
#include <utility>
#include <vector>

namespace vornel {

QtDispatcher::QtDispatcher() = default;

// Destroying context_ discards the calls still queued for it.
QtDispatcher::~QtDispatcher() = default;

void QtDispatcher::post(std::function<void()> fn) {
    QMetaObject::invokeMethod(
        &context_, [this, f = std::move(fn)]() mutable { deliver(std::move(f)); },
        Qt::QueuedConnection);
}

void QtDispatcher::deliver(std::function<void()> fn) {
    if (ended_ || !fn) return;
    if (depth_ > 0) {
        held_.push_back(std::move(fn));
        return;
    }
    HandlerScope scope(*this);
    fn();
}

bool QtDispatcher::runHandler(const std::function<void()>& fn) {
    if (ended_ || depth_ > 0) return false;
    HandlerScope scope(*this);
    if (fn) fn();
    return true;
}

void QtDispatcher::endProgram() {
    ended_ = true;
    held_.clear();
}

int QtDispatcher::addAfterHandlerHook(std::function<void()> hook) {
    afterHandlerHooks_.emplace_back(nextHookId_, std::move(hook));
    return nextHookId_++;
}

void QtDispatcher::removeAfterHandlerHook(int id) {
    std::erase_if(afterHandlerHooks_, [id](const auto& entry) { return entry.first == id; });
}

void QtDispatcher::enter() {
    ++depth_;
}

void QtDispatcher::leave() {
    if (depth_ > 1) {
        --depth_;
        return;
    }
    // The outermost scope: what arrived meanwhile runs now, one function at a
    // time, with the depth still at one so that whatever arrives while one of
    // them waits in a nested loop joins the end of the line.
    while (!held_.empty() && !ended_) {
        std::function<void()> fn = std::move(held_.front());
        held_.pop_front();
        fn();
    }
    held_.clear();
    depth_ = 0;
    syncWindows();
}

void QtDispatcher::syncWindows() {
    if (ended_) return;
    // Copied, so a hook that registers another one cannot invalidate the loop.
    const auto hooks = afterHandlerHooks_;
    for (const auto& [id, hook] : hooks) hook();
}

}  // namespace vornel
