// Secondary tiles and their visual elements, driven as a host drives them.
#include "RuntimeFixture.h"
#include "tavlet.h"

#include <string>

namespace {

const wchar_t kLogo[] = L"ms-appx:///Assets/Square150x150Logo.png";
BSTR const kUnwritten = reinterpret_cast<BSTR>(1);  // to see an export store null first

// A BSTR result, freed at the end of the statement's scope.
struct Bstr {
    BSTR value = nullptr;
    ~Bstr() { Free(); }
    BSTR* put() {
        Free();
        value = kUnwritten;
        return &value;
    }
    void Free() {
        if (value != kUnwritten) SysFreeString(value);
        value = nullptr;
    }
    std::wstring str() const { return value && value != kUnwritten ? value : L""; }
};

_WinRTSecondaryTileCreateArgs Args(_WinRTTileSize size = _WinRTTileSize_Medium, HWND owner = nullptr) {
    return {nullptr, L"Quarterly report", L"--open report.docx", kLogo, owner, size};
}

class SecondaryTileTest : public ApartmentTest {
protected:
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        if (window_) DestroyWindow(window_);
        ApartmentTest::TearDown();
    }
    // The test's tile, (re)initialised from create arguments.
    HRESULT Create(const wchar_t* id, const _WinRTSecondaryTileCreateArgs& args = Args()) {
        if (!tile_) {
            EXPECT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        }
        return _WinRTSecondaryTile_InitWithCreateArgs(tile_, id, &args);
    }
    std::wstring TileId() {
        Bstr id;
        EXPECT_EQ(_WinRTSecondaryTile_GetTileID(tile_, id.put()), S_OK);
        return id.str();
    }
    _WinRTAsyncOperationBOOL* Pin() {
        _WinRTAsyncOperationBOOL* operation = nullptr;
        EXPECT_EQ(_WinRTSecondaryTile_RequestCreateAsync(tile_, &operation), S_OK);
        return operation;
    }
    static sim::SecondaryTileRecord LastTile() { return sim::SecondaryTileAt(sim::SecondaryTileCount() - 1); }

    _WinRTSecondaryTile* tile_ = nullptr;
    HWND window_ = nullptr;
};

// Out pointers are checked before anything is written, handles after the
// default is stored; a handle never initialised makes no runtime call.
TEST_F(SecondaryTileTest, ArgumentsAndUninitialisedHandlesAreRefused) {
    EXPECT_EQ(_WinRTSecondaryTile_Alloc(nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_Dealloc(nullptr), S_OK);
    EXPECT_EQ(_WinRTSecondaryTileVisualElements_Dealloc(nullptr), S_OK);
    ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
    auto args = Args();
    EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(nullptr, L"doc.1"), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithCreateArgs(tile_, nullptr, &args), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithCreateArgs(tile_, L"doc.1", nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_InitWithCreateArgs(nullptr, L"doc.1", &args), E_INVALIDARG);

    for (auto* handle : {tile_, static_cast<_WinRTSecondaryTile*>(nullptr)}) {
        EXPECT_EQ(_WinRTSecondaryTile_GetTileID(handle, nullptr), E_INVALIDARG);
        Bstr id;
        EXPECT_EQ(_WinRTSecondaryTile_GetTileID(handle, id.put()), E_INVALIDARG);
        EXPECT_EQ(id.value, nullptr);
        auto elements = reinterpret_cast<_WinRTSecondaryTileVisualElements*>(1);
        EXPECT_EQ(_WinRTSecondaryTile_GetVisualElements(handle, &elements), E_INVALIDARG);
        EXPECT_EQ(elements, nullptr);
        for (auto request : {_WinRTSecondaryTile_RequestCreateAsync, _WinRTSecondaryTile_RequestDeleteAsync}) {
            EXPECT_EQ(request(handle, nullptr), E_INVALIDARG);
            auto operation = reinterpret_cast<_WinRTAsyncOperationBOOL*>(1);
            EXPECT_EQ(request(handle, &operation), E_INVALIDARG);
            EXPECT_EQ(operation, nullptr);
        }
    }
    EXPECT_EQ(sim::SecondaryTileCount(), 0);
    EXPECT_EQ(sim::TileRequestCount(), 0);
}

TEST_F(SecondaryTileTest, CreateArgumentsReachTheRuntimeWithEachSizeMapped) {
    // _WinRTTileSize 0..5 -> Default, Square44x44, Square71x71, Square150x150, Wide310x150, Square310x310.
    const int32_t runtimeSize[] = {0, 7, 6, 3, 4, 5};
    for (_WinRTTileSize size = 0; size <= 5; ++size) {
        auto args = Args(size);
        args.reserved = reinterpret_cast<void*>(0xDEADBEEF);  // never read
        ASSERT_EQ(Create(L"doc.1", args), S_OK) << size;
        auto tile = LastTile();
        EXPECT_EQ(tile.desiredSize, runtimeSize[size]) << size;
        EXPECT_EQ(tile.tileId, L"doc.1");
        EXPECT_EQ(tile.displayName, L"Quarterly report");
        EXPECT_EQ(tile.arguments, L"--open report.docx");
        EXPECT_EQ(tile.logoUri, kLogo);
    }
    auto args = Args();
    args.displayName = args.arguments = nullptr;  // count as empty
    ASSERT_EQ(Create(L"doc.2", args), S_OK);
    EXPECT_EQ(LastTile().displayName, L"");
    EXPECT_EQ(LastTile().arguments, L"");
    EXPECT_EQ(TileId(), L"doc.2");
}

// A size above 5 or a logo the runtime refuses leaves the handle as it was:
// the same runtime tile and the same pending request.
TEST_F(SecondaryTileTest, RefusedCreateArgumentsLeaveTheHandleUnchanged) {
    ASSERT_EQ(Create(L"doc.1"), S_OK);
    ASSERT_EQ(_WinRTAsyncOperationBOOL_Dealloc(Pin()), S_OK);
    EXPECT_EQ(Create(L"doc.2", Args(6)), E_INVALIDARG);
    EXPECT_EQ(sim::Calls("IUriRuntimeClassFactory.CreateUri"), 1);  // refused before the runtime is asked
    for (const wchar_t* logo : {L"not a uri", static_cast<const wchar_t*>(nullptr)}) {
        auto args = Args();
        args.logoUri = logo;
        EXPECT_EQ(Create(L"doc.2", args), E_INVALIDARG);  // the runtime's Uri refuses it
    }
    EXPECT_EQ(sim::SecondaryTileCount(), 1);
    EXPECT_EQ(TileId(), L"doc.1");
    EXPECT_TRUE(sim::TileRequestAt(0).alive);

    // A new initialisation drops the last request even when the runtime then
    // refuses the tile, which keeps the one it had.
    EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, L"not a valid id!"), E_INVALIDARG);
    EXPECT_FALSE(sim::TileRequestAt(0).alive);
    EXPECT_EQ(TileId(), L"doc.1");
    EXPECT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, L"doc.7"), S_OK);
    EXPECT_EQ(TileId(), L"doc.7");
    EXPECT_FALSE(sim::SecondaryTileAt(0).alive);
}

