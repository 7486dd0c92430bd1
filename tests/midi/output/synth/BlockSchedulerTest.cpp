#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "midi/output/synth/BlockScheduler.h"
#include "midi/output/synth/SynthTestSupport.h"

namespace vornel {
namespace {

using test::RecordingSink;

constexpr double kRate = 44100.0;
constexpr int kBlock = BlockScheduler::kBlockFrames;

double msForFrame(double frame) {
    return frame * 1000.0 / kRate;
}

// The block start nearest to an ideal frame (ideal frames in these tests never
// fall exactly half-way).
std::int64_t nearestBlock(double idealFrame) {
    return static_cast<std::int64_t>(std::floor((idealFrame + kBlock / 2.0) / kBlock)) * kBlock;
}

// Drives a BlockScheduler as the audio callback does: periods of any size,
// split at FluidSynth's 64-frame boundaries, the clock read at each period.
class BlockSchedulerTest : public ::testing::Test {
protected:
    BlockSchedulerTest() {
        sched->attach(&timeline, &clock);
        sched->setSampleRate(kRate);
        run(0.0, 0.0, 1.0, 0);
    }

    void run(double realMs, double queueMs, double rate, std::uint32_t generation) {
        timeline.write(TimelineState{realMs, queueMs, rate, true, generation});
    }
    void stop(std::uint32_t generation) {
        timeline.write(TimelineState{clock.nowMs(), 0.0, 1.0, false, generation});
    }

    // Renders up to `untilFrame`; the clock reads each period's time plus jitter(k).
    void renderUntil(std::int64_t untilFrame, int period,
                     const std::function<double(int)>& jitterMs = {}) {
        int k = 0;
        while (frame < untilFrame) {
            const int n = static_cast<int>(std::min<std::int64_t>(period, untilFrame - frame));
            clock.set(msForFrame(double(frame)) + (jitterMs ? jitterMs(k) : 0.0));
            ++k;
            sched->beginPeriod(frame, n);
            int pos = 0;
            while (pos < n) {
                const int offset = static_cast<int>(frame % kBlock);
                if (offset == 0) {
                    sink.frame = frame;
                    sched->beforeBlock(frame, sink);
                }
                const int chunk = std::min(n - pos, kBlock - offset);
                pos += chunk;
                frame += chunk;
            }
        }
    }

    bool schedule(double dueQueueMs, std::uint64_t serial, int key = 60,
                  std::uint32_t generation = 0, std::int32_t cue = 0) {
        ScheduledItem item;
        SynthMessage::encode(test::noteOn(0, key), item.message);
        item.dueQueueMs = dueQueueMs;
        item.tag = TimedTag{serial, cue, generation};
        return sched->pushScheduled(item);
    }
    bool scheduleMessage(const MidiMessage& m, double dueQueueMs, std::uint64_t serial) {
        ScheduledItem item;
        SynthMessage::encode(m, item.message);
        item.dueQueueMs = dueQueueMs;
        item.tag = TimedTag{serial, 0, 0};
        return sched->pushScheduled(item);
    }
    bool sendNow(int key) {
        SynthMessage m;
        SynthMessage::encode(test::noteOff(0, key), m);
        return sched->pushImmediate(m);
    }

    std::vector<AppliedEvent> takeAll() {
        std::vector<AppliedEvent> all;
        AppliedEvent buf[100];
        while (std::size_t n = sched->takeApplied(buf, 100)) all.insert(all.end(), buf, buf + n);
        return all;
    }

    ManualClock clock;
    QueueTimeline timeline;
    std::unique_ptr<BlockScheduler> sched = std::make_unique<BlockScheduler>();
    RecordingSink sink;
    std::int64_t frame = 0;
};

// --- Placement ---------------------------------------------------------------

class PlacementByPeriod : public BlockSchedulerTest, public ::testing::WithParamInterface<int> {};

// Whatever the period (aligned or not to 64 frames), every queued message is
// applied before the block whose start is nearest its ideal frame: never more
// than 32 frames off.
TEST_P(PlacementByPeriod, EachMessageLandsOnTheBlockNearestItsIdealFrame) {
    const int period = GetParam();
    std::vector<double> ideal;
    for (int k = 0; k < 160; ++k) {
        ideal.push_back(3000.0 + k + 0.25);
        ASSERT_TRUE(schedule(msForFrame(ideal.back()), k));
    }
    renderUntil(10000, period);
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), ideal.size());
    for (const AppliedEvent& a : applied) {
        const double f = ideal[a.tag.serial];
        EXPECT_EQ(a.frame, nearestBlock(f)) << "ideal frame " << f << ", period " << period;
        EXPECT_LE(std::fabs(double(a.frame) - f), kBlock / 2.0);
    }
    EXPECT_EQ(sink.entries.size(), ideal.size());
}

