// Shares whose runtime side races the host: the host's bytes fenced off once
// it is told, shares started from a callback, Terminate while a share is in
// flight, failed handlers, refused removals and failed set-ups.
#include "SharingHost.h"

#include <list>
#include <thread>

namespace {

using sharing_test::SharingTest;

// Once the host is told (its callback, or Terminate returning), its bytes are
// never read again. The bytes are copied a piece at a time (4 MiB): whoever
// ends the share waits for the piece being copied, also when another thread
// is ending it already, and no piece starts after.
TEST_P(SharingTest, EndingAShareWaitsForThePieceOfTheHostsBytesBeingCopied) {
    enum Ender { Completed, Terminate };
    const struct {
        const char* name;
        std::vector<Ender> enders;  // each on its own host thread, in this order
    } rows[] = {{"ShareCompleted", {Completed}},
                {"Terminate while ShareCompleted ends it", {Completed, Terminate}},
                {"Terminate", {Terminate}},
                {"two Terminates at once", {Terminate, Terminate}}};
    const std::string big(9 << 20, 'D');
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const uint64_t copiedBefore = sim::DataWriterBytesCopied();
        ASSERT_EQ(ShareBytes(L"Big", big.size(), big.data()), S_OK);
        ui_.Data().Target();
        std::atomic<int> returned{0};
        std::list<sim::Background> threads;
        host::WhileHeld(
            "IDataWriter.WriteBytes", [&] { sim::ShareUIRequestBitmap(window_); },
            [&] {
                const size_t told = Calls();
                for (Ender ender : row.enders) {
                    threads.emplace_back([&, ender] {
                        if (ender == Completed) sim::ShareUIComplete(window_);
                        if (ender == Terminate) WinRTSharingTerminate();
                        ++returned;
                    });
                    sim::PumpFor(100);
                }
                EXPECT_EQ(returned, 0) << "a share ended while its bytes were being copied";
                EXPECT_EQ(Calls(), told);
            });
        for (auto& thread : threads) EXPECT_TRUE(thread.Finish());
        sim::PumpFor(50);
        EXPECT_EQ(sim::DataWriterBytesCopied() - copiedBefore, 4u << 20);  // the piece in progress, no other
        ui_.Dismiss();
        WinRTSharingTerminate();
    }
}

// A host that starts its next share from inside a completion callback gets two
// correct shares: one DataRequested handler, one kind of content, one callback each.
TEST_P(SharingTest, ShareStartedFromACompletionCallbackLeavesBothSharesCorrect) {
    struct Host {
        SharingTest* test;
        int calls = 0;
        HRESULT next = E_PENDING;
    } host{this};
    auto onData = [](const char*, void* self, const void*) {
        if (auto* host = static_cast<Host*>(self); ++host->calls == 1) host->next = host->test->ShareText(L"Next");
    };
    for (const wchar_t* title : {L"First", L"Second"}) {
        // The window's next share ends the dismissed one on this thread: its
        // callback runs at once and starts a third share.
        ASSERT_EQ(WinRTShareDataForWindow(window_, title, nullptr, nullptr, image_.data(), image_.size(), &host, onData,
                                          nullptr),
                  S_OK);
        if (host.calls == 0) ui_.Data().CopyLink();
    }
    sim::PumpFor(20);
    EXPECT_EQ(host.next, S_OK);
    EXPECT_EQ(host.calls, 2);  // the second share, replaced by the third, ended too
    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 1);
    ui_.Data().Complete();
    const auto p = sim::ShareUIPackage(window_);
    EXPECT_EQ(std::tuple(p.title, p.hasText, p.formats.size()), std::tuple(L"Next", true, 0u));
}

