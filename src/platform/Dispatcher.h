#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace vornel {

// Runs a function on the user-interface thread. post() may be called from any
// thread; the functions run one at a time, in the order they were posted.
class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    virtual void post(std::function<void()> fn) = 0;
};

// Holds posted functions until the owner drains them on its own thread. Tests
// use it to decide exactly when component events are delivered; a console
// front end can drain it from its main loop.
class QueueDispatcher final : public Dispatcher {
public:
    void post(std::function<void()> fn) override {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(fn));
    }

    // Runs everything posted so far, and whatever those functions post in turn.
    // Returns how many functions ran.
    int drain() {
        int ran = 0;
        for (;;) {
            std::function<void()> fn;
            {
                std::lock_guard lock(mutex_);
                if (pending_.empty()) return ran;
                fn = std::move(pending_.front());
                pending_.pop_front();
            }
            fn();
            ++ran;
        }
    }

    bool empty() const {
        std::lock_guard lock(mutex_);
        return pending_.empty();
    }

private:
    mutable std::mutex mutex_;
    std::deque<std::function<void()>> pending_;
};

}  // namespace vornel
