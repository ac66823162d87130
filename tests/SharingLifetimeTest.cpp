// Shares whose runtime side races the host: a chosen target outliving the
// window's next share, the host's bytes fenced off once the host is told,
// shares started from a completion callback, handlers of ended shares,
// refused removals, Terminate during a file lookup, and failed set-ups.
#include "SharingHost.h"

namespace {

using namespace sharing_test;

class SharingLifetimeTest : public ApartmentTest {
public:
    HRESULT ShareBytes(const wchar_t* title = L"Photo") {
        return WinRTShareDataForWindow(window_, title, nullptr, nullptr, image_.data(), image_.size(), &completions_,
                                       &Completions::OnData, nullptr);
    }
    HRESULT ShareText(const wchar_t* title, const wchar_t* text) {
        return WinRTShareDataForWindow(window_, title, L"about", text, nullptr, 0, nullptr, nullptr, nullptr);
    }
    long Handlers(const wchar_t* event) { return sim::ShareEventHandlers(window_, event); }

    HostWindow window_;
    Completions completions_;
    const std::string image_ = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(4000, 'C');
};

// Only a share whose UI was dismissed is ended by the window's next share; one
// with a chosen target is delivered and completes beside it.
TEST_F(SharingLifetimeTest, ShareWithAChosenTargetLivesBesideTheWindowsNextShare) {
    ASSERT_EQ(ShareBytes(L"A"), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
    ASSERT_EQ(ShareBytes(L"B"), S_OK);
    sim::PumpFor(50);
    EXPECT_EQ(completions_.count(), 0u);
    ASSERT_EQ(sim::ShareTargetsDelivering(window_), 1);
    EXPECT_EQ(sim::ShareTargetRequestBitmap(window_), S_OK);
    EXPECT_EQ(sim::ShareTargetBitmapBytes(window_), image_);
    EXPECT_EQ(sim::ShareTargetComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
    EXPECT_EQ(completions_.at(0).target, "Mail");

    // B is dismissed: the next share ends it, with no target.
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    sim::ShareUIDismiss(window_);
    ASSERT_EQ(ShareText(L"C", L"text"), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 2; }));
    EXPECT_EQ(completions_.at(1).target, "");
    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    WinRTSharingTerminate();
    sim::ShareUIDismiss(window_);
}

// Once the host is told (its callback, or Terminate returning), its bytes are
// never read again: ending a share waits for a copy in progress.
TEST_F(SharingLifetimeTest, EndingAShareWaitsForACopyOfTheHostsBytesInProgress) {
    for (bool terminate : {false, true}) {
        SCOPED_TRACE(terminate ? "WinRTSharingTerminate" : "ShareCompleted");
        ASSERT_EQ(ShareBytes(), S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        sim::HoldNext("IDataWriter.WriteBytes");
        sim::Background target([&] { sim::ShareUIRequestBitmap(window_); });
        ASSERT_TRUE(sim::WaitUntilHeld("IDataWriter.WriteBytes"));
        std::atomic<bool> ended{false};
        // Another host thread (with COM, as every caller needs) ends the share.
        auto ending = RuntimeThread([&] {
            if (terminate) {
                WinRTSharingTerminate();
            } else {
                sim::ShareUIComplete(window_);
            }
            ended = true;
        });
        sim::PumpFor(200);
        EXPECT_FALSE(ended) << "the share ended while its bytes were being copied";
        EXPECT_EQ(completions_.count(), terminate ? 1u : 0u);
        sim::Release("IDataWriter.WriteBytes");
        ending.join();
        EXPECT_TRUE(target.Finish());
        const uint64_t copied = sim::DataWriterBytesCopied();
        EXPECT_EQ(copied % image_.size(), 0u);
        if (!terminate) {
            ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
        }
        sim::ShareUIDismiss(window_);
        sim::PumpFor(20);
        EXPECT_EQ(sim::DataWriterBytesCopied(), copied);

    }
    EXPECT_EQ(completions_.count(), 1u);
}

// A host that starts its next share from inside a completion callback gets two
// correct shares: one DataRequested handler, one kind of content, one callback each.
TEST_F(SharingLifetimeTest, ShareStartedFromACompletionCallbackLeavesBothSharesCorrect) {
    struct Host {
        SharingLifetimeTest* test;
        int calls = 0;
        HRESULT next = E_PENDING;
        static void TAVLET_CALL OnData(const char*, void* self, const void*) {
            auto* host = static_cast<Host*>(self);
            if (++host->calls == 1) host->next = host->test->ShareText(L"Next", L"from the callback");
        }
    } host{this};
    ASSERT_EQ(WinRTShareDataForWindow(window_, L"First", nullptr, nullptr, image_.data(), image_.size(), &host,
                                      &Host::OnData, nullptr),
              S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    sim::ShareUIDismiss(window_);
    // The window's next share ends the dismissed one on this thread: its
    // callback runs at once and starts a third share.
    ASSERT_EQ(WinRTShareDataForWindow(window_, L"Second", nullptr, nullptr, image_.data(), image_.size(), &host,
                                      &Host::OnData, nullptr),
              S_OK);
    sim::PumpFor(20);
    EXPECT_EQ(host.next, S_OK);
    EXPECT_EQ(host.calls, 2);  // the second share, replaced by the third, ended too
    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 1);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    auto package = sim::ShareUIPackage(window_);
    EXPECT_EQ(package.title, L"Next");
    EXPECT_TRUE(package.hasText);
    EXPECT_TRUE(package.formats.empty());
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    WinRTSharingTerminate();
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

// DataRequested that was already running when its share ended does nothing
// more and registers nothing (no ShareCompleted left behind).
TEST_F(SharingLifetimeTest, HandlerOfAShareEndedMeanwhileRegistersNothing) {
    ASSERT_EQ(ShareBytes(), S_OK);
    sim::HoldNext("IDataRequest.get_Data");
    sim::Background ui([&] { sim::ShareUIRequestData(window_); });
    ASSERT_TRUE(sim::WaitUntilHeld("IDataRequest.get_Data"));
    WinRTSharingTerminate();
    sim::Release("IDataRequest.get_Data");
    ASSERT_TRUE(ui.Finish());
    EXPECT_EQ(sim::ShareUIPackage(window_).shareCompletedHandlers, 0);
    EXPECT_EQ(Handlers(L"DataRequested") + Handlers(L"TargetApplicationChosen"), 0);
    sim::ShareUIDismiss(window_);
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

TEST_F(SharingLifetimeTest, FileLookupCompletingAfterTerminateOnlyLetsGo) {
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
    AssetFile file(L"-late.png");
    const std::string path(file.path.begin(), file.path.end());
    ASSERT_EQ(WinRTShareFileForWindow(window_, L"File", nullptr, path.c_str(), &completions_, &Completions::OnFile,
                                      nullptr),
              S_OK);
    WinRTSharingTerminate();
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    EXPECT_EQ(sim::ShareUIShows(window_), 0);
    EXPECT_EQ(Handlers(L"DataRequested"), 0);
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

// A handler whose removal the runtime refused stays registered, but its ended
// share never acts again: a later share's package holds only its own content.
// WinRTSharingTerminate retries the removal, and nothing is left alive.
TEST_F(SharingLifetimeTest, RefusedRemovalNeverLetsAnEndedShareActAgain) {
    sim::FailNext("IDataTransferManager.remove_DataRequested", 1, E_FAIL);
    ASSERT_EQ(ShareText(L"Text share", L"secret"), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    EXPECT_EQ(Handlers(L"DataRequested"), 1);  // refused
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);

    ASSERT_EQ(ShareBytes(L"Image share"), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    auto package = sim::ShareUIPackage(window_);
    EXPECT_EQ(package.title, L"Image share");
    EXPECT_FALSE(package.hasText);
    EXPECT_FALSE(package.hasDescription);
    EXPECT_EQ(package.formats, std::vector<std::wstring>{L"Bitmap"});
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));

    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    WinRTSharingTerminate();
    EXPECT_EQ(Handlers(L"DataRequested"), 0);
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

// Each runtime call that starts a share can fail: the host gets its code, no
// callback, nothing stays registered, and the window's earlier share goes on.
TEST_F(SharingLifetimeTest, FailedSetUpReturnsTheRuntimesCodeAndEndsNothingElse) {
    const char* steps[] = {
        "IDataTransferManagerInterop.GetForWindow",
        "IDataTransferManager.add_DataRequested",
        "IDataTransferManager.add_TargetApplicationChosen",
        "IApiInformationStatics.IsEventPresent",
        "IDataTransferManager2.add_ShareProvidersRequested",
        "IDataTransferManagerInterop.ShowShareUIForWindow",
    };
    _WinRTShareProvider* provider = nullptr;  // offered, though it has no runtime provider yet
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    ASSERT_EQ(ShareBytes(L"Earlier"), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    sim::ShareUIDismiss(window_);
    for (const char* step : steps) {
        SCOPED_TRACE(step);
        sim::FailNext(step, 1, E_ACCESSDENIED);
        EXPECT_EQ(WinRTShareDataForWindow(window_, L"Failing", nullptr, nullptr, image_.data(), image_.size(),
                                          &completions_, &Completions::OnData, provider),
                  E_ACCESSDENIED);
        sim::PumpFor(10);
        EXPECT_EQ(completions_.count(), 0u);
        EXPECT_EQ(Handlers(L"DataRequested") + Handlers(L"TargetApplicationChosen"), 1);  // the earlier share's
    }
    sim::FailNext("IDataTransferManager.add_DataRequested", 1, E_OUTOFMEMORY);
    EXPECT_EQ(ShareBytes(L"Failing"), E_FAIL);  // an allocation failure is E_FAIL here
    // A file share that cannot start its lookup.
    for (const char* step : {"IStorageFileStatics.GetFileFromPathAsync", "IAsyncOperation.put_Completed"}) {
        SCOPED_TRACE(step);
        sim::FailNext(step, 1, E_ACCESSDENIED);
        EXPECT_EQ(WinRTShareFileForWindow(window_, L"File", nullptr, "C:\\any.png", &completions_,
                                          &Completions::OnFile, nullptr),
                  E_ACCESSDENIED);
    }
    sim::WaitForFileLoads();
    EXPECT_EQ(sim::ShareUIShows(window_), 1);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
    WinRTSharingTerminate();
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

// Without DataPackage.ShareCompleted the share ends when the UI lets its
// package go: one callback, with the chosen target.
TEST_F(SharingLifetimeTest, WithoutShareCompletedTheShareEndsWhenThePackageGoes) {
    sim::SetDataPackage3Present(false);
    sim::SetEventPresent(L"Windows.ApplicationModel.DataTransfer.DataPackage", L"ShareCompleted", false);
    ASSERT_EQ(ShareBytes(), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
    ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
    sim::PumpFor(20);
    EXPECT_EQ(completions_.count(), 0u);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
    EXPECT_EQ(completions_.at(0).target, "Mail");
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

}  // namespace
