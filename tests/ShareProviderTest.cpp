// Share providers: the host's own target in the share UI, its icon beside the
// executable, its colour, and its callback in the allocating apartment.
#include "SharingHost.h"

#include <oleauto.h>

#include <stdexcept>

namespace {

using namespace sharing_test;

constexpr uint32_t kRed50 = 0x80FF0000;

std::wstring TakeBstr(BSTR text) {
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : L"<null>";
    SysFreeString(text);
    return result;
}

// What the host's provider callback saw.
struct Picks {
    std::atomic<int> count{0};
    DWORD thread = 0;
    _WinRTShareProviderOperation* operation = nullptr;
    HRESULT reported = E_PENDING;
    bool report = true;
    bool throwInside = false;

    static void TAVLET_CALL OnPick(void* context, _WinRTShareProviderOperation* operation) {
        auto* self = static_cast<Picks*>(context);
        self->thread = GetCurrentThreadId();
        self->operation = operation;
        ++self->count;
        if (self->report) self->reported = _WinRTShareProviderOperation_ReportCompleted(operation);
        if (self->throwInside) throw std::runtime_error("host failure");
    }
};

class ShareProviderTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
    }
    void TearDown() override {
        if (provider_) {
            EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
        }
        sim::CompleteFileLoads();
        ApartmentTest::TearDown();
    }

    // A provider whose icon file exists beside the executable; ready when
    // `build` (the icon lookup completes on this thread).
    void MakeProvider(const wchar_t* title, uint32_t color, bool build = true) {
        ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
        _WinRTShareProviderInitArgs args{sizeof(args), title, uri_.c_str(), color, &Picks::OnPick, &picks_};
        ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider_, &args), S_OK);
        if (build) {
            ASSERT_EQ(sim::CompleteFileLoads(), 1);
        }
    }

    std::wstring Title() {
        BSTR title = nullptr;
        EXPECT_EQ(_WinRTShareProvider_GetTitle(provider_, &title), S_OK);
        return TakeBstr(title);
    }
    std::wstring IconUri() {
        BSTR icon = nullptr;
        EXPECT_EQ(_WinRTShareProvider_GetIconUri(provider_, &icon), S_OK);
        return TakeBstr(icon);
    }

    // Opens a text share with the provider listed beside one installed target.
    void OpenShareWithProvider() {
        ASSERT_EQ(WinRTShareDataForWindow(window_, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr, provider_),
                  S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestProviders(window_, {L"Mail"}), S_OK);
    }

    const std::wstring iconName_ = std::wstring(L"share-") +
                                   std::to_wstring(GetCurrentProcessId()) + L".png";
    const std::wstring uri_ = L"ms-appx:///Assets/" + iconName_;
    TempFile icon_{ExecutableDirectory() + L"\\Assets\\" + iconName_};
    HostWindow window_;
    _WinRTShareProvider* provider_ = nullptr;
    Picks picks_;
};

