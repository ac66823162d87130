// The library loaded at run time and freed again, as a host that loads it
// late does. This program does not import tavlet.dll: it finds the exports
// with GetProcAddress. The cases rely on a process each (ctest runs them so);
// the first must find the library not yet loaded.
#include "RuntimeFixture.h"
#include "tavlet.h"

#include <atomic>

namespace {

std::atomic<int> rotations{0};
void TAVLET_CALL OnRotation(float, POINT, RECT, uint32_t) { ++rotations; }

class UnloadTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        ASSERT_EQ(GetModuleHandleW(L"tavlet.dll"), nullptr) << "loaded by an earlier test of this process";
        library_ = LoadLibraryW(L"tavlet.dll");
        ASSERT_NE(library_, nullptr);
    }
    template <typename Function>
    Function Export(Function, const char* name) {
        auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
        EXPECT_NE(function, nullptr) << name;
        return function;
    }

    HMODULE library_ = nullptr;
};

// Nothing of the library's is left with the runtime: it goes with FreeLibrary.
TEST_F(UnloadTest, HostThatOnlyAsksForAvailability_UnloadsTheLibrary) {
    auto isAvailable = Export(&WinRTDialIsAvailable, "WinRTDialIsAvailable");
    auto isType = Export(&_WinRTApiInformation_IsEnabledType, "_WinRTApiInformation_IsEnabledType");
    sim::SetTypePresent(L"Windows.UI.Input.RadialController", true);
    EXPECT_EQ(isAvailable(), TRUE);
    EXPECT_EQ(isType(L"Windows.UI.Input.RadialController"), TRUE);
    EXPECT_GT(sim::LiveFactories(), 0);  // the library keeps the agile ones
    EXPECT_TRUE(FreeLibrary(library_));
    EXPECT_EQ(GetModuleHandleW(L"tavlet.dll"), nullptr);
    EXPECT_EQ(sim::LiveFactories(), 0);
}

// The controller keeps the rotation handler for the life of the process: the
// library stays loaded, and the next turn of the dial still finds its code.
TEST_F(UnloadTest, DialHandlerLeftWithTheRuntime_KeepsTheLibraryLoaded) {
    auto create = Export(&WinRTDialCreate, "WinRTDialCreate");
    auto setRotation = Export(&WinRTDialSetRotationChangedHandler, "WinRTDialSetRotationChangedHandler");
    auto append = Export(&WinRTDialAppendKnownMenuItem, "WinRTDialAppendKnownMenuItem");
    HWND window = CreateWindowExW(0, L"Static", L"dial host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(sim::SetWindowInFront(window));
    _WinRTDial* dial = nullptr;
    uint32_t id = 0;
    ASSERT_EQ(create(window, &dial), S_OK);
    ASSERT_EQ(setRotation(dial, OnRotation), S_OK);
    ASSERT_EQ(append(dial, nullptr, L"tool", nullptr, &id), S_OK);  // the selected tool: the dial's input comes
    EXPECT_TRUE(FreeLibrary(library_));
    long called = 0;
    EXPECT_EQ(sim::RaiseDialEvent(sim::DialEvent::RotationChanged, {}, 0, &called), S_OK);
    EXPECT_EQ(called, 1);
    EXPECT_EQ(rotations, 1);
    EXPECT_NE(GetModuleHandleW(L"tavlet.dll"), nullptr);
    DestroyWindow(window);
    expectedSurvivors_ = 5;  // the dial is still current: its controller, menu, item, item's tag, configuration
}

}  // namespace
