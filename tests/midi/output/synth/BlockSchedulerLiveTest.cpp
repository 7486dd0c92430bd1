// Played notes through the block scheduler: one period after their stamp, in
// the order played, none lost in a burst.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "midi/output/synth/BlockScheduler.h"
#include "midi/output/synth/SynthTestSupport.h"

namespace vornel {
namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = BlockScheduler::kBlockFrames;

class BlockSchedulerLiveTest : public ::testing::Test {
protected:
    BlockSchedulerLiveTest() {
        sched->attach(&timeline, &clock);
        sched->setSampleRate(kRate);
    }

    // One audio callback: the clock stands at the period's own time.
    void renderPeriod(int period) {
        clock.set(frame * 1000.0 / kRate);
        sched->beginPeriod(frame, period);
        for (int pos = 0; pos < period; pos += kBlock, frame += kBlock) {
            sink.frame = frame;
            sched->beforeBlock(frame, sink);
        }
    }
    void play(double atMs, int key, bool on = true) {
        clock.set(atMs);
        SynthMessage m;
        SynthMessage::encode(on ? test::noteOn(0, key) : test::noteOff(0, key), m);
        ASSERT_TRUE(sched->pushLive(m));
    }

    ManualClock clock;
    QueueTimeline timeline;
    std::unique_ptr<BlockScheduler> sched = std::make_unique<BlockScheduler>();
    test::RecordingSink sink;
    std::int64_t frame = 0;
};

TEST_F(BlockSchedulerLiveTest, PlayedNoteSoundsOnePeriodAfterItsStampWhateverTheCallbackPhase) {
    for (int period : {64, 256, 1024}) {
        sink.entries.clear();
        const double periodMs = period * 1000.0 / kRate;
        const double base = frame * 1000.0 / kRate;
        renderPeriod(period);
        // Stamps early, mid and late between two callbacks.
        const std::vector<double> stamps{base + 0.1 * periodMs, base + 0.5 * periodMs, base + 0.93 * periodMs};
        for (std::size_t i = 0; i < stamps.size(); ++i) play(stamps[i], 60 + static_cast<int>(i));
        for (int k = 0; k < 3; ++k) renderPeriod(period);
        ASSERT_EQ(sink.entries.size(), stamps.size()) << period;
        for (std::size_t i = 0; i < stamps.size(); ++i) {
            const double ideal = stamps[i] * kRate / 1000.0 + period;
            EXPECT_LE(std::fabs(static_cast<double>(sink.entries[i].frame) - ideal), kBlock / 2.0)
                << period << " " << i;
        }
    }
}

TEST_F(BlockSchedulerLiveTest, BurstKeepsOrderAndLosesNothing) {
    renderPeriod(256);
    // 1,000 messages within 10 ms, a Note On and its Note Off at each stamp.
    for (int i = 0; i < 500; ++i) {
        play(6.0 + i * 0.02, i % 128);
        play(6.0 + i * 0.02, i % 128, false);
    }
    for (int k = 0; k < 8; ++k) renderPeriod(256);
    ASSERT_EQ(sink.entries.size(), 1000u);
    EXPECT_EQ(sched->liveApplied(), 1000u);
    for (std::size_t i = 0; i + 1 < sink.entries.size(); i += 2) {
        EXPECT_EQ(sink.entries[i].message.status, 0x90);
        EXPECT_EQ(sink.entries[i + 1].message.status, 0x80);
        EXPECT_LE(sink.entries[i].frame, sink.entries[i + 1].frame);
    }
}

TEST_F(BlockSchedulerLiveTest, WithoutAClockANoteGoesBeforeTheNextBlock) {
    sched->attach(&timeline, nullptr);
    renderPeriod(256);
    play(0.0, 60);
    renderPeriod(256);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].frame, 256);
}

}  // namespace
}  // namespace vornel
