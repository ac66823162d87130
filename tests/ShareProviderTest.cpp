// Share providers: the host's own target in the share UI, its icon beside the
// executable, its colour, and its callback in the allocating apartment.
#include "SharingHost.h"

#include <oleauto.h>

#include <atomic>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace {

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

class ShareProviderTest : public sharing_test::SharingTest {
protected:
    void SetUp() override {
        SharingTest::SetUp();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTShareProvider_Dealloc(provider_), S_OK);
        sim::CompleteFileLoads();
        SharingTest::TearDown();
    }

    HRESULT Init(const wchar_t* uri, uint32_t size = sizeof(_WinRTShareProviderInitArgs),
                 ShareProviderOperationHandler callback = &Picks::OnPick, Picks* picks = nullptr) {
        _WinRTShareProviderInitArgs args{size, L"Tavlet", uri, kRed50, callback, picks ? picks : &picks_};
        return _WinRTShareProvider_InitWithArgs(provider_, &args);
    }
    HRESULT Dealloc() { return _WinRTShareProvider_Dealloc(std::exchange(provider_, nullptr)); }
    HRESULT Share() { return ShareText(L"Note", provider_); }
    // Initialised, icon found, listed beside one installed target in an open share UI.
    void OpenShareWithProvider() {
        ASSERT_EQ(Init(uri_.c_str()), S_OK);
        ASSERT_EQ(sim::CompleteFileLoads(), 1);
        ASSERT_EQ(Share(), S_OK);
        ui_.Data().Providers({L"Mail"});
    }
    std::wstring Text(HRESULT(TAVLET_CALL* get)(_WinRTShareProvider*, BSTR*)) {
        BSTR text = nullptr;
        EXPECT_EQ(get(provider_, &text), S_OK);
        std::wstring result(text ? text : L"");
        SysFreeString(text);
        return result;
    }
    std::tuple<std::wstring, std::wstring, uint32_t> Getters() {
        uint32_t color = 7;
        EXPECT_EQ(_WinRTShareProvider_GetBackgroundColor(provider_, &color), S_OK);
        return {Text(_WinRTShareProvider_GetIconUri), Text(_WinRTShareProvider_GetTitle), color};
    }

    const std::wstring uri_ = file_.uri();
    _WinRTShareProvider* provider_ = nullptr;
    Picks picks_;
};

// The getters answer empty until the icon is found and the runtime provider made.
TEST_P(ShareProviderTest, UnpackagedIconIsTheFileBesideTheExecutableAndTheColourRoundTrips) {
    const std::pair<uint32_t, ShareProviderOperationHandler> refused[] = {
        {40, &Picks::OnPick}, {56, &Picks::OnPick}, {48, nullptr}};
    for (auto [size, callback] : refused) EXPECT_EQ(Init(uri_.c_str(), size, callback), E_INVALIDARG) << size;
    EXPECT_EQ(_WinRTShareProvider_InitWithArgs(provider_, nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);

    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    EXPECT_EQ(sim::ShareProvidersCreated(), 0);
    EXPECT_EQ(Getters(), std::tuple(L"", L"", 0u));

    // Found on a runtime thread, the provider is made in the initialising
    // apartment, once its loop takes the completion.
    std::atomic<bool> done{false};
    sim::Background lookup([&] {
        EXPECT_EQ(sim::CompleteFileLoads(), 1);
        EXPECT_EQ(sim::ShareProvidersCreated(), 1);  // made before the runtime's thread goes on
        done = true;
    });
    Sleep(200);
    EXPECT_FALSE(done) << "made without this apartment's message loop";
    ASSERT_TRUE(lookup.Finish());
    auto made = sim::LastShareProvider();
    EXPECT_EQ(std::tuple(made.iconFile, made.title, std::vector<BYTE>{made.a, made.r, made.g, made.b}),
              std::tuple(file_.path, L"Tavlet", std::vector<BYTE>{0x80, 0xFF, 0, 0}));
    EXPECT_EQ(Getters(), std::tuple(L"\\Assets\\" + file_.name, L"Tavlet", kRed50));
}

// With package identity the icon is the URI itself: the provider is made at once.
TEST_P(ShareProviderTest, PackagedIconIsTheUriAndTheProviderIsReadyAtOnce) {
    sim::SetPackaged(true);
    ASSERT_EQ(Init(L"ms-appx:///Assets/share.png"), S_OK);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    EXPECT_EQ(sim::ShareProvidersCreated(), 1);
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"ms-appx:///Assets/share.png");
}

