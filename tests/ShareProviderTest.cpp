// Share providers: the host's own target in the share UI, its icon beside the
// executable, its colour, and its callback in the allocating apartment.
#include "SharingHost.h"

#include <oleauto.h>

#include <stdexcept>

namespace {

using namespace sharing_test;

constexpr uint32_t kRed50 = 0x80FF0000;

struct Picks {
    std::atomic<int> count{0};
    DWORD thread = 0;
    HRESULT reported = E_PENDING;
    bool throwInside = false;

    static void TAVLET_CALL OnPick(void* context, _WinRTShareProviderOperation* operation) {
        auto* self = static_cast<Picks*>(context);
        self->thread = GetCurrentThreadId();
        ++self->count;
        if (self->throwInside) throw std::runtime_error("host failure");
        self->reported = _WinRTShareProviderOperation_ReportCompleted(operation);
    }
};

class ShareProviderTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
        sim::CompleteFileLoads();
        ApartmentTest::TearDown();
    }

    HRESULT Init(const wchar_t* uri, uint32_t size = sizeof(_WinRTShareProviderInitArgs),
                 ShareProviderOperationHandler callback = &Picks::OnPick) {
        _WinRTShareProviderInitArgs args{size, L"Tavlet", uri, kRed50, callback, &picks_};
        return _WinRTShareProvider_InitWithArgs(provider_, &args);
    }
    HRESULT Share() {
        return WinRTShareDataForWindow(window_, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr, provider_);
    }
    // Initialised, its icon found beside the executable, listed beside one
    // installed target in an open share UI.
    void OpenShareWithProvider() {
        ASSERT_EQ(Init(uri_.c_str()), S_OK);
        ASSERT_EQ(sim::CompleteFileLoads(), 1);
        ASSERT_EQ(Share(), S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestProviders(window_, {L"Mail"}), S_OK);
    }
    std::wstring Text(HRESULT(TAVLET_CALL* get)(_WinRTShareProvider*, BSTR*)) {
        BSTR text = nullptr;
        EXPECT_EQ(get(provider_, &text), S_OK);
        std::wstring result(text ? text : L"");
        SysFreeString(text);
        return result;
    }
    uint32_t Color() {
        uint32_t color = 7;
        return _WinRTShareProvider_GetBackgroundColor(provider_, &color) == S_OK ? color : 7;
    }

    AssetFile icon_{L"-share.png"};
    const std::wstring uri_ = L"ms-appx:///Assets/" + icon_.name;
    HostWindow window_;
    _WinRTShareProvider* provider_ = nullptr;
    Picks picks_;
};

// The getters answer empty until the icon is found and the runtime provider made.
TEST_F(ShareProviderTest, UnpackagedIconIsTheFileBesideTheExecutableAndTheColourRoundTrips) {
    const struct {
        uint32_t size;
        ShareProviderOperationHandler callback;
    } refused[] = {{40, &Picks::OnPick}, {56, &Picks::OnPick}, {48, nullptr}};
    for (const auto& c : refused) EXPECT_EQ(Init(uri_.c_str(), c.size, c.callback), E_INVALIDARG) << c.size;
    EXPECT_EQ(_WinRTShareProvider_InitWithArgs(provider_, nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    EXPECT_EQ(_WinRTShareProviderOperation_ReportCompleted(nullptr), S_OK);

    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    EXPECT_EQ(sim::ShareProvidersCreated(), 0);
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"");
    EXPECT_EQ(Text(_WinRTShareProvider_GetTitle), L"");
    EXPECT_EQ(Color(), 0u);

    ASSERT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(sim::ShareProvidersCreated(), 1);
    auto created = sim::LastShareProvider();
    EXPECT_EQ(created.iconFile, icon_.path);
    EXPECT_EQ(created.title, L"Tavlet");
    EXPECT_EQ((std::vector<BYTE>{created.a, created.r, created.g, created.b}), (std::vector<BYTE>{0x80, 0xFF, 0, 0}));
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"\\Assets\\" + icon_.name);
    EXPECT_EQ(Text(_WinRTShareProvider_GetTitle), L"Tavlet");
    EXPECT_EQ(Color(), kRed50);
}

// Whatever goes wrong with the icon, the host is not told and no runtime
// provider is left, not even the one a successful initialisation made before;
// nor is one made for a provider released during the lookup.
TEST_F(ShareProviderTest, IconThatCannotBeBuiltLeavesNoRuntimeProvider) {
    const struct {
        const wchar_t* uri;
        long lookups;
    } cases[] = {{L"Assets/share.png", 0}, {nullptr, 0}, {L"ms-appx:///Assets/none-such.png", 1}};
    for (const auto& c : cases) {
        ASSERT_EQ(Init(uri_.c_str()), S_OK);
        ASSERT_EQ(sim::CompleteFileLoads(), 1);
        EXPECT_EQ(Init(c.uri), S_OK);
        EXPECT_EQ(sim::CompleteFileLoads(), c.lookups);
        EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"");
    }
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
    provider_ = nullptr;
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    EXPECT_EQ(sim::ShareProvidersCreated(), 3);  // one before each failure
}

