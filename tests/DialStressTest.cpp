// The radial controller under load: runtime threads raise events, invoke items
// and complete icon loads while the host re-creates the dial again and again.
#include "DialTestSupport.h"

#include <thread>

namespace {

using dialtest::DialTest;

// Set by a runtime thread while it raises on the controller of a replaced dial.
thread_local bool raisingOnReplacedDial = false;
std::atomic<long> callbacks{0}, callbacksOfReplacedDials{0};

void Record() {
    ++callbacks;
    if (raisingOnReplacedDial) ++callbacksOfReplacedDials;
}
void TAVLET_CALL OnRotation(float, POINT, RECT, uint32_t) { Record(); }
void TAVLET_CALL OnContact(POINT, RECT) { Record(); }
void TAVLET_CALL OnItem() { Record(); }

using DialStressTest = DialTest;

TEST_F(DialStressTest, RecreatingTheDialWhileTheRuntimeRaisesAndLoads_NoCallbackReachesAReplacedDial) {
    constexpr long kRounds = 10000;
    dialtest::TempFiles files;
    const std::wstring icon = files.Make(L"stress.png");
    const long configurationsBefore = sim::LiveRadialControllerConfigurations();

    std::atomic<long> current{0};  // number of the controller of the current dial
    std::atomic<bool> stop{false};
    std::atomic<long> raised{0};

    // Raises on the current controller and on recently replaced ones.
    std::thread events([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        unsigned step = 0;
        while (!stop) {
            const long now = current.load();
            const long target = now - static_cast<long>(step++ % 3);
            if (target < 1) {
                Sleep(1);
                continue;
            }
            raisingOnReplacedDial = target < now;
            sim::RaiseDialEvent(step % 2 ? sim::DialEvent::RotationChanged : sim::DialEvent::ScreenContactStarted, {},
                                target);
            sim::InvokeMenuItem(target, 0);
            raisingOnReplacedDial = false;
            ++raised;
            Sleep(0);  // the machine's cores are shared with the host's loop
        }
        CoUninitialize();
    });
    // Completes the icon loads as the host's commits start them.
    std::thread loads([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        while (!stop)
            if (sim::CompleteFileLoads(1) == 0) Sleep(1);
        CoUninitialize();
    });

    HRESULT failure = S_OK;
    for (long round = 1; round <= kRounds && SUCCEEDED(failure); ++round) {
        _WinRTDial* dial = nullptr;
        uint32_t id = 0;
        failure = WinRTDialCreate(window_, &dial);
        current = sim::RadialControllersCreated();
        // The elements of a braced list are evaluated in order.
        for (HRESULT hr : {WinRTDialSetRotationChangedHandler(dial, OnRotation),
                           WinRTDialSetScreenContactStartedHandler(dial, OnContact),
                           WinRTDialAppendIconMenuItem(dial, icon.c_str(), L"icon", OnItem, &id),
                           WinRTDialAppendIconMenuItem(dial, icon.c_str(), L"icon 2", OnItem, &id),
                           WinRTDialCommitPendingMenuAdditions(dial),
                           WinRTDialAppendKnownMenuItem(dial, nullptr, L"known", OnItem, &id),
                           WinRTDialClearMenu(dial)})
            if (FAILED(hr)) failure = hr;
    }
    stop = true;
    events.join();
    loads.join();
    EXPECT_EQ(failure, S_OK);
    sim::CompleteFileLoads();
    EXPECT_EQ(WinRTDialTerminate(), S_OK);

    EXPECT_EQ(callbacksOfReplacedDials, 0);
    EXPECT_GT(raised, 0);
    EXPECT_GT(callbacks, 0);
    // Every dial made left exactly one controller and one configuration.
    EXPECT_EQ(sim::RadialControllersCreated(), kRounds);
    EXPECT_EQ(sim::LiveRadialControllers(), kRounds);
    EXPECT_EQ(sim::LiveRadialControllerConfigurations() - configurationsBefore, kRounds);
    // Besides those, only what their menus hold (item, tag, icon reference, file):
    // a clear does not cancel a load in flight, whose item the replaced menu keeps.
    const long keptByMenus = sim::ObjectsKeptByRadialControllers() - 2 * kRounds;
    EXPECT_GE(keptByMenus, 0);
    RecordProperty("ObjectsInReplacedMenus", static_cast<int>(keptByMenus));
    expectedSurvivors_ += kRounds * dialtest::kKeptPerDial + keptByMenus;
}

}  // namespace