// A lookup completing after Dealloc (before, or held in this apartment before it
// builds the icon) or after a newer Init only lets go.
TEST_P(ShareProviderTest, IconLookupCompletingAfterDeallocOrReinitialisationOnlyLetsGo) {
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    EXPECT_EQ(Dealloc(), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    EXPECT_EQ(sim::ShareProvidersCreated(), 0);

    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    host::WhileHeld(
        "IRandomAccessStreamReferenceStatics.CreateFromFile", [] { EXPECT_EQ(sim::CompleteFileLoads(), 1); },
        [&] { EXPECT_EQ(Dealloc(), S_OK); }, true);

    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider_), S_OK);
    host::TempFile newer(L"-newer.png");
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    ASSERT_EQ(Init(newer.uri().c_str()), S_OK);
    const long created = sim::ShareProvidersCreated();
    EXPECT_EQ(sim::CompleteFileLoads(), 2);  // oldest first
    EXPECT_EQ(sim::ShareProvidersCreated(), created + 1);
    EXPECT_EQ(sim::LastShareProvider().iconFile, newer.path);
    EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"\\Assets\\" + newer.name);
}

TEST_P(ShareProviderTest, ProviderIsListedOnceByTitleAndItsHandlerRemovesItself) {
    ASSERT_EQ(Init(uri_.c_str()), S_OK);
    const struct { bool built; std::vector<std::wstring> installed, listed; } cases[] = {{false, {L"Mail"}, {L"Mail"}},
        {true, {L"Mail"}, {L"Mail", L"Tavlet"}}, {true, {L"Tavlet", L"Mail"}, {L"Tavlet", L"Mail"}}};
    for (const auto& c : cases) {
        if (c.built) sim::CompleteFileLoads();
        ASSERT_EQ(Share(), S_OK);
        EXPECT_EQ(Handlers(L"ShareProvidersRequested"), 1);
        ui_.Data().Providers(c.installed);
        EXPECT_EQ(sim::ShareUIProviderTitles(window_), c.listed);
        EXPECT_EQ(Handlers(L"ShareProvidersRequested"), 0);
        ui_.Complete();
    }
    // A share whose target was chosen before the UI asked for providers is
    // still delivered, but the window's next share alone answers from then on.
    ASSERT_EQ(Share(), S_OK);
    ui_.Data().Target();
    ASSERT_EQ(ShareText(L"Next"), S_OK);
    EXPECT_EQ(Handlers(L"ShareProvidersRequested"), 0);
    ui_.Data().Providers({L"Mail"});
    EXPECT_EQ(sim::ShareUIProviderTitles(window_), std::vector<std::wstring>{L"Mail"});
    ui_.Complete();
    ASSERT_EQ(sim::ShareTargetComplete(window_), S_OK);
    // A system without the event: the provider is ignored and the share goes on.
    sim::SetEventPresent(L"Windows.ApplicationModel.DataTransfer.DataTransferManager", L"ShareProvidersRequested",
                         false);
    sim::SetDataTransferManager2Present(false);
    ASSERT_EQ(Share(), S_OK);
    EXPECT_EQ(sim::Calls("IDataTransferManager2.add_ShareProvidersRequested"), long(std::size(cases)) + 1);
    ui_.Data().Complete();
}

// Only a pick of the host's own provider calls the host, and always in its
// own apartment; a callback that throws leaves the provider working.
TEST_P(ShareProviderTest, PickedProviderCallsTheHostOnItsThread) {
    OpenShareWithProvider();
    picks_.throwInside = true;
    ui_.Pick(L"Tavlet");
    picks_.throwInside = false;
    ui_.Pick(L"Tavlet").Pick(L"Mail");
    EXPECT_EQ(picks_.count, 2);
    EXPECT_EQ(picks_.thread, GetCurrentThreadId());  // raised on a runtime thread
    EXPECT_EQ(picks_.reported, S_OK);
    EXPECT_EQ(sim::ShareProviderOperationsReported(), 1);
    ui_.Complete();
}

