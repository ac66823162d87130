// Start-up: the spin lock, and the once-per-process runtime initialisation as
// the exports meet it. Each test runs in a process of its own.
#include "Host.h"
#include "tavlet.h"
#include "tavlet/thread/SpinLock.h"

#include <mutex>
#include <thread>

namespace {

TEST(SpinLock, ExcludesConcurrentWriters) {
    tavlet::thread::SpinLock lock;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            std::lock_guard guard(lock);
            ++counter;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
}

using StartupTest = RuntimeTest;

// The first initialising export makes its thread single-threaded, once per
// process: on a thread of the multithreaded apartment it returns
// RoInitialize's code, and every later call of any of them goes past
// initialisation.
TEST_F(StartupTest, FirstCallInTheMultithreadedApartmentFailsOnceThenPasses) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    EXPECT_EQ(WinRTDialIntialize(), RPC_E_CHANGED_MODE);
    EXPECT_EQ(WinRTDialIntialize(), S_OK);
    EXPECT_EQ(WinRTSharingIsAvailable(), 1);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    CoUninitialize();
}

}  // namespace
