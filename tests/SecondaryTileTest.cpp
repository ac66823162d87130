// Secondary tiles and their visual elements, driven as a host drives them.
#include "TileTestSupport.h"

namespace {

TEST_F(SecondaryTileTest, UninitialisedTileAndRefusedArgumentsAreRefused) {
    BSTR id = nullptr;
    _WinRTAsyncOperationBOOL* operation = nullptr;
    EXPECT_EQ(_WinRTSecondaryTile_GetTileID(tile_, &id), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_RequestDeleteAsync(tile_, &operation), E_INVALIDARG);
    // The id, the arguments, then the handle: nothing of a refused call's arguments is read.
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    const std::pair<_WinRTSecondaryTile*, const wchar_t*> refused[] = {{tile_, nullptr}, {nullptr, L"doc.1"}};
    for (const auto& [tile, tileId] : refused) {
        auto* args = static_cast<const _WinRTSecondaryTileCreateArgs*>(unreadable);
        EXPECT_EQ(_WinRTSecondaryTile_InitWithCreateArgs(tile, tileId, args), E_INVALIDARG);
    }
    VirtualFree(unreadable, 0, MEM_RELEASE);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithCreateArgs(tile_, L"doc.1", nullptr), E_INVALIDARG);
    EXPECT_EQ(sim::SecondaryTileCount() + sim::TileRequestCount(), 0);
}

// Sizes 0..5: Default, Square44x44, Square71x71, Square150x150, Wide310x150,
// Square310x310. The tile keeps its latest request alive; an initialisation
// refused before the handle is touched keeps it, one the runtime refuses keeps
// the tile but lets the request go; a refused owner window is the result, with
// the new tile stored.
TEST_F(SecondaryTileTest, InitialisationMapsEachSizeAndKeepsTheTileWhenRefused) {
    const int32_t runtimeSize[] = {0, 7, 6, 3, 4, 5};
    for (_WinRTTileSize size = 0; size <= 5; ++size) {
        ASSERT_EQ(Create(L"doc.1", size), S_OK) << size;
        EXPECT_EQ(sim::SecondaryTileAt(size).desiredSize, runtimeSize[size]) << size;
    }
    EXPECT_EQ(sim::SecondaryTileAt(5).window, window_.hwnd);
    auto* pin = Request();
    auto* unpin = Request(_WinRTSecondaryTile_RequestDeleteAsync);
    EXPECT_NE(pin, unpin);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(pin), S_OK);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(unpin), S_OK);
    sim::WaitForRuntimeIdle();  // the cancels' completions hold the requests until raised
    EXPECT_FALSE(sim::TileRequestAt(0).alive);
    EXPECT_EQ(Create(L"doc.2", 6), E_INVALIDARG);
    EXPECT_EQ(Create(L"doc.2", _WinRTTileSize_Medium, nullptr, L"not a uri"), E_INVALIDARG);
    EXPECT_EQ(sim::SecondaryTileCount(), 6);
    EXPECT_TRUE(sim::TileRequestAt(1).alive);
    sim::FailNext("ISecondaryTileFactory.CreateWithId", 1, E_ACCESSDENIED);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, L"doc.2"), E_ACCESSDENIED);
    EXPECT_EQ(TileId(), L"doc.1");
    EXPECT_FALSE(sim::TileRequestAt(1).alive);
    sim::FailNext("IInitializeWithWindow.Initialize", 1, E_ACCESSDENIED);
    EXPECT_EQ(Create(L"doc.3"), E_ACCESSDENIED);
    EXPECT_EQ(TileId(), L"doc.3");
}

// Windows refuses at once, with no operation: without package identity,
// before build 16299, without an owner window, off the window's thread.
TEST_F(SecondaryTileTest, PinAndUnpinAreRefusedWhereWindowsRefusesThem) {
    const HRESULT noPackage = 0x80073D54, noWindow = 0x80070578;
    const struct { bool packaged; uint32_t build; bool owned, fromOtherThread; HRESULT result; } cases[] = {{false, 19045, true, false, noPackage}, {true, 15063, true, false, noWindow},
                 {true, 19045, false, false, noWindow},  {true, 19045, true, true, RPC_E_WRONG_THREAD},
                 {true, 16299, true, false, S_OK}};
    for (const auto& c : cases) {
        sim::SetPackaged(c.packaged);
        sim::SetWindowsBuild(c.build);
        ASSERT_EQ(Create(L"doc.1", _WinRTTileSize_Medium, c.owned ? kOwner : nullptr), S_OK);
        for (auto request : {_WinRTSecondaryTile_RequestCreateAsync, _WinRTSecondaryTile_RequestDeleteAsync}) {
            _WinRTAsyncOperationBOOL* operation = nullptr;
            auto make = [&] { operation = Request(request, c.result); };
            c.fromOtherThread ? void(sim::Background(make).Finish()) : make();
            EXPECT_EQ(sim::TileRequestAt(LastRequest()).refused, FAILED(c.result) ? c.result : S_OK);
            EXPECT_EQ(operation != nullptr, SUCCEEDED(c.result)) << c.build;
            EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        }
    }
}

