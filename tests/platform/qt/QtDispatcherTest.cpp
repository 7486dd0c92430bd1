#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/QtDispatcher.h"

namespace vornel {
namespace {

// Delivers every call queued so far (and what those queue in turn).
void deliverQueued() {
    QCoreApplication::processEvents();
}

TEST(QtDispatcherTest, PostedFunctionsRunInOrderOnceTheEventLoopTurns) {
    QtDispatcher ui;
    std::vector<int> ran;
    for (int i = 0; i < 5; ++i) ui.post([&ran, i] { ran.push_back(i); });
    EXPECT_TRUE(ran.empty());  // never inside post()
    deliverQueued();
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(QtDispatcherTest, PostedFunctionsRunAsHandlers) {
    QtDispatcher ui;
    bool inside = false;
    int hooks = 0;
    ui.addAfterHandlerHook([&] { ++hooks; });
    ui.post([&] { inside = ui.inHandler(); });
    deliverQueued();
    EXPECT_TRUE(inside);
    EXPECT_FALSE(ui.inHandler());
    EXPECT_EQ(hooks, 1);
}

// A message box inside a handler turns the event loop; what arrives then must
// wait until the handler has finished.
TEST(QtDispatcherTest, WhatArrivesDuringAHandlerRunsAfterItInOrder) {
    QtDispatcher ui;
    std::vector<std::string> log;
    ui.runHandler([&] {
        log.push_back("handler starts");
        ui.post([&] { log.push_back("cue 1"); });
        ui.post([&] {
            log.push_back("cue 2");
            ui.post([&] { log.push_back("cue 4"); });  // arrives in a nested loop below
            deliverQueued();
            log.push_back("cue 2 ends");
        });
        ui.post([&] { log.push_back("cue 3"); });
        deliverQueued();  // the nested loop of a modal box
        log.push_back("handler ends");
    });
    EXPECT_EQ(log, (std::vector<std::string>{"handler starts", "handler ends", "cue 1", "cue 2",
                                             "cue 2 ends", "cue 3", "cue 4"}));
}

TEST(QtDispatcherTest, ScopesNestAndOnlyTheOutermostReleasesHeldWork) {
    QtDispatcher ui;
    std::vector<std::string> log;
    int hooks = 0;
    ui.addAfterHandlerHook([&] {
        log.push_back("hook");
        ++hooks;
    });
    {
        HandlerScope outer(ui);
        {
            HandlerScope inner(ui);
            ui.post([&] { log.push_back("cue"); });
            deliverQueued();
        }
        EXPECT_TRUE(log.empty());
        EXPECT_TRUE(ui.inHandler());
    }
    EXPECT_EQ(log, (std::vector<std::string>{"cue", "hook"}));
    EXPECT_EQ(hooks, 1);
}

// A window that goes away takes its hook with it; the others stay, in order.
TEST(QtDispatcherTest, HooksRunInOrderUntilRemoved) {
    QtDispatcher ui;
    std::vector<int> ran;
    const int first = ui.addAfterHandlerHook([&] { ran.push_back(1); });
    ui.addAfterHandlerHook([&] { ran.push_back(2); });
    ui.runHandler([] {});
    ui.removeAfterHandlerHook(first);
    ui.removeAfterHandlerHook(12345);  // unknown: nothing happens
    ui.runHandler([] {});
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 2}));
}

TEST(QtDispatcherTest, AHandlerNeverRunsInsideAnother) {
    QtDispatcher ui;
    bool innerRan = false;
    bool accepted = true;
    const bool outerRan =
        ui.runHandler([&] { accepted = ui.runHandler([&] { innerRan = true; }); });
    EXPECT_TRUE(outerRan);
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(innerRan);
}

TEST(QtDispatcherTest, PostsFromOtherThreadsArriveOnTheUiThreadInTheirOrder) {
    QtDispatcher ui;
    const auto uiThread = std::this_thread::get_id();
    std::vector<int> ran;
    bool allOnUiThread = true;
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i)
            ui.post([&, i] {
                ran.push_back(i);
                allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
            });
    });
    worker.join();
    deliverQueued();
    ASSERT_EQ(ran.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
    EXPECT_TRUE(allOnUiThread);
}

TEST(QtDispatcherTest, NothingRunsAfterTheProgramHasEnded) {
    QtDispatcher ui;
    std::vector<std::string> log;
    int hooks = 0;
    ui.addAfterHandlerHook([&] { ++hooks; });
    ui.runHandler([&] {
        ui.post([&] { log.push_back("held cue"); });
        deliverQueued();
        ui.endProgram();
    });
    ui.post([&] { log.push_back("late cue"); });
    deliverQueued();
    EXPECT_FALSE(ui.runHandler([&] { log.push_back("click"); }));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(hooks, 0);
    EXPECT_TRUE(ui.ended());
}

TEST(QtDispatcherTest, CallsQueuedForADispatcherThatIsGoneAreDropped) {
    bool ran = false;
    {
        QtDispatcher ui;
        ui.post([&] { ran = true; });
    }
    deliverQueued();
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vornel
