// Handles a host gets wrong: freed, freed twice, never a handle, or another
// family's. Each gets its family's null-handle answer and is never touched.
#include "DialTestSupport.h"
#include "SharingHost.h"

#include <oleauto.h>

#include <cstddef>

namespace {

using dialtest::DialTest;

// The host's UI thread with a window and a tile that pin requests come from.
class HandleTest : public DialTest {
protected:
    void SetUp() override {
        DialTest::SetUp();
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        ASSERT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, L"doc.1"), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        // A dial's controller, menu and configuration stay with the runtime.
        expectedSurvivors_ += dialtest::kKeptPerDial * sim::RadialControllersCreated();
        DialTest::TearDown();
    }
    _WinRTSecondaryTile* tile_ = nullptr;
};

// A handle family: how to get a live handle, whether an export serves a
// handle (false: it gave the family's null-handle answer, which is checked),
// and how the host ends one.
struct Family {
    const char* name;
    void* (*make)(HandleTest& test, _WinRTSecondaryTile* tile, HWND window);
    bool (*served)(void* handle);
    HRESULT (*end)(void* handle);
};

// The null-handle answer of a handle-guarded getter: E_INVALIDARG with the default stored.
template <typename T>
bool Answered(HRESULT hr, T value, T fallback) {
    if (hr == S_OK) return true;
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_EQ(value, fallback);
    return false;
}

template <typename Handle>
Handle* As(void* handle) {
    return static_cast<Handle*>(handle);
}

const Family kFamilies[] = {
    {"asynchronous boolean",
     [](HandleTest&, _WinRTSecondaryTile* tile, HWND) -> void* {
         _WinRTAsyncOperationBOOL* operation = nullptr;
         EXPECT_EQ(_WinRTSecondaryTile_RequestCreateAsync(tile, &operation), S_OK);
         return operation;
     },
     [](void* h) {
         int32_t status = 42;
         HRESULT hr = _WinRTAsyncOperationBOOL_GetStatus(As<_WinRTAsyncOperationBOOL>(h), &status);
         return Answered(hr, status, 3);
     },
     [](void* h) { return _WinRTAsyncOperationBOOL_Dealloc(As<_WinRTAsyncOperationBOOL>(h)); }},
    {"secondary tile",
     [](HandleTest&, _WinRTSecondaryTile*, HWND) -> void* {
         _WinRTSecondaryTile* tile = nullptr;
         EXPECT_EQ(_WinRTSecondaryTile_Alloc(&tile), S_OK);
         EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(tile, L"doc.2"), S_OK);
         return tile;
     },
     [](void* h) {
         BSTR id = SysAllocString(L"untouched");
         BSTR before = id;
         HRESULT hr = _WinRTSecondaryTile_GetTileID(As<_WinRTSecondaryTile>(h), &id);
         SysFreeString(hr == S_OK ? id : before);
         return Answered(hr, id, BSTR{});
     },
     [](void* h) { return _WinRTSecondaryTile_Dealloc(As<_WinRTSecondaryTile>(h)); }},
    {"visual elements",
     [](HandleTest&, _WinRTSecondaryTile* tile, HWND) -> void* {
         _WinRTSecondaryTileVisualElements* elements = nullptr;
         EXPECT_EQ(_WinRTSecondaryTile_GetVisualElements(tile, &elements), S_OK);
         return elements;
     },
     [](void* h) {
         uint32_t color = 42;
         HRESULT hr =
             _WinRTSecondaryTileVisualElements_GetBackgroundColor(As<_WinRTSecondaryTileVisualElements>(h), &color);
         return Answered(hr, color, 0u);
     },
     [](void* h) { return _WinRTSecondaryTileVisualElements_Dealloc(As<_WinRTSecondaryTileVisualElements>(h)); }},
    {"share provider",
     [](HandleTest&, _WinRTSecondaryTile*, HWND) -> void* {
         _WinRTShareProvider* provider = nullptr;
         EXPECT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
         return provider;
     },
     [](void* h) {
         uint32_t color = 42;
         HRESULT hr = _WinRTShareProvider_GetBackgroundColor(As<_WinRTShareProvider>(h), &color);
         return Answered(hr, color, 0u);
     },
     [](void* h) { return _WinRTShareProvider_Dealloc(As<_WinRTShareProvider>(h)); }},
    {"tile updater",
     [](HandleTest&, _WinRTSecondaryTile*, HWND) -> void* {
         _WinRTTileUpdater* updater = nullptr;
         EXPECT_EQ(_WinRTTileUpdater_Alloc(&updater), S_OK);
         EXPECT_EQ(_WinRTTileUpdater_InitWithPrimaryTile(updater, nullptr, nullptr), S_OK);
         return updater;
     },
     [](void* h) { return Answered(_WinRTTileUpdater_Clear(As<_WinRTTileUpdater>(h)), 0, 0); },
     [](void* h) { return _WinRTTileUpdater_Dealloc(As<_WinRTTileUpdater>(h)); }},
    // The dial's null-handle answer is S_OK with nothing done; it ends with
    // WinRTDialTerminate.
    {"dial",
     [](HandleTest&, _WinRTSecondaryTile*, HWND window) -> void* {
         _WinRTDial* dial = nullptr;
         EXPECT_EQ(WinRTDialCreate(window, &dial), S_OK);
         return dial;
     },
     [](void* h) {
         uint32_t count = 42;
         EXPECT_EQ(WinRTDialGetNumberOfMenuItems(As<_WinRTDial>(h), &count), S_OK);
         return count != 42;
     },
     [](void*) { return WinRTDialTerminate(); }},
};

