#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "midi/output/synth/ScheduledItem.h"

namespace vornel {

// The audio callback's waiting room for handed-over messages: a fixed-capacity
// min-heap ordered by due queue time, then by hand-over serial, so messages
// that arrive slightly out of stamp order are still applied each at its own
// time, and equal stamps keep their queuing order. Queue time orders them as
// well as real time would: the timeline maps one to the other monotonically.
//
// The heap holds slot numbers, not items, so that sifting moves two bytes
// instead of a whole item with its inline system-exclusive buffer.
class PendingQueue {
public:
    static constexpr std::size_t kCapacity = 1024;

    PendingQueue();

    bool empty() const { return size_ == 0; }
    bool full() const { return size_ == kCapacity; }
    std::size_t size() const { return size_; }

    // Precondition: !full().
    void push(const ScheduledItem& item);
    // The earliest item. Precondition: !empty().
    const ScheduledItem& top() const { return slots_[heap_[0]]; }
    // Removes top(). Precondition: !empty().
    void pop();
    // Removes every item for which `drop(item)` holds; returns how many.
    template <typename Pred>
    std::size_t removeIf(Pred drop) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < size_; ++i)
            if (!drop(slots_[heap_[i]])) heap_[kept++] = heap_[i];
        const std::size_t removed = size_ - kept;
        if (removed > 0) rebuild(kept);
        return removed;
    }
    void clear();

    // True when `a` is due before `b`.
    static bool earlier(const ScheduledItem& a, const ScheduledItem& b) {
        if (a.dueQueueMs != b.dueQueueMs) return a.dueQueueMs < b.dueQueueMs;
        return a.tag.serial < b.tag.serial;
    }

private:
    // After removeIf: heap_[0 .. kept) are the survivors in no order.
    void rebuild(std::size_t kept);
    void siftUp(std::size_t i);
    void siftDown(std::size_t i);

    std::unique_ptr<ScheduledItem[]> slots_;
    std::unique_ptr<std::uint16_t[]> heap_;  // slot numbers, heap-ordered
    std::unique_ptr<std::uint16_t[]> free_;  // unused slot numbers, a stack
    std::size_t size_ = 0;
};

}  // namespace vornel
