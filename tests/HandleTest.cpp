// Handles a host gets wrong: freed, freed twice, never a handle, or another
// family's. Each gets its family's null-handle answer and is never touched.
#include "DialTestSupport.h"

#include <oleauto.h>

#include <cstddef>
#include <set>
#include <type_traits>
#include <vector>

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
    HRESULT Share(_WinRTShareProvider* provider) {
        return WinRTShareDataForWindow(window_, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr, provider);
    }
    _WinRTSecondaryTile* tile_ = nullptr;
};

// A handle family: how to get a live handle, whether an export serves a
// handle (false: it gave the family's null-handle answer, which is checked),
// and how the host ends one.
struct Family {
    const char* name;
    void* (*make)(_WinRTSecondaryTile* tile, HWND window);
    bool (*served)(void* handle);
    HRESULT (*end)(void* handle);
};

template <typename Export>
struct HandleOf;
template <typename Handle, typename... Rest>
struct HandleOf<HRESULT (*)(Handle*, Rest...)> {
    using type = Handle;
};

// A handle-guarded export serves a handle (S_OK) or refuses it with
// E_INVALIDARG, with the default in its out-value.
template <auto Get, auto kDefault>
bool Served(void* handle) {
    auto value = decltype(kDefault)(42);
    const HRESULT hr = Get(static_cast<typename HandleOf<decltype(Get)>::type*>(handle), &value);
    if constexpr (std::is_same_v<decltype(value), BSTR>) {
        if (hr == S_OK) SysFreeString(value);
    }
    if (hr == S_OK) return true;
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_EQ(value, kDefault);
    return false;
}

template <auto End>
HRESULT Ended(void* handle) {
    return End(static_cast<typename HandleOf<decltype(End)>::type*>(handle));
}

// The dial's null-handle answer is S_OK with nothing written; it ends with WinRTDialTerminate.
bool DialServed(void* handle) {
    uint32_t count = 42;
    EXPECT_EQ(WinRTDialGetNumberOfMenuItems(static_cast<_WinRTDial*>(handle), &count), S_OK);
    return count != 42;
}
bool UpdaterServed(void* handle) {  // no getter: Clear serves or refuses
    const HRESULT hr = _WinRTTileUpdater_Clear(static_cast<_WinRTTileUpdater*>(handle));
    EXPECT_TRUE(hr == S_OK || hr == E_INVALIDARG) << std::hex << hr;
    return hr == S_OK;
}

template <typename Handle>
void* Made(HRESULT hr, Handle* const& handle) {  // `handle` is read after the call that filled it
    EXPECT_EQ(hr, S_OK);
    return handle;
}
#define MAKE(Type, ...) []([[maybe_unused]] _WinRTSecondaryTile* tile, [[maybe_unused]] HWND window) -> void* { Type* h = nullptr; return __VA_ARGS__; }

const Family kFamilies[] = {
    {"asynchronous boolean", MAKE(_WinRTAsyncOperationBOOL, Made(_WinRTSecondaryTile_RequestCreateAsync(tile, &h), h)),
     Served<_WinRTAsyncOperationBOOL_GetStatus, int32_t(3)>, Ended<_WinRTAsyncOperationBOOL_Dealloc>},
    {"secondary tile",
     MAKE(_WinRTSecondaryTile, (_WinRTSecondaryTile_Alloc(&h), Made(_WinRTSecondaryTile_InitWithTileID(h, L"d"), h))),
     Served<_WinRTSecondaryTile_GetTileID, BSTR(nullptr)>, Ended<_WinRTSecondaryTile_Dealloc>},
    {"visual elements", MAKE(_WinRTSecondaryTileVisualElements, Made(_WinRTSecondaryTile_GetVisualElements(tile, &h), h)),
     Served<_WinRTSecondaryTileVisualElements_GetBackgroundColor, 0u>, Ended<_WinRTSecondaryTileVisualElements_Dealloc>},
    {"share provider", MAKE(_WinRTShareProvider, Made(_WinRTShareProvider_Alloc(&h), h)),
     Served<_WinRTShareProvider_GetBackgroundColor, 0u>, Ended<_WinRTShareProvider_Dealloc>},
    {"tile updater",
     MAKE(_WinRTTileUpdater, (_WinRTTileUpdater_Alloc(&h), Made(_WinRTTileUpdater_InitWithPrimaryTile(h, 0, 0), h))),
     UpdaterServed, Ended<_WinRTTileUpdater_Dealloc>},
    {"dial", MAKE(_WinRTDial, Made(WinRTDialCreate(window, &h), h)), DialServed,
     [](void*) { return WinRTDialTerminate(); }},
};
#undef MAKE

