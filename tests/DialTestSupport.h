// The radial controller tests' fixture, recording host callbacks and icon files.
#pragma once

#include "RuntimeFixture.h"
#include "tavlet.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace dialtest {

// A destroyed dial leaves its controller, the controller's menu and its
// configuration to the runtime for the life of the process.
constexpr long kKeptPerDial = 3;

// What the host callbacks saw. "A" and "B" are two distinct callbacks of each type.
struct Hits {
    static inline std::atomic<int> a{0}, b{0};
    static inline std::atomic<DWORD> thread{0};
    static inline std::atomic<bool> onRuntimeThread{false};
    static inline float delta = 0;  // the rest are written before a or b counts
    static inline uint32_t pressed = 0;
    static inline POINT point{};
    static inline RECT bounds{};
    static void Reset() { a = 0, b = 0, thread = 0, onRuntimeThread = false; }
};

// NotifyA and NotifyB are also the menu items' callbacks.
inline void TAVLET_CALL NotifyA() {
    Hits::thread = GetCurrentThreadId(), Hits::onRuntimeThread = sim::IsRuntimeThread(), ++Hits::a;
}
inline void TAVLET_CALL NotifyB() { ++Hits::b; }
inline void TAVLET_CALL ContactA(POINT point, RECT bounds) { Hits::point = point, Hits::bounds = bounds, NotifyA(); }
inline void TAVLET_CALL ContactB(POINT, RECT) { ++Hits::b; }
inline void TAVLET_CALL RotationA(float delta, POINT point, RECT bounds, uint32_t pressed) {
    Hits::delta = delta, Hits::pressed = pressed, ContactA(point, bounds);
}
inline void TAVLET_CALL RotationB(float, POINT, RECT, uint32_t) { ++Hits::b; }

// Image files on the real file system, removed at the end of the test.
class TempFiles {
public:
    ~TempFiles() { for (auto& path : paths_) DeleteFileW(path.c_str()); }
    std::wstring Make(const wchar_t* name) {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        paths_.push_back(std::wstring(dir) + L"tavlet-dial-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name);
        if (FILE* file = _wfopen(paths_.back().c_str(), L"wb")) fputs("\x89PNG", file), fclose(file);
        return paths_.back();
    }

private:
    std::vector<std::wstring> paths_;
};

// Completes the pending icon loads, and those they start, one at a time (each
// on a runtime thread).
inline long CompleteLoadsOnARuntimeThread() {
    long completed = 0;
    while (sim::CompleteFileLoads(1) == 1) ++completed;
    return completed;
}

// The host's UI thread with a window for the dial; icon loads complete when a test says so.
class DialTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        expectedSurvivors_ = sim::LiveObjects();  // left to the process's end by earlier tests
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        window_ = CreateWindowExW(0, L"Static", L"dial host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
        Hits::Reset();
    }
    void TearDown() override {
        EXPECT_EQ(WinRTDialTerminate(), S_OK);
        sim::CompleteFileLoads();  // what a test left pending holds simulated objects
        if (window_) DestroyWindow(window_);
        ApartmentTest::TearDown();
    }

    _WinRTDial* Create() {
        _WinRTDial* dial = nullptr;
        EXPECT_EQ(WinRTDialCreate(window_, &dial), S_OK);
        EXPECT_NE(dial, nullptr);
        return dial;
    }

    HWND window_ = nullptr;
};

}  // namespace dialtest
