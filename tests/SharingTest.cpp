// Sharing from a window: what the package gets, one completion per share on
// the host's UI thread, file shares, and the end of every share.
#include "SharingHost.h"

namespace {

using namespace sharing_test;

class SharingTest : public ApartmentTest {
protected:
    HRESULT ShareBytes(HWND window = nullptr, uint64_t size = 0) {
        return WinRTShareDataForWindow(window ? window : window_, L"Photo", L"Holiday", L"caption", image_.data(),
                                       size ? size : image_.size(), &completions_, &Completions::OnData, nullptr);
    }
    HRESULT ShareFile(const char* path) {
        return WinRTShareFileForWindow(window_, L"Photo", nullptr, path, &completions_, &Completions::OnFile, nullptr);
    }
    long Handlers(const wchar_t* event) { return sim::ShareEventHandlers(window_, event); }

    HostWindow window_;
    Completions completions_;
    const std::string image_ = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(1000, 'B');
};

TEST_F(SharingTest, UnavailableSharingIsRefusedBeforeTheFilePathIsChecked) {
    EXPECT_EQ(WinRTSharingIsAvailable(), 1);
    sim::SetSharingSupported(false);
    EXPECT_EQ(WinRTSharingIsAvailable(), 0);
    EXPECT_EQ(ShareBytes(), E_NOINTERFACE);
    EXPECT_EQ(ShareFile(nullptr), E_NOINTERFACE);
    EXPECT_EQ(sim::ShareUIShows(window_), 0);
    sim::SetSharingSupported(true);
    EXPECT_EQ(ShareFile(nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
}

// Without bytes the text is shared (empty when null) and the data callback
// never runs; a null or empty title or description is not set at all.
TEST_F(SharingTest, TextSharesSetOnlyWhatIsGivenAndNeverCallBack) {
    const struct {
        const wchar_t *title, *description, *text;
        const void* data;
        uint64_t size;
    } cases[] = {
        {nullptr, nullptr, L"hello", nullptr, 10},
        {L"", L"", L"hello", "abc", 0},
        {L"Photo", nullptr, nullptr, nullptr, 0},
        {nullptr, L"Holiday", L"hi", "abc", 0},
    };
    auto given = [](const wchar_t* text) { return text && *text ? std::wstring(text) : L"<unset>"; };
    for (const auto& c : cases) {
        ASSERT_EQ(WinRTShareDataForWindow(window_, c.title, c.description, c.text, c.data, c.size, &completions_,
                                          &Completions::OnData, nullptr),
                  S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        auto package = sim::ShareUIPackage(window_);
        EXPECT_EQ(package.hasTitle ? package.title : L"<unset>", given(c.title));
        EXPECT_EQ(package.hasDescription ? package.description : L"<unset>", given(c.description));
        EXPECT_TRUE(package.hasText);
        EXPECT_EQ(package.text, c.text ? c.text : L"");
        EXPECT_TRUE(package.formats.empty());
        ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    }
    Pump();
    EXPECT_EQ(completions_.count(), 0u);
    EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);
}

TEST_F(SharingTest, BytesAreOfferedAsBitmapOnlyAndCopiedOnceWhenATargetAsks) {
    ASSERT_EQ(ShareBytes(), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    auto package = sim::ShareUIPackage(window_);
    EXPECT_EQ(package.formats, std::vector<std::wstring>{L"Bitmap"});
    EXPECT_FALSE(package.hasText);
    EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);

    ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
    package = sim::ShareUIPackage(window_);
    EXPECT_TRUE(package.bitmapDeferralCompleted);
    EXPECT_TRUE(package.bitmapDelivered);  // the stream is still open: the writer was detached
    EXPECT_EQ(sim::ShareUIBitmapBytes(window_), image_);
    EXPECT_EQ(sim::DataWriterBytesCopied(), image_.size());

    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
    EXPECT_EQ(completions_.at(0).data, image_.data());

    // Larger shares are written in pieces of 4 MiB, four GiB or more never
    // truncated (the writer now only counts).
    sim::SetDataWriterCopiesBytes(false);
    ASSERT_EQ(ShareBytes(nullptr, 0x100000002ull), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
    std::vector<uint32_t> pieces(1025, 4u << 20);
    pieces.front() = uint32_t(image_.size());
    pieces.push_back(2);
    EXPECT_EQ(sim::DataWriterWriteSizes(), pieces);
    EXPECT_EQ(sim::ShareUIPackage(window_).bitmapSize, 0x100000002ull);
    EXPECT_EQ(sim::ShareUIComplete(window_), S_OK);
}

// ShareCompleted calls back at once (this is the host's thread); the UI then
// lets the package go, which ends the record without a second callback.
TEST_F(SharingTest, EachShareCallsBackOnceWithTheTargetNameInUtf8AndItsHandlersRemoveThemselves) {
    for (const wchar_t* target : {L"Почта \u2709 \U0001F4E7", static_cast<const wchar_t*>(nullptr)}) {
        ASSERT_EQ(ShareBytes(), S_OK);
        EXPECT_EQ(Handlers(L"DataRequested") + Handlers(L"TargetApplicationChosen"), 2);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        EXPECT_EQ(Handlers(L"DataRequested"), 0);
        if (target) {
            ASSERT_EQ(sim::ShareUIChooseTarget(window_, target), S_OK);
            EXPECT_EQ(Handlers(L"TargetApplicationChosen"), 0);
        }
        ASSERT_EQ(sim::ShareUIRequestBitmap(window_), S_OK);
        ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
        Pump();
    }
    ASSERT_EQ(completions_.count(), 2u);
    EXPECT_EQ(completions_.at(0).target, "\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0 \xE2\x9C\x89 \xF0\x9F\x93\xA7");
    EXPECT_EQ(completions_.at(1).target, "");
    EXPECT_EQ(sim::LiveDataTransferManagers(), 0);
}

TEST_F(SharingTest, FileShareSharesAnExistingFileAndAMissingOneSucceedsAndDoesNothing) {
    ASSERT_EQ(ShareFile("C:\\no\\such\\file.png"), S_OK);
    sim::WaitForFileLoads();
    EXPECT_EQ(sim::ShareUIShows(window_), 0);

    // Found on a runtime thread, the share opens on this thread, from its loop.
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
    AssetFile file(L"-shared.png");
    const std::string path(file.path.begin(), file.path.end());
    ASSERT_EQ(ShareFile(path.c_str()), S_OK);
    RuntimeThread([] { sim::CompleteFileLoads(); }).join();
    EXPECT_EQ(sim::Calls("IDataTransferManagerInterop.GetForWindow"), 0);
    ASSERT_TRUE(PumpUntil([&] { return sim::ShareUIShows(window_) == 1; }));
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    EXPECT_EQ(sim::ShareUIPackage(window_).storageItems, std::vector<std::wstring>{file.path});
    ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
    EXPECT_EQ(completions_.at(0).path, path);
    EXPECT_EQ(completions_.at(0).target, "Mail");
    EXPECT_EQ(completions_.at(0).thread, GetCurrentThreadId());
}

// A completion raised on a runtime thread waits for the host's message loop;
// Terminate silences every share, even one whose completion is queued there.
TEST_F(SharingTest, RuntimeThreadCompletionsArriveThroughTheMessageLoopUntilTerminate) {
    // One more share open in another window, its bytes not yet asked for.
    HostWindow other;
    ASSERT_EQ(ShareBytes(other), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(other), S_OK);
    for (size_t share = 0; share < 2; ++share) {
        ASSERT_EQ(ShareBytes(), S_OK);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        ASSERT_EQ(sim::ShareUIChooseTarget(window_, L"Mail"), S_OK);
        // Raised on a runtime thread while this thread does not pump.
        RuntimeThread([&] { sim::ShareUIComplete(window_); }).join();
        EXPECT_EQ(completions_.count(), share);
        if (share == 0) {
            ASSERT_TRUE(PumpUntil([&] { return completions_.count() == 1; }));
        }
    }
    EXPECT_EQ(completions_.at(0).thread, GetCurrentThreadId());
    EXPECT_EQ(completions_.at(0).target, "Mail");

    // The second share's completion is queued for this thread's loop.
    WinRTSharingTerminate();
    Pump();
    // The host may free its bytes now: they are no longer read, and the
    // target's request fails.
    EXPECT_EQ(sim::ShareUIRequestBitmap(other), HRESULT(0x8000000E));  // E_ILLEGAL_METHOD_CALL
    EXPECT_EQ(sim::DataWriterBytesCopied(), 0u);
    ASSERT_EQ(sim::ShareUIComplete(other), S_OK);

    ASSERT_EQ(ShareBytes(), S_OK);
    EXPECT_EQ(sim::ShareUIShows(window_), 3);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    EXPECT_EQ(completions_.count(), 1u);
}

// Each dismissed share ends with the window's next share: one callback each,
// and registrations never pile up.
TEST_F(SharingTest, DismissedSharesEndWithTheWindowsNextShare) {
    constexpr size_t kShares = 50;
    for (size_t i = 0; i < kShares; ++i) {
        ASSERT_EQ(ShareBytes(), S_OK);
        EXPECT_EQ(Handlers(L"DataRequested") + Handlers(L"TargetApplicationChosen"), 2);
        ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
        sim::ShareUIDismiss(window_);
        EXPECT_EQ(completions_.count(), i);
    }
    ASSERT_EQ(ShareBytes(), S_OK);
    ASSERT_EQ(sim::ShareUIRequestData(window_), S_OK);
    ASSERT_EQ(sim::ShareUIComplete(window_), S_OK);
    Pump();
    EXPECT_EQ(completions_.count(), kShares + 1);
}

}  // namespace
