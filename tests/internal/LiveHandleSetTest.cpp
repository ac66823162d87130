// The record of live handles: exact answers while handles come and go in any
// number, also to lookups made while another thread changes the record.
#include "tavlet/winapi/LiveHandleSet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using tavlet::winapi::LiveHandleSet;

// Handles are only compared, so any aligned address serves.
const void* Handle(size_t i) { return reinterpret_cast<const void*>(0x100000 + 16 * i); }

TEST(LiveHandleSet, AnswersExactlyWhileItGrowsAndReusesItsSlots) {
    LiveHandleSet set;
    EXPECT_FALSE(set.Contains(nullptr));
    for (size_t round = 0; round < 3; ++round) {
        for (size_t i = 0; i < 3000; ++i) set.Add(Handle(i));
        for (size_t i = 0; i < 3000; i += 2) set.Remove(Handle(i));
        for (size_t i = 0; i < 3000; ++i) ASSERT_EQ(set.Contains(Handle(i)), i % 2 == 1) << round << " " << i;
        for (size_t i = 1; i < 3000; i += 2) set.Remove(Handle(i));
        set.Remove(Handle(1));  // twice: nothing
        ASSERT_FALSE(set.Contains(Handle(1)));
    }
}

// A reader never misses a handle that stays, nor finds one that never came,
// while another thread adds and removes others: the table grows and is
// rebuilt in place under it.
TEST(LiveHandleSet, LookupsDuringChangesOnAnotherThreadStayExact) {
    LiveHandleSet set;
    constexpr size_t kStaying = 64, kComing = 500;
    for (size_t i = 0; i < kStaying; ++i) set.Add(Handle(i));
    std::atomic<bool> stop{false};
    std::atomic<long> wrong{0}, lookups{0};
    std::thread reader([&] {
        while (!stop) {
            for (size_t i = 0; i < kStaying; ++i) {
                if (!set.Contains(Handle(i))) ++wrong;
                if (set.Contains(Handle(1000000000 + i))) ++wrong;
            }
            ++lookups;
        }
    });
    // New handles each round take empty slots, so the table fills with
    // removed ones and is rebuilt in place again and again.
    while (lookups == 0) std::this_thread::yield();
    for (size_t round = 0; round < 100000 && (round < 400 || lookups < 20000); ++round) {
        const size_t first = kStaying + round * kComing;
        for (size_t i = 0; i < kComing; ++i) set.Add(Handle(first + i));
        for (size_t i = 0; i < kComing; ++i) set.Remove(Handle(first + i));
    }
    stop = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(lookups, 0);
}

}  // namespace
