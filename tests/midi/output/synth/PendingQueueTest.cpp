#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "midi/output/synth/PendingQueue.h"

namespace vornel {
namespace {

ScheduledItem item(double due, std::uint64_t serial, std::uint32_t generation = 0) {
    ScheduledItem i;
    i.dueQueueMs = due;
    i.tag.serial = serial;
    i.tag.generation = generation;
    return i;
}

std::vector<std::uint64_t> drainSerials(PendingQueue& q) {
    std::vector<std::uint64_t> serials;
    while (!q.empty()) {
        serials.push_back(q.top().tag.serial);
        q.pop();
    }
    return serials;
}

TEST(PendingQueue, PopsByDueTimeThenByHandOverOrder) {
    auto q = std::make_unique<PendingQueue>();
    q->push(item(30, 1));
    q->push(item(10, 2));
    q->push(item(20, 3));
    q->push(item(10, 4));  // same stamp as serial 2, handed over later
    q->push(item(10, 0));  // same stamp, handed over earlier
    EXPECT_EQ(drainSerials(*q), (std::vector<std::uint64_t>{0, 2, 4, 3, 1}));
}

TEST(PendingQueue, FullAtCapacityIgnoresFurtherPushes) {
    auto q = std::make_unique<PendingQueue>();
    for (std::size_t i = 0; i < PendingQueue::kCapacity; ++i) q->push(item(double(i), i));
    EXPECT_TRUE(q->full());
    q->push(item(-1.0, 99999));  // must not overwrite anything
    EXPECT_EQ(q->size(), PendingQueue::kCapacity);
    EXPECT_EQ(q->top().tag.serial, 0u);
}

TEST(PendingQueue, RemoveIfKeepsOrderAndFreesSlotsForReuse) {
    auto q = std::make_unique<PendingQueue>();
    for (std::size_t i = 0; i < PendingQueue::kCapacity; ++i)
        q->push(item(double(PendingQueue::kCapacity - i), i, i % 2 == 0 ? 1 : 2));
    const std::size_t removed =
        q->removeIf([](const ScheduledItem& i) { return i.tag.generation == 1; });
    EXPECT_EQ(removed, PendingQueue::kCapacity / 2);
    EXPECT_EQ(q->size(), PendingQueue::kCapacity / 2);
    // The freed half can be filled again without disturbing the survivors.
    for (std::size_t i = 0; i < PendingQueue::kCapacity / 2; ++i)
        q->push(item(5000.0 + i, 10000 + i, 3));
    EXPECT_TRUE(q->full());
    double last = -1.0;
    std::size_t survivors = 0, fresh = 0;
    while (!q->empty()) {
        EXPECT_GE(q->top().dueQueueMs, last);
        last = q->top().dueQueueMs;
        EXPECT_NE(q->top().tag.generation, 1u);
        (q->top().tag.generation == 2 ? survivors : fresh)++;
        q->pop();
    }
    EXPECT_EQ(survivors, PendingQueue::kCapacity / 2);
    EXPECT_EQ(fresh, PendingQueue::kCapacity / 2);
    EXPECT_EQ(q->removeIf([](const ScheduledItem&) { return true; }), 0u);
}

// Random pushes and pops against an ordered reference.
TEST(PendingQueue, MatchesAnOrderedReferenceUnderRandomUse) {
    auto q = std::make_unique<PendingQueue>();
    std::set<std::pair<double, std::uint64_t>> reference;
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> due(0, 200);  // many equal stamps
    std::uint64_t serial = 0;
    for (int step = 0; step < 20000; ++step) {
        const bool push = !q->full() && (q->empty() || rng() % 3 != 0);
        if (push) {
            const double d = due(rng);
            q->push(item(d, serial));
            reference.insert({d, serial});
            ++serial;
        } else {
            ASSERT_FALSE(reference.empty());
            ASSERT_EQ(q->top().dueQueueMs, reference.begin()->first);
            ASSERT_EQ(q->top().tag.serial, reference.begin()->second);
            q->pop();
            reference.erase(reference.begin());
        }
        ASSERT_EQ(q->size(), reference.size());
    }
}

}  // namespace
}  // namespace vornel
