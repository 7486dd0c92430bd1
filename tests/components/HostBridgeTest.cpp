#include "components/HostBridge.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "components/ModuleDispatcher.h"
#include "platform/Dispatcher.h"

namespace vornel {
namespace {

// A module's task as the host sees it; this one only counts what happens to it.
struct FakeTask {
    int runs = 0;
    int frees = 0;
    std::function<void()> body;
};

void callFake(void* task, int run) {
    auto* t = static_cast<FakeTask*>(task);
    if (!run) {
        ++t->frees;
        return;
    }
    ++t->runs;
    if (t->body) t->body();
}

void postFake(const HostBridge& bridge, FakeTask& task) {
    bridge.host()->post(bridge.host()->context, &callFake, &task);
}

class RefusingDispatcher final : public Dispatcher {
public:
    void post(std::function<void()>) override { throw std::runtime_error("no room"); }
};

TEST(HostBridgeTest, EveryTaskIsRunOrFreedExactlyOnce) {
    FakeTask delivered, dropped, refused;
    {
        QueueDispatcher ui;
        HostBridge bridge(ui);
        postFake(bridge, delivered);
        EXPECT_EQ(delivered.runs, 0);  // nothing runs on the posting thread
        EXPECT_EQ(ui.drain(), 1);
        EXPECT_EQ(ui.drain(), 0);
        postFake(bridge, dropped);
        // A task without its function can be neither run nor freed: ignored.
        bridge.host()->post(bridge.host()->context, nullptr, &dropped);
    }  // the dispatcher goes with `dropped` still waiting
    RefusingDispatcher refusing;
    HostBridge bridge(refusing);
    postFake(bridge, refused);  // cannot be posted: freed at once, nothing thrown

    using Fate = std::pair<int, int>;  // runs, frees
    EXPECT_EQ(Fate(delivered.runs, delivered.frees), Fate(1, 0));
    EXPECT_EQ(Fate(dropped.runs, dropped.frees), Fate(0, 1));
    EXPECT_EQ(Fate(refused.runs, refused.frees), Fate(0, 1));
}

TEST(HostBridgeTest, AnErrorOfTheProgramIsThrownAfterTheModulesCallHasReturned) {
    QueueDispatcher ui;
    HostBridge bridge(ui);
    FakeTask task, next;
    bool moduleFinished = false;
    task.body = [&] {
        // The program's event handler fails inside the module's call...
        HostBridge::carry(std::make_exception_ptr(std::runtime_error("handler")));
        HostBridge::carry(std::make_exception_ptr(std::logic_error("second")));
        moduleFinished = true;  // ...and the module still finishes its own work.
    };
    postFake(bridge, task);
    EXPECT_THROW(ui.drain(), std::runtime_error);
    EXPECT_TRUE(moduleFinished);
    postFake(bridge, next);
    EXPECT_NO_THROW(ui.drain());  // nothing is left over for the next task
}

// The module's side, through the host's bridge: functions arrive in the order
// posted, a freed task releases its function unrun, and a failing function
// stays inside the module.
TEST(ModuleDispatcherTest, HandsEveryFunctionToTheHostAsATask) {
    QueueDispatcher ui;
    HostBridge bridge(ui);
    std::vector<int> order;
    auto captured = std::make_shared<int>(0);
    {
        ModuleDispatcher dispatcher(*bridge.host());
        for (int i = 1; i <= 3; ++i) dispatcher.post([&order, i] { order.push_back(i); });
        dispatcher.post([] { throw std::runtime_error("inside"); });
    }  // the module's dispatcher may go; its tasks are the host's now
    EXPECT_NO_THROW(ui.drain());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    {
        QueueDispatcher dropping;
        HostBridge other(dropping);
        ModuleDispatcher(*other.host()).post([captured] { ++*captured; });
        EXPECT_EQ(captured.use_count(), 2);
    }
    EXPECT_EQ(captured.use_count(), 1);
    EXPECT_EQ(*captured, 0);
}

}  // namespace
}  // namespace vornel
