// What the radial controller's tests share: the fixture, host callbacks that
// record what they were given, and temporary icon files.
#pragma once

#include "RuntimeFixture.h"
#include "tavlet.h"

#include <atomic>
#include <string>
#include <vector>

namespace dialtest {

// A destroyed dial leaves its controller (with the controller's menu) and its
// configuration to the runtime for the life of the process.
constexpr long kKeptPerDial = 3;

// What the host callbacks saw. "A" and "B" are two distinct callbacks of each type.
struct Hits {
    static inline std::atomic<int> a{0};
    static inline std::atomic<int> b{0};
    static inline float delta = 0;
    static inline uint32_t pressed = 0;
    static inline POINT point{};
    static inline RECT bounds{};
    static inline std::atomic<DWORD> thread{0};
    static void Reset() {
        a = 0;
        b = 0;
        delta = 0;
        pressed = 99;
        point = {-99, -99};
        bounds = {-99, -99, -99, -99};
        thread = 0;
    }
};

inline void TAVLET_CALL RotationA(float delta, POINT point, RECT bounds, uint32_t pressed) {
    Hits::delta = delta, Hits::point = point, Hits::bounds = bounds, Hits::pressed = pressed;
    Hits::thread = GetCurrentThreadId();
    ++Hits::a;
}
inline void TAVLET_CALL RotationB(float, POINT, RECT, uint32_t) { ++Hits::b; }
inline void TAVLET_CALL ContactA(POINT point, RECT bounds) {
    Hits::point = point, Hits::bounds = bounds;
    Hits::thread = GetCurrentThreadId();
    ++Hits::a;
}
inline void TAVLET_CALL ContactB(POINT, RECT) { ++Hits::b; }
inline void TAVLET_CALL NotifyA() {
    Hits::thread = GetCurrentThreadId();
    ++Hits::a;
}
inline void TAVLET_CALL NotifyB() { ++Hits::b; }

// Message-only "Static" windows owned by this thread: the family's dispatcher.
inline int DispatcherWindowsOfThisThread() {
    int count = 0;
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, L"Static", nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, L"Static", nullptr)) {
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) ++count;
    }
    return count;
}

// Image files on the real file system, removed at the end of the test.
class TempFiles {
public:
    ~TempFiles() {
        for (auto& path : paths_) DeleteFileW(path.c_str());
    }
    std::wstring Make(const wchar_t* name) {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        std::wstring path = std::wstring(dir) + L"tavlet-dial-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, "\x89PNG", 4, &written, nullptr);
            CloseHandle(file);
        }
        paths_.push_back(path);
        return path;
    }
    // A path in the same place that does not exist.
    std::wstring Missing(const wchar_t* name) {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        return std::wstring(dir) + L"tavlet-dial-missing-" + name;
    }

private:
    std::vector<std::wstring> paths_;
};

// The host's UI thread with a top-level window for the dial. Icon loads
// complete only when a test says so, on the thread it chooses.
class DialTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        // Objects that earlier tests of this process left to its end.
        expectedSurvivors_ = sim::LiveObjects();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        window_ = CreateWindowExW(0, L"Static", L"dial host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
        Hits::Reset();
    }
    void TearDown() override {
        // Drops the current dial; loads never completed are dropped with the runtime's state.
        EXPECT_EQ(WinRTDialTerminate(), S_OK);
        sim::WaitForFileLoads();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        sim::CompleteFileLoads();
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
