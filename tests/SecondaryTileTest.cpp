// Secondary tiles and their visual elements, driven as a host drives them.
#include "Host.h"
#include "tavlet.h"

namespace {

// A packaged host pinning over its window on its UI thread, as Windows requires.
class SecondaryTileTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        sim::SetPackaged(true);
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        ApartmentTest::TearDown();
    }
    // The reserved field holds garbage: it is never read.
    HRESULT Create(const wchar_t* id, _WinRTTileSize size = _WinRTTileSize_Medium, HWND owner = kOwner,
                   const wchar_t* logo = L"ms-appx:///Assets/Square150x150Logo.png") {
        if (owner == kOwner) owner = window_;
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
    _WinRTAsyncOperationBOOL* Request(decltype(&_WinRTSecondaryTile_RequestCreateAsync) request,
                                      HRESULT expected = S_OK) {
        _WinRTAsyncOperationBOOL* operation = nullptr;
        EXPECT_EQ(request(tile_, &operation), expected);
        return operation;
    }
    static sim::SecondaryTileRecord LastTile() { return sim::SecondaryTileAt(sim::SecondaryTileCount() - 1); }

    static inline const HWND kOwner = reinterpret_cast<HWND>(-1);  // the fixture's window
    host::Window window_;
    _WinRTSecondaryTile* tile_ = nullptr;
};

TEST_F(SecondaryTileTest, UninitialisedTileAndRefusedArgumentsAreRefused) {
    BSTR id = reinterpret_cast<BSTR>(1);
    auto operation = reinterpret_cast<_WinRTAsyncOperationBOOL*>(1);
    EXPECT_EQ(_WinRTSecondaryTile_GetTileID(tile_, &id), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_RequestDeleteAsync(tile_, &operation), E_INVALIDARG);
    EXPECT_EQ(id, nullptr);
    EXPECT_EQ(operation, nullptr);
    // The id, the arguments, then the handle: nothing of a refused call's arguments is read.
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    const struct {
        _WinRTSecondaryTile* tile;
        const wchar_t* id;
        const void* args;
    } refused[] = {{tile_, nullptr, unreadable}, {tile_, L"doc.1", nullptr}, {nullptr, L"doc.1", unreadable},
                   {nullptr, L"doc.1", nullptr}};
    for (const auto& c : refused) {
        auto* args = static_cast<const _WinRTSecondaryTileCreateArgs*>(c.args);
        EXPECT_EQ(_WinRTSecondaryTile_InitWithCreateArgs(c.tile, c.id, args), E_INVALIDARG);
    }
    VirtualFree(unreadable, 0, MEM_RELEASE);
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
    ASSERT_EQ(Create(L"doc.1", _WinRTTileSize_Medium, nullptr), S_OK);
    EXPECT_EQ(sim::Calls("IInitializeWithWindow.Initialize"), 0);
    ASSERT_EQ(Create(L"doc.2"), S_OK);
    EXPECT_EQ(LastTile().window, window_.hwnd);
    // Refused by the interop: the result, with the new tile already stored.
    sim::FailNext("IInitializeWithWindow.Initialize", 1, E_ACCESSDENIED);
    EXPECT_EQ(Create(L"doc.3"), E_ACCESSDENIED);
    EXPECT_EQ(TileId(), L"doc.3");
}

// Windows refuses at once, with no operation: without package identity,
// before build 16299, without an owner window, off the window's thread.
TEST_F(SecondaryTileTest, PinAndUnpinAreRefusedWhereWindowsRefusesThem) {
    const HRESULT noPackage = 0x80073D54, noWindow = 0x80070578;
    const struct {
        bool packaged;
        uint32_t build;
        bool owned, fromOtherThread;
        HRESULT result;
    } cases[] = {{false, 19045, true, false, noPackage}, {true, 15063, true, false, noWindow},
                 {true, 19045, false, false, noWindow},  {true, 19045, true, true, RPC_E_WRONG_THREAD},
                 {true, 16299, true, false, S_OK}};
    for (const auto& c : cases) {
        sim::SetPackaged(c.packaged);
        sim::SetWindowsBuild(c.build);
        ASSERT_EQ(Create(L"doc.1", _WinRTTileSize_Medium, c.owned ? kOwner : nullptr), S_OK);
        for (auto request : {_WinRTSecondaryTile_RequestCreateAsync, _WinRTSecondaryTile_RequestDeleteAsync}) {
            _WinRTAsyncOperationBOOL* operation = nullptr;
            if (c.fromOtherThread)
                sim::Background([&] { operation = Request(request, c.result); }).Finish();
            else
                operation = Request(request, c.result);
            EXPECT_EQ(sim::TileRequestAt(sim::TileRequestCount() - 1).refused, FAILED(c.result) ? c.result : S_OK);
            EXPECT_EQ(operation != nullptr, SUCCEEDED(c.result)) << c.build;
            EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        }
    }
}