INSTANTIATE_TEST_SUITE_P(Periods, PlacementByPeriod, ::testing::Values(64, 100, 256, 1024, 4096));

// The callback wakes early or late by up to 90 % of a period; the frame clock
// absorbs it and no message moves.
TEST_F(BlockSchedulerTest, CallbackWakeUpJitterDoesNotMoveMessages) {
    const int period = 512;
    const double periodMs = msForFrame(period);
    std::vector<double> ideal;
    for (int k = 0; k < 50; ++k) {
        ideal.push_back(2048.0 + 997.3 * k);
        schedule(msForFrame(ideal.back()), k);
    }
    renderUntil(118 * period, period,
                [&](int k) { return (k % 2 ? 0.9 : -0.9) * periodMs * ((k % 5) / 4.0); });
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), ideal.size());
    for (const AppliedEvent& a : applied) EXPECT_EQ(a.frame, nearestBlock(ideal[a.tag.serial]));
    EXPECT_EQ(sched->frameClock().reanchorCount(), 0u);
}

TEST_F(BlockSchedulerTest,
       MessagesHandedOverOutOfOrderPlayEachAtItsOwnTimeAndEqualStampsKeepOrder) {
    schedule(30.0, 1);
    schedule(10.0, 2);
    schedule(20.0, 3);
    schedule(20.0, 4);
    renderUntil(44100, 256);
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 4u);
    EXPECT_EQ(applied[0].tag.serial, 2u);
    EXPECT_EQ(applied[1].tag.serial, 3u);
    EXPECT_EQ(applied[2].tag.serial, 4u);
    EXPECT_EQ(applied[3].tag.serial, 1u);
    EXPECT_EQ(applied[0].frame, nearestBlock(441.0));
    EXPECT_EQ(applied[3].frame, nearestBlock(1323.0));
}

TEST_F(BlockSchedulerTest, AMessageHandedOverLateIsAppliedAtOnceNotDropped) {
    renderUntil(44100, 256);
    schedule(100.0, 1);  // due 900 ms ago
    renderUntil(44100 + 256, 256);
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].frame, 44100 - 44100 % kBlock + kBlock);
}

// --- Immediate messages ------------------------------------------------------

TEST_F(BlockSchedulerTest, MessagesSentAtOnceGoBeforeQueuedOnesOfTheSameBlock) {
    schedule(0.0, 1, 61);
    sendNow(60);
    renderUntil(kBlock, kBlock);
    ASSERT_EQ(sink.entries.size(), 2u);
    EXPECT_EQ(sink.entries[0].message.status, 0x80);  // the note-off sent at once
    EXPECT_EQ(sink.entries[1].message.status, 0x90);
    EXPECT_EQ(sink.entries[1].message.data1, 61);
}

TEST_F(BlockSchedulerTest, APanicBurstArrivesWholeInTheNextBlockInOrder) {
    renderUntil(1000, 256);
    for (int i = 0; i < 4096; ++i) ASSERT_TRUE(sendNow(i % 128));
    renderUntil(2000, 256);
    ASSERT_EQ(sink.entries.size(), 4096u);
    for (int i = 0; i < 4096; ++i) {
        ASSERT_EQ(sink.entries[i].message.data1, i % 128);
        ASSERT_EQ(sink.entries[i].frame, 1024);  // first block after the send
    }
}

TEST_F(BlockSchedulerTest, FullRingsRefuseInsteadOfWaiting) {
    std::size_t sent = 0, queued = 0;
    while (sendNow(60)) ++sent;
    while (schedule(5.0, queued)) ++queued;
    EXPECT_EQ(sent, BlockScheduler::kImmediateCapacity);
    EXPECT_EQ(queued, BlockScheduler::kScheduledCapacity);
    renderUntil(44100, 1024);
    EXPECT_EQ(sink.entries.size(), sent + queued);
    EXPECT_TRUE(sendNow(60));  // room again
}

