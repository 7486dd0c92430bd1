#include <gtest/gtest.h>

#include <limits>

#include "midi/output/synth/FrameClock.h"

namespace vornel {
namespace {

constexpr double kRate = 48000.0;  // 1 ms = 48 frames: easy arithmetic
constexpr int kPeriod = 480;       // 10 ms

class FrameClockTest : public ::testing::Test {
protected:
    FrameClockTest() { clock.setSampleRate(kRate); }
    FrameClock clock;
};

TEST_F(FrameClockTest, FirstPeriodAnchorsFramesToTheClock) {
    clock.beginPeriod(960, kPeriod, 5000.0);
    EXPECT_DOUBLE_EQ(clock.msAtFrame(960), 5000.0);
    EXPECT_DOUBLE_EQ(clock.msAtFrame(960 + 48), 5001.0);
    EXPECT_DOUBLE_EQ(clock.frameAtMs(5002.5), 960 + 120);
    EXPECT_EQ(clock.reanchorCount(), 0u);
}

// Wake-up jitter of less than a period does not move the time line.
TEST_F(FrameClockTest, JitterWithinAPeriodLeavesTheAnchor) {
    clock.beginPeriod(0, kPeriod, 1000.0);
    const double offsets[] = {9.9, -9.9, 3.0, -0.5, 7.5};
    std::int64_t frame = 0;
    for (double jitter : offsets) {
        frame += kPeriod;
        clock.beginPeriod(frame, kPeriod, 1000.0 + frame / 48.0 + jitter);
        EXPECT_DOUBLE_EQ(clock.msAtFrame(frame), 1000.0 + frame / 48.0);
    }
    EXPECT_EQ(clock.reanchorCount(), 0u);
}

TEST_F(FrameClockTest, DriftBeyondAPeriodReanchorsInEitherDirection) {
    clock.beginPeriod(0, kPeriod, 0.0);
    clock.beginPeriod(kPeriod, kPeriod, 10.0 + 10.5);  // device stalled
    EXPECT_DOUBLE_EQ(clock.msAtFrame(kPeriod), 20.5);
    clock.beginPeriod(2 * kPeriod, kPeriod, 20.0);  // device raced ahead
    EXPECT_DOUBLE_EQ(clock.msAtFrame(2 * kPeriod), 20.0);
    EXPECT_EQ(clock.reanchorCount(), 2u);
}

TEST_F(FrameClockTest, WithoutAClockFramesCarryTheTimeFromZero) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    clock.beginPeriod(480, kPeriod, none);
    EXPECT_DOUBLE_EQ(clock.msAtFrame(480), 10.0);
    clock.beginPeriod(960, kPeriod, none);
    EXPECT_DOUBLE_EQ(clock.msAtFrame(960), 20.0);
}

TEST_F(FrameClockTest, ResetForgetsTheAnchor) {
    clock.beginPeriod(0, kPeriod, 100.0);
    clock.reset();
    clock.beginPeriod(0, kPeriod, 700.0);
    EXPECT_DOUBLE_EQ(clock.msAtFrame(0), 700.0);
    EXPECT_EQ(clock.reanchorCount(), 0u);
}

}  // namespace
}  // namespace vornel