TEST_F(SecondaryTileTest, OwnerWindowIsGivenToTheStoredTileOnlyWhenSet) {
    ASSERT_EQ(Create(L"doc.1", Args(_WinRTTileSize_Medium, nullptr)), S_OK);
    EXPECT_EQ(sim::Calls("IInitializeWithWindow.Initialize"), 0);

    window_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(Create(L"doc.2", Args(_WinRTTileSize_Medium, window_)), S_OK);
    EXPECT_EQ(LastTile().window, window_);
    EXPECT_EQ(LastTile().windowInitializations, 1);

    // A refused association is the result, and the new tile stays in the handle.
    sim::FailNext("IInitializeWithWindow.Initialize", 1, E_ACCESSDENIED);
    EXPECT_EQ(Create(L"doc.3", Args(_WinRTTileSize_Medium, window_)), E_ACCESSDENIED);
    EXPECT_EQ(TileId(), L"doc.3");
}

TEST_F(SecondaryTileTest, ExistsAnswersWhetherTheTileIsPinned) {
    uint32_t exists = 7;
    EXPECT_EQ(_WinRTSecondaryTile_Exists(nullptr, &exists), E_INVALIDARG);
    EXPECT_EQ(exists, 7u);
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", &exists), S_OK);
    EXPECT_EQ(exists, 0u);
    sim::SetTilePinned(L"doc.1", true);
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", &exists), S_OK);
    EXPECT_EQ(exists, 1u);
    sim::FailNext("ISecondaryTileStatics.Exists", 1, E_ACCESSDENIED);
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", &exists), E_ACCESSDENIED);
    EXPECT_EQ(exists, 0u);
}

// Pin, confirm, unpin, confirm: each request is a handle of its own, and the
// tile keeps only the latest runtime operation alive.
TEST_F(SecondaryTileTest, RequestsGiveDistinctHandlesAndTheTileKeepsOnlyTheLatest) {
    ASSERT_EQ(Create(L"doc.1"), S_OK);
    auto* pin = Pin();
    sim::CompleteTileRequest(0, true);
    _WinRTAsyncOperationBOOL* unpin = nullptr;
    ASSERT_EQ(_WinRTSecondaryTile_RequestDeleteAsync(tile_, &unpin), S_OK);
    EXPECT_NE(pin, unpin);
    EXPECT_FALSE(sim::TileRequestAt(0).isDelete);
    EXPECT_TRUE(sim::TileRequestAt(1).isDelete);
    uint32_t exists = 0;
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", &exists), S_OK);
    EXPECT_EQ(exists, 1u);
    sim::CompleteTileRequest(1, true);
    EXPECT_EQ(_WinRTSecondaryTile_Exists(L"doc.1", &exists), S_OK);
    EXPECT_EQ(exists, 0u);

    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(pin), S_OK);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(unpin), S_OK);
    EXPECT_FALSE(sim::TileRequestAt(0).alive);
    EXPECT_TRUE(sim::TileRequestAt(1).alive);
    EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
    tile_ = nullptr;
    EXPECT_FALSE(sim::TileRequestAt(1).alive);
}

