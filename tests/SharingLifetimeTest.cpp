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
// never read again. The bytes are copied a piece at a time (4 MiB): whoever
// ends the share waits for the piece being copied, also when another thread
// is ending it already, and no piece starts after.
TEST_F(SharingLifetimeTest, EndingAShareWaitsForThePieceOfTheHostsBytesBeingCopied) {
    enum Ender { Completed, Terminate, NextShare };
    const struct {
        const char* name;
        std::vector<Ender> enders;  // each on its own host thread, in this order
    } rows[] = {{"ShareCompleted", {Completed}},
                {"the window's next share", {NextShare}},
                {"Terminate while ShareCompleted ends it", {Completed, Terminate}},
                {"Terminate", {Terminate}},
                {"two Terminates at once", {Terminate, Terminate}}};
    const std::string big(9 << 20, 'D');
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const uint64_t copiedBefore = sim::DataWriterBytesCopied();
        ASSERT_EQ(WinRTShareDataForWindow(window_, L"Big", nullptr, nullptr, big.data(), big.size(), &completions_,
                                          &Completions::OnData, nullptr),
                  S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        if (row.enders[0] != NextShare) {
            ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        }
        sim::HoldNext("IDataWriter.WriteBytes");
        sim::Background target([&] { sim::ShareUIRequestBitmap(window_); });
        ASSERT_TRUE(sim::WaitUntilHeld("IDataWriter.WriteBytes"));
        const size_t told = completions_.count();
        std::atomic<int> returned{0};
        std::vector<std::thread> threads;
        for (Ender ender : row.enders) {
            threads.push_back(RuntimeThread([&, ender] {
                if (ender == Completed) sim::ShareUIComplete(window_);
                if (ender == Terminate) WinRTSharingTerminate();
                if (ender == NextShare) ShareText(L"Next", L"text");
                ++returned;
            }));
            sim::PumpFor(100);
        }
        EXPECT_EQ(returned, 0) << "a share ended while its bytes were being copied";
        EXPECT_EQ(completions_.count(), told);
        sim::Release("IDataWriter.WriteBytes");
        for (auto& thread : threads) thread.join();
        EXPECT_TRUE(target.Finish());
        sim::PumpFor(50);
        EXPECT_EQ(sim::DataWriterBytesCopied() - copiedBefore, 4u << 20);  // the piece in progress, no other
        sim::ShareUIDismiss(window_);
        WinRTSharingTerminate();
    }
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

// A failure at any step of DataRequested ends that share, target chosen or
// not: it never answers the window's next share, whose package holds exactly
// its own content.
TEST_F(SharingLifetimeTest, ShareWhoseDataRequestedFailedNeverWritesIntoTheNextPackage) {
    AssetFile file(L"-failed.png");
    const std::string path(file.path.begin(), file.path.end());
    enum Kind { Text, Bytes, File };
    const struct {
        const char* step;
        Kind kind;
    } rows[] = {{"IApiInformationStatics.IsEventPresent", Text},  // is there a ShareCompleted event?
                {"IDataRequestedEventArgs.get_Request", Text},
                {"IDataRequest.get_Data", Text},
                {"IDataPackage.get_Properties", Text},
                {"IDataPackagePropertySet.put_Title", Text},
                {"IDataPackagePropertySet.put_Description", Text},
                {"IDataPackage.SetText", Text},
                {"IDataPackage.SetDataProvider", Bytes},
                {"IDataPackage.SetStorageItemsReadOnly", File},
                {"IDataPackage3.add_ShareCompleted", Text}};
    size_t callbacks = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        if (row.kind == File) {
            ASSERT_EQ(WinRTShareFileForWindow(window_, L"File share", L"about", path.c_str(), &completions_,
                                              &Completions::OnFile, nullptr),
                      S_OK);
            ASSERT_TRUE(PumpUntil([&] { return sim::IsShareUIOpen(window_); }));
        } else {
            ASSERT_EQ(row.kind == Bytes ? ShareBytes(L"Failing") : ShareText(L"Text share", L"secret"), S_OK);
        }
        sim::FailNext(row.step, 1, E_ACCESSDENIED);
        EXPECT_EQ(sim::ShareUIRequestData(window_), E_ACCESSDENIED);
        EXPECT_EQ(Handlers(L"DataRequested") + Handlers(L"TargetApplicationChosen"), 0);
        EXPECT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
        callbacks += row.kind == Text ? 0 : 1;  // the ended share's, with no target
        ASSERT_TRUE(PumpUntil([&] { return completions_.count() == callbacks; }));

        ASSERT_EQ(ShareBytes(L"Image share"), S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        auto package = sim::ShareUIPackage(window_);
        EXPECT_EQ(package.title, L"Image share");
        EXPECT_FALSE(package.hasDescription || package.hasText);
        EXPECT_EQ(package.formats, std::vector<std::wstring>{L"Bitmap"});
        EXPECT_TRUE(package.storageItems.empty());
        EXPECT_EQ(package.shareCompletedHandlers, 1);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
        ASSERT_TRUE(PumpUntil([&] { return completions_.count() == callbacks + 1; }));
        ++callbacks;
    }
    EXPECT_EQ(completions_.at(0).target, "");
}

// A removal the runtime refuses leaves it only the handler, which holds nothing
// of the share (what stays is the event's source, for the retry): the ended
// share never acts again, even for a provider, and the removal is tried again
// at a share's end and at WinRTSharingTerminate.
TEST_F(SharingLifetimeTest, RefusedRemovalLeavesTheRuntimeOnlyAHandlerThatNeverActsAgain) {
    constexpr int kAlways = -1;
    const struct {
        const char* removal;
        const wchar_t* event;  // null: the package's ShareCompleted
        int refusals;
        long registered, live;  // after the share's end
    } rows[] = {{"IDataTransferManager.remove_DataRequested", L"DataRequested", 1, 0, 0},  // retried at the end
                {"IDataTransferManager.remove_DataRequested", L"DataRequested", kAlways, 1, 1},
                {"IDataTransferManager.remove_TargetApplicationChosen", L"TargetApplicationChosen", kAlways, 1, 1},
                {"IDataTransferManager2.remove_ShareProvidersRequested", L"ShareProvidersRequested", kAlways, 1, 1},
                {"IDataPackage3.remove_ShareCompleted", nullptr, kAlways, 1, 2}};
    AssetFile icon(L"-refused.png");
    const std::wstring uri = L"ms-appx:///Assets/" + icon.name;
    _WinRTShareProvider* provider = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    _WinRTShareProviderInitArgs args{48, L"Tavlet", uri.c_str(), 0, [](void*, _WinRTShareProviderOperation*) {}, nullptr};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider, &args), S_OK);
    sim::WaitForFileLoads();
    auto registered = [&](const wchar_t* event) {
        return event ? Handlers(event) : sim::ShareUIPackage(window_).shareCompletedHandlers;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.removal);
        const long before = sim::LiveObjects();
        if (row.refusals == kAlways) sim::FailAlways(row.removal, E_FAIL);
        if (row.refusals != kAlways) sim::FailNext(row.removal, row.refusals, E_FAIL);
        ASSERT_EQ(WinRTShareDataForWindow(window_, L"Secret", L"about", L"secret", nullptr, 0, nullptr, nullptr,
                                          provider),
                  S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestProviders(window_, {L"Mail"}), S_OK);
        ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
        EXPECT_EQ(registered(row.event), row.registered);
        EXPECT_EQ(sim::LiveObjects() - before, row.live);

        ASSERT_EQ(ShareBytes(L"Image share"), S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIRequestProviders(window_, {L"Mail"}), S_OK);
        EXPECT_EQ(sim::ShareUIProviderTitles(window_), std::vector<std::wstring>{L"Mail"});
        auto package = sim::ShareUIPackage(window_);
        EXPECT_EQ(package.title, L"Image share");
        EXPECT_FALSE(package.hasDescription || package.hasText);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
        sim::ClearFaults();
        WinRTSharingTerminate();
        if (row.event) EXPECT_EQ(Handlers(row.event), 0);
        EXPECT_EQ(sim::LiveObjects(), before);  // the package too
    }
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
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