TEST_F(ShareProviderTest, ArgumentChecksFailWithInvalidArgAndLeaveTheHandleAsItWas) {
    EXPECT_EQ(_WinRTShareProvider_Alloc(nullptr), E_INVALIDARG);
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
    ASSERT_NE(provider_, nullptr);

    struct Case {
        const char* name;
        uint32_t structSize;
        ShareProviderOperationHandler callback;
        bool nullHandle;
    };
    const Case cases[] = {
        {"struct size 40", 40, &Picks::OnPick, false},
        {"struct size 56", 56, &Picks::OnPick, false},
        {"struct size 0", 0, &Picks::OnPick, false},
        {"null callback", 48, nullptr, false},
        {"null handle", 48, &Picks::OnPick, true},
    };
    for (const auto& c : cases) {
        _WinRTShareProviderInitArgs args{c.structSize, L"Tavlet", uri_.c_str(), kRed50, c.callback, &picks_};
        EXPECT_EQ(_WinRTShareProvider_InitWithArgs(c.nullHandle ? nullptr : provider_, &args), E_INVALIDARG) << c.name;
    }
    EXPECT_EQ(_WinRTShareProvider_InitWithArgs(provider_, nullptr), E_INVALIDARG);
    // Nothing was started: no icon lookup, no runtime provider, empty getters.
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    EXPECT_EQ(sim::ShareProvidersCreated(), 0);
    EXPECT_EQ(Title(), L"");
    EXPECT_EQ(IconUri(), L"");

    // Getters: a null out-pointer writes nothing; a null handle leaves the default.
    EXPECT_EQ(_WinRTShareProvider_GetTitle(provider_, nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTShareProvider_GetIconUri(provider_, nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTShareProvider_GetBackgroundColor(provider_, nullptr), E_INVALIDARG);
    BSTR text = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(_WinRTShareProvider_GetTitle(nullptr, &text), E_INVALIDARG);
    EXPECT_EQ(text, nullptr);
    text = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(_WinRTShareProvider_GetIconUri(nullptr, &text), E_INVALIDARG);
    EXPECT_EQ(text, nullptr);
    uint32_t color = 7;
    EXPECT_EQ(_WinRTShareProvider_GetBackgroundColor(nullptr, &color), E_INVALIDARG);
    EXPECT_EQ(color, 0u);

    EXPECT_EQ(_WinRTShareProviderOperation_ReportCompleted(nullptr), S_OK);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(nullptr), S_OK);
}

TEST_F(ShareProviderTest, UnpackagedIconIsTheFileBesideTheExecutableAndTheProviderFollowsIt) {
    MakeProvider(L"Tavlet", kRed50, false);
    // Before the icon is built: no runtime provider, empty answers.
    EXPECT_EQ(sim::FileLoadsStarted(), 1);
    EXPECT_EQ(sim::ShareProvidersCreated(), 0);
    EXPECT_EQ(IconUri(), L"");
    EXPECT_EQ(Title(), L"");
    uint32_t color = 7;
    EXPECT_EQ(_WinRTShareProvider_GetBackgroundColor(provider_, &color), S_OK);
    EXPECT_EQ(color, 0u);

    ASSERT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(sim::ShareProvidersCreated(), 1);
    auto created = sim::LastShareProvider();
    EXPECT_EQ(created.title, L"Tavlet");
    EXPECT_EQ(created.iconFile, icon_.path());
    EXPECT_TRUE(created.hasHandler);
    EXPECT_EQ(IconUri(), L"\\Assets\\" + iconName_);
    EXPECT_EQ(Title(), L"Tavlet");
}

TEST_F(ShareProviderTest, BackgroundColourSplitsIntoArgbAndPacksBack) {
    const struct {
        uint32_t packed;
        BYTE a, r, g, b;
    } cases[] = {
        {kRed50, 0x80, 0xFF, 0x00, 0x00},
        {0xFF00FF00, 0xFF, 0x00, 0xFF, 0x00},
        {0x12345678, 0x12, 0x34, 0x56, 0x78},
        {0x000000FF, 0x00, 0x00, 0x00, 0xFF},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
        _WinRTShareProviderInitArgs args{sizeof(args), L"Tavlet", uri_.c_str(), c.packed, &Picks::OnPick, &picks_};
        ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider_, &args), S_OK);
        ASSERT_EQ(sim::CompleteFileLoads(), 1);
        auto created = sim::LastShareProvider();
        EXPECT_EQ(created.a, c.a);
        EXPECT_EQ(created.r, c.r);
        EXPECT_EQ(created.g, c.g);
        EXPECT_EQ(created.b, c.b);
        uint32_t color = 0;
        EXPECT_EQ(_WinRTShareProvider_GetBackgroundColor(provider_, &color), S_OK);
        EXPECT_EQ(color, c.packed);
        EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
        provider_ = nullptr;
    }
}

TEST_F(ShareProviderTest, IconThatCannotBeBuiltLeavesNoRuntimeProvider) {
    struct Case {
        const char* name;
        std::wstring uri;
        long lookups;
    };
    const Case cases[] = {
        {"no scheme separator", L"Assets/share.png", 0},
        {"shorter than the separator", L"ab", 0},
        {"null URI", L"", 0},
        {"no such file", L"ms-appx:///Assets/none-such.png", 1},
    };
    for (const auto& c : cases) {
        sim::Reset();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
        const wchar_t* uri = c.uri.empty() ? nullptr : c.uri.c_str();
        _WinRTShareProviderInitArgs args{sizeof(args), L"Tavlet", uri, kRed50, &Picks::OnPick, &picks_};
        // Whatever goes wrong with the icon, the host is not told.
        EXPECT_EQ(_WinRTShareProvider_InitWithArgs(provider_, &args), S_OK) << c.name;
        EXPECT_EQ(sim::CompleteFileLoads(), c.lookups) << c.name;
        EXPECT_EQ(sim::ShareProvidersCreated(), 0) << c.name;
        EXPECT_EQ(IconUri(), L"") << c.name;
        EXPECT_EQ(Title(), L"") << c.name;
        EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
        provider_ = nullptr;
    }
}

