#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace vornel {

// A bounded single-producer single-consumer queue that never blocks and never
// allocates after construction: the audio callback is one side of every ring,
// and it may neither wait for a lock nor call the allocator.
//
// Exactly one thread pushes and exactly one thread pops at any moment; the
// roles may move to another thread only across a synchronisation point (a
// mutex, a thread join). A full ring refuses the item rather than overwrite one
// that has not been read.
template <typename T, std::size_t N>
class SpscRing {
    static_assert(N >= 2 && (N & (N - 1)) == 0, "capacity must be a power of two");

public:
    // The slots live on the heap so that a ring of large items can sit in an
    // object on the stack.
    SpscRing() : slots_(std::make_unique<T[]>(N)) {}
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

    static constexpr std::size_t capacity() { return N; }

    // Producer side. False when the ring holds N items already.
    bool tryPush(const T& item) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == N) return false;
        slots_[tail & (N - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer side. False when the ring is empty.
    bool tryPop(T& out) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        out = slots_[head & (N - 1)];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Consumer side: the oldest item, left in the ring; nullptr when empty.
    // Valid until the next tryPop() or clear().
    const T* front() const {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return nullptr;
        return &slots_[head & (N - 1)];
    }

    // Consumer side: drops everything pushed so far.
    void clear() { head_.store(tail_.load(std::memory_order_acquire), std::memory_order_release); }

    // Exact for either side while the other is idle, a snapshot otherwise.
    std::size_t size() const {
        // Head first: it never passes the tail read after it.
        const std::size_t head = head_.load(std::memory_order_acquire);
        return tail_.load(std::memory_order_acquire) - head;
    }

private:
    // Keeps the two indices on separate cache lines so that the producer's and
    // the consumer's writes do not bounce one line between two cores.
    static constexpr std::size_t kLine = 64;

    std::unique_ptr<T[]> slots_;
    alignas(kLine) std::atomic<std::size_t> head_{0};
    alignas(kLine) std::atomic<std::size_t> tail_{0};
};

}  // namespace vornel