TEST_F(ShareProviderTest, ProviderIsListedOnceByTitleAndItsHandlerRemovesItself) {
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    const struct {
        bool built;
        std::vector<std::wstring> installed, listed;
    } cases[] = {
        {false, {L"Mail"}, {L"Mail"}},
        {true, {L"Mail"}, {L"Mail", L"Tavlet"}},
        {true, {L"Tavlet", L"Mail"}, {L"Tavlet", L"Mail"}},
    };
    for (const auto& c : cases) {
        if (c.built) sim::CompleteFileLoads();
        ASSERT_EQ(Share(), S_OK);
        EXPECT_EQ(sim::ShareEventHandlers(window_, L"ShareProvidersRequested"), 1);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestProviders(window_, c.installed), S_OK);
        EXPECT_EQ(sim::ShareUIProviderTitles(window_), c.listed);
        EXPECT_EQ(sim::ShareEventHandlers(window_, L"ShareProvidersRequested"), 0);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
    // A share whose target was chosen before the UI asked for providers is
    // still delivered, but the window's next share alone answers from then on.
    ASSERT_EQ(Share(), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
    ASSERT_EQ(WinRTShareDataForWindow(window_, L"Next", nullptr, L"x", nullptr, 0, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(sim::ShareEventHandlers(window_, L"ShareProvidersRequested"), 0);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestProviders(window_, {L"Mail"}), S_OK);
    EXPECT_EQ(sim::ShareUIProviderTitles(window_), std::vector<std::wstring>{L"Mail"});
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    ASSERT_EQ(sim::ShareTargetComplete(window_), S_OK);
    // A system without the event: the provider is ignored and the share goes on.
    sim::SetEventPresent(L"Windows.ApplicationModel.DataTransfer.DataTransferManager", L"ShareProvidersRequested",
                         false);
    sim::SetDataTransferManager2Present(false);
    ASSERT_EQ(Share(), S_OK);
    EXPECT_EQ(sim::Calls("IDataTransferManager2.add_ShareProvidersRequested"), long(std::size(cases)) + 1);
    EXPECT_EQ(sim::ShareUIRequestData(window_), S_OK);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

// Only a pick of the host's own, live provider calls the host, and always in
// its own apartment; a callback that throws leaves the provider working.
TEST_F(ShareProviderTest, PickedProviderCallsTheHostOnItsThreadUntilReleased) {
    OpenShareWithProvider();
    picks_.throwInside = true;
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    picks_.throwInside = false;
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Mail"), S_OK);
    EXPECT_EQ(picks_.count, 2);
    EXPECT_EQ(picks_.reported, S_OK);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 1);

    // From a runtime thread: it waits until this apartment's loop takes the pick.
    HRESULT picked = E_PENDING;
    EXPECT_TRUE(WaitedForTheLoop([&] { picked = sim::ShareUIPickProvider(window_, L"Tavlet"); }));
    EXPECT_EQ(picked, S_OK);
    EXPECT_EQ(picks_.count, 3);
    EXPECT_EQ(picks_.thread, GetCurrentThreadId());
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 2);

    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
    provider_ = nullptr;
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(picks_.count, 3);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

// An unpackaged provider whose icon lookup completes on a runtime thread is
// built in the initialising apartment, once its loop takes the completion.
TEST_F(ShareProviderTest, IconFoundOnARuntimeThreadMakesTheProviderReady) {
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    long completed = 0;
    EXPECT_TRUE(WaitedForTheLoop([&] {
        completed = sim::CompleteFileLoads();
        EXPECT_EQ(sim::ShareProvidersCreated(), 1);  // made before the runtime's thread goes on
    }));
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(sim::LastShareProvider().iconFile, icon_.path);
    EXPECT_EQ(Text(_WinRTShareProvider_GetTitle), L"Tavlet");
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"\\Assets\\" + icon_.name);
    EXPECT_EQ(Color(), kRed50);
}

// Nothing touches a provider once its Dealloc has begun: the icon lookup that
// completes meanwhile (here, in this apartment, held before it builds the
// icon while another thread deallocates) only lets go.
TEST_F(ShareProviderTest, DeallocWhileTheIconLookupCompletesLeavesNothingBehind) {
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    const char* gate = "IRandomAccessStreamReferenceStatics.CreateFromFile";
    sim::HoldNext(gate);
    auto host = RuntimeThread([&] {
        ASSERT_TRUE(sim::WaitUntilHeld(gate));
        EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
        sim::Release(gate);
    });
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    host.join();
    // A new handle (perhaps at the same address) knows nothing of the old one.
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
    EXPECT_EQ(Text(_WinRTShareProvider_GetTitle), L"");
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"");
}