// --- Generations and the timeline -------------------------------------------

TEST_F(BlockSchedulerTest, AMessageOfAnEarlierGenerationIsDroppedWithoutReport) {
    schedule(10.0, 1, 60, /*generation=*/0);
    stop(1);
    run(0.0, 0.0, 1.0, 1);
    renderUntil(44100, 256);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_TRUE(takeAll().empty());
}

TEST_F(BlockSchedulerTest, AStopPurgesWaitingMessagesAndTheNextRunPlaysOnlyItsOwn) {
    schedule(500.0, 1, 60, 0);
    renderUntil(4410, 256);  // 100 ms: the message waits
    EXPECT_EQ(sched->pendingCount(), 1u);
    stop(1);
    renderUntil(8820, 256);
    EXPECT_EQ(sched->pendingCount(), 0u);
    run(clock.nowMs(), 0.0, 1.0, 1);
    const double runStart = clock.nowMs();
    schedule(50.0, 2, 62, 1);
    renderUntil(88200, 256);
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].tag.serial, 2u);
    EXPECT_EQ(applied[0].frame, nearestBlock((runStart + 50.0) * kRate / 1000.0));
}

// A tempo change reaches messages already handed over: at rate 2 the rest of
// the way to queue time 1000 ms takes half as long.
TEST_F(BlockSchedulerTest, ATempoChangeMovesAHandedOverMessage) {
    schedule(1000.0, 1);
    renderUntil(17640, 256);  // 400 ms
    run(400.0, 400.0, 2.0, 0);
    renderUntil(88200, 256);
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].frame, nearestBlock(700.0 * kRate / 1000.0));
}

TEST_F(BlockSchedulerTest, MessagesWaitWhileTheQueueHasNotStarted) {
    stop(0);  // same generation, not running: before the first start
    schedule(5.0, 1);
    renderUntil(4410, 256);
    EXPECT_TRUE(sink.entries.empty());
    const double startMs = clock.nowMs();
    run(startMs, 0.0, 1.0, 0);
    renderUntil(44100, 256);
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].frame, nearestBlock((startMs + 5.0) * kRate / 1000.0));
}

TEST(BlockSchedulerDetached, WithoutATimelineOnlyImmediateMessagesPlay) {
    auto sched = std::make_unique<BlockScheduler>();
    EXPECT_FALSE(sched->attached());
    ScheduledItem item;
    SynthMessage::encode(test::noteOn(0, 60), item.message);
    sched->pushScheduled(item);
    SynthMessage now;
    SynthMessage::encode(test::noteOn(0, 61), now);
    sched->pushImmediate(now);
    RecordingSink sink;
    for (std::int64_t f = 0; f < 44100; f += kBlock) {
        sched->beginPeriod(f, kBlock);
        sched->beforeBlock(f, sink);
    }
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].message.data1, 61);
}

// --- Withdrawing -------------------------------------------------------------

// The period being rendered when a withdraw arrives may have applied notes due
// after its stamp, which the program believes withdrawn and will never release:
// they are released at once, whether their note-offs were handed over or not.
TEST_F(BlockSchedulerTest, AWithdrawTakesBackWhatWaitsAndReleasesWhatItCameTooLateFor) {
    const double t = 100.0;
    using test::noteOff;
    using test::noteOn;
    scheduleMessage(noteOn(0, 60), t - 5, 1);  // struck before: the program releases it
    scheduleMessage(noteOff(0, 60), t + 100, 2);
    scheduleMessage(noteOn(0, 62), t + 1, 3);
    scheduleMessage(noteOff(0, 62), t + 100, 4);
    scheduleMessage(noteOn(0, 64), t + 2, 5);  // its note-off was still in the component's queue
    scheduleMessage(noteOn(0, 65), t + 50, 6);
    renderUntil(18 * 256, 256);  // 104.5 ms: the first three are applied
    ASSERT_EQ(sink.entries.size(), 3u);
    EXPECT_EQ(takeAll().size(), 3u);
    sink.entries.clear();
    const std::int64_t next = frame;

    ASSERT_TRUE(sched->pushWithdraw(t, 7, 0));
    scheduleMessage(noteOn(0, 67), t, 7);  // queued afterwards, already due
    renderUntil(88200, 256);
    ASSERT_EQ(sink.entries.size(), 3u);
    EXPECT_EQ(sink.entries[0].message.status, 0x80);
    EXPECT_EQ(sink.entries[0].message.data1, 62);
    EXPECT_EQ(sink.entries[1].message.status, 0x80);
    EXPECT_EQ(sink.entries[1].message.data1, 64);
    EXPECT_EQ(sink.entries[2].message.status, 0x90);
    EXPECT_EQ(sink.entries[2].message.data1, 67);
    for (const auto& e : sink.entries) EXPECT_EQ(e.frame, next) << "all in the first block after it";
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 1u) << "what was taken back is never reported";
    EXPECT_EQ(applied[0].tag.serial, 7u);
}