class VisualElementsTest : public SecondaryTileTest {
protected:
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTileVisualElements_Dealloc(elements_), S_OK);
        SecondaryTileTest::TearDown();
    }
    // Visual elements of a tile made with these visuals; the tile is freed at
    // once, since the elements outlive it.
    _WinRTSecondaryTileVisualElements* Elements(const sim::TileVisuals& visuals) {
        _WinRTSecondaryTileVisualElements_Dealloc(elements_);
        sim::SetTileVisuals(visuals);
        EXPECT_EQ(Create(L"doc.1"), S_OK);
        EXPECT_EQ(_WinRTSecondaryTile_GetVisualElements(tile_, &elements_), S_OK);
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        tile_ = nullptr;
        return elements_;
    }
    uint32_t Number(HRESULT(TAVLET_CALL* get)(_WinRTSecondaryTileVisualElements*, uint32_t*)) {
        uint32_t value = 9;
        EXPECT_EQ(get(elements_, &value), S_OK);
        return value;
    }

    _WinRTSecondaryTileVisualElements* elements_ = nullptr;
};

TEST_F(VisualElementsTest, ColourForegroundAndFlagsAreEncoded) {
    sim::TileVisuals visuals;
    visuals.a = 0xFF, visuals.r = 0x10, visuals.g = 0x20, visuals.b = 0x30;
    visuals.foregroundText = 0;  // Dark
    visuals.showNameOnSquare150x150 = visuals.showNameOnSquare310x310 = true;
    Elements(visuals);
    EXPECT_EQ(Number(_WinRTSecondaryTileVisualElements_GetBackgroundColor), 0xFF102030u);
    EXPECT_EQ(Number(_WinRTSecondaryTileVisualElements_GetForegroundText), 1u);
    EXPECT_EQ(Number(_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium), 1u);
    EXPECT_EQ(Number(_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide), 0u);
    EXPECT_EQ(Number(_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge), 1u);
    for (int32_t other : {1 /* Light */, 7}) {
        visuals.foregroundText = other;
        Elements(visuals);
        EXPECT_EQ(Number(_WinRTSecondaryTileVisualElements_GetForegroundText), 0u);
    }
    uint32_t value = 9;
    EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetBackgroundColor(elements_, nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetForegroundText(nullptr, &value), E_INVALIDARG);
    EXPECT_EQ(value, 0u);
}

// Set logos come back as their URI text, unset ones as S_OK and null; the two
// small logos need interfaces an older system lacks.
TEST_F(VisualElementsTest, LogosComeBackAsTextOrNull) {
    using Getter = HRESULT(TAVLET_CALL*)(_WinRTSecondaryTileVisualElements*, BSTR*);
    sim::TileVisuals visuals;
    visuals.square44x44 = L"ms-appx:///Assets/Tiny.png";
    visuals.wide310x150 = L"https://contoso.com/wide.png";
    Elements(visuals);
    const struct {
        Getter get;
        const wchar_t* expected;  // null: not set
    } cases[] = {
        {_WinRTSecondaryTileVisualElements_GetLogoUriTiny, L"ms-appx:///Assets/Tiny.png"},
        {_WinRTSecondaryTileVisualElements_GetLogoUriSmall, nullptr},
        {_WinRTSecondaryTileVisualElements_GetLogoUriMedium, kLogo},  // the one the tile was created with
        {_WinRTSecondaryTileVisualElements_GetLogoUriWide, L"https://contoso.com/wide.png"},
        {_WinRTSecondaryTileVisualElements_GetLogoUriLarge, nullptr},
    };
    for (const auto& c : cases) {
        Bstr uri;
        EXPECT_EQ(c.get(elements_, uri.put()), S_OK);
        EXPECT_EQ(uri.value == nullptr, c.expected == nullptr);
        if (c.expected) {
            EXPECT_EQ(uri.str(), c.expected);
        }
        EXPECT_EQ(c.get(nullptr, uri.put()), E_INVALIDARG);
        EXPECT_EQ(uri.value, nullptr);
    }

    sim::SetTileVisualElementsInterfaces(false, false);
    Elements(visuals);
    Bstr uri;
    EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetLogoUriTiny(elements_, uri.put()), E_NOINTERFACE);
    EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetLogoUriSmall(elements_, uri.put()), E_NOINTERFACE);
    EXPECT_EQ(uri.value, nullptr);
    EXPECT_EQ(_WinRTSecondaryTileVisualElements_GetLogoUriWide(elements_, uri.put()), S_OK);
}

}  // namespace
