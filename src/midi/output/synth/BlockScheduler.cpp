#include "midi/output/synth/BlockScheduler.h"

#include <limits>

namespace vornel {

void BlockScheduler::attach(const QueueTimeline* timeline, const Clock* clock) {
    timeline_ = timeline;
    clock_ = clock;
}

void BlockScheduler::setSampleRate(double sampleRate) {
    sampleRate_.store(sampleRate, std::memory_order_relaxed);
    frameClock_.setSampleRate(sampleRate);
}

std::size_t BlockScheduler::takeApplied(AppliedEvent* out, std::size_t max) {
    std::size_t n = 0;
    while (n < max && applied_.tryPop(out[n])) ++n;
    return n;
}

bool BlockScheduler::pushWithdraw(double fromQueueMs, std::uint64_t beforeSerial, std::uint32_t generation) {
    ScheduledItem marker;
    marker.kind = ScheduledItem::Kind::Withdraw;
    marker.dueQueueMs = fromQueueMs;
    marker.tag = TimedTag{beforeSerial, 0, generation};
    return scheduled_.tryPush(marker);
}

bool BlockScheduler::pushLive(const SynthMessage& m) {
    const double now = clock_ ? clock_->nowMs() : std::numeric_limits<double>::quiet_NaN();
    return live_.tryPush(LiveItem{m, now});
}

void BlockScheduler::restart() {
    immediate_.clear();
    live_.clear();
    scheduled_.clear();
    pending_.clear();
    struck_.clear();
    frameClock_.reset();
    knowGeneration_ = false;
    // No audio thread runs now, so waiting for a whole read is fine; the first
    // block must not go on with a state from before the restart.
    lastTimeline_ = timeline_ ? timeline_->read() : TimelineState{};
}

TimelineState BlockScheduler::readTimeline() const {
    if (!timeline_) return TimelineState{};
    // Never spin on the audio thread: while the UI thread is in the middle of
    // a change, the state read last block is still good for this one...
    if (timeline_->tryRead(lastTimeline_, 8)) return lastTimeline_;
    // ...unless the queue was stopped or discarded since. Going on with the old
    // generation would play its messages after the note-offs that follow a
    // stop (and a change in progress may be the next start, written right
    // after them). Its messages are dropped; the new generation's wait until
    // its timeline can be read whole.
    const std::uint32_t generation = timeline_->generation();
    if (generation == lastTimeline_.generation) return lastTimeline_;
    TimelineState unsure = lastTimeline_;
    unsure.generation = generation;
    unsure.running = false;
    return unsure;
}

void BlockScheduler::beginPeriod(std::int64_t firstFrame, int frames) {
    if (frames > largestPeriod_.load(std::memory_order_relaxed))
        largestPeriod_.store(frames, std::memory_order_relaxed);
    const double now = clock_ ? clock_->nowMs() : std::numeric_limits<double>::quiet_NaN();
    frameClock_.beginPeriod(firstFrame, frames, now);
    periodFrames_ = frames;
}

void BlockScheduler::applyLive(std::int64_t blockFrame, MessageSink& sink) {
    const double limit = static_cast<double>(blockFrame) + kBlockFrames / 2.0;
    // In stamp order: one input thread pushes them, so a Note Off never
    // overtakes its Note On.
    while (const LiveItem* next = live_.front()) {
        const double due = frameClock_.frameAtMs(next->atMs) + periodFrames_;
        // A stamp without a clock (NaN) fails the test and goes at once.
        if (due >= limit) break;
        sink.apply(next->message);
        live_.tryPop(scratchLive_);
        liveApplied_.fetch_add(1, std::memory_order_relaxed);
    }
}

void BlockScheduler::adoptGeneration(const TimelineState& tl) {
    if (knowGeneration_ && tl.generation == generation_) return;
    if (knowGeneration_) {
        const std::uint32_t current = tl.generation;
        pending_.removeIf(
            [current](const ScheduledItem& i) { return i.tag.generation != current; });
        // A stop or a discard is followed by note-offs of the player's own.
        struck_.clear();
    }
    generation_ = tl.generation;
    knowGeneration_ = true;
}

void BlockScheduler::applyItem(const ScheduledItem& item, std::int64_t blockFrame,
                               MessageSink& sink) {
    if (item.message.kind != SynthMessage::Kind::None) sink.apply(item.message);
    if (item.message.kind == SynthMessage::Kind::Channel)
        struck_.played(item.message.status, item.message.data1, item.message.data2, item.dueQueueMs);
    if (!applied_.tryPush(AppliedEvent{item.tag, blockFrame}))
        lostReports_.fetch_add(1, std::memory_order_relaxed);
}

// Audio thread: no lock, no allocation (the heap and the table are fixed).
// It cannot take back what has been applied: a period being rendered when the
// withdraw came may hold messages due after its stamp. A note among them would
// sound for ever, as the program believes it withdrawn and its note-off is
// taken back (here, or in the component's queue before it came this far).
void BlockScheduler::withdraw(const ScheduledItem& marker, MessageSink& sink) {
    const double from = marker.dueQueueMs;
    const std::uint64_t before = marker.tag.serial;
    pending_.removeIf([from, before](const ScheduledItem& i) { return i.tag.serial < before && i.dueQueueMs >= from; });
    struck_.releaseFrom(from, [this, &sink](int channel, int key) {
        scratchMessage_.kind = SynthMessage::Kind::Channel;
        scratchMessage_.status = static_cast<std::uint8_t>(0x80 | channel);
        scratchMessage_.data1 = static_cast<std::uint8_t>(key);
        scratchMessage_.data2 = 0;
        sink.apply(scratchMessage_);
    });
}

void BlockScheduler::beforeBlock(std::int64_t blockFrame, MessageSink& sink) {
    // Messages sent at once come first: a note-off sent now must not be
    // overtaken by a queued note-on of the same block.
    while (immediate_.tryPop(scratchMessage_)) sink.apply(scratchMessage_);
    applyLive(blockFrame, sink);

    // The timeline is read before the ring is drained, so an item may carry a
    // generation newer than the one read; reading again then tells a stale item
    // from one that merely overtook our first read.
    TimelineState tl = readTimeline();
    adoptGeneration(tl);
    while (scheduled_.tryPop(scratchItem_)) {
        if (scratchItem_.tag.generation != tl.generation) {
            tl = readTimeline();
            adoptGeneration(tl);
            if (scratchItem_.tag.generation != tl.generation) continue;  // voided by a stop
        }
        if (scratchItem_.kind == ScheduledItem::Kind::Withdraw) {
            withdraw(scratchItem_, sink);
            continue;
        }
        if (pending_.full()) {
            // Losing a message (a note-off!) is worse than playing one early:
            // the earliest of the lot goes out now.
            appliedEarly_.fetch_add(1, std::memory_order_relaxed);
            if (PendingQueue::earlier(pending_.top(), scratchItem_)) {
                applyItem(pending_.top(), blockFrame, sink);
                pending_.pop();
                pending_.push(scratchItem_);
            } else {
                applyItem(scratchItem_, blockFrame, sink);
            }
            continue;
        }
        pending_.push(scratchItem_);
    }

    // A stopped queue has no real time for its stamps; what waits stays (a stop
    // bumps the generation and purges it above).
    if (!tl.running || !(tl.rate > 0.0)) return;
    const double limit = static_cast<double>(blockFrame) + kBlockFrames / 2.0;
    while (!pending_.empty()) {
        const ScheduledItem& next = pending_.top();
        const double frame = frameClock_.frameAtMs(tl.realAt(next.dueQueueMs));
        if (!(frame < limit)) break;
        applyItem(next, blockFrame, sink);
        pending_.pop();
    }
}

}  // namespace vornel
