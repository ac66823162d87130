// Where the system is stricter than Wine, the simulated runtime is too, so a
// host mistake that would fail on Windows fails here: a window that is not
// there, and a thread that never initialised COM (a first call there; caches
// may hide it later).
#include "Host.h"
#include "tavlet.h"

#include <thread>

namespace {

using PlatformStrictnessTest = ApartmentTest;

TEST_F(PlatformStrictnessTest, MissingWindowOrComIsRefusedByTheRuntime) {
    HRESULT exists = S_OK, type = S_OK;
    uint32_t pinned = 7;
    std::thread([&] {
        exists = _WinRTSecondaryTile_Exists(L"doc.1", &pinned);
        type = _WinRTApiInformation_IsEnabledType(L"Windows.Foundation.Metadata.ApiInformation");
    }).join();
    EXPECT_EQ(exists, CO_E_NOTINITIALIZED);
    EXPECT_EQ(pinned, 0u);
    EXPECT_EQ(type, 0);  // availability answers "no" rather than an error
    EXPECT_EQ(_WinRTApiInformation_IsEnabledType(L"Windows.Foundation.Metadata.ApiInformation"), 1);

    host::Window window;
    _WinRTDial* dial = nullptr;
    ASSERT_EQ(WinRTDialCreate(window, &dial), S_OK);
    _WinRTDial* kept = dial;
    EXPECT_EQ(WinRTDialCreate(nullptr, &dial), E_INVALIDARG);
    DestroyWindow(window);
    EXPECT_EQ(WinRTDialCreate(window, &dial), HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(dial, kept);  // a failed creation leaves the handle, and the current dial, as they were
    EXPECT_EQ(sim::RadialControllersCreated(), 1);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
}

}  // namespace