TEST_F(HandleTest, HandlesThatAreNotLiveGetTheNullAnswerInEveryFamily) {
    // Zeroed memory that was never a handle: an object there would have no vtable.
    alignas(std::max_align_t) static unsigned char foreign[256];
    for (const auto& family : kFamilies) {
        SCOPED_TRACE(family.name);
        void* handle = family.make(tile_, window_);
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
            void* theirs = other.make(tile_, window_);
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
        ASSERT_EQ(Share(c.provider), S_OK);
        EXPECT_EQ(sim::ShareEventHandlers(window_, L"ShareProvidersRequested"), c.offered);
        host::ShareUI{window_}.Data().Complete();
    }
    EXPECT_EQ(_WinRTShareProvider_Dealloc(live), S_OK);
}

// The operation handle of a provider pick is lent to the host's callback and
// ends with it, and each pick lends a new value: reporting through an earlier
// pick's handle, or through a handle of another family, does nothing.
TEST_F(HandleTest, ProviderOperationIsLiveOnlyWhileLentToTheCallback) {
    sim::SetDelivery(sim::Delivery::CallingThread);
    static std::vector<_WinRTShareProviderOperation*> lent;
    static HRESULT reportedThroughOthers = S_OK;
    ShareProviderOperationHandler onPick = [](void* tile, _WinRTShareProviderOperation* operation) {
        reportedThroughOthers |=
            _WinRTShareProviderOperation_ReportCompleted(static_cast<_WinRTShareProviderOperation*>(tile));
        if (!lent.empty()) reportedThroughOthers |= _WinRTShareProviderOperation_ReportCompleted(lent.back());
        lent.push_back(operation);
    };
    host::TempFile icon(L"-lent.png");
    const std::wstring uri = icon.uri();
    _WinRTShareProvider* provider = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    _WinRTShareProviderInitArgs args{sizeof(args), L"Tavlet", uri.c_str(), 0, onPick, tile_};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider, &args), S_OK);
    ASSERT_EQ(sim::CompleteFileLoads(), 1);
    for (int pick = 0; pick < 2; ++pick) {
        ASSERT_EQ(Share(provider), S_OK);
        host::ShareUI{window_}.Data().Providers().Pick(L"Tavlet").Complete();
    }
    ASSERT_EQ(lent.size(), 2u);
    EXPECT_NE(lent[0], lent[1]);
    EXPECT_EQ(reportedThroughOthers, S_OK);
    EXPECT_EQ(_WinRTShareProviderOperation_ReportCompleted(lent[1]), S_OK);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 0);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
}

// A freed handle's value never comes back: each family's next objects get new
// values, and the freed handle stays refused while they live. One process per
// family. (The dial's handle is checked against the current dial only.)
class StaleHandleTest : public HandleTest, public testing::WithParamInterface<size_t> {};
INSTANTIATE_TEST_SUITE_P(Families, StaleHandleTest, testing::Range(size_t(0), std::size(kFamilies) - 1));

TEST_P(StaleHandleTest, FreedHandlesStayStaleThroughTenThousandNewOnes) {
    const Family& family = kFamilies[GetParam()];
    SCOPED_TRACE(family.name);
    void* stale = family.make(tile_, window_);
    ASSERT_EQ(family.end(stale), S_OK);
    std::set<void*> handedOut{stale};
    for (int round = 0; round < 10000; ++round) {
        void* handle = family.make(tile_, window_);
        ASSERT_TRUE(handedOut.insert(handle).second) << round;
        ASSERT_FALSE(family.served(stale)) << round;
        ASSERT_EQ(family.end(handle), S_OK);
    }
}

// Two Deallocs of one handle at once: the first takes the handle out before
// its destructor runs (held there), so the second, and every export from then
// on, finds a handle that is not live; the object is destroyed once.
TEST_F(HandleTest, RacingDeallocsDestroyTheObjectOnce) {
    _WinRTAsyncOperationBOOL* operation = nullptr;
    ASSERT_EQ(_WinRTSecondaryTile_RequestCreateAsync(tile_, &operation), S_OK);
    const char* const inDestructor = "IAsyncInfo.get_Status";
    sim::HoldNext(inDestructor);
    sim::Background first([operation] { EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK); });
    ASSERT_TRUE(sim::WaitUntilHeld(inDestructor));
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
    EXPECT_FALSE((Served<_WinRTAsyncOperationBOOL_GetStatus, int32_t(3)>(operation)));
    sim::Release(inDestructor);
    EXPECT_TRUE(first.Finish());
    EXPECT_EQ(sim::Calls("IAsyncInfo.Cancel"), 1);
}

}  // namespace
