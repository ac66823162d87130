// Sharing from a window: what the package gets, one completion per share on
// the host's UI thread, the host's provider in the list, file shares, and the
// end of shares the user dismissed.
#include "SharingHost.h"

#include <memory>
#include <stdexcept>

namespace {

using namespace sharing_test;

const std::wstring kPackageClass = L"Windows.ApplicationModel.DataTransfer.DataPackage";
const std::wstring kManagerClass = L"Windows.ApplicationModel.DataTransfer.DataTransferManager";

class SharingTest : public ApartmentTest {
protected:
    // A data share of `bytes` with the recording callback.
    HRESULT ShareBytes(const std::string& bytes, const wchar_t* text = L"caption", _WinRTShareProvider* provider = nullptr) {
        return WinRTShareDataForWindow(window_, L"Photo", L"Holiday", text, bytes.data(), bytes.size(), &completions_,
                                       &Completions::OnData, provider);
    }
    long Handlers(const wchar_t* event) { return sim::ShareEventHandlers(window_, event); }

    HostWindow window_;
    Completions completions_;
    const std::string image_ = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(1000, '\x42');
};

TEST_F(SharingTest, AvailabilityFollowsTheSystemAndGatesBothShares) {
    EXPECT_EQ(WinRTSharingIsAvailable(), 1);
    sim::FailNext("IDataTransferManagerStatics2.IsSupported", 1, E_ACCESSDENIED);
    EXPECT_EQ(WinRTSharingIsAvailable(), 0);

    sim::SetSharingSupported(false);
    EXPECT_EQ(WinRTSharingIsAvailable(), 0);
    EXPECT_EQ(ShareBytes(image_), E_NOINTERFACE);
    EXPECT_EQ(WinRTShareFileForWindow(window_, L"t", L"d", "C:\\a.txt", nullptr, nullptr, nullptr), E_NOINTERFACE);
    // Availability is tested before the path.
    EXPECT_EQ(WinRTShareFileForWindow(window_, L"t", L"d", nullptr, nullptr, nullptr, nullptr), E_NOINTERFACE);
    EXPECT_EQ(sim::ShareUIShows(window_), 0);

    sim::SetSharingSupported(true);
    EXPECT_EQ(WinRTShareFileForWindow(window_, L"t", L"d", nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
}

TEST_F(SharingTest, RuntimeFailuresKeepTheirCodeAndAFailedShareNeverCallsBack) {
    const struct {
        const char* member;
        HRESULT injected, expected;
    } cases[] = {
        {"IDataTransferManagerInterop.GetForWindow", E_ACCESSDENIED, E_ACCESSDENIED},
        {"IDataTransferManager.add_DataRequested", E_ACCESSDENIED, E_ACCESSDENIED},
        {"IDataTransferManagerInterop.ShowShareUIForWindow", static_cast<HRESULT>(0x80070490),
         static_cast<HRESULT>(0x80070490)},
        // The plain guard turns an allocation failure into E_FAIL.
        {"IDataTransferManagerInterop.ShowShareUIForWindow", E_OUTOFMEMORY, E_FAIL},
    };
    for (const auto& c : cases) {
        sim::FailNext(c.member, 1, c.injected);
        EXPECT_EQ(ShareBytes(image_), c.expected) << c.member;
    }
    // The next share of the window ends what the failed ones left; only it
    // calls back.
    ASSERT_EQ(ShareBytes(image_), S_OK);
    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 1);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    EXPECT_EQ(completions_.count(), 1u);
}

TEST_F(SharingTest, TitleAndDescriptionAreSetOnlyWhenGiven) {
    const struct {
        const wchar_t* title;
        const wchar_t* description;
    } cases[] = {{nullptr, nullptr}, {L"", L""}, {L"Photo", nullptr}, {nullptr, L"Holiday"}, {L"Photo", L"Holiday"}};
    for (const auto& c : cases) {
        ASSERT_EQ(WinRTShareDataForWindow(window_, c.title, c.description, L"hi", nullptr, 0, nullptr, nullptr, nullptr),
                  S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        auto package = sim::ShareUIPackage(window_);
        const bool hasTitle = c.title && *c.title, hasDescription = c.description && *c.description;
        EXPECT_EQ(package.hasTitle, hasTitle);
        EXPECT_EQ(package.hasDescription, hasDescription);
        if (hasTitle) {
            EXPECT_EQ(package.title, c.title);
        }
        if (hasDescription) {
            EXPECT_EQ(package.description, c.description);
        }
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
}

TEST_F(SharingTest, WithoutBytesTheTextIsSharedAndTheDataCallbackNeverRuns) {
    const struct {
        const wchar_t* text;
        const void* data;
        uint64_t size;
        const wchar_t* shared;
    } cases[] = {
        {L"hello", nullptr, 10, L"hello"},
        {L"hello", "abc", 0, L"hello"},
        {nullptr, nullptr, 0, L""},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(WinRTShareDataForWindow(window_, L"t", L"d", c.text, c.data, c.size, &completions_,
                                          &Completions::OnData, nullptr),
                  S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        auto package = sim::ShareUIPackage(window_);
        EXPECT_TRUE(package.hasText);
        EXPECT_EQ(package.text, c.shared);
        EXPECT_TRUE(package.formats.empty());
        EXPECT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
    Pump();
    EXPECT_EQ(completions_.count(), 0u);
    EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);
}

TEST_F(SharingTest, BytesAreOfferedAsBitmapOnlyAndCopiedOnceWhenATargetAsks) {
    ASSERT_EQ(ShareBytes(image_, L"caption"), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    auto package = sim::ShareUIPackage(window_);
    EXPECT_EQ(package.formats, std::vector<std::wstring>{L"Bitmap"});
    EXPECT_FALSE(package.hasText);
    EXPECT_EQ(package.title, L"Photo");
    EXPECT_EQ(package.description, L"Holiday");
    // Not read before a target asks.
    EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);

    ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
    package = sim::ShareUIPackage(window_);
    EXPECT_EQ(package.bitmapDeferrals, 1);
    EXPECT_TRUE(package.bitmapDeferralCompleted);
    EXPECT_TRUE(package.bitmapDelivered);  // the stream is still open: the writer was detached
    EXPECT_EQ(package.bitmapSize, image_.size());
    EXPECT_EQ(sim::ShareUIBitmapBytes(window_), image_);
    EXPECT_EQ(sim::DataWriterBytesCopied(), image_.size());
    EXPECT_EQ(sim::DataWriterWriteSizes(), std::vector<uint32_t>{static_cast<uint32_t>(image_.size())});

    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    ASSERT_EQ(completions_.count(), 1u);
    EXPECT_EQ(completions_.at(0).data, image_.data());
    EXPECT_EQ(completions_.at(0).context, &completions_);
}

TEST_F(SharingTest, ShareOfFourGibibytesOrMoreIsWrittenInPiecesNeverTruncated) {
    sim::SetDataWriterCopiesBytes(false);  // the writer only counts: nothing is read
    static const char anchor = 0;
    const uint64_t size = 0x100000002ull;
    ASSERT_EQ(WinRTShareDataForWindow(window_, L"t", L"d", nullptr, &anchor, size, &completions_, &Completions::OnData,
                                      nullptr),
              S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
    EXPECT_EQ(sim::DataWriterWriteSizes(), (std::vector<uint32_t>{0xFFFFFFFFu, 3u}));
    auto package = sim::ShareUIPackage(window_);
    EXPECT_TRUE(package.bitmapDelivered);
    EXPECT_EQ(package.bitmapSize, size);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    EXPECT_EQ(completions_.count(), 1u);
}

TEST_F(SharingTest, FailedBitmapWriteReleasesTheDeferralWithoutCompletingIt) {
    const char* steps[] = {"IDataWriter.WriteBytes", "IDataWriter.StoreAsync", "IDataWriter.FlushAsync",
                           "IDataWriter.DetachStream", "IDataProviderRequest.SetData"};
    for (const char* step : steps) {
        ASSERT_EQ(ShareBytes(image_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        sim::FailNext(step, 1, E_ACCESSDENIED);
        // The provider starts the write and lets it go: the runtime sees S_OK.
        EXPECT_EQ(sim::ShareUIRequestBitmap(window_), S_OK) << step;
        auto package = sim::ShareUIPackage(window_);
        EXPECT_EQ(package.bitmapDeferrals, 1) << step;
        EXPECT_FALSE(package.bitmapDeferralCompleted) << step;
        EXPECT_FALSE(package.bitmapDelivered) << step;
        EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
    Pump();
    EXPECT_EQ(completions_.count(), std::size(steps));
}

TEST_F(SharingTest, TargetNameReachesTheCallbackInUtf8AndIsEmptyWithoutAChoice) {
    const std::wstring target = L"Почта \u2709 \U0001F4E7";
    const std::string utf8 = "\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0 \xE2\x9C\x89 \xF0\x9F\x93\xA7";
    ASSERT_EQ(ShareBytes(image_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, target), S_OK);
    EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 0);  // one-shot
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    ASSERT_EQ(completions_.count(), 1u);
    EXPECT_EQ(completions_.at(0).target, utf8);

    ASSERT_EQ(ShareBytes(image_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    ASSERT_EQ(completions_.count(), 2u);
    EXPECT_EQ(completions_.at(1).target, "");
}

TEST_F(SharingTest, HandlersRemoveThemselvesAndShareCompletedThenTheRecordsEndCallsBackOnce) {
    ASSERT_EQ(ShareBytes(image_), S_OK);
    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 1);
    EXPECT_EQ(sim::ShareUIShows(window_), 1);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    EXPECT_EQ(Handlers(L"DataRequested"), 0);
    EXPECT_EQ(sim::ShareUIPackage(window_).shareCompletedHandlers, 1);
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
    ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
    // ShareCompleted calls back at once (this is the host's thread); the UI
    // then lets the package and its data provider go, which ends the record.
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    EXPECT_EQ(completions_.count(), 1u);
    EXPECT_EQ(sim::ShareUIPackage(window_).shareCompletedHandlers, 0);
    Pump();
    EXPECT_EQ(completions_.count(), 1u);
    EXPECT_EQ(completions_.at(0).target, "Mail");
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

TEST_F(SharingTest, WithoutShareCompletedTheCallbackComesWhenTheRecordEnds) {
    for (bool interfaceMissing : {false, true}) {
        // Either the system reports no such event, or the package lacks its interface.
        sim::SetEventPresent(kPackageClass, L"ShareCompleted", interfaceMissing);
        sim::SetDataPackage3Present(!interfaceMissing);
        ASSERT_EQ(ShareBytes(image_), S_OK);
        HRESULT requested = sim::ShareUIRequestData(window_);
        if (interfaceMissing) {
            // The event test said yes but the interface is missing: the handler fails.
            EXPECT_EQ(requested, E_NOINTERFACE);
            sim::SetEventPresent(kPackageClass, L"ShareCompleted", false);
            ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        } else {
            ASSERT_EQ(requested, S_OK);
        }
        ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
        EXPECT_EQ(completions_.count(), 0u);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);  // raises nothing here
        Pump();
        ASSERT_EQ(completions_.count(), 1u);
        EXPECT_EQ(completions_.at(0).target, "Mail");
        Pump();
        EXPECT_EQ(completions_.count(), 1u);
        completions_.clear();
    }
}

TEST_F(SharingTest, CompletionRaisedOnARuntimeThreadReachesTheHostThroughItsMessageLoop) {
    ASSERT_EQ(ShareBytes(image_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    std::thread runtime([&] {
        HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        sim::ShareUIChooseTarget(window_, L"Mail");
        sim::ShareUIRequestBitmap(window_);
        sim::ShareUIComplete(window_);
        if (SUCCEEDED(init)) CoUninitialize();
    });
    runtime.join();
    // Nothing reaches the host until its loop runs.
    EXPECT_EQ(completions_.count(), 0u);
    EXPECT_TRUE(sim::ShareUIPackage(window_).bitmapDelivered);
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
    EXPECT_EQ(completions_.at(0).thread, GetCurrentThreadId());
    EXPECT_EQ(completions_.at(0).target, "Mail");
    Pump();
    EXPECT_EQ(completions_.count(), 1u);
}

TEST_F(SharingTest, ProviderIsAddedOnceByTitleAndItsHandlerRemovesItself) {
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
    const std::wstring name = L"share-" + std::to_wstring(GetCurrentProcessId()) + L".png";
    TempFile icon(ExecutableDirectory() + L"\\Assets\\" + name);
    const std::wstring uri = L"ms-appx:///Assets/" + name;
    _WinRTShareProvider* provider = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    _WinRTShareProviderInitArgs args{sizeof(args), L"Tavlet", uri.c_str(), 0xFF102030,
                                     [](void*, _WinRTShareProviderOperation*) {}, nullptr};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider, &args), S_OK);

    struct Case {
        const char* name;
        bool built;
        std::vector<std::wstring> installed, listed;
    };
    const Case cases[] = {
        {"icon not built yet", false, {L"Mail"}, {L"Mail"}},
        {"added after the installed targets", true, {L"Mail"}, {L"Mail", L"Tavlet"}},
        {"same title already listed", true, {L"Tavlet", L"Mail"}, {L"Tavlet", L"Mail"}},
        {"titles compare case-sensitively", true, {L"tavlet"}, {L"tavlet", L"Tavlet"}},
    };
    for (const auto& c : cases) {
        if (c.built && sim::PendingFileLoads()) {
            ASSERT_EQ(sim::CompleteFileLoads(), 1);
        }
        ASSERT_EQ(ShareBytes(image_, L"x", provider), S_OK) << c.name;
        EXPECT_EQ(Handlers(L"ShareProvidersRequested"), 1) << c.name;
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestProviders(window_, c.installed), S_OK) << c.name;
        EXPECT_EQ(sim::ShareUIProviderTitles(window_), c.listed) << c.name;
        EXPECT_EQ(Handlers(L"ShareProvidersRequested"), 0) << c.name;
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
    Pump();
    EXPECT_EQ(completions_.count(), std::size(cases));
}

TEST_F(SharingTest, WithoutShareProvidersRequestedTheProviderIsIgnored) {
    _WinRTShareProvider* provider = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    sim::SetEventPresent(kManagerClass, L"ShareProvidersRequested", false);
    sim::SetDataTransferManager2Present(false);
    ASSERT_EQ(ShareBytes(image_, L"x", provider), S_OK);
    EXPECT_EQ(Handlers(L"ShareProvidersRequested"), 0);
    EXPECT_EQ(sim::Calls("IDataTransferManager2.add_ShareProvidersRequested"), 0);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
    EXPECT_EQ(completions_.count(), 1u);
}

TEST_F(SharingTest, FileShareSharesTheFileAndCallsBackWithItsPath) {
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Inline);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    TempFile file(std::wstring(temp) + L"tavlet-" + std::to_wstring(GetCurrentProcessId()) + L"-\u00e9t\u00e9.png");
    int size = WideCharToMultiByte(CP_UTF8, 0, file.path().c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, file.path().c_str(), -1, utf8.data(), size, nullptr, nullptr);

    ASSERT_EQ(WinRTShareFileForWindow(window_, L"Photo", nullptr, utf8.c_str(), &completions_, &Completions::OnFile,
                                      nullptr),
              S_OK);
    EXPECT_EQ(sim::ShareUIShows(window_), 1);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    auto package = sim::ShareUIPackage(window_);
    EXPECT_EQ(package.storageItems, std::vector<std::wstring>{file.path()});
    EXPECT_TRUE(package.hasTitle);
    EXPECT_FALSE(package.hasDescription);
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    ASSERT_EQ(completions_.count(), 1u);
    EXPECT_EQ(completions_.at(0).pathOrEmpty, utf8);
    EXPECT_EQ(completions_.at(0).target, "Mail");
    EXPECT_EQ(completions_.at(0).thread, GetCurrentThreadId());
}

TEST_F(SharingTest, FileShareWhoseLookupCompletesOnARuntimeThreadStillCallsBackOnTheUiThread) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    TempFile file(std::wstring(temp) + L"tavlet-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
    std::string path(file.path().begin(), file.path().end());
    ASSERT_EQ(WinRTShareFileForWindow(window_, L"t", L"d", path.c_str(), &completions_, &Completions::OnFile, nullptr),
              S_OK);
    sim::WaitForFileLoads();  // the lookup completes on its own thread, which opens the UI
    EXPECT_EQ(sim::ShareUIShows(window_), 1);
    OnRuntimeThread([&] {
        sim::ShareUIRequestData(window_);
        sim::ShareUIComplete(window_);
    });
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
    EXPECT_EQ(completions_.at(0).thread, GetCurrentThreadId());
    EXPECT_EQ(completions_.at(0).pathOrEmpty, path);
}

TEST_F(SharingTest, FileShareGoesOnWithoutAProviderReleasedBeforeItsFileIsFound) {
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    TempFile file(std::wstring(temp) + L"tavlet-" + std::to_wstring(GetCurrentProcessId()) + L"-p.txt");
    std::string path(file.path().begin(), file.path().end());
    for (bool released : {false, true}) {
        _WinRTShareProvider* provider = nullptr;
        ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
        ASSERT_EQ(WinRTShareFileForWindow(window_, L"t", L"d", path.c_str(), &completions_, &Completions::OnFile,
                                          provider),
                  S_OK);
        if (released) {
            EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
        }
        ASSERT_EQ(sim::CompleteFileLoads(), 1);
        EXPECT_EQ(Handlers(L"ShareProvidersRequested"), released ? 0 : 1);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestProviders(window_, {L"Mail"}), S_OK);
        EXPECT_EQ(sim::ShareUIProviderTitles(window_), std::vector<std::wstring>{L"Mail"});
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
        if (!released) {
            EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
        }
    }
    Pump();
    EXPECT_EQ(completions_.count(), 2u);
}

TEST_F(SharingTest, FileShareOfAMissingFileSucceedsAndThenDoesNothing) {
    ASSERT_EQ(WinRTShareFileForWindow(window_, L"t", L"d", "C:\\no\\such\\file.png", &completions_, &Completions::OnFile,
                                      nullptr),
              S_OK);
    sim::WaitForFileLoads();
    EXPECT_EQ(sim::FileLoadsStarted(), 1);
    EXPECT_EQ(sim::ShareUIShows(window_), 0);
    EXPECT_EQ(Handlers(L"DataRequested"), 0);
    Pump();
    EXPECT_EQ(completions_.count(), 0u);
}

TEST_F(SharingTest, TerminateSilencesOpenAndQueuedSharesAndLaterSharesStillOpen) {
    // One share with its completion already queued for the UI thread...
    ASSERT_EQ(ShareBytes(image_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    std::thread([&] {
        HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        sim::ShareUIComplete(window_);
        if (SUCCEEDED(init)) CoUninitialize();
    }).join();
    // ...and one still open in another window, its bytes not yet asked for.
    HostWindow other;
    ASSERT_EQ(WinRTShareDataForWindow(other, L"t", L"d", nullptr, image_.data(), image_.size(), &completions_,
                                      &Completions::OnData, nullptr),
              S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(other), S_OK);

    WinRTSharingTerminate();
    Pump();
    EXPECT_EQ(completions_.count(), 0u);
    // The open share's registrations went with it, and its bytes are no
    // longer read: the host may free them now.
    EXPECT_EQ(sim::ShareEventHandlers(other, L"TargetApplicationChosen"), 0);
    EXPECT_EQ(sim::ShareUIRequestBitmap(other), S_OK);
    EXPECT_FALSE(sim::ShareUIPackage(other).bitmapDelivered);
    EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);
    sim::ShareUIDismiss(other);

    // Later shares open the UI and run as before, silently.
    ASSERT_EQ(ShareBytes(image_), S_OK);
    EXPECT_EQ(sim::ShareUIShows(window_), 2);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
    EXPECT_TRUE(sim::ShareUIPackage(window_).bitmapDelivered);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    EXPECT_EQ(completions_.count(), 0u);
    WinRTSharingTerminate();  // ends nothing more; may be called again
}

TEST_F(SharingTest, DismissedSharesEndWithTheWindowsNextShareOneCallbackEach) {
    constexpr int kShares = 50;
    for (int i = 0; i < kShares; ++i) {
        ASSERT_EQ(ShareBytes(image_), S_OK);
        // The earlier, dismissed share was ended: registrations never pile up.
        EXPECT_EQ(Handlers(L"DataRequested"), 1);
        EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 1);
        EXPECT_EQ(Handlers(L"ShareProvidersRequested"), 0);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        sim::ShareUIDismiss(window_);
        EXPECT_EQ(completions_.count(), static_cast<size_t>(i));
    }
    ASSERT_EQ(ShareBytes(image_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    EXPECT_EQ(completions_.count(), static_cast<size_t>(kShares + 1));
    for (size_t i = 0; i < completions_.count(); ++i) EXPECT_EQ(completions_.at(i).target, "");
}

TEST_F(SharingTest, SharesFromSeveralUiThreadsAtOnceEachCallBackOnTheirOwnThread) {
    constexpr int kThreads = 4, kShares = 25;
    struct Host {
        Completions completions;
        DWORD thread = 0;
        int failures = 0;
    };
    std::vector<std::unique_ptr<Host>> hosts;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) hosts.push_back(std::make_unique<Host>());
    for (auto& host : hosts) {
        threads.emplace_back([&, h = host.get()] {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            h->thread = GetCurrentThreadId();
            {
                HostWindow window;
                for (int i = 0; i < kShares; ++i) {
                    h->failures += WinRTShareDataForWindow(window, L"t", L"d", nullptr, image_.data(), image_.size(),
                                                           &h->completions, &Completions::OnData, nullptr) != S_OK;
                    h->failures += sim::ShareUIRequestData(window) != S_OK;
                    h->failures += sim::ShareUIChooseTarget(window, L"Mail") != S_OK;
                    h->failures += sim::ShareUIRequestBitmap(window) != S_OK;
                    h->failures += sim::ShareUIComplete(window) != S_OK;
                    Pump();
                }
            }
            CoUninitialize();
        });
    }
    for (auto& thread : threads) thread.join();
    for (auto& host : hosts) {
        EXPECT_EQ(host->failures, 0);
        ASSERT_EQ(host->completions.count(), static_cast<size_t>(kShares));
        for (size_t i = 0; i < kShares; ++i) EXPECT_EQ(host->completions.at(i).thread, host->thread);
    }
    EXPECT_EQ(sim::DataWriterBytesCopied(), uint64_t(kThreads) * kShares * image_.size());
}

TEST_F(SharingTest, ShareCompletedRacingTheWindowsNextShareStillCallsBackOncePerShare) {
    constexpr int kRounds = 100;
    ASSERT_EQ(ShareBytes(image_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    for (int i = 0; i < kRounds; ++i) {
        // The runtime ends the open share while the host starts the next one,
        // which ends the same share from the UI thread.
        std::thread runtime([&] {
            HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            sim::ShareUIComplete(window_);
            if (SUCCEEDED(init)) CoUninitialize();
        });
        ASSERT_EQ(ShareBytes(image_), S_OK);
        runtime.join();
        if (sim::IsShareUIOpen(window_)) sim::ShareUIRequestData(window_);
    }
    ASSERT_EQ(ShareBytes(image_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return completions_.count() >= static_cast<size_t>(kRounds + 2); }));
    Pump();
    EXPECT_EQ(completions_.count(), static_cast<size_t>(kRounds + 2));
    EXPECT_LE(Handlers(L"DataRequested"), 0);
}

TEST_F(SharingTest, FailingHandlerReportsToTheRuntimeAndStaysRegistered) {
    ASSERT_EQ(ShareBytes(image_), S_OK);
    sim::FailNext("IDataPackage.SetDataProvider", 1, E_ACCESSDENIED);
    EXPECT_EQ(sim::ShareUIRequestData(window_), E_ACCESSDENIED);
    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    sim::FailNext("ITargetApplicationChosenEventArgs.get_ApplicationName", 1, E_ACCESSDENIED);
    EXPECT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), E_ACCESSDENIED);
    EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 1);
    // The system asks again; this time it works.
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    ASSERT_EQ(completions_.count(), 1u);
    EXPECT_EQ(completions_.at(0).target, "Mail");
}

TEST_F(SharingTest, HostCallbackThatThrowsIsContained) {
    struct Thrower {
        static void TAVLET_CALL OnData(const char*, void* context, const void*) {
            ++*static_cast<int*>(context);
            throw std::runtime_error("host failure");
        }
    };
    int calls = 0;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(WinRTShareDataForWindow(window_, L"t", L"d", nullptr, image_.data(), image_.size(), &calls,
                                          &Thrower::OnData, nullptr),
                  S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
    Pump();
    EXPECT_EQ(calls, 2);
}

}  // namespace
