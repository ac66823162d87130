// The record of live handles: exact answers while handles come and go, values
// never handed out twice, and one winner among threads that take the same handle.
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

// A reader never misses a handle that stays, nor finds one taken out, while
// other threads add and take out others (reusing their slots) and race each
// other to take the same ones: exactly one of them gets each object. No value
// is handed out twice.
TEST(LiveHandleSet, LookupsAndRacingTakesDuringChangesStayExact) {
    LiveHandleSet set;
    constexpr size_t kStaying = 64, kComing = 200, kRounds = 500;
    std::vector<uintptr_t> staying, taken;
    std::set<uintptr_t> handedOut;
    for (size_t i = 0; i < kStaying; ++i) handedOut.insert(staying.emplace_back(set.Add(Object(i))));
    for (size_t i = 0; i < kStaying; ++i) handedOut.insert(taken.emplace_back(set.Add(Object(i))));
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
        for (size_t i = 0; i < kComing; ++i) handedOut.insert(coming[i] = set.Add(Object(kStaying + i)));
        ++round;
        while (done.load() < 2 * (r + 1)) std::this_thread::yield();
    }
    first.join(), second.join();
    stop = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(lookups, 0);
    EXPECT_EQ(won, long(kComing * kRounds));
    EXPECT_EQ(handedOut.size(), 2 * kStaying + kComing * kRounds);
}

}  // namespace
