// The radial controller tests' fixture, and host callbacks that record what they saw.
#pragma once

#include "Host.h"

#include <atomic>

namespace dialtest {

// A destroyed dial leaves its controller, the controller's menu and its
// configuration to the runtime for the life of the process.
constexpr long kKeptPerDial = 3;

// What the host callbacks saw. "A" and "B" are two distinct callbacks of each type.
struct Hits {
    static inline std::atomic<int> a{0}, b{0};
    static inline std::atomic<bool> onRuntimeThread{false};
    static inline float delta = 0;  // the rest are written before a or b counts
    static inline uint32_t pressed = 0;
    static inline POINT point{};
    static inline RECT bounds{};
    static void Reset() { a = 0, b = 0, onRuntimeThread = false; }
};

// NotifyA and NotifyB are also the menu items' callbacks.
inline void TAVLET_CALL NotifyA() { Hits::onRuntimeThread = sim::IsRuntimeThread(), ++Hits::a; }
inline void TAVLET_CALL NotifyB() { ++Hits::b; }
inline void TAVLET_CALL ContactA(POINT point, RECT bounds) { Hits::point = point, Hits::bounds = bounds, NotifyA(); }
inline void TAVLET_CALL ContactB(POINT, RECT) { ++Hits::b; }
inline void TAVLET_CALL RotationA(float delta, POINT point, RECT bounds, uint32_t pressed) {
    Hits::delta = delta, Hits::pressed = pressed, ContactA(point, bounds);
}
inline void TAVLET_CALL RotationB(float, POINT, RECT, uint32_t) { ++Hits::b; }

// Completes the pending icon loads, and those they start, one at a time (each
// on a runtime thread).
inline long CompleteLoadsOnARuntimeThread() {
    long completed = 0;
    while (sim::CompleteFileLoads(1) == 1) ++completed;
    return completed;
}

// The host's UI thread with a window for the dial, shown and in front, on a
// Surface Studio with the dial on its screen; icon loads complete when a test
// says so.
class DialTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        ShowWindow(window_, SW_SHOWNORMAL);
        EXPECT_TRUE(sim::SetWindowInFront(window_));
        sim::SetDialOnScreen(true);
        Hits::Reset();
    }
    void TearDown() override {
        EXPECT_EQ(WinRTDialTerminate(), S_OK);
        sim::CompleteFileLoads();  // what a test left pending holds simulated objects
        ApartmentTest::TearDown();
    }
    _WinRTDial* Create() {
        _WinRTDial* dial = nullptr;
        EXPECT_EQ(WinRTDialCreate(window_, &dial), S_OK);
        EXPECT_NE(dial, nullptr);
        return dial;
    }
    // A dial whose built-in-icon item is the selected tool: input reaches it.
    _WinRTDial* CreateWithTool() {
        _WinRTDial* dial = Create();
        Known(dial);
        return dial;
    }
    uint32_t Known(_WinRTDial* dial, DialMenuItemHandler handler = nullptr, const void* reserved = nullptr) {
        uint32_t id = 0;
        EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, reserved, L"known", handler, &id), S_OK);
        return id;
    }
    uint32_t Icon(_WinRTDial* dial, const std::wstring& path, DialMenuItemHandler handler = nullptr) {
        uint32_t id = 0;
        EXPECT_EQ(WinRTDialAppendIconMenuItem(dial, path.c_str(), L"icon", handler, &id), S_OK);
        return id;
    }

    host::Window window_;
};

}  // namespace dialtest
