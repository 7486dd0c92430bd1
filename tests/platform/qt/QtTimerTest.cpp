#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/qt/QtTimer.h"

namespace vornel {
namespace {

// Turns the event loop until the timer has ticked `ticks` more times; a
// zero-interval timer is due at every turn, so this needs no waiting.
void turnUntil(const int& counter, int ticks) {
    const int target = counter + ticks;
    for (int turn = 0; turn < 1000 && counter < target; ++turn) QCoreApplication::processEvents();
}

TEST(QtTimerTest, KeepsItsIntervalAndStartsOnlyWhenTold) {
    QtDispatcher ui;
    QtTimer blink(250, ui);
    QtTimer meters(55, ui, true);
    EXPECT_EQ(blink.intervalMs(), 250);
    EXPECT_FALSE(blink.running());
    EXPECT_TRUE(meters.running());
    blink.start();
    meters.stop();
    EXPECT_TRUE(blink.running());
    EXPECT_FALSE(meters.running());
}

TEST(QtTimerTest, TicksRunAsHandlersFollowedByTheHooks) {
    QtDispatcher ui;
    QtTimer timer(0, ui, true);
    int ticks = 0, hooks = 0;
    bool insideHandler = false;
    ui.addAfterHandlerHook([&] { ++hooks; });
    timer.onTick = [&] {
        ++ticks;
        insideHandler = ui.inHandler();
    };
    turnUntil(ticks, 2);
    EXPECT_GE(ticks, 2);
    EXPECT_TRUE(insideHandler);
    EXPECT_EQ(hooks, ticks);
}

TEST(QtTimerTest, ATickMayStopItsOwnTimer) {
    QtDispatcher ui;
    QtTimer timer(0, ui, true);
    int ticks = 0;
    timer.onTick = [&] {
        ++ticks;
        timer.stop();
    };
    turnUntil(ticks, 1);
    for (int turn = 0; turn < 20; ++turn) QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.running());
}

TEST(QtTimerTest, NoTickRunsInsideAnotherHandlerOrAfterTheEnd) {
    QtDispatcher ui;
    QtTimer timer(0, ui, true);
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    ui.runHandler([&] {
        for (int turn = 0; turn < 20; ++turn)
            QCoreApplication::processEvents();  // a modal box's loop
    });
    EXPECT_EQ(ticks, 0);
    turnUntil(ticks, 1);
    EXPECT_GE(ticks, 1);
    ui.endProgram();
    const int before = ticks;
    for (int turn = 0; turn < 20; ++turn) QCoreApplication::processEvents();
    EXPECT_EQ(ticks, before);
}

TEST(QtTimerTest, ATimerWithoutHandlerTicksHarmlessly) {
    QtDispatcher ui;
    QtTimer timer(0, ui, true);
    int hooks = 0;
    ui.addAfterHandlerHook([&] { ++hooks; });
    turnUntil(hooks, 1);
    EXPECT_GE(hooks, 1);
    EXPECT_TRUE(timer.running());
}

}  // namespace
}  // namespace vornel
