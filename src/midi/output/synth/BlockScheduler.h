#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "midi/output/QueueTimeline.h"
#include "midi/output/StruckKeys.h"
#include "midi/output/synth/FrameClock.h"
#include "midi/output/synth/MessageSink.h"
#include "midi/output/synth/PendingQueue.h"
#include "midi/output/synth/ScheduledItem.h"
#include "midi/output/synth/SpscRing.h"
#include "midi/output/synth/SynthMessage.h"
#include "platform/Clock.h"

namespace vornel {

// Decides, block by block, which messages the audio callback applies before
// rendering the next 64 frames: first every message sent at once, then every
// queued message whose due time falls in the block. Rounding a due time to the
// nearest block start keeps each message within half a block (32 frames,
// 0.73 ms at 44.1 kHz) of its ideal frame, whatever the audio period.
//
// Three threads meet here and none of them waits for another:
//  - the sending thread (UI, or the scheduling thread for a queued message
//    whose time has come) pushes into the immediate ring;
//  - the scheduling thread pushes handed-over messages into the scheduled ring
//    (and so does the UI thread for a withdraw, under the same port lock) and
//    takes the reports of applied ones from the applied ring;
//  - the audio thread consumes the first two rings and produces the third.
// Everything the audio thread touches was allocated at construction.
class BlockScheduler {
public:
    static constexpr int kBlockFrames = 64;  // FluidSynth's internal block
    // A panic sends 16 × 128 note-offs at once and a channel reset may add as
    // many again; none may be lost.
    static constexpr std::size_t kImmediateCapacity = 8192;
    static constexpr std::size_t kScheduledCapacity = 8192;
    // Larger than everything that can be in flight (scheduled ring + pending),
    // so a report is lost only if the scheduling thread stops taking them.
    static constexpr std::size_t kAppliedCapacity = 16384;
    // Played notes: a burst of 1,000 messages within one period must fit.
    static constexpr std::size_t kLiveCapacity = 2048;

    BlockScheduler() = default;
    BlockScheduler(const BlockScheduler&) = delete;
    BlockScheduler& operator=(const BlockScheduler&) = delete;

    // Before rendering starts. Without a timeline no queued message is taken.
    void attach(const QueueTimeline* timeline, const Clock* clock);
    bool attached() const { return timeline_ != nullptr; }
    void setSampleRate(double sampleRate);
    double sampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }

    // Sending thread. False when the ring is full: the message is dropped.
    bool pushImmediate(const SynthMessage& m) { return immediate_.tryPush(m); }
    // Input thread (one at a time): a note the musician plays now, stamped
    // with the clock. It is applied exactly one audio period after its stamp
    // (to the nearest block): a callback may run just before or just after it
    // arrives, and the fixed delay hides which, so played notes keep their
    // rhythm instead of jittering by up to a period. Without a clock it is
    // applied before the next block. False when the ring is full.
    bool pushLive(const SynthMessage& m);
    // Played notes applied so far.
    std::uint64_t liveApplied() const { return liveApplied_.load(std::memory_order_relaxed); }

    // Scheduling thread, or the UI thread for a withdraw: the owner's port lock
    // makes them one producer at a time. False when the ring is full.
    bool pushScheduled(const ScheduledItem& item) { return scheduled_.tryPush(item); }
    // As pushScheduled, in order with it: takes back what was pushed before
    // (serials below `beforeSerial`) and is due at or after `fromQueueMs`, and
    // releases at once the notes struck from the queue at or after it.
    bool pushWithdraw(double fromQueueMs, std::uint64_t beforeSerial, std::uint32_t generation);
    // Scheduling thread: up to `max` reports, in the order applied.
    std::size_t takeApplied(AppliedEvent* out, std::size_t max);

    // Audio thread: the start of a period of `frames` frames at `firstFrame`.
    void beginPeriod(std::int64_t firstFrame, int frames);
    // Audio thread: applies what is due before the block starting at
    // `blockFrame` (a multiple of kBlockFrames).
    void beforeBlock(std::int64_t blockFrame, MessageSink& sink);

    // Only while no audio thread runs: forgets every message not yet applied and
    // the time anchor. Reports already made stay to be taken.
    void restart();

    // Largest period seen so far (0 before the first one).
    int largestPeriod() const { return largestPeriod_.load(std::memory_order_relaxed); }
    // Queued messages applied ahead of time because the pending heap was full.
    std::uint64_t appliedEarly() const { return appliedEarly_.load(std::memory_order_relaxed); }
    // Reports lost because the applied ring was full.
    std::uint64_t lostReports() const { return lostReports_.load(std::memory_order_relaxed); }
    // Audio thread (or while it is stopped).
    const FrameClock& frameClock() const { return frameClock_; }
    std::size_t pendingCount() const { return pending_.size(); }

private:
    // Audio thread: never waits for a writer. A state it cannot trust (a stop
    // half written) reads as stopped, in the new generation.
    TimelineState readTimeline() const;
    // Purges pending messages of an earlier generation once the timeline shows
    // a new one.
    void adoptGeneration(const TimelineState& tl);
    void applyItem(const ScheduledItem& item, std::int64_t blockFrame, MessageSink& sink);
    // Drops the pending items a withdraw takes back, unreported, and releases
    // the keys struck at or after its stamp.
    void withdraw(const ScheduledItem& marker, MessageSink& sink);
    void applyLive(std::int64_t blockFrame, MessageSink& sink);

    struct LiveItem {
        SynthMessage message;
        double atMs = 0.0;
    };

    const QueueTimeline* timeline_ = nullptr;
    const Clock* clock_ = nullptr;
    std::atomic<double> sampleRate_{44100.0};

    SpscRing<SynthMessage, kImmediateCapacity> immediate_;
    SpscRing<ScheduledItem, kScheduledCapacity> scheduled_;
    SpscRing<AppliedEvent, kAppliedCapacity> applied_;
    SpscRing<LiveItem, kLiveCapacity> live_;
    LiveItem scratchLive_;

    // Audio thread only.
    mutable TimelineState lastTimeline_;
    PendingQueue pending_;
    // What queued notes applied in this generation left sounding.
    StruckKeys struck_;
    FrameClock frameClock_;
    bool knowGeneration_ = false;
    int periodFrames_ = 0;
    std::uint32_t generation_ = 0;
    SynthMessage scratchMessage_;
    ScheduledItem scratchItem_;

    std::atomic<int> largestPeriod_{0};
    std::atomic<std::uint64_t> appliedEarly_{0};
    std::atomic<std::uint64_t> lostReports_{0};
    std::atomic<std::uint64_t> liveApplied_{0};
};

}  // namespace vornel
