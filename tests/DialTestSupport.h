// The radial controller tests' fixture, and host callbacks that record what they saw.
#pragma once

#include "Host.h"

#include <atomic>

namespace dialtest {

// What the "A" callbacks saw, and how often the "B" ones ran.
struct Hits {
    static inline std::atomic<int> a{0}, b{0};
    static inline std::atomic<bool> onRuntimeThread{false};
    static inline float delta = 0;  // the rest are written before a or b counts
    static inline uint32_t pressed = 0;
    static inline POINT point{};
    static inline RECT bounds{};
    static void Reset() { a = 0, b = 0, onRuntimeThread = false; }
};

// Whether a dial handle reaches a dial: for any other, the count's answer is S_OK with nothing written.
inline bool DialServed(void* handle) {
    uint32_t count = 42;
    EXPECT_EQ(WinRTDialGetNumberOfMenuItems(static_cast<_WinRTDial*>(handle), &count), S_OK);
    return count != 42;
}

inline void TAVLET_CALL NotifyA() { Hits::onRuntimeThread = sim::IsRuntimeThread(), ++Hits::a; }
inline void TAVLET_CALL NotifyB() { ++Hits::b; }
inline void TAVLET_CALL ContactA(POINT point, RECT bounds) { Hits::point = point, Hits::bounds = bounds, NotifyA(); }
inline void TAVLET_CALL ContactB(POINT, RECT) { ++Hits::b; }
inline void TAVLET_CALL RotationA(float delta, POINT point, RECT bounds, uint32_t pressed) {
    Hits::delta = delta, Hits::pressed = pressed, ContactA(point, bounds);
}
inline void TAVLET_CALL RotationB(float, POINT, RECT, uint32_t) { ++Hits::b; }

// The host's UI thread with a window shown and in front, the dial on the screen;
// icon loads complete when a test calls sim::CompleteFileLoads.
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
    // `withTool`: a built-in-icon item is the selected tool, so input reaches the dial.
    _WinRTDial* Create(bool withTool = false) {
        _WinRTDial* dial = nullptr;
        EXPECT_EQ(WinRTDialCreate(window_, &dial), S_OK);
        if (withTool) Known(dial);
        return dial;
    }
    static uint32_t Added(HRESULT hr, const uint32_t& id) { EXPECT_EQ(hr, S_OK); return id; }  // id read after hr
    uint32_t Known(_WinRTDial* dial, DialMenuItemHandler handler = nullptr, const void* reserved = nullptr) {
        return Added(WinRTDialAppendKnownMenuItem(dial, reserved, L"known", handler, &id_), id_);
    }
    uint32_t Icon(_WinRTDial* dial, const std::wstring& path, DialMenuItemHandler handler = nullptr) {
        return Added(WinRTDialAppendIconMenuItem(dial, path.c_str(), L"icon", handler, &id_), id_);
    }

    host::Window window_;
    uint32_t id_ = 0;
};

}  // namespace dialtest