// A pick resolves the host's callback only inside the allocating apartment: a
// Dealloc or a new Init, before the pick or while it waits to enter, silences
// the runtime provider at once, even while an open share UI still lists it;
// the new Init's provider calls the new callback.
TEST_P(ShareProviderTest, PickAfterDeallocOrReinitialisationCallsNothing) {
    const struct { bool dealloc, waiting; } rows[] = {{true, false}, {false, false}, {true, true}, {false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.dealloc ? "deallocated" : "initialised again") +
                     (row.waiting ? " while the pick waits to enter" : " before the pick"));
        ASSERT_TRUE(provider_ || _WinRTShareProvider_Alloc(&provider_) == S_OK);
        OpenShareWithProvider();
        const long reported = sim::ShareProviderOperationsReported();
        Picks later;
        auto change = [&] { EXPECT_EQ(row.dealloc ? Dealloc() : Init(uri_.c_str(), 48, &Picks::OnPick, &later), S_OK); };
        auto pick = [&] { EXPECT_EQ(sim::ShareUIPickProvider(window_, L"Tavlet"), S_OK); };
        if (row.waiting) host::WhileHeld("IContextCallback.ContextCallback", pick, change);
        else change(), pick();
        EXPECT_EQ(picks_.count + later.count, 0);
        EXPECT_EQ(sim::ShareProviderOperationsReported(), reported);
        ui_.Complete();
        if (!row.dealloc) {
            ASSERT_EQ(sim::CompleteFileLoads(), 1);
            ASSERT_EQ(Share(), S_OK);
            ui_.Data().Providers().Pick(L"Tavlet").Complete();
            EXPECT_EQ(picks_.count, 0);
            EXPECT_EQ(later.count, 1);
            ASSERT_EQ(Init(uri_.c_str()), S_OK);  // before `later` goes
        }
        sim::CompleteFileLoads();
    }
    WinRTSharingTerminate();
}

BOOL WINAPI NoImageName(HANDLE, DWORD, LPWSTR, PDWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// Whatever goes wrong with the icon (no executable path, no "://", no URI, no such file), no
// runtime provider is left, not even an earlier one. Without the thread's context, no handle.
TEST_P(ShareProviderTest, IconThatCannotBeBuiltLeavesNoRuntimeProvider) {
    const struct { const wchar_t* uri; long lookups; void* imageName = nullptr; /* QueryFullProcessImageNameW */ } cases[] = {
        {uri_.c_str(), 0, reinterpret_cast<void*>(&NoImageName)}, {L"Assets/share.png", 0}, {nullptr, 0},
        {L"ms-appx:///Assets/none-such.png", 1}};
    for (const auto& c : cases) {
        ASSERT_EQ(Init(uri_.c_str()), S_OK);  // after the first row: the path is found again
        ASSERT_EQ(sim::CompleteFileLoads(), 1);
        void* own = c.imageName ? sim::ReplaceLibraryImport("kernel32.dll", "QueryFullProcessImageNameW", c.imageName)
                                : nullptr;
        EXPECT_EQ(Init(c.uri), S_OK);
        if (own) sim::ReplaceLibraryImport("kernel32.dll", "QueryFullProcessImageNameW", own);
        EXPECT_EQ(sim::CompleteFileLoads(), c.lookups);
        EXPECT_EQ(Text(_WinRTShareProvider_GetIconUri), L"");
    }
    EXPECT_EQ(sim::ShareProvidersCreated(), 4);  // one before each failure
    _WinRTShareProvider* refused = reinterpret_cast<_WinRTShareProvider*>(1);
    sim::FailNext("CoGetObjectContext", 1, E_ACCESSDENIED);
    EXPECT_EQ(_WinRTShareProvider_Alloc(&refused), E_ACCESSDENIED);
    EXPECT_EQ(refused, nullptr);
}

INSTANTIATE_FOR_BOTH_SHARE_EVENT_THREADS(ShareProviderTest);

}  // namespace
