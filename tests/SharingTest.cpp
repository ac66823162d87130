// Sharing from a window: what the package gets, one completion per share on
// the host's UI thread, file shares, the end of every share, and shares whose
// runtime side races the host (the host's bytes fenced off once it is told,
// shares started from a callback, Terminate while a share is in flight,
// refused removals, failed set-ups).
#include "Host.h"

#include <list>
#include <mutex>
#include <thread>

namespace {

// Every host callback as it arrived: its target, file, bytes and thread.
struct Completion {
    std::string target, path;
    const void* data;
    DWORD thread;
};

class SharingTest : public ApartmentTest {
public:
    HRESULT ShareBytes(const wchar_t* title = L"Photo", HWND window = nullptr, uint64_t size = 0) {
        return WinRTShareDataForWindow(window ? window : window_, title, nullptr, nullptr, image_.data(),
                                       size ? size : image_.size(), this, &OnData, nullptr);
    }
    HRESULT ShareText(const wchar_t* title, _WinRTShareProvider* provider = nullptr) {
        return WinRTShareDataForWindow(window_, title, L"about", L"text", nullptr, 0, nullptr, nullptr, provider);
    }
    HRESULT ShareFile(const char* path) {
        return WinRTShareFileForWindow(window_, L"Photo", L"about", path, this, &OnFile, nullptr);
    }
    long Handlers(const wchar_t* event = nullptr) {
        if (event) return sim::ShareEventHandlers(window_, event);
        return Handlers(L"DataRequested") + Handlers(L"TargetApplicationChosen");
    }
    static void TAVLET_CALL OnData(const char* target, void* self, const void* data) {
        static_cast<SharingTest*>(self)->Add({target ? target : "<null>", {}, data, GetCurrentThreadId()});
    }
    static void TAVLET_CALL OnFile(const char* target, void* self, const char* path) {
        static_cast<SharingTest*>(self)->Add({target ? target : "<null>", path, nullptr, GetCurrentThreadId()});
    }
    void Add(Completion call) {
        std::lock_guard guard(lock_);
        calls_.push_back(std::move(call));
    }
    std::vector<Completion> Told() {
        std::lock_guard guard(lock_);
        return calls_;
    }
    size_t Calls() { return Told().size(); }
    Completion At(size_t i) { return Told().at(i); }
    bool PumpUntilCalls(size_t count) {
        return sim::PumpUntil([&] { return Calls() == count; });
    }
    // The window's next share, an image, which gets only its own content.
    void ShareAnImageThatGetsOnlyItsOwn() {
        ASSERT_EQ(ShareBytes(L"Image share"), S_OK);
        ui_.Data().Providers({L"Mail"});
        EXPECT_EQ(sim::ShareUIProviderTitles(window_), std::vector<std::wstring>{L"Mail"});
        auto package = sim::ShareUIPackage(window_);
        EXPECT_EQ(package.title, L"Image share");
        EXPECT_FALSE(package.hasDescription || package.hasText);
        EXPECT_EQ(package.formats, std::vector<std::wstring>{L"Bitmap"});
        EXPECT_TRUE(package.storageItems.empty());
        EXPECT_EQ(package.shareCompletedHandlers, 1);
        ui_.Complete();
    }

