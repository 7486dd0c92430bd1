#include "midi/output/synth/PendingQueue.h"

#include <utility>

namespace vornel {

static_assert(PendingQueue::kCapacity <= 65536, "slot numbers are 16-bit");

PendingQueue::PendingQueue()
    : slots_(std::make_unique<ScheduledItem[]>(kCapacity)),
      heap_(std::make_unique<std::uint16_t[]>(kCapacity)),
      free_(std::make_unique<std::uint16_t[]>(kCapacity)) {
    clear();
}

void PendingQueue::clear() {
    size_ = 0;
    // Free slots are taken from the top of the stack: size_ items are in use,
    // free_[size_ .. kCapacity) are free.
    for (std::size_t i = 0; i < kCapacity; ++i) free_[i] = static_cast<std::uint16_t>(i);
}

void PendingQueue::push(const ScheduledItem& item) {
    if (full()) return;
    const std::uint16_t slot = free_[size_];
    slots_[slot] = item;
    heap_[size_] = slot;
    ++size_;
    siftUp(size_ - 1);
}

void PendingQueue::pop() {
    if (empty()) return;
    const std::uint16_t slot = heap_[0];
    --size_;
    heap_[0] = heap_[size_];
    free_[size_] = slot;
    if (size_ > 0) siftDown(0);
}

void PendingQueue::rebuild(std::size_t kept) {
    size_ = kept;
    // The free stack is whatever the survivors do not use; a bitmap on the
    // stack finds those slots without allocating.
    std::uint64_t used[kCapacity / 64] = {};
    for (std::size_t i = 0; i < size_; ++i) used[heap_[i] / 64] |= 1ull << (heap_[i] % 64);
    std::size_t f = size_;
    for (std::size_t s = 0; s < kCapacity; ++s)
        if (!(used[s / 64] & (1ull << (s % 64)))) free_[f++] = static_cast<std::uint16_t>(s);
    for (std::size_t i = size_ / 2; i-- > 0;) siftDown(i);
}

void PendingQueue::siftUp(std::size_t i) {
    while (i > 0) {
        const std::size_t parent = (i - 1) / 2;
        if (!earlier(slots_[heap_[i]], slots_[heap_[parent]])) break;
        std::swap(heap_[i], heap_[parent]);
        i = parent;
    }
}

void PendingQueue::siftDown(std::size_t i) {
    for (;;) {
        const std::size_t left = 2 * i + 1;
        if (left >= size_) break;
        std::size_t child = left;
        const std::size_t right = left + 1;
        if (right < size_ && earlier(slots_[heap_[right]], slots_[heap_[left]])) child = right;
        if (!earlier(slots_[heap_[child]], slots_[heap_[i]])) break;
        std::swap(heap_[i], heap_[child]);
        i = child;
    }
}

}  // namespace vornel