// Terminate while part of a share is in flight: nothing acts later, and no
// callback comes after it, not even a later share's. DataRequested already
// running registers nothing (no ShareCompleted left behind); a file lookup
// completing afterwards only lets go; a completion queued for the message loop
// calls nothing; bytes a target asks for afterwards (the host may free them
// now) are never read.
TEST_P(SharingTest, TerminateWhileAShareIsInFlightLeavesNothingThatActsLater) {
    enum InFlight { DataRequested, FileLookup, QueuedCompletion, UnreadBytes, LaterShare };
    for (InFlight row : {DataRequested, FileLookup, QueuedCompletion, UnreadBytes, LaterShare}) {
        SCOPED_TRACE(row);
        const long shows = sim::ShareUIShows(window_);
        if (row == FileLookup) {
            sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
            ASSERT_EQ(ShareFile(path_.c_str()), S_OK);
            WinRTSharingTerminate();
            EXPECT_EQ(sim::CompleteFileLoads(), 1);
        } else if (row == DataRequested) {
            ASSERT_EQ(ShareBytes(), S_OK);
            host::WhileHeld("IDataRequest.get_Data", [&] { sim::ShareUIRequestData(window_); }, WinRTSharingTerminate,
                            true);
            EXPECT_EQ(sim::ShareUIPackage(window_).shareCompletedHandlers, 0);
            ui_.Dismiss();
        } else {
            ASSERT_EQ(ShareBytes(), S_OK);
            ui_.Data().Target();
            // Raised on a runtime thread while this thread does not pump.
            if (row != UnreadBytes) std::thread([&] { sim::ShareUIComplete(window_); }).join();
            if (row != LaterShare) WinRTSharingTerminate();
            if (row == UnreadBytes) (void)sim::ShareUIRequestBitmap(window_), ui_.Complete();
        }
        sim::PumpFor(20);
        EXPECT_EQ(Calls(), 0u);
        EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);
        EXPECT_EQ(sim::ShareUIShows(window_), shows + (row != FileLookup));
        EXPECT_EQ(Handlers(), 0);
        EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
    }
}

// A failure at any step of DataRequested ends that share, target chosen or
// not: it never answers the window's next share, whose package holds exactly
// its own content.
TEST_P(SharingTest, ShareWhoseDataRequestedFailedNeverWritesIntoTheNextPackage) {
    enum Kind { Text, Bytes, File };
    const struct {
        const char* step;
        Kind kind;
    } rows[] = {{"IApiInformationStatics.IsEventPresent", Text}, {"IDataRequestedEventArgs.get_Request", Text},
                {"IDataRequest.get_Data", Text}, {"IDataPackage.get_Properties", Text},
                {"IDataPackagePropertySet.put_Title", Text}, {"IDataPackagePropertySet.put_Description", Text},
                {"IDataPackage.SetText", Text}, {"IDataPackage.SetDataProvider", Bytes},
                {"IDataPackage.SetStorageItemsReadOnly", File}, {"IDataPackage3.add_ShareCompleted", Text},
                {"IDataPackage4.add_ShareCanceled", Text}};
    size_t callbacks = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        if (row.kind == File) {
            ASSERT_EQ(ShareFile(path_.c_str()), S_OK);
            ASSERT_TRUE(sim::PumpUntil([&] { return sim::IsShareUIOpen(window_); }));
        } else {
            ASSERT_EQ(row.kind == Bytes ? ShareBytes(L"Failing") : ShareText(L"Text share"), S_OK);
        }
        sim::FailNext(row.step, 1, E_ACCESSDENIED);
        EXPECT_EQ(sim::ShareUIRequestData(window_), E_ACCESSDENIED);
        EXPECT_EQ(Handlers(), 0);
        sim::ShareUIPackage(window_).failed ? ui_.Dismiss() : ui_.Target().Complete();
        callbacks += row.kind == Text ? 0 : 1;  // the ended share's, with no target
        ASSERT_TRUE(PumpUntilCalls(callbacks));

        ShareAnImageThatGetsOnlyItsOwn();
        ASSERT_TRUE(PumpUntilCalls(++callbacks));
    }
    EXPECT_EQ(At(0).target, "");
}

