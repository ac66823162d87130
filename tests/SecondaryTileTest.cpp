// Secondary tiles and their visual elements, driven as a host drives them.
#include "RuntimeFixture.h"
#include "tavlet.h"

namespace {

class SecondaryTileTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        ApartmentTest::TearDown();
    }
    // The reserved field holds garbage: it is never read.
    HRESULT Create(const wchar_t* id, _WinRTTileSize size = _WinRTTileSize_Medium, HWND owner = nullptr,
                   const wchar_t* logo = L"ms-appx:///Assets/Square150x150Logo.png") {
        _WinRTSecondaryTileCreateArgs args{reinterpret_cast<void*>(0xDEADBEEF), L"Doc", L"--open", logo, owner, size};
        return _WinRTSecondaryTile_InitWithCreateArgs(tile_, id, &args);
    }
    std::wstring TileId() {
        BSTR id = nullptr;
        EXPECT_EQ(_WinRTSecondaryTile_GetTileID(tile_, &id), S_OK);
        std::wstring text = id ? id : L"<null>";
        SysFreeString(id);
        return text;
    }
    _WinRTAsyncOperationBOOL* Request(decltype(&_WinRTSecondaryTile_RequestCreateAsync) request) {
        _WinRTAsyncOperationBOOL* operation = nullptr;
        EXPECT_EQ(request(tile_, &operation), S_OK);
        return operation;
    }
    static sim::SecondaryTileRecord LastTile() { return sim::SecondaryTileAt(sim::SecondaryTileCount() - 1); }

    _WinRTSecondaryTile* tile_ = nullptr;
};

TEST_F(SecondaryTileTest, UninitialisedAndNullHandlesAreRefused) {
    for (auto* handle : {tile_, static_cast<_WinRTSecondaryTile*>(nullptr)}) {
        BSTR id = reinterpret_cast<BSTR>(1);
        auto operation = reinterpret_cast<_WinRTAsyncOperationBOOL*>(1);
        EXPECT_EQ(_WinRTSecondaryTile_GetTileID(handle, &id), E_INVALIDARG);
        EXPECT_EQ(_WinRTSecondaryTile_RequestDeleteAsync(handle, &operation), E_INVALIDARG);
        EXPECT_EQ(id, nullptr);
        EXPECT_EQ(operation, nullptr);
    }
    EXPECT_EQ(Create(nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::SecondaryTileCount() + sim::TileRequestCount(), 0);
}

// Sizes 0..5: Default, Square44x44, Square71x71, Square150x150, Wide310x150, Square310x310.
TEST_F(SecondaryTileTest, CreateArgumentsMapEachSizeAndRefusedOnesLeaveTheHandleUnchanged) {
    const int32_t runtimeSize[] = {0, 7, 6, 3, 4, 5};
    for (_WinRTTileSize size = 0; size <= 5; ++size) {
        ASSERT_EQ(Create(L"doc.1", size), S_OK) << size;
        EXPECT_EQ(LastTile().desiredSize, runtimeSize[size]) << size;
    }
    auto* pin = Request(_WinRTSecondaryTile_RequestCreateAsync);
    EXPECT_EQ(Create(L"doc.2", 6), E_INVALIDARG);
    EXPECT_EQ(Create(L"doc.2", _WinRTTileSize_Medium, nullptr, L"not a uri"), E_INVALIDARG);
    EXPECT_EQ(sim::SecondaryTileCount(), 6);
    EXPECT_EQ(TileId(), L"doc.1");
    EXPECT_TRUE(sim::TileRequestAt(0).alive);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(pin), S_OK);
}

TEST_F(SecondaryTileTest, OwnerWindowIsGivenToTheStoredTileOnlyWhenSet) {
    ASSERT_EQ(Create(L"doc.1"), S_OK);
    EXPECT_EQ(sim::Calls("IInitializeWithWindow.Initialize"), 0);
    HWND window = CreateWindowExW(0, L"STATIC", L"host", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(Create(L"doc.2", _WinRTTileSize_Medium, window), S_OK);
    EXPECT_EQ(LastTile().window, window);
    // Refused by the interop: the result, with the new tile already stored.
    sim::FailNext("IInitializeWithWindow.Initialize", 1, E_ACCESSDENIED);
    EXPECT_EQ(Create(L"doc.3", _WinRTTileSize_Medium, window), E_ACCESSDENIED);
    EXPECT_EQ(TileId(), L"doc.3");
    DestroyWindow(window);
}

TEST_F(SecondaryTileTest, RequestsGiveDistinctHandlesAndTheTileKeepsOnlyTheLatest) {
    uint32_t exists = 7;
    EXPECT_EQ(_WinRTSecondaryTile_Exists(nullptr, &exists), E_INVALIDARG);
    EXPECT_EQ(exists, 7u);
    ASSERT_EQ(Create(L"doc.1"), S_OK);
    auto* pin = Request(_WinRTSecondaryTile_RequestCreateAsync);
    auto* unpin = Request(_WinRTSecondaryTile_RequestDeleteAsync);
    EXPECT_NE(pin, unpin);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(pin), S_OK);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(unpin), S_OK);
    sim::WaitForRuntimeIdle();  // the cancels' completions hold the requests until raised
    EXPECT_FALSE(sim::TileRequestAt(0).alive);
    EXPECT_TRUE(sim::TileRequestAt(1).alive);
}

// Each read after the tile is gone; an unset logo is S_OK and null.
TEST_F(SecondaryTileTest, VisualElementsOutliveTheirTileAndEncodeColourAndForeground) {
    sim::TileVisuals visuals;
    visuals.a = 0xFF, visuals.r = 0x10, visuals.g = 0x20, visuals.b = 0x30;
    for (int32_t foreground : {0 /* Dark */, 1 /* Light */}) {
        visuals.foregroundText = foreground;
        sim::SetTileVisuals(visuals);
        ASSERT_EQ(Create(L"doc.1"), S_OK);
        _WinRTSecondaryTileVisualElements* elements = nullptr;
        ASSERT_EQ(_WinRTSecondaryTile_GetVisualElements(tile_, &elements), S_OK);
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        uint32_t color = 0, text = 9;
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetBackgroundColor(elements, &color), S_OK);
        EXPECT_EQ(color, 0xFF102030u);
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetForegroundText(elements, &text), S_OK);
        EXPECT_EQ(text, foreground == 0 ? 1u : 0u);
        BSTR logo = reinterpret_cast<BSTR>(1);
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetLogoUriSmall(elements, &logo), S_OK);
        EXPECT_EQ(logo, nullptr);
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_Dealloc(elements), S_OK);
    }
}

}  // namespace