TEST_F(ShareProviderTest, ReleasedOrReinitialisedWhileTheIconIsLookedUpBuildsNothingStale) {
    // Released first: the lookup completes into nothing.
    MakeProvider(L"Tavlet", kRed50, false);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
    provider_ = nullptr;
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    EXPECT_EQ(sim::ShareProvidersCreated(), 0);

    // Initialised twice: only the latest initialisation makes a provider,
    // whichever lookup completes last.
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
    _WinRTShareProviderInitArgs first{sizeof(first), L"First", uri_.c_str(), kRed50, &Picks::OnPick, &picks_};
    _WinRTShareProviderInitArgs second{sizeof(second), L"Second", uri_.c_str(), 0xFF0000FF, &Picks::OnPick, &picks_};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider_, &first), S_OK);
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider_, &second), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 2);
    EXPECT_EQ(sim::ShareProvidersCreated(), 1);
    EXPECT_EQ(Title(), L"Second");
}

TEST_F(ShareProviderTest, PickedProviderCallsTheHostOnItsThreadWithALentOperation) {
    MakeProvider(L"Tavlet", kRed50);
    OpenShareWithProvider();
    EXPECT_EQ(sim::ShareUIProviderTitles(window_), (std::vector<std::wstring>{L"Mail", L"Tavlet"}));

    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(picks_.count, 1);
    EXPECT_EQ(picks_.thread, GetCurrentThreadId());
    EXPECT_NE(picks_.operation, nullptr);
    EXPECT_EQ(picks_.reported, S_OK);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 1);

    // An installed target picked instead runs nothing of the host's.
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Mail"), S_OK);
    EXPECT_EQ(picks_.count, 1);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

TEST_F(ShareProviderTest, ReleasedOrReplacedProviderPickedInAnOpenShareUiRunsNoCallback) {
    MakeProvider(L"Tavlet", kRed50);
    OpenShareWithProvider();
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
    provider_ = nullptr;
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(picks_.count, 0);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 0);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);

    // Initialised again while listed: the earlier runtime provider goes quiet.
    MakeProvider(L"Tavlet", kRed50);
    OpenShareWithProvider();
    _WinRTShareProviderInitArgs again{sizeof(again), L"Tavlet 2", uri_.c_str(), kRed50, &Picks::OnPick, &picks_};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider_, &again), S_OK);
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(picks_.count, 0);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

TEST_F(ShareProviderTest, HostCallbackThatThrowsIsContained) {
    MakeProvider(L"Tavlet", kRed50);
    OpenShareWithProvider();
    picks_.report = false;
    picks_.throwInside = true;
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(picks_.count, 1);
    // The provider still works for the next pick.
    picks_.throwInside = false;
    picks_.report = true;
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(picks_.count, 2);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 1);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

TEST_F(ShareProviderTest, PickOnARuntimeThreadRunsTheCallbackInTheAllocatingApartment) {
    MakeProvider(L"Tavlet", kRed50);
    OpenShareWithProvider();
    HRESULT picked = E_PENDING;
    OnRuntimeThread([&] { picked = sim::ShareUIPickProvider(window_, L"Tavlet"); });
    if (picked == E_NOTIMPL) {
        EXPECT_EQ(picks_.count, 0);  // never on the wrong thread
        EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
        GTEST_SKIP() << "this system cannot enter a captured COM context from another apartment";
    }
    EXPECT_EQ(picked, S_OK);
    EXPECT_EQ(picks_.count, 1);
    EXPECT_EQ(picks_.thread, GetCurrentThreadId());
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

}  // namespace