// A failed query leaves 0; without an id or an out-value nothing is written.
TEST_F(SecondaryTileTest, ExistsAnswersWhetherTheTileIsPinned) {
    sim::SetTilePinned(L"doc.1", true);
    const struct { const wchar_t* id; HRESULT fault, result; uint32_t exists; } cases[] = {{L"doc.1", S_OK, S_OK, 1}, {L"doc.2", S_OK, S_OK, 0}, {L"doc.1", E_ACCESSDENIED, E_ACCESSDENIED, 0},
                 {nullptr, S_OK, E_INVALIDARG, 7}};
    for (const auto& c : cases) {
        if (FAILED(c.fault)) sim::FailNext("ISecondaryTileStatics.Exists", 1, c.fault);
        uint32_t exists = 7;
        EXPECT_EQ(_WinRTSecondaryTile_Exists(c.id, &exists), c.result);
        EXPECT_EQ(exists, c.exists);
    }
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", nullptr), E_INVALIDARG);
}

// Each getter reads its own property, also once the tile is gone. Older
// systems lack the Tiny and Small logos (or the visual elements themselves):
// only those calls fail. A logo that is not set is S_OK and null.
TEST_F(SecondaryTileTest, VisualElementsReadTheirOwnPropertyWhereTheSystemHasIt) {
    sim::TileVisuals visuals;
    visuals.a = 0xFF, visuals.r = 0x10, visuals.g = 0x20, visuals.b = 0x30;
    visuals.showNameOnSquare150x150 = visuals.showNameOnSquare310x310 = true;
    visuals.square44x44 = L"ms-appx:///44.png", visuals.wide310x150 = L"ms-appx:///wide.png";
    visuals.square310x310 = L"ms-appx:///310.png";  // no Square71x71 logo
    // newer: on a later interface of the visual elements
    const struct { decltype(&_WinRTSecondaryTileVisualElements_GetLogoUriTiny) get; const wchar_t* text; bool newer; } logos[] = {{_WinRTSecondaryTileVisualElements_GetLogoUriTiny, L"ms-appx:///44.png", true},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriSmall, L"<null>", true},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriMedium, L"ms-appx:///Assets/Square150x150Logo.png", false},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriWide, L"ms-appx:///wide.png", false},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriLarge, L"ms-appx:///310.png", false}};
    const struct { bool newer, tile2; int32_t foreground; /* 0 Dark, 1 Light */ } systems[] = {{true, true, 0}, {false, true, 1}, {false, false, 1}};
    for (const auto& system : systems) {
        SCOPED_TRACE(testing::Message() << system.newer << system.tile2);
        visuals.foregroundText = system.foreground;
        sim::SetTileVisuals(visuals);
        sim::SetTileVisualElementsInterfaces(system.newer, system.newer);
        sim::SetSecondaryTile2(system.tile2);
        ASSERT_EQ(Create(L"doc.1"), S_OK);
        _WinRTSecondaryTileVisualElements* elements = nullptr;
        EXPECT_EQ(_WinRTSecondaryTile_GetVisualElements(tile_, &elements), system.tile2 ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        if (!system.tile2) continue;
        const std::pair<decltype(&_WinRTSecondaryTileVisualElements_GetBackgroundColor), uint32_t> numbers[] = {
            {_WinRTSecondaryTileVisualElements_GetBackgroundColor, 0xFF102030u},
            {_WinRTSecondaryTileVisualElements_GetForegroundText, system.foreground == 0 ? 1u : 0u},
            {_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium, 1},
            {_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide, 0},
            {_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge, 1}};
        for (const auto& [get, expected] : numbers) {
            uint32_t value = 7;
            EXPECT_EQ(get(elements, &value), S_OK);
            EXPECT_EQ(value, expected);
        }
        for (const auto& logo : logos) {
            BSTR uri = reinterpret_cast<BSTR>(1);
            const bool refused = logo.newer && !system.newer;
            EXPECT_EQ(logo.get(elements, &uri), refused ? E_NOINTERFACE : S_OK) << logo.text;
            EXPECT_EQ(std::wstring(uri ? uri : L"<null>"), refused ? L"<null>" : logo.text);
            SysFreeString(uri);
        }
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_Dealloc(elements), S_OK);
    }
}

}  // namespace