    host::Window window_;
    const host::ShareUI ui_{window_};
    std::mutex lock_;
    std::vector<Completion> calls_;
    const std::string image_ = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(4000, 'B');
};

TEST_F(SharingTest, UnavailableSharingIsRefusedFirstAndAMissingFileSucceedsAndDoesNothing) {
    EXPECT_EQ(WinRTSharingIsAvailable(), 1);
    sim::SetSharingSupported(false);
    EXPECT_EQ(WinRTSharingIsAvailable(), 0);
    EXPECT_EQ(ShareBytes(), E_NOINTERFACE);
    EXPECT_EQ(ShareFile(nullptr), E_NOINTERFACE);
    sim::SetSharingSupported(true);
    EXPECT_EQ(ShareFile(nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    ASSERT_EQ(ShareFile("C:\\no\\such\\file.png"), S_OK);
    sim::WaitForFileLoads();
    EXPECT_EQ(sim::ShareUIShows(window_), 0);
}

// Each kind of share as the UI walks it: the package holds only what was
// given (a null or empty title or description is not set; without bytes the
// text, empty when null; bytes as Bitmap only, copied once when a target asks;
// a file found on a runtime thread, opened from this thread's loop). Bytes and
// files call back once, on this thread, with the target in UTF-8, when the
// share completes (without DataPackage.ShareCompleted: when the UI lets the
// package go); each handler removes itself once it has run.
TEST_F(SharingTest, EachKindOfShareGetsWhatWasGivenAndCallsBackOnce) {
    host::TempFile file(L"-shared.png");
    const std::string path(file.path.begin(), file.path.end());
    enum Kind { Text, Bytes, File, BytesWithoutShareCompleted };
    const struct {
        Kind kind;
        const wchar_t *title, *description, *text;
        const char* data;  // bytes given with a text share: a size of 0, or none
        uint64_t size;
        const wchar_t* target;  // null: none chosen
        const char* told;       // the callback's target; null: none
    } rows[] = {
        {Text, nullptr, nullptr, L"hello", nullptr, 10, L"Mail", nullptr},
        {Text, L"", L"", L"hello", "abc", 0, L"Mail", nullptr},
        {Text, L"Photo", nullptr, nullptr, nullptr, 0, L"Mail", nullptr},
        {Text, nullptr, L"Holiday", L"hi", "abc", 0, L"Mail", nullptr},
        {File, L"Photo", L"Holiday", nullptr, nullptr, 0, L"Mail", "Mail"},
        {Bytes, L"Photo", L"Holiday", L"caption", image_.data(), image_.size(), L"Почта \u2709 \U0001F4E7",
         "\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0 \xE2\x9C\x89 \xF0\x9F\x93\xA7"},
        {Bytes, nullptr, nullptr, nullptr, image_.data(), image_.size(), nullptr, ""},
        {BytesWithoutShareCompleted, nullptr, nullptr, nullptr, image_.data(), image_.size(), L"Mail", "Mail"},
    };
    auto given = [](const wchar_t* text) { return text && *text ? std::wstring(text) : L"<unset>"; };
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        const size_t before = Calls();
        const uint64_t copied = sim::DataWriterBytesCopied();
        if (row.kind == BytesWithoutShareCompleted) {
            sim::SetDataPackage3Present(false);
            sim::SetEventPresent(L"Windows.ApplicationModel.DataTransfer.DataPackage", L"ShareCompleted", false);
        }
        if (row.kind == File) {
            ASSERT_EQ(WinRTShareFileForWindow(window_, row.title, row.description, path.c_str(), this, &OnFile, nullptr),
                      S_OK);
            const long shows = sim::ShareUIShows(window_);
            std::thread([] { sim::CompleteFileLoads(); }).join();
            EXPECT_EQ(sim::ShareUIShows(window_), shows);
            ASSERT_TRUE(sim::PumpUntil([&] { return sim::ShareUIShows(window_) == shows + 1; }));
        } else {
            ASSERT_EQ(WinRTShareDataForWindow(window_, row.title, row.description, row.text, row.data, row.size, this,
                                              &OnData, nullptr),
                      S_OK);
        }
        EXPECT_EQ(Handlers(), 2);
        ui_.Data();
        EXPECT_EQ(Handlers(L"DataRequested"), 0);
        auto package = sim::ShareUIPackage(window_);
        EXPECT_EQ(package.hasTitle ? package.title : L"<unset>", given(row.title));
        EXPECT_EQ(package.hasDescription ? package.description : L"<unset>", given(row.description));
        EXPECT_EQ(package.hasText, row.kind == Text);
        EXPECT_EQ(package.text, row.kind == Text && row.text ? row.text : L"");
        EXPECT_EQ(package.formats.size(), row.kind == Text || row.kind == File ? 0u : 1u);  // Bitmap
        EXPECT_EQ(package.storageItems, std::vector<std::wstring>(row.kind == File, file.path));
        if (row.target) ui_.Target(row.target);
        EXPECT_EQ(Handlers(L"TargetApplicationChosen"), row.target ? 0 : 1);
        if (row.kind == Bytes || row.kind == BytesWithoutShareCompleted) {
            EXPECT_EQ(sim::DataWriterBytesCopied(), copied);
            ui_.Bitmap();
            package = sim::ShareUIPackage(window_);
            EXPECT_EQ(package.formats, std::vector<std::wstring>{L"Bitmap"});
            EXPECT_TRUE(package.bitmapDeferralCompleted);
            EXPECT_TRUE(package.bitmapDelivered);  // the stream is still open: the writer was detached
            EXPECT_EQ(sim::ShareUIBitmapBytes(window_), image_);
        }
        EXPECT_EQ(sim::DataWriterBytesCopied(), copied + (row.data && row.size ? image_.size() : 0));
        sim::PumpFor(20);
        EXPECT_EQ(Calls(), before);
        ui_.Complete();
        ASSERT_TRUE(PumpUntilCalls(before + (row.told ? 1 : 0)));
        if (!row.told) continue;
        const Completion call = At(before);
        EXPECT_EQ(call.target, row.told);
        EXPECT_EQ(call.thread, GetCurrentThreadId());
        EXPECT_EQ(call.data, row.kind == File ? nullptr : image_.data());
        EXPECT_EQ(call.path, row.kind == File ? path : "");
    }
    sim::PumpFor(20);
    EXPECT_EQ(Calls(), 4u);
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

// Larger shares are written in pieces of 4 MiB, four GiB or more never
// truncated (the writer here only counts).
TEST_F(SharingTest, BytesAreWrittenInPiecesAndNeverTruncated) {
    sim::SetDataWriterCopiesBytes(false);
    ASSERT_EQ(ShareBytes(L"Photo", nullptr, 0x100000002ull), S_OK);
    ui_.Data().Bitmap();
    std::vector<uint32_t> pieces(1024, 4u << 20);
    pieces.push_back(2);
    EXPECT_EQ(sim::DataWriterWriteSizes(), pieces);
    EXPECT_EQ(sim::ShareUIPackage(window_).bitmapSize, 0x100000002ull);
    ui_.Complete();
}


// A completion raised on a runtime thread waits for the host's message loop;
// Terminate silences every share, even one whose completion is queued there.
TEST_F(SharingTest, RuntimeThreadCompletionsArriveThroughTheMessageLoopUntilTerminate) {
    // One more share open in another window, its bytes not yet asked for.
    host::Window other;
    ASSERT_EQ(ShareBytes(L"Photo", other), S_OK);
    host::ShareUI{other}.Data();
    for (size_t share = 0; share < 2; ++share) {
        ASSERT_EQ(ShareBytes(), S_OK);
        ui_.Data().Target();
        // Raised on a runtime thread while this thread does not pump.
        std::thread([&] { sim::ShareUIComplete(window_); }).join();
        EXPECT_EQ(Calls(), share);
        ASSERT_TRUE(share > 0 || PumpUntilCalls(1));
    }
    EXPECT_EQ(At(0).thread, GetCurrentThreadId());
    EXPECT_EQ(At(0).target, "Mail");

    // The second share's completion is queued for this thread's loop.
    WinRTSharingTerminate();
    sim::PumpFor(0);
    // The host may free its bytes now: they are no longer read, and the
    // target's request fails.
    EXPECT_EQ(sim::ShareUIRequestBitmap(other), HRESULT(0x8000000E));  // E_ILLEGAL_METHOD_CALL
    EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);
    host::ShareUI{other}.Complete();

    ASSERT_EQ(ShareBytes(), S_OK);
    EXPECT_EQ(sim::ShareUIShows(window_), 3);
    ui_.Data().Complete();
    sim::PumpFor(0);
    EXPECT_EQ(Calls(), 1u);
}

// A dismissed share ends with the window's next share, with no target, and
// registrations never pile up; one with a chosen target is delivered and
// completes beside it.
TEST_F(SharingTest, DismissedSharesEndWithTheWindowsNextShareAndChosenOnesLiveBesideIt) {
    constexpr size_t kShares = 20;
    for (size_t i = 0; i < kShares; ++i) {
        ASSERT_EQ(ShareBytes(), S_OK);
        EXPECT_EQ(Handlers(), 2);
        ui_.Data().Dismiss();
        EXPECT_EQ(Calls(), i);
    }
    ASSERT_EQ(ShareBytes(L"A"), S_OK);
    ASSERT_TRUE(PumpUntilCalls(kShares));
    EXPECT_EQ(At(kShares - 1).target, "");
    ui_.Data().Target();
    ASSERT_EQ(ShareBytes(L"B"), S_OK);
    sim::PumpFor(50);
    EXPECT_EQ(Calls(), kShares);
    ASSERT_EQ(sim::ShareTargetsDelivering(window_), 1);
    EXPECT_EQ(sim::ShareTargetRequestBitmap(window_), S_OK);
    EXPECT_EQ(sim::ShareTargetBitmapBytes(window_), image_);
    EXPECT_EQ(sim::ShareTargetComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntilCalls(kShares + 1));
    EXPECT_EQ(At(kShares).target, "Mail");
    ui_.Data().Complete();
    ASSERT_TRUE(PumpUntilCalls(kShares + 2));
}

// Once the host is told (its callback, or Terminate returning), its bytes are
// never read again. The bytes are copied a piece at a time (4 MiB): whoever
// ends the share waits for the piece being copied, also when another thread
// is ending it already, and no piece starts after.
TEST_F(SharingTest, EndingAShareWaitsForThePieceOfTheHostsBytesBeingCopied) {
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
        ASSERT_EQ(WinRTShareDataForWindow(window_, L"Big", nullptr, nullptr, big.data(), big.size(), this, &OnData,
                                          nullptr),
                  S_OK);
        ui_.Data();
        if (row.enders[0] != NextShare) ui_.Target();
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
                        if (ender == NextShare) ShareText(L"Next");
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
TEST_F(SharingTest, ShareStartedFromACompletionCallbackLeavesBothSharesCorrect) {
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
        if (host.calls == 0) ui_.Data().Dismiss();
    }
    sim::PumpFor(20);
    EXPECT_EQ(host.next, S_OK);
    EXPECT_EQ(host.calls, 2);  // the second share, replaced by the third, ended too
    EXPECT_EQ(Handlers(L"DataRequested"), 1);
    EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 1);
    ui_.Data();
    auto package = sim::ShareUIPackage(window_);
    EXPECT_EQ(package.title, L"Next");
    EXPECT_TRUE(package.hasText);
    EXPECT_TRUE(package.formats.empty());
    ui_.Complete();
    WinRTSharingTerminate();
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

// Terminate while part of a share is in flight: DataRequested already running
// does nothing more and registers nothing (no ShareCompleted left behind); a
// file lookup completing afterwards only lets go.
TEST_F(SharingTest, TerminateWhileAShareIsInFlightLeavesNothingThatActsLater) {
    host::TempFile file(L"-late.png");
    const std::string path(file.path.begin(), file.path.end());
    for (bool lookup : {false, true}) {
        SCOPED_TRACE(lookup ? "file lookup" : "DataRequested");
        if (lookup) {
            sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
            ASSERT_EQ(ShareFile(path.c_str()), S_OK);
            WinRTSharingTerminate();
            EXPECT_EQ(sim::CompleteFileLoads(), 1);
        } else {
            ASSERT_EQ(ShareBytes(), S_OK);
            host::WhileHeld("IDataRequest.get_Data", [&] { sim::ShareUIRequestData(window_); }, WinRTSharingTerminate);
            EXPECT_EQ(sim::ShareUIPackage(window_).shareCompletedHandlers, 0);
            ui_.Dismiss();
        }
        EXPECT_EQ(sim::ShareUIShows(window_), 1);  // the first row's alone
        EXPECT_EQ(Handlers(), 0);
        EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
    }
}

// A failure at any step of DataRequested ends that share, target chosen or
// not: it never answers the window's next share, whose package holds exactly
// its own content.
TEST_F(SharingTest, ShareWhoseDataRequestedFailedNeverWritesIntoTheNextPackage) {
    host::TempFile file(L"-failed.png");
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
            ASSERT_EQ(ShareFile(path.c_str()), S_OK);
            ASSERT_TRUE(sim::PumpUntil([&] { return sim::IsShareUIOpen(window_); }));
        } else {
            ASSERT_EQ(row.kind == Bytes ? ShareBytes(L"Failing") : ShareText(L"Text share"), S_OK);
        }
        sim::FailNext(row.step, 1, E_ACCESSDENIED);
        EXPECT_EQ(sim::ShareUIRequestData(window_), E_ACCESSDENIED);
        EXPECT_EQ(Handlers(), 0);
        ui_.Target().Complete();
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
TEST_F(SharingTest, RefusedRemovalLeavesTheRuntimeOnlyAHandlerThatNeverActsAgain) {
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
    host::TempFile icon(L"-refused.png");
    const std::wstring uri = icon.uri();
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

// Each runtime call that starts a share can fail: the host gets its code, no
// callback, nothing stays registered, and the window's earlier share goes on.
TEST_F(SharingTest, FailedSetUpReturnsTheRuntimesCodeAndEndsNothingElse) {
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
    ui_.Data().Dismiss();
    for (const char* step : steps) {
        SCOPED_TRACE(step);
        sim::FailNext(step, 1, E_ACCESSDENIED);
        EXPECT_EQ(WinRTShareDataForWindow(window_, L"Failing", nullptr, nullptr, image_.data(), image_.size(), this,
                                          &OnData, provider),
                  E_ACCESSDENIED);
        sim::PumpFor(10);
        EXPECT_EQ(Calls(), 0u);
        EXPECT_EQ(Handlers(), 1);  // the earlier share's
    }
    sim::FailNext("IDataTransferManager.add_DataRequested", 1, E_OUTOFMEMORY);
    EXPECT_EQ(ShareBytes(L"Failing"), E_FAIL);  // an allocation failure is E_FAIL here
    // A file share that cannot start its lookup.
    for (const char* step : {"IStorageFileStatics.GetFileFromPathAsync", "IAsyncOperation.put_Completed"}) {
        sim::FailNext(step, 1, E_ACCESSDENIED);
        EXPECT_EQ(ShareFile("C:\\any.png"), E_ACCESSDENIED) << step;
    }
    sim::WaitForFileLoads();
    EXPECT_EQ(sim::ShareUIShows(window_), 1);
    EXPECT_EQ(_WinRTShareProvider_Dealloc(provider), S_OK);
    WinRTSharingTerminate();
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

}  // namespace
