// The record of live handles: exact answers while handles come and go in any
// number, values never handed out twice, and one winner among threads that
// take the same handle, also while other threads look handles up.
#include "tavlet/winapi/LiveHandleSet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace {

using tavlet::winapi::LiveHandleSet;

// Objects are only stored and handed back, so any address serves.
void* Object(size_t i) { return reinterpret_cast<void*>(0x100000 + 16 * i); }

TEST(LiveHandleSet, AnswersExactlyWhileItGrowsAndNeverRepeatsAValue) {
    LiveHandleSet set;
    EXPECT_EQ(set.Find(0), nullptr);
    std::set<uintptr_t> handedOut;
    for (size_t round = 0; round < 3; ++round) {
        std::vector<uintptr_t> handles;
        for (size_t i = 0; i < 3000; ++i) {
            handles.push_back(set.Add(Object(i)));
            ASSERT_TRUE(handedOut.insert(handles.back()).second) << round << " " << i;
        }
        for (size_t i = 0; i < 3000; i += 2) ASSERT_EQ(set.Take(handles[i]), Object(i));
        for (size_t i = 0; i < 3000; ++i) ASSERT_EQ(set.Find(handles[i]), i % 2 ? Object(i) : nullptr) << i;
        for (size_t i = 0; i < 3000; ++i) set.Take(handles[i]);
        ASSERT_EQ(set.Take(handles[1]), nullptr);  // twice: nothing
    }
}

// A reader never misses a handle that stays, nor finds one taken out, while
// other threads add and take out others (reusing their slots) and race each
// other to take the same ones: exactly one of them gets each object.
TEST(LiveHandleSet, LookupsAndRacingTakesDuringChangesStayExact) {
    LiveHandleSet set;
    constexpr size_t kStaying = 64, kComing = 200, kRounds = 500;
    std::vector<uintptr_t> staying, taken;
    for (size_t i = 0; i < kStaying; ++i) staying.push_back(set.Add(Object(i)));
    for (size_t i = 0; i < kStaying; ++i) taken.push_back(set.Add(Object(i)));
    for (uintptr_t handle : taken) set.Take(handle);
    std::atomic<bool> stop{false};
    std::atomic<long> wrong{0}, lookups{0}, won{0};
    std::thread reader([&] {
        while (!stop) {
            for (size_t i = 0; i < kStaying; ++i) {
                if (set.Find(staying[i]) != Object(i) || set.Find(taken[i])) ++wrong;
            }
            ++lookups;
        }
    });
    std::vector<uintptr_t> coming(kComing);
    std::atomic<size_t> round{0}, done{0};
    auto taker = [&] {
        for (size_t r = 0; r < kRounds; ++r) {
            while (round.load() <= r) std::this_thread::yield();
            for (uintptr_t handle : coming)
                if (set.Take(handle)) ++won;
            ++done;
        }
    };
    std::thread first(taker), second(taker);
    for (size_t r = 0; r < kRounds; ++r) {
        for (size_t i = 0; i < kComing; ++i) coming[i] = set.Add(Object(kStaying + i));
        ++round;
        while (done.load() < 2 * (r + 1)) std::this_thread::yield();
    }
    first.join();
    second.join();
    stop = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(lookups, 0);
    EXPECT_EQ(won, long(kComing * kRounds));
}

}  // namespace
