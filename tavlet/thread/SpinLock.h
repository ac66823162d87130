// A one-word spin lock for very short sections (reading, creating or releasing
// one process-wide reference). Not recursive, not fair.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace tavlet::thread {

// How a waiter backs off after its n-th failed attempt (n counts from 0).
struct SystemBackoff {
    static void Pause() noexcept { YieldProcessor(); }
    static void SleepZero() noexcept { Sleep(0); }
    static void SleepOne() noexcept { Sleep(1); }
};

template <typename Backoff = SystemBackoff>
class SpinLockT {
public:
    void acquire() noexcept {
        for (uint32_t n = 0;; ++n) {
            uint32_t expected = 0;
            if (word_.compare_exchange_strong(expected, 1, std::memory_order_seq_cst)) return;
            // The first four retries spin bare; then pause, yield, and finally sleep.
            if (n < 4) {
            } else if (n < 16) {
                Backoff::Pause();
            } else if (n < 32) {
                Backoff::SleepZero();
            } else {
                Backoff::SleepOne();
            }
        }
    }
    void release() noexcept {
        uint32_t current = word_.load();
        while (!word_.compare_exchange_weak(current, 0)) {
        }
    }
    // BasicLockable, for std::lock_guard.
    void lock() noexcept { acquire(); }
    void unlock() noexcept { release(); }

    // For tests that hold the lock from the outside.
    std::atomic<uint32_t>& word() noexcept { return word_; }

private:
    std::atomic<uint32_t> word_{0};
};

using SpinLock = SpinLockT<>;

}  // namespace tavlet::thread