// A re-initialisation during a lookup keeps only the newest lookup's result:
// the older lookup, completing later, changes nothing.
TEST_F(ShareProviderTest, ReinitialisedDuringItsLookupKeepsOnlyTheNewestResult) {
    AssetFile newer(L"-newer.png");
    const std::wstring newerUri = L"ms-appx:///Assets/" + newer.name;
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    ASSERT_EQ(Init(newerUri.c_str()), S_OK);
    ASSERT_EQ(sim::PendingFileLoads(), 2);
    EXPECT_EQ(sim::CompleteFileLoads(), 2);  // oldest first
    EXPECT_EQ(sim::ShareProvidersCreated(), 1);
    EXPECT_EQ(sim::LastShareProvider().iconFile, newer.path);
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"\\Assets\\" + newer.name);
}

// A pick resolves the host's callback only inside the allocating apartment: a
// Dealloc or a new Init before the pick enters calls nothing.
TEST_F(ShareProviderTest, PickWaitingToEnterAfterDeallocOrReinitialisationCallsNothing) {
    for (bool dealloc : {false, true}) {
        SCOPED_TRACE(dealloc ? "deallocated" : "initialised again");
        if (!provider_) {
            ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
        }
        OpenShareWithProvider();
        const char* gate = "IContextCallback.ContextCallback";
        sim::HoldNext(gate);
        sim::Background pick([&] { EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK); });
        ASSERT_TRUE(sim::WaitUntilHeld(gate));
        if (dealloc) {
            EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
            provider_ = nullptr;
        } else {
            ASSERT_EQ(Init(uri_.c_str()), S_OK);
        }
        sim::Release(gate);
        EXPECT_TRUE(pick.Finish());
        EXPECT_EQ(picks_.count, 0);
        EXPECT_EQ(sim::ShareProviderOperationsReported(), 0);
        sim::ShareUIDismiss(window_);
        sim::CompleteFileLoads();
    }
    WinRTSharingTerminate();
}

BOOL WINAPI NoImageName(HANDLE, DWORD, LPWSTR, PDWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// Without the allocating thread's context there is no handle; without the
// executable's path there is no icon file to look up, and no runtime provider.
TEST_F(ShareProviderTest, FailedContextOrExecutablePathLeavesNothingBehind) {
    EXPECT_EQ(_WinRTShareProvider_Dealloc(nullptr), S_OK);
    _WinRTShareProvider* refused = reinterpret_cast<_WinRTShareProvider*>(1);
    sim::FailNext("CoGetObjectContext", 1, E_ACCESSDENIED);
    EXPECT_EQ(_WinRTShareProvider_Alloc(&refused), E_ACCESSDENIED);
    EXPECT_EQ(refused, nullptr);

    ASSERT_EQ(Init(uri_.c_str()), S_OK);  // the provider it had goes too
    ASSERT_EQ(sim::CompleteFileLoads(), 1);
    void* lookup = sim::ReplaceLibraryImport("kernel32.dll", "QueryFullProcessImageNameW",
                                             reinterpret_cast<void*>(&NoImageName));
    ASSERT_NE(lookup, nullptr);
    const HRESULT init = Init(uri_.c_str());
    sim::ReplaceLibraryImport("kernel32.dll", "QueryFullProcessImageNameW", lookup);
    EXPECT_EQ(init, S_OK);
    EXPECT_EQ(sim::FileLoadsStarted(), 1);
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"");
    ASSERT_EQ(Init(uri_.c_str()), S_OK);  // the path is found again
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    EXPECT_EQ(sim::ShareProvidersCreated(), 2);
}

// Initialising again silences the runtime provider made before at once, even
// while an open share UI still lists it; the new one calls the new callback.
TEST_F(ShareProviderTest, ReinitialisationSilencesTheEarlierRuntimeProvider) {
    OpenShareWithProvider();
    Picks later;
    _WinRTShareProviderInitArgs args{uint32_t(sizeof args), L"Tavlet 2", uri_.c_str(), kRed50, &Picks::OnPick, &later};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider_, &args), S_OK);
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK);
    EXPECT_EQ(picks_.count + later.count, 0);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);

    ASSERT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(Share(), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestProviders(window_, {}), S_OK);
    EXPECT_EQ(sim::ShareUIProviderTitles(window_), std::vector<std::wstring>{L"Tavlet 2"});
    EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet 2"), S_OK);
    EXPECT_EQ(picks_.count, 0);
    EXPECT_EQ(later.count, 1);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

}  // namespace