// A removal the runtime refuses leaves it only the handler, which holds nothing
// of the share (what stays is the event's source, for the retry): the ended
// share never acts again, even for a provider, and the removal is tried again
// at a share's end and at WinRTSharingTerminate.
TEST_P(SharingTest, RefusedRemovalLeavesTheRuntimeOnlyAHandlerThatNeverActsAgain) {
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
    const std::wstring uri = file_.uri();
    _WinRTShareProvider* provider = nullptr;
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    _WinRTShareProviderInitArgs args{48, L"Tavlet", uri.c_str(), 0, [](void*, _WinRTShareProviderOperation*) {}, nullptr};
    ASSERT_EQ(_WinRTShareProvider_InitWithArgs(provider, &args), S_OK);
    sim::WaitForFileLoads();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.removal);
        const long before = sim::LiveObjects();
        if (row.refusals == kAlways) sim::FailAlways(row.removal, E_FAIL);
        if (row.refusals != kAlways) sim::FailNext(row.removal, row.refusals, E_FAIL);
        ASSERT_EQ(ShareText(L"Secret", provider), S_OK);
        ui_.Data().Providers({L"Mail"}).Target().Complete();
        EXPECT_EQ(row.event ? Handlers(row.event) : sim::ShareUIPackage(window_).shareCompletedHandlers, row.registered);
        EXPECT_EQ(sim::LiveObjects() - before, row.live);

        ShareAnImageThatGetsOnlyItsOwn();
        sim::ClearFaults();
        WinRTSharingTerminate();
        EXPECT_EQ(row.event ? Handlers(row.event) : 0, 0);
        EXPECT_EQ(sim::LiveObjects(), before);  // the package too
    }
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
}

// Each runtime call that starts a share can fail: the host gets its code (an
// allocation failure is E_FAIL here), no callback, nothing stays registered,
// and the window's earlier share goes on.
TEST_P(SharingTest, FailedSetUpReturnsTheRuntimesCodeAndEndsNothingElse) {
    const struct {
        const char* step;
        HRESULT fault = E_ACCESSDENIED, told = E_ACCESSDENIED;
        bool file = false;  // a file share that cannot start its lookup
    } rows[] = {{"IDataTransferManagerInterop.GetForWindow"}, {"IDataTransferManager.add_DataRequested"},
                {"IDataTransferManager.add_DataRequested", E_OUTOFMEMORY, E_FAIL},
                {"IDataTransferManager.add_TargetApplicationChosen"}, {"IApiInformationStatics.IsEventPresent"},
                {"IDataTransferManager2.add_ShareProvidersRequested"},
                {"IDataTransferManagerInterop.ShowShareUIForWindow"},
                {"IStorageFileStatics.GetFileFromPathAsync", E_ACCESSDENIED, E_ACCESSDENIED, true},
                {"IAsyncOperation.put_Completed", E_ACCESSDENIED, E_ACCESSDENIED, true}};
    _WinRTShareProvider* provider = nullptr;  // offered, though it has no runtime provider yet
    ASSERT_EQ(_WinRTShareProvider_Alloc(&provider), S_OK);
    ASSERT_EQ(ShareBytes(L"Earlier"), S_OK);
    ui_.Data().CopyLink();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        sim::FailNext(row.step, 1, row.fault);
        EXPECT_EQ(row.file ? ShareFile("C:\\any.png")
                           : WinRTShareDataForWindow(window_, L"Failing", nullptr, nullptr, image_.data(),
                                                     image_.size(), this, &OnData, provider),
                  row.told);
        sim::PumpFor(10);
        EXPECT_EQ(Calls(), 0u);
        EXPECT_EQ(Handlers(), 1);  // the earlier share's
    }
    // Off the window's thread, the window's manager is out of reach.
    sim::Background([&] { EXPECT_EQ(ShareBytes(L"Failing"), RPC_E_WRONG_THREAD); }).Finish();
    sim::WaitForFileLoads();
    EXPECT_EQ(sim::ShareUIShows(window_), 1);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
    WinRTSharingTerminate();
}

// A target waits for the bytes until the deadline only: bytes handed over
// later are ignored and counted, and the share still ends once. (The modelled
// deadline's own test; the library's part is that it ends the share.)
TEST_P(SharingTest, BytesHandedOverAfterTheDeadlineAreIgnoredAndCounted) {
    sim::SetDataProviderDeadline(100);
    ASSERT_EQ(ShareBytes(), S_OK);
    ui_.Data().Target();
    host::WhileHeld("IDataProviderRequest.SetData", [&] { sim::ShareUIRequestBitmap(window_); }, [] { sim::PumpFor(300); });
    EXPECT_TRUE(sim::WaitForRuntimeIdle());
    EXPECT_EQ(sim::LateProviderData(), 1);
    EXPECT_FALSE(sim::ShareUIPackage(window_).bitmapDelivered);
    ui_.Complete();
    ASSERT_TRUE(PumpUntilCalls(1));
}

}  // namespace
