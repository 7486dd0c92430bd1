#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

#include "midi/output/synth/SpscRing.h"

namespace vornel {
namespace {

TEST(SpscRing, HoldsExactlyItsCapacityInOrderAndRefusesMore) {
    SpscRing<int, 8> ring;
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(ring.tryPush(i));
    EXPECT_FALSE(ring.tryPush(99));  // full: refused, nothing overwritten
    EXPECT_EQ(ring.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        int v = -1;
        ASSERT_TRUE(ring.tryPop(v));
        EXPECT_EQ(v, i);
    }
    int v = -1;
    EXPECT_FALSE(ring.tryPop(v));
    EXPECT_EQ(v, -1);
}

TEST(SpscRing, KeepsOrderAcrossManyWrapArounds) {
    SpscRing<int, 4> ring;
    int next = 0, expected = 0;
    for (int round = 0; round < 1000; ++round) {
        while (ring.tryPush(next)) ++next;
        for (int k = 0; k < 3; ++k) {
            int v;
            ASSERT_TRUE(ring.tryPop(v));
            ASSERT_EQ(v, expected++);
        }
    }
    EXPECT_EQ(ring.size(), static_cast<std::size_t>(next - expected));
}

TEST(SpscRing, ClearDropsEverythingAndTheRingStaysUsable) {
    SpscRing<int, 4> ring;
    ring.tryPush(7);
    ring.tryPush(8);
    ring.clear();
    EXPECT_EQ(ring.size(), 0u);
    int v = -1;
    EXPECT_FALSE(ring.tryPop(v));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(ring.tryPush(10 + i));
    ASSERT_TRUE(ring.tryPop(v));
    EXPECT_EQ(v, 10);
}

// One producer and one consumer on two threads: every item arrives once, in
// order, whatever the interleaving.
TEST(SpscRing, TwoThreadsPassEveryItemOnceInOrder) {
    constexpr std::uint64_t kCount = 200000;
    SpscRing<std::uint64_t, 64> ring;
    std::thread producer([&] {
        for (std::uint64_t i = 1; i <= kCount;)
            if (ring.tryPush(i))
                ++i;
            else
                std::this_thread::yield();
    });
    std::uint64_t expected = 1;
    bool inOrder = true;
    while (expected <= kCount) {
        std::uint64_t v;
        if (ring.tryPop(v)) {
            inOrder = inOrder && v == expected;
            ++expected;
        } else {
            std::this_thread::yield();
        }
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(ring.size(), 0u);
}

}  // namespace
}  // namespace vornel