TEST_F(HandleTest, HandlesThatAreNotLiveGetTheNullAnswerInEveryFamily) {
    // Zeroed memory that was never a handle: an object there would have no vtable.
    alignas(std::max_align_t) static unsigned char foreign[256];
    for (const auto& family : kFamilies) {
        SCOPED_TRACE(family.name);
        void* handle = family.make(*this, tile_, window_);
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(family.served(handle));
        EXPECT_EQ(family.end(handle), S_OK);
        EXPECT_FALSE(family.served(handle));  // dangling
        EXPECT_EQ(family.end(handle), S_OK);  // freed twice
        EXPECT_FALSE(family.served(foreign));
        EXPECT_EQ(family.end(foreign), S_OK);
        // Another family's live handle is refused and left alone.
        for (const auto& other : kFamilies) {
            if (&other == &family) continue;
            SCOPED_TRACE(other.name);
            void* theirs = other.make(*this, tile_, window_);
            EXPECT_FALSE(family.served(theirs));
            EXPECT_EQ(family.end(theirs), S_OK);
            EXPECT_TRUE(other.served(theirs));
            EXPECT_EQ(other.end(theirs), S_OK);
        }
    }
}

// One family's handle as an argument of another's export: a share given a
// provider that is not live shares without one.
TEST_F(HandleTest, ShareGivenAProviderThatIsNotLiveSharesWithoutOne) {
    // The live one first: a new provider could take a freed one's address.
    _WinRTShareProvider *live = nullptr, *freed = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&live), S_OK);
    ASSERT_EQ(_WinRTShareProvider_Alloc(&freed), S_OK);
    ASSERT_EQ(_WinRTShareProvider_Dealloc(freed), S_OK);
    alignas(std::max_align_t) static unsigned char foreign[256];
    const struct {
        const char* name;
        _WinRTShareProvider* provider;
        long offered;
    } cases[] = {
        {"live", live, 1},
        {"freed", freed, 0},
        {"never a handle", reinterpret_cast<_WinRTShareProvider*>(foreign), 0},
        {"a tile", reinterpret_cast<_WinRTShareProvider*>(tile_), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(WinRTShareDataForWindow(window_, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr,
                                          c.provider),
                  S_OK);
        EXPECT_EQ(sim::ShareEventHandlers(window_, L"ShareProvidersRequested"), c.offered);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
    EXPECT_EQ(_WinRTShareProvider_Dealloc(live), S_OK);
}

// The operation handle of a provider pick is lent to the host's callback and
// ends with it; reporting through it afterwards, or through a handle of
// another family, does nothing.
TEST_F(HandleTest, ProviderOperationIsLiveOnlyWhileLentToTheCallback) {
    sim::SetDelivery(sim::Delivery::CallingThread);
    static _WinRTShareProviderOperation* kept = nullptr;
    static HRESULT reportedThroughATile = E_PENDING;
    ShareProviderOperationHandler onPick = [](void* tile, _WinRTShareProviderOperation* operation) {
        kept = operation;
        reportedThroughATile =
            _WinRTShareProviderOperation_ReportCompleted(static_cast<_WinRTShareProviderOperation*>(tile));
    };
    sharing_test::AssetFile icon(L"-lent.png");
    const std::wstring uri = L"ms-appx:///Assets/" + icon.name;
    _WinRTShareProvider* provider = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    _WinRTShareProviderInitArgs args{sizeof(args), L"Tavlet", uri.c_str(), 0, onPick, tile_};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider, &args), S_OK);
    ASSERT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(WinRTShareDataForWindow(window_, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr, provider),
              S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestProviders(window_, {}), S_OK);
    ASSERT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(reportedThroughATile, S_OK);
    EXPECT_EQ(_WinRTShareProviderOperation_ReportCompleted(kept), S_OK);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 0);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
}

}  // namespace
