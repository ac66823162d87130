// Handles a host gets wrong: freed, freed twice, never a handle, or another
// family's. Each gets its family's null-handle answer and is never touched.
#include "DialTestSupport.h"

#include <cstddef>
#include <vector>

namespace {

using dialtest::DialTest;

// The host's UI thread with a window and a tile that pin requests come from.
class HandleTest : public DialTest {
protected:
    void SetUp() override {
        DialTest::SetUp();
        sim::SetPackaged(true);
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        ASSERT_EQ(host::InitOwnedTile(tile_, L"doc.1", window_), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        DialTest::TearDown();
    }
    _WinRTSecondaryTile* tile_ = nullptr;
};

// A handle of any family, as the argument of any family's export.
struct Any {
    void* handle;
    template <typename Handle>
    operator Handle*() const { return static_cast<Handle*>(handle); }
};

// An export serves a handle (anything but E_INVALIDARG) or refuses it with
// E_INVALIDARG and the default in its out-value; what it hands out is ended.
template <auto Get, auto kDefault, auto End = nullptr>
bool Served(void* handle) {
    auto value = decltype(kDefault)(42);
    const HRESULT hr = Get(Any{handle}, &value);
    if constexpr (End != nullptr) {
        if (hr == S_OK) End(value);
    }
    if (hr != E_INVALIDARG) return true;
    EXPECT_EQ(value, kDefault);
    return false;
}
template <auto Call, auto... Args>
bool Acts(void* handle) { return Call(Any{handle}, Args...) != E_INVALIDARG; }
void FreeText(BSTR text) { SysFreeString(text); }
template <auto GetText>
constexpr auto Text = Served<GetText, BSTR(nullptr), FreeText>;
template <auto Get>
constexpr auto Flag = Served<Get, 0u>;

// A handle family: how to make a live one, the exports that take it, how the host ends it.
struct Family {
    const char* name;
    void* (*make)(_WinRTSecondaryTile* tile, HWND window);
    std::vector<bool (*)(void* handle)> exports;
    HRESULT (*end)(void* handle);
    bool served(void* handle) const {  // by every export, or by none (each gave the null-handle answer)
        size_t serving = 0;
        for (auto serves : exports) serving += serves(handle);
        EXPECT_TRUE(serving == 0 || serving == exports.size()) << serving;
        return serving != 0;
    }
};

template <typename Handle>
void* Made(HRESULT hr, Handle* const& handle) {  // `handle` is read after the call that filled it
    EXPECT_EQ(hr, S_OK);
    return handle;
}
#define MAKE(Type, ...) []([[maybe_unused]] _WinRTSecondaryTile* tile, [[maybe_unused]] HWND window) -> void* { Type* h = nullptr; return __VA_ARGS__; }
const _WinRTTileUpdateArgs kUpdate{sizeof(_WinRTTileUpdateArgs), L"<tile/>", L"", _WinRTTileUpdate_NoExpiration};

template <auto End>
HRESULT Ended(void* handle) { return End(Any{handle}); }
using Elements = _WinRTSecondaryTileVisualElements;
using Operation = _WinRTAsyncOperationBOOL;

const Family kFamilies[] = {
    {"asynchronous boolean", MAKE(Operation, Made(_WinRTSecondaryTile_RequestCreateAsync(tile, &h), h)),
     {Served<_WinRTAsyncOperationBOOL_GetStatus, int32_t(3)>, Served<_WinRTAsyncOperationBOOL_GetResults, BOOL(3)>,
      Acts<_WinRTAsyncOperationBOOL_Completed, nullptr, nullptr>, Acts<_WinRTAsyncOperationBOOL_Cancel>,
      Acts<_WinRTAsyncOperationBOOL_Close>},
     Ended<_WinRTAsyncOperationBOOL_Dealloc>},
    {"secondary tile", MAKE(_WinRTSecondaryTile, (_WinRTSecondaryTile_Alloc(&h), Made(host::InitOwnedTile(h, L"d", window), h))),
     {Text<_WinRTSecondaryTile_GetTileID>,
      Served<_WinRTSecondaryTile_GetVisualElements, (Elements*)nullptr, _WinRTSecondaryTileVisualElements_Dealloc>,
      Served<_WinRTSecondaryTile_RequestCreateAsync, (Operation*)nullptr, _WinRTAsyncOperationBOOL_Dealloc>,
      Served<_WinRTSecondaryTile_RequestDeleteAsync, (Operation*)nullptr, _WinRTAsyncOperationBOOL_Dealloc>},
     Ended<_WinRTSecondaryTile_Dealloc>},
    {"visual elements", MAKE(Elements, Made(_WinRTSecondaryTile_GetVisualElements(tile, &h), h)),
     {Flag<_WinRTSecondaryTileVisualElements_GetBackgroundColor>, Flag<_WinRTSecondaryTileVisualElements_GetForegroundText>,
      Flag<_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium>, Flag<_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide>,
      Flag<_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge>,
      Text<_WinRTSecondaryTileVisualElements_GetLogoUriTiny>, Text<_WinRTSecondaryTileVisualElements_GetLogoUriSmall>,
      Text<_WinRTSecondaryTileVisualElements_GetLogoUriMedium>, Text<_WinRTSecondaryTileVisualElements_GetLogoUriWide>,
      Text<_WinRTSecondaryTileVisualElements_GetLogoUriLarge>},
     Ended<_WinRTSecondaryTileVisualElements_Dealloc>},
    {"share provider", MAKE(_WinRTShareProvider, Made(_WinRTShareProvider_Alloc(&h), h)),
     {Text<_WinRTShareProvider_GetTitle>, Text<_WinRTShareProvider_GetIconUri>,
      Flag<_WinRTShareProvider_GetBackgroundColor>},
     Ended<_WinRTShareProvider_Dealloc>},
    {"tile updater", MAKE(_WinRTTileUpdater, (_WinRTTileUpdater_Alloc(&h), Made(_WinRTTileUpdater_InitWithPrimaryTile(h, 0, 0), h))),
     {Acts<_WinRTTileUpdater_Clear>, Acts<_WinRTTileUpdater_EnableNotificationQueuing, 1u>,
      Acts<_WinRTTileUpdater_EnableNotificationQueuingForTileSize, 3u, 1u>, Acts<_WinRTTileUpdater_Update, &kUpdate>,
      Acts<_WinRTTileUpdater_InitWithPrimaryTile, nullptr, nullptr>,
      Acts<_WinRTTileUpdater_InitWithSecondaryTile, nullptr, nullptr>},
     Ended<_WinRTTileUpdater_Dealloc>},
    {"dial", MAKE(_WinRTDial, Made(WinRTDialCreate(window, &h), h)), {dialtest::DialServed},
     [](void*) { return WinRTDialTerminate(); }},
};
#undef MAKE

// Zeroed memory that was never a handle: an object there would have no vtable.
alignas(std::max_align_t) unsigned char foreign[256];

TEST_F(HandleTest, HandlesThatAreNotLiveGetTheNullAnswerInEveryFamily) {
    for (const auto& family : kFamilies) {
        SCOPED_TRACE(family.name);
        void* handle = family.make(tile_, window_);
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(family.served(handle));
        EXPECT_EQ(family.end(handle), S_OK);
        for (void* notLive : {static_cast<void*>(nullptr), handle /* freed, then freed twice */, (void*)foreign}) {
            EXPECT_FALSE(family.served(notLive));
            EXPECT_EQ(family.end(notLive), S_OK);
        }
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

// A share given a provider that is not live (freed, never a handle, a tile) shares without one.
// A pick lends the callback a new operation handle that ends with it: reporting through an
// earlier pick's, a null or another family's handle does nothing.
TEST_F(HandleTest, ProviderAndItsOperationAreServedOnlyWhileLive) {
    sim::SetDelivery(sim::Delivery::CallingThread);
    static std::vector<_WinRTShareProviderOperation*> lent;
    static HRESULT reportedThroughOthers = S_OK;
    ShareProviderOperationHandler onPick = [](void* tile, _WinRTShareProviderOperation* operation) {
        for (void* other : {tile, lent.empty() ? nullptr : static_cast<void*>(lent.back())})
            reportedThroughOthers |= _WinRTShareProviderOperation_ReportCompleted(Any{other});
        lent.push_back(operation);
    };
    auto share = [this](_WinRTShareProvider* provider) {
        return WinRTShareDataForWindow(window_, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr, provider);
    };
    _WinRTShareProvider *provider = nullptr, *freed = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&freed), S_OK);
    ASSERT_EQ(_WinRTShareProvider_Dealloc(freed), S_OK);
    for (void* notLive : {static_cast<void*>(freed), static_cast<void*>(foreign), static_cast<void*>(tile_)}) {
        ASSERT_EQ(share(Any{notLive}), S_OK);
        EXPECT_EQ(sim::ShareEventHandlers(window_, L"ShareProvidersRequested"), 0);
        host::ShareUI{window_}.Data().Complete();
    }
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    _WinRTShareProviderInitArgs args{sizeof(args), L"Tavlet", L"ms-appx:///lent.png", 0, onPick, tile_};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider, &args), S_OK);  // packaged: ready at once
    for (int pick = 0; pick < 2; ++pick) {
        ASSERT_EQ(share(provider), S_OK);
        host::ShareUI{window_}.Data().Providers().Pick(L"Tavlet").Complete();
    }
    ASSERT_EQ(lent.size(), 2u);
    EXPECT_NE(lent[0], lent[1]);
    EXPECT_EQ(reportedThroughOthers, S_OK);
    EXPECT_EQ(_WinRTShareProviderOperation_ReportCompleted(lent[1]), S_OK);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 0);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
}

// Two Deallocs at once: the first takes the handle out before its destructor runs (held
// there), so the second and every later export find it not live; it is destroyed once.
TEST_F(HandleTest, RacingDeallocsDestroyTheObjectOnce) {
    _WinRTAsyncOperationBOOL* operation = nullptr;
    ASSERT_EQ(_WinRTSecondaryTile_RequestCreateAsync(tile_, &operation), S_OK);
    const auto dealloc = [operation] { EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK); };
    host::WhileHeld("IAsyncInfo.get_Status" /* in the destructor */, dealloc, [&] {
        dealloc();
        EXPECT_FALSE(kFamilies[0].served(operation));
    });
    EXPECT_EQ(sim::Calls("IAsyncInfo.Cancel"), 1);
}

}  // namespace
