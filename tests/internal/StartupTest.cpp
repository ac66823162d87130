// Start-up mechanics: the spin lock's back-off, and the once-per-process
// runtime initialisation, also as the exports meet it. Each test runs in a
// process of its own.
#include "Host.h"
#include "tavlet.h"
#include "tavlet/thread/SpinLock.h"
#include "tavlet/winapi/winrt/base/Runtime.h"

#include <atomic>
#include <thread>

namespace {

// Counts the back-off steps of one waiter and lets it in after its 40th failed
// attempt (the first four failures spin bare, so that is the 36th step).
struct CountingBackoff {
    static inline int pauses = 0, yields = 0, sleeps = 0;
    static inline tavlet::thread::SpinLockT<CountingBackoff>* lock = nullptr;
    static void Step() {
        if (pauses + yields + sleeps == 36) lock->word().store(0);
    }
    static void Pause() { ++pauses, Step(); }
    static void SleepZero() { ++yields, Step(); }
    static void SleepOne() { ++sleeps, Step(); }
};

TEST(SpinLock, BackOffMovesFromSpinningToPauseYieldAndSleep) {
    tavlet::thread::SpinLockT<CountingBackoff> lock;
    CountingBackoff::lock = &lock;
    lock.acquire();  // uncontended: in at once, no back-off
    EXPECT_EQ(CountingBackoff::pauses + CountingBackoff::yields + CountingBackoff::sleeps, 0);
    // Held: after 4 bare retries the waiter pauses 12 times, yields with
    // Sleep(0) 16 times, then sleeps with Sleep(1).
    lock.acquire();
    EXPECT_EQ(CountingBackoff::pauses, 12);
    EXPECT_EQ(CountingBackoff::yields, 16);
    EXPECT_EQ(CountingBackoff::sleeps, 8);
    lock.release();
    EXPECT_EQ(lock.word().load(), 0u);
}

TEST(SpinLock, ExcludesConcurrentWriters) {
    tavlet::thread::SpinLock lock;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            lock.acquire();
            ++counter;
            lock.release();
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
}

APTTYPE Apartment() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    return CoGetApartmentType(&type, &qualifier) == S_OK ? type : APTTYPE(-1);
}

TEST(Runtime, InitialisesTheFirstCallingThreadOnly) {
    using tavlet::winapi::winrt::EnsureRuntimeInitialized;
    EnsureRuntimeInitialized();
    EXPECT_EQ(Apartment(), APTTYPE_MAINSTA);
    std::thread other([&] {
        EnsureRuntimeInitialized();
        EXPECT_EQ(Apartment(), APTTYPE(-1)) << "a second thread must not be initialised";
    });
    other.join();
}

using StartupTest = RuntimeTest;

// A thread of the multithreaded apartment cannot become single-threaded: the
// first initialising export returns RoInitialize's code, and every later call
// of any of them goes past initialisation.
TEST_F(StartupTest, FirstCallInTheMultithreadedApartmentFailsOnceThenPasses) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    EXPECT_EQ(WinRTDialIntialize(), RPC_E_CHANGED_MODE);
    EXPECT_EQ(WinRTDialIntialize(), S_OK);
    EXPECT_EQ(WinRTSharingIsAvailable(), 1);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    CoUninitialize();
}

}  // namespace
