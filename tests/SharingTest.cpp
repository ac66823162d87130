// Sharing from a window: what the package gets, one completion per share on
// the host's UI thread, file shares, and the end of every share.
#include "SharingHost.h"

#include <thread>

namespace {

using sharing_test::Completion;
using sharing_test::SharingTest;

TEST_P(SharingTest, UnavailableSharingIsRefusedFirstAndAMissingFileSucceedsAndDoesNothing) {
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
// given (a null or empty title or description is not set, and the share fails
// without a title; without bytes the text, empty when null; bytes as Bitmap
// only, copied once when a target asks; a file found on a runtime thread,
// opened from this thread's loop). Bytes and files call back once, on this
// thread, with the target in UTF-8, when the share completes (without
// ShareCompleted: when the UI lets the package go; a failed one when the UI is
// dismissed); each handler removes itself once it has run.
TEST_P(SharingTest, EachKindOfShareGetsWhatWasGivenAndCallsBackOnce) {
    enum Kind { Text, Bytes, File, BytesWithoutShareCompleted };
    const struct {
        Kind kind;
        const wchar_t *title, *description, *text;
        const char* data;  // bytes given with a text share: a size of 0, or none
        uint64_t size;
        const wchar_t* target;  // chosen target, and the callback's in UTF-8 (null: none)
        const char* told;
    } rows[] = {
        {Text, nullptr, nullptr, L"hello", nullptr, 10, L"Mail", nullptr},
        {Text, L"", L"", L"hello", "abc", 0, L"Mail", nullptr},
        {Text, L"Photo", nullptr, nullptr, nullptr, 0, L"Mail", nullptr},
        {Text, nullptr, L"Holiday", L"hi", "abc", 0, L"Mail", nullptr},
        {File, L"Photo", L"about", nullptr, nullptr, 0, L"Mail", "Mail"},
        {Bytes, L"Photo", L"Holiday", L"caption", image_.data(), image_.size(), L"Почта \u2709 \U0001F4E7",
         "\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0 \xE2\x9C\x89 \xF0\x9F\x93\xA7"},
        {Bytes, nullptr, nullptr, nullptr, image_.data(), image_.size(), nullptr, ""},
        {BytesWithoutShareCompleted, L"Photo", nullptr, nullptr, image_.data(), image_.size(), L"Mail", "Mail"},
    };
    auto given = [](const wchar_t* text) { return text && *text ? std::wstring(text) : L"<unset>"; };
    sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        const size_t before = Calls();
        const uint64_t copied = sim::DataWriterBytesCopied();
        if (row.kind == BytesWithoutShareCompleted) {
            sim::SetDataPackage3Present(false);  // a system before build 15063
            for (auto event : {L"ShareCompleted", L"ShareCanceled"})
                sim::SetEventPresent(L"Windows.ApplicationModel.DataTransfer.DataPackage", event, false);
        }
        if (row.kind == File) {
            ASSERT_EQ(ShareFile(path_.c_str()), S_OK);
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
        EXPECT_EQ(package.storageItems, std::vector<std::wstring>(row.kind == File, file_.path));
        const bool fails = !row.title || !*row.title;
        EXPECT_EQ(package.failed, fails);
        if (fails) ui_.Dismiss();  // ShareCanceled
        if (!fails && row.target) ui_.Target(row.target);
        EXPECT_EQ(Handlers(L"TargetApplicationChosen"), fails || row.target ? 0 : 1);
        if (!fails && (row.kind == Bytes || row.kind == BytesWithoutShareCompleted)) {
            EXPECT_EQ(sim::DataWriterBytesCopied(), copied);
            ui_.Bitmap();
            package = sim::ShareUIPackage(window_);
            EXPECT_EQ(package.formats, std::vector<std::wstring>{L"Bitmap"});
            EXPECT_TRUE(package.bitmapDeferralCompleted);
            EXPECT_TRUE(package.bitmapDelivered);  // the stream is still open: the writer was detached
            EXPECT_EQ(sim::ShareUIBitmapBytes(window_), image_);
        }
        EXPECT_EQ(sim::DataWriterBytesCopied(), copied + (row.data && row.size && !fails ? image_.size() : 0));
        sim::PumpFor(20);
        EXPECT_EQ(Calls(), before + (fails && row.told));
        if (!fails) ui_.Complete();
        ASSERT_TRUE(PumpUntilCalls(before + (row.told ? 1 : 0)));
        if (!row.told) continue;
        const Completion call = At(before);
        EXPECT_EQ(call.target, row.told);
        EXPECT_EQ(call.thread, GetCurrentThreadId());
        EXPECT_EQ(call.data, row.kind == File ? nullptr : image_.data());
        EXPECT_EQ(call.path, row.kind == File ? path_ : "");
    }
    sim::PumpFor(20);
    EXPECT_EQ(Calls(), 4u);
}

// Larger shares are written in pieces of 4 MiB, four GiB or more never
// truncated (the writer here only counts).
TEST_P(SharingTest, BytesAreWrittenInPiecesAndNeverTruncated) {
    sim::SetDataWriterCopiesBytes(false);
    ASSERT_EQ(ShareBytes(L"Photo", 0x100000002ull), S_OK);
    ui_.Data().Bitmap();
    std::vector<uint32_t> pieces(1024, 4u << 20);
    pieces.push_back(2);
    EXPECT_EQ(sim::DataWriterWriteSizes(), pieces);
    EXPECT_EQ(sim::ShareUIPackage(window_).bitmapSize, 0x100000002ull);
    ui_.Complete();
}

// A dismissed share ends at ShareCanceled where the system has it (build
// 19041), else with the window's next share, with no target; "Copy link"
// raises neither. Registrations never pile up.
TEST_P(SharingTest, DismissedSharesEndAtShareCanceledElseWithTheWindowsNextShare) {
    const struct { uint32_t build; bool copyLink, endsAtOnce; } rows[] = {{18363, 0, 0}, {19041, 0, 1}, {19045, 1, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.build);
        sim::SetWindowsBuild(row.build);
        sim::SetEventPresent(L"Windows.ApplicationModel.DataTransfer.DataPackage", L"ShareCanceled", row.build >= 19041);
        const size_t before = Calls();
        for (size_t i = 1; i <= 3; ++i) {
            ASSERT_EQ(ShareBytes(), S_OK);
            EXPECT_EQ(Handlers(), 2);
            row.copyLink ? ui_.Data().CopyLink() : ui_.Data().Dismiss();
            row.endsAtOnce ? (void)PumpUntilCalls(before + i) : sim::PumpFor(20);
            EXPECT_EQ(Calls(), before + i - !row.endsAtOnce);
        }
        ASSERT_EQ(ShareBytes(L"A"), S_OK);
        ASSERT_TRUE(PumpUntilCalls(before + 3));
        EXPECT_EQ(At(before + 2).target, "");
        ui_.Data().Complete();
        ASSERT_TRUE(PumpUntilCalls(before + 4));
    }
}

// A share whose target was chosen, or whose target reads its data without
// one, is delivered and ends beside the window's next share.
TEST_P(SharingTest, ShareBeingDeliveredLivesBesideTheWindowsNextShare) {
    ASSERT_EQ(ShareBytes(), S_OK);
    ui_.Data().Target();
    ASSERT_EQ(ShareBytes(L"B"), S_OK);
    sim::PumpFor(50);
    EXPECT_EQ(Calls(), 0u);
    ASSERT_EQ(sim::ShareTargetsDelivering(window_), 1);
    EXPECT_EQ(sim::ShareTargetRequestBitmap(window_), S_OK);
    EXPECT_EQ(sim::ShareTargetBitmapBytes(window_), image_);
    EXPECT_EQ(sim::ShareTargetComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntilCalls(1));
    EXPECT_EQ(At(0).target, "Mail");
    // No target chosen: the next share comes between two pieces of the bytes.
    sim::SetDataWriterCopiesBytes(false);
    ui_.Data();
    ASSERT_EQ(ShareBytes(L"C", 9 << 20), S_OK);
    ui_.Data();
    host::WhileHeld(
        "IDataWriter.StoreAsync", [&] { EXPECT_EQ(sim::ShareUIRequestBitmap(window_), S_OK); },
        [&] { EXPECT_EQ(ShareText(L"D"), S_OK); });
    EXPECT_EQ(sim::ShareTargetComplete(window_), S_OK);
    ASSERT_TRUE(PumpUntilCalls(3));  // B, ended by C, and C
    ui_.Data().Complete();
}

INSTANTIATE_FOR_BOTH_SHARE_EVENT_THREADS(SharingTest);

}  // namespace