// --- Overflow and reports ----------------------------------------------------

// With the waiting room full, the earliest message goes out at once: early
// beats lost (a lost note-off would hang a note).
TEST_F(BlockSchedulerTest, AFullPendingHeapAppliesTheEarliestAtOnce) {
    for (std::size_t i = 0; i < PendingQueue::kCapacity; ++i) schedule(10000.0 + double(i), i);
    renderUntil(kBlock, kBlock);
    EXPECT_EQ(sched->pendingCount(), PendingQueue::kCapacity);
    schedule(5000.0, 5000);  // earlier than everything waiting: itself goes out
    renderUntil(2 * kBlock, kBlock);
    schedule(20000.0, 5001);  // later: the earliest waiting (10000 ms) goes out
    renderUntil(3 * kBlock, kBlock);
    EXPECT_EQ(sched->appliedEarly(), 2u);
    std::vector<AppliedEvent> early = takeAll();
    ASSERT_EQ(early.size(), 2u);
    EXPECT_EQ(early[0].tag.serial, 5000u);
    EXPECT_EQ(early[0].frame, kBlock);
    EXPECT_EQ(early[1].tag.serial, 0u);
    EXPECT_EQ(early[1].frame, 2 * kBlock);
    // Everything else still comes, once each.
    renderUntil(static_cast<std::int64_t>(20.1 * kRate), 4096);
    const std::vector<AppliedEvent> rest = takeAll();
    EXPECT_EQ(rest.size(), PendingQueue::kCapacity);
    EXPECT_EQ(rest.back().tag.serial, 5001u);
}

TEST_F(BlockSchedulerTest, ACarrierIsReportedAtItsTimeWithoutReachingTheSynth) {
    ScheduledItem carrier;  // kind None
    carrier.dueQueueMs = 10.0;
    carrier.tag = TimedTag{7, 42, 0};
    sched->pushScheduled(carrier);
    renderUntil(4410, 256);
    EXPECT_TRUE(sink.entries.empty());
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].tag.cueTag, 42);
    EXPECT_EQ(applied[0].frame, nearestBlock(441.0));
}

TEST_F(BlockSchedulerTest, ReportsBeyondTheAppliedRingAreCountedAsLost) {
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < BlockScheduler::kScheduledCapacity; ++i) schedule(0.0, i);
        renderUntil(frame + kBlock, kBlock);
    }
    EXPECT_EQ(sched->lostReports(),
              3 * BlockScheduler::kScheduledCapacity - BlockScheduler::kAppliedCapacity);
    EXPECT_EQ(takeAll().size(), BlockScheduler::kAppliedCapacity);
}

TEST_F(BlockSchedulerTest, RestartForgetsWhatWasNotAppliedButKeepsReports) {
    schedule(0.0, 1);
    renderUntil(kBlock, kBlock);
    schedule(0.0, 2);
    schedule(900.0, 3);
    sendNow(60);
    sched->restart();
    frame = 0;
    renderUntil(44100, 256);
    const std::vector<AppliedEvent> applied = takeAll();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].tag.serial, 1u);
    EXPECT_EQ(sink.entries.size(), 1u);
}

}  // namespace
}  // namespace vornel
