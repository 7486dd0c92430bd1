#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Dispatcher.h"

namespace vornel {

// The UI thread's dispatcher and the gate every handler passes through.
//
// post() may be called from any thread; the function reaches the UI thread
// through Qt's event queue. A handler (a click forwarded to a model, a timer
// tick, a posted component event) runs inside a HandlerScope. A modal message
// box opened by a handler spins a nested event loop, and a component event
// must not run in the middle of the handler that opened it: while any scope
// is open, posted functions are held and run, in order, when the outermost
// scope closes, each inside a scope of its own.
//
// After the outermost scope has closed (and what it held has run) the
// after-handler hooks run: the windows re-read their models there, so every
// change any handler made reaches the screen.
//
// Once endProgram() has been called nothing runs any more: held and posted
// functions are dropped and runHandler() refuses.
//
// Everything except post() belongs to the UI thread. Construct it on the UI
// thread after the QApplication.
class QtDispatcher final : public Dispatcher {
public:
    QtDispatcher();
    ~QtDispatcher() override;
    QtDispatcher(const QtDispatcher&) = delete;
    QtDispatcher& operator=(const QtDispatcher&) = delete;

    void post(std::function<void()> fn) override;

    // Runs fn as a handler. A handler never runs inside another one, nor after
    // the program has ended: then fn is dropped and the result is false.
    bool runHandler(const std::function<void()>& fn);

    bool inHandler() const { return depth_ > 0; }
    bool ended() const { return ended_; }
    void endProgram();

    // Called on the UI thread after every outermost handler, in the order
    // added. The number returned removes the hook again.
    int addAfterHandlerHook(std::function<void()> hook);
    void removeAfterHandlerHook(int id);

    // Runs the after-handler hooks now, inside a handler: a message box shows
    // over the windows as the handler has left them so far (a window it hid
    // is gone before the box appears), not as they were when it began.
    void syncWindows();

private:
    friend class HandlerScope;
    void enter();
    void leave();
    void deliver(std::function<void()> fn);

    QObject context_;  // lives on the UI thread; queued calls are addressed to it
    int depth_ = 0;
    bool ended_ = false;
    std::deque<std::function<void()>> held_;
    std::vector<std::pair<int, std::function<void()>>> afterHandlerHooks_;
    int nextHookId_ = 1;
};

// Marks the time a handler runs. Scopes nest; see QtDispatcher.
class HandlerScope {
public:
    explicit HandlerScope(QtDispatcher& dispatcher) : dispatcher_(dispatcher) {
        dispatcher_.enter();
    }
    ~HandlerScope() { dispatcher_.leave(); }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    QtDispatcher& dispatcher_;
};

}  // namespace vornel