// A failed query leaves 0; without an id nothing is written.
TEST_F(SecondaryTileTest, ExistsAnswersWhetherTheTileIsPinned) {
    sim::SetTilePinned(L"doc.1", true);
    const struct {
        const wchar_t* id;
        HRESULT fault, result;
        uint32_t exists;
    } cases[] = {{L"doc.1", S_OK, S_OK, 1}, {L"doc.2", S_OK, S_OK, 0}, {L"doc.1", E_ACCESSDENIED, E_ACCESSDENIED, 0},
                 {nullptr, S_OK, E_INVALIDARG, 7}};
    for (const auto& c : cases) {
        if (FAILED(c.fault)) sim::FailNext("ISecondaryTileStatics.Exists", 1, c.fault);
        uint32_t exists = 7;
        EXPECT_EQ(_WinRTSecondaryTile_Exists(c.id, &exists), c.result);
        EXPECT_EQ(exists, c.exists);
    }
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", nullptr), E_INVALIDARG);
}

// A refused re-initialisation keeps the tile but has let its last request go.
TEST_F(SecondaryTileTest, RefusedInitialisationByIdKeepsTheTile) {
    ASSERT_EQ(Create(L"doc.1"), S_OK);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(Request(_WinRTSecondaryTile_RequestCreateAsync)), S_OK);
    sim::WaitForRuntimeIdle();
    EXPECT_TRUE(sim::TileRequestAt(0).alive);
    sim::FailNext("ISecondaryTileFactory.CreateWithId", 1, E_ACCESSDENIED);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, L"doc.2"), E_ACCESSDENIED);
    EXPECT_EQ(TileId(), L"doc.1");
    EXPECT_FALSE(sim::TileRequestAt(0).alive);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, nullptr), E_INVALIDARG);
    EXPECT_EQ(TileId(), L"doc.1");
}

TEST_F(SecondaryTileTest, RequestsGiveDistinctHandlesAndTheTileKeepsOnlyTheLatest) {
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

// Each getter reads its own property, also once the tile is gone. Older
// systems lack what the newer logo sizes (or the visual elements themselves)
// need: only those calls fail. A logo that is not set is S_OK and null.
TEST_F(SecondaryTileTest, VisualElementsReadTheirOwnPropertyWhereTheSystemHasIt) {
    sim::TileVisuals visuals;
    visuals.a = 0xFF, visuals.r = 0x10, visuals.g = 0x20, visuals.b = 0x30;
    visuals.showNameOnSquare150x150 = visuals.showNameOnSquare310x310 = true;
    visuals.square44x44 = L"ms-appx:///44.png", visuals.wide310x150 = L"ms-appx:///wide.png";
    visuals.square310x310 = L"ms-appx:///310.png";  // no Square71x71 logo
    using Flag = decltype(&_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide);
    const std::pair<Flag, uint32_t> flags[] = {{_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium, 1},
                                               {_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide, 0},
                                               {_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge, 1}};
    const struct {
        decltype(&_WinRTSecondaryTileVisualElements_GetLogoUriTiny) get;
        const wchar_t* text;
        bool newer;  // on a later interface of the visual elements
    } logos[] = {{_WinRTSecondaryTileVisualElements_GetLogoUriTiny, L"ms-appx:///44.png", true},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriSmall, L"<null>", true},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriMedium, L"ms-appx:///Assets/Square150x150Logo.png", false},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriWide, L"ms-appx:///wide.png", false},
                 {_WinRTSecondaryTileVisualElements_GetLogoUriLarge, L"ms-appx:///310.png", false}};
    enum class System { Current, WithoutNewerElements, WithoutTile2 };
    const std::pair<System, int32_t> cases[] = {{System::Current, 0 /* Dark */},
                                                {System::WithoutNewerElements, 1 /* Light */},
                                                {System::WithoutTile2, 1}};
    for (const auto& [system, foreground] : cases) {
        SCOPED_TRACE(static_cast<int>(system));
        visuals.foregroundText = foreground;
        sim::SetTileVisuals(visuals);
        sim::SetTileVisualElementsInterfaces(system == System::Current, system == System::Current);
        sim::SetSecondaryTile2(system != System::WithoutTile2);
        ASSERT_EQ(Create(L"doc.1"), S_OK);
        auto* elements = reinterpret_cast<_WinRTSecondaryTileVisualElements*>(1);
        const HRESULT got = _WinRTSecondaryTile_GetVisualElements(tile_, &elements);
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        if (system == System::WithoutTile2) {
            EXPECT_EQ(got, E_NOINTERFACE);
            EXPECT_EQ(elements, nullptr);
            continue;
        }
        ASSERT_EQ(got, S_OK);
        uint32_t color = 0, text = 9;
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetBackgroundColor(elements, &color), S_OK);
        EXPECT_EQ(color, 0xFF102030u);
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetForegroundText(elements, &text), S_OK);
        EXPECT_EQ(text, foreground == 0 ? 1u : 0u);
        for (const auto& [get, expected] : flags) {
            uint32_t shown = 7;
            EXPECT_EQ(get(elements, &shown), S_OK);
            EXPECT_EQ(shown, expected);
        }
        for (const auto& logo : logos) {
            BSTR uri = reinterpret_cast<BSTR>(1);
            const bool refused = logo.newer && system != System::Current;
            EXPECT_EQ(logo.get(elements, &uri), refused ? E_NOINTERFACE : S_OK) << logo.text;
            EXPECT_EQ(std::wstring(uri ? uri : L"<null>"), refused ? L"<null>" : logo.text);
            SysFreeString(uri);
        }
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_Dealloc(elements), S_OK);
    }
}

}  // namespace
