// What the tests share: the fixtures, the host's window, temporary files, the
// share UI's steps, and races forced at a gate.
#pragma once

#include "SimRuntime.h"
#include "tavlet.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

// A fresh simulated runtime. At the end only what the runtime keeps for the
// process is alive: every dial controller with its menu, and the
// configurations that dials leave to their windows.
class RuntimeTest : public testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override {
        // Completions the runtime still raises on its threads hold objects until they end.
        EXPECT_TRUE(sim::WaitForRuntimeIdle()) << "runtime threads still busy";
        const long kept = sim::ObjectsKeptByRadialControllers() + sim::LiveRadialControllerConfigurations();
        EXPECT_EQ(sim::LiveObjects(), kept) << "simulated objects leaked";
    }
};

// The host's UI thread: a single-threaded apartment for the test's thread.
class ApartmentTest : public RuntimeTest {
protected:
    void SetUp() override { RuntimeTest::SetUp(), apartment_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { RuntimeTest::TearDown(), SUCCEEDED(apartment_) ? CoUninitialize() : void(); }

private:
    HRESULT apartment_ = E_FAIL;
};

// A packaged host's UI thread: Windows serves tile updaters and pin requests
// only to a process with package identity.
class PackagedTest : public ApartmentTest {
protected:
    void SetUp() override { ApartmentTest::SetUp(), sim::SetPackaged(true); }
};

namespace host {

// A top-level window of the test's thread, destroyed (its last messages pumped) with the object.
struct Window {
    Window() = default;
    Window(const Window&) = delete;
    ~Window() { DestroyWindow(hwnd), sim::PumpFor(0); }
    operator HWND() const { return hwnd; }
    HWND hwnd = CreateWindowExW(0, L"Static", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, 0, 0, 0, 0);
};

// Initialises a tile that the window owns: with it (and package identity) a
// pin request made on the window's thread reaches the user.
inline HRESULT InitOwnedTile(_WinRTSecondaryTile* tile, const wchar_t* id, HWND window) {
    _WinRTSecondaryTileCreateArgs args{nullptr, L"Doc", L"", L"ms-appx:///logo.png", window, _WinRTTileSize_Default};
    return _WinRTSecondaryTile_InitWithCreateArgs(tile, id, &args);
}

// A file in Assets beside the executable (where an unpackaged host's icons
// live) for the life of the object; its name is unique to the process.
struct TempFile {
    explicit TempFile(const std::wstring& suffix) : name(std::to_wstring(GetCurrentProcessId()) + suffix) {
        wchar_t executable[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, executable, MAX_PATH);
        path = std::wstring(executable, wcsrchr(executable, L'\\')) + L"\\Assets";
        CreateDirectoryW(path.c_str(), nullptr);
        path += L"\\" + name;
        std::ofstream(path.c_str(), std::ios::binary) << "\x89PNG";
    }
    TempFile(const TempFile&) = delete;
    ~TempFile() { DeleteFileW(path.c_str()); }
    std::wstring uri() const { return L"ms-appx:///Assets/" + name; }
    std::wstring name, path;
};

// The window's share UI as the user walks it, each step expected to succeed.
struct ShareUI {
    const ShareUI& Data() const { return Step(sim::ShareUIRequestData(window), "data"); }
    const ShareUI& Providers(const std::vector<std::wstring>& installed = {}) const {
        return Step(sim::ShareUIRequestProviders(window, installed), "providers");
    }
    const ShareUI& Target(const wchar_t* application = L"Mail") const {
        return Step(sim::ShareUIChooseTarget(window, application), "target");
    }
    const ShareUI& Pick(const wchar_t* title) const { return Step(sim::ShareUIPickProvider(window, title), "pick"); }
    const ShareUI& Bitmap() const { return Step(sim::ShareUIRequestBitmap(window), "bitmap"); }
    void Complete() const { Step(sim::ShareUIComplete(window), "complete"); }
    void Dismiss() const { sim::ShareUIDismiss(window); }
    void CopyLink() const { sim::ShareUICopyLink(window); }
    const ShareUI& Step(HRESULT hr, const char* step) const {
        EXPECT_EQ(hr, S_OK) << "share UI step " << step;
        return *this;
    }
    HWND window;
};

// A race forced at a gate: the next thread to reach `point` stops there while
// `work` runs on a runtime thread (`workHere`: on this thread, as a share UI
// step raising the window's events here); once it is held, `act` runs on the
// other; then the gate opens and the work ends.
inline void WhileHeld(const std::string& point, const std::function<void()>& work, const std::function<void()>& act,
                      bool workHere = false) {
    sim::HoldNext(point);
    std::function<void()> actWhenHeld = [&] {
        const bool held = sim::WaitUntilHeld(point);
        EXPECT_TRUE(held) << point << " never reached";
        if (held) act();
        sim::Release(point);
    };
    sim::Background background(workHere ? actWhenHeld : work);
    workHere ? work() : actWhenHeld();
    EXPECT_TRUE(background.Finish()) << point;
}

}  // namespace host
