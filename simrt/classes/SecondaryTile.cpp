// Windows.UI.StartScreen.SecondaryTile: both factories and the statics (Exists
// over the pinned set), and the tile with its visual elements and window
// association (its pin and unpin requests: SecondaryTileRequests.cpp).
#include "Tiles.h"
#include "control/Windows.h"
#include "tavlet/winapi/winrt/abi/Interop.h"

#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace sim {
namespace {

using abi::boolean;
using abi::IInitializeWithWindow;
namespace Foundation = abi::Windows::Foundation;
namespace StartScreen = abi::Windows::UI::StartScreen;
namespace UI = abi::Windows::UI;

struct State {
    std::mutex lock;
    std::set<std::wstring> pinned;
    std::vector<std::shared_ptr<SecondaryTileRecord>> tiles;
    bool hasTile2 = true;
};
State& state() {
    static State* s = new State();
    return *s;
}

constexpr uint32_t kDesktopPinningBuild = 16299;
constexpr HRESULT kNoPackage = static_cast<HRESULT>(0x80073D54);      // from APPMODEL_ERROR_NO_PACKAGE
constexpr HRESULT kNoOwnerWindow = static_cast<HRESULT>(0x80070578);  // from ERROR_INVALID_WINDOW_HANDLE

// The runtime's rule for tile ids: 1 to 64 characters of letters, digits, '.'
// and '_'; anything else is refused with E_INVALIDARG.
bool IsValidTileId(const std::wstring& id) {
    if (id.empty() || id.size() > 64) return false;
    for (wchar_t c : id)
        if (!iswalnum(c) && c != L'.' && c != L'_') return false;
    return true;
}

class Tile : public SimObject<Tile, StartScreen::ISecondaryTile, StartScreen::ISecondaryTile2, IInitializeWithWindow> {
public:
    Tile(std::shared_ptr<SecondaryTileRecord> record, ::winrt::com_ptr<Foundation::IUriRuntimeClass> logo)
        : record_(std::move(record)), logo_(std::move(logo)), visualElements_(MakeVisualElements(logo_.get())) {}
    ~Tile() override {
        std::lock_guard guard(state().lock);
        record_->alive = false;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (iid == abi::guid_v<StartScreen::ISecondaryTile2> && !hasTile2_) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimObject::QueryInterface(iid, out);
    }

    // ---- ISecondaryTile ----
    HRESULT STDMETHODCALLTYPE put_TileId(HSTRING value) noexcept override {
        SIM_FAULT("ISecondaryTile.put_TileId");
        return Set(&SecondaryTileRecord::tileId, value);
    }
    HRESULT STDMETHODCALLTYPE get_TileId(HSTRING* value) noexcept override {
        SIM_FAULT("ISecondaryTile.get_TileId");
        return Get(&SecondaryTileRecord::tileId, value);
    }
    HRESULT STDMETHODCALLTYPE put_Arguments(HSTRING value) noexcept override {
        SIM_FAULT("ISecondaryTile.put_Arguments");
        return Set(&SecondaryTileRecord::arguments, value);
    }
    HRESULT STDMETHODCALLTYPE get_Arguments(HSTRING* value) noexcept override {
        SIM_FAULT("ISecondaryTile.get_Arguments");
        return Get(&SecondaryTileRecord::arguments, value);
    }
    SIM_UNUSED("ISecondaryTile.put_ShortName", put_ShortName(HSTRING))
    SIM_UNUSED("ISecondaryTile.get_ShortName", get_ShortName(HSTRING*))
    HRESULT STDMETHODCALLTYPE put_DisplayName(HSTRING value) noexcept override {
        SIM_FAULT("ISecondaryTile.put_DisplayName");
        return Set(&SecondaryTileRecord::displayName, value);
    }
    HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* value) noexcept override {
        SIM_FAULT("ISecondaryTile.get_DisplayName");
        return Get(&SecondaryTileRecord::displayName, value);
    }
    HRESULT STDMETHODCALLTYPE put_Logo(Foundation::IUriRuntimeClass* value) noexcept override {
        SIM_FAULT("ISecondaryTile.put_Logo");
        logo_.copy_from(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Logo(Foundation::IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTile.get_Logo");
        if (!value) return E_POINTER;
        logo_.copy_to(value);
        return S_OK;
    }
    SIM_UNUSED("ISecondaryTile.put_SmallLogo", put_SmallLogo(Foundation::IUriRuntimeClass*))
    SIM_UNUSED("ISecondaryTile.get_SmallLogo", get_SmallLogo(Foundation::IUriRuntimeClass**))
    SIM_UNUSED("ISecondaryTile.put_WideLogo", put_WideLogo(Foundation::IUriRuntimeClass*))
    SIM_UNUSED("ISecondaryTile.get_WideLogo", get_WideLogo(Foundation::IUriRuntimeClass**))
    SIM_UNUSED("ISecondaryTile.put_LockScreenBadgeLogo", put_LockScreenBadgeLogo(Foundation::IUriRuntimeClass*))
    SIM_UNUSED("ISecondaryTile.get_LockScreenBadgeLogo", get_LockScreenBadgeLogo(Foundation::IUriRuntimeClass**))
    SIM_UNUSED("ISecondaryTile.put_LockScreenDisplayBadgeAndTileText", put_LockScreenDisplayBadgeAndTileText(boolean))
    SIM_UNUSED("ISecondaryTile.get_LockScreenDisplayBadgeAndTileText", get_LockScreenDisplayBadgeAndTileText(boolean*))
    SIM_UNUSED("ISecondaryTile.put_TileOptions", put_TileOptions(UINT32))
    SIM_UNUSED("ISecondaryTile.get_TileOptions", get_TileOptions(UINT32*))
    SIM_UNUSED("ISecondaryTile.put_ForegroundText", put_ForegroundText(INT32))
    SIM_UNUSED("ISecondaryTile.get_ForegroundText", get_ForegroundText(INT32*))
    SIM_UNUSED("ISecondaryTile.put_BackgroundColor", put_BackgroundColor(UI::Color))
    SIM_UNUSED("ISecondaryTile.get_BackgroundColor", get_BackgroundColor(UI::Color*))
    HRESULT STDMETHODCALLTYPE RequestCreateAsync(Foundation::IAsyncOperation<boolean>** operation) noexcept override {
        SIM_FAULT("ISecondaryTile.RequestCreateAsync");
        return Request(false, operation);
    }
    SIM_UNUSED("ISecondaryTile.RequestCreateAsyncWithPoint",
               RequestCreateAsyncWithPoint(Foundation::Point, Foundation::IAsyncOperation<boolean>**))
    SIM_UNUSED("ISecondaryTile.RequestCreateAsyncWithRect",
               RequestCreateAsyncWithRect(Foundation::Rect, Foundation::IAsyncOperation<boolean>**))
    SIM_UNUSED("ISecondaryTile.RequestCreateAsyncWithRectAndPlacement",
               RequestCreateAsyncWithRectAndPlacement(Foundation::Rect, INT32, Foundation::IAsyncOperation<boolean>**))
    HRESULT STDMETHODCALLTYPE RequestDeleteAsync(Foundation::IAsyncOperation<boolean>** operation) noexcept override {
        SIM_FAULT("ISecondaryTile.RequestDeleteAsync");
        return Request(true, operation);
    }
    SIM_UNUSED("ISecondaryTile.RequestDeleteAsyncWithPoint",
               RequestDeleteAsyncWithPoint(Foundation::Point, Foundation::IAsyncOperation<boolean>**))
    SIM_UNUSED("ISecondaryTile.RequestDeleteAsyncWithRect",
               RequestDeleteAsyncWithRect(Foundation::Rect, Foundation::IAsyncOperation<boolean>**))
    SIM_UNUSED("ISecondaryTile.RequestDeleteAsyncWithRectAndPlacement",
               RequestDeleteAsyncWithRectAndPlacement(Foundation::Rect, INT32, Foundation::IAsyncOperation<boolean>**))
    SIM_UNUSED("ISecondaryTile.UpdateAsync", UpdateAsync(Foundation::IAsyncOperation<boolean>**))

    // ---- ISecondaryTile2 ----
    SIM_UNUSED("ISecondaryTile2.put_PhoneticName", put_PhoneticName(HSTRING))
    SIM_UNUSED("ISecondaryTile2.get_PhoneticName", get_PhoneticName(HSTRING*))
    HRESULT STDMETHODCALLTYPE get_VisualElements(StartScreen::ISecondaryTileVisualElements** value) noexcept override {
        SIM_FAULT("ISecondaryTile2.get_VisualElements");
        if (!value) return E_POINTER;
        visualElements_.copy_to(value);
        return S_OK;
    }
    SIM_UNUSED("ISecondaryTile2.put_RoamingEnabled", put_RoamingEnabled(boolean))
    SIM_UNUSED("ISecondaryTile2.get_RoamingEnabled", get_RoamingEnabled(boolean*))
    SIM_UNUSED("ISecondaryTile2.add_VisualElementsRequested",
               add_VisualElementsRequested(IInspectable*, abi::EventRegistrationToken*))
    SIM_UNUSED("ISecondaryTile2.remove_VisualElementsRequested",
               remove_VisualElementsRequested(abi::EventRegistrationToken))

    // ---- IInitializeWithWindow ----
    HRESULT STDMETHODCALLTYPE Initialize(HWND window) noexcept override {
        SIM_FAULT("IInitializeWithWindow.Initialize");
        if (!IsWindow(window)) return E_INVALIDARG;
        std::lock_guard guard(state().lock);
        record_->window = window;
        ++record_->windowInitializations;
        return S_OK;
    }

private:
    HRESULT Set(std::wstring SecondaryTileRecord::*field, HSTRING value) {
        std::lock_guard guard(state().lock);
        (*record_).*field = ToWide(value);
        return S_OK;
    }
    HRESULT Get(std::wstring SecondaryTileRecord::*field, HSTRING* value) {
        if (!value) return E_POINTER;
        std::lock_guard guard(state().lock);
        *value = MakeHString((*record_).*field);
        return S_OK;
    }
    HRESULT Request(bool isDelete, Foundation::IAsyncOperation<boolean>** operation) {
        if (!operation) return E_POINTER;
        *operation = nullptr;
        std::wstring tileId;
        HWND window = nullptr;
        {
            std::lock_guard guard(state().lock);
            tileId = record_->tileId;
            window = record_->window;
        }
        // A desktop program pins with package identity only, from build 16299 on
        // (before, the tile takes no owner window), with the owner window that
        // the dialog is drawn over, on that window's UI thread.
        if (!IsPackaged())
            return RefuseTileRequest(isDelete, tileId, kNoPackage, "the process has no package identity");
        if (!WindowsAtLeast(kDesktopPinningBuild))
            return RefuseTileRequest(isDelete, tileId, kNoOwnerWindow, "desktop programs pin from build 16299 on");
        if (!window || !IsWindow(window))
            return RefuseTileRequest(isDelete, tileId, kNoOwnerWindow, "the tile has no owner window");
        if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
            return RefuseTileRequest(isDelete, tileId, RPC_E_WRONG_THREAD, "not made on the owner window's thread");
        return NewTileRequest(isDelete, tileId, operation);
    }

    std::shared_ptr<SecondaryTileRecord> record_;
    const bool hasTile2_ = [] {
        std::lock_guard guard(state().lock);
        return state().hasTile2;
    }();
    ::winrt::com_ptr<Foundation::IUriRuntimeClass> logo_;
    ::winrt::com_ptr<StartScreen::ISecondaryTileVisualElements> visualElements_;
};

HRESULT NewTile(std::shared_ptr<SecondaryTileRecord> record, Foundation::IUriRuntimeClass* logo,
                StartScreen::ISecondaryTile** value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (!IsValidTileId(record->tileId)) return E_INVALIDARG;
    record->alive = true;
    auto tile = MakeObject<Tile>(record, ::winrt::copy_ptr(logo));
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        s.tiles.push_back(std::move(record));
    }
    *value = static_cast<StartScreen::ISecondaryTile*>(tile.detach());
    return S_OK;
}

class TileFactory
    : public SimFactory<TileFactory, StartScreen::ISecondaryTileFactory, StartScreen::ISecondaryTileFactory2,
                        StartScreen::ISecondaryTileStatics> {
public:
    using SimFactory::SimFactory;

    // ---- ISecondaryTileFactory ----
    SIM_UNUSED("ISecondaryTileFactory.CreateTile",
               CreateTile(HSTRING, HSTRING, HSTRING, HSTRING, UINT32, Foundation::IUriRuntimeClass*,
                          StartScreen::ISecondaryTile**))
    SIM_UNUSED("ISecondaryTileFactory.CreateWideTile",
               CreateWideTile(HSTRING, HSTRING, HSTRING, HSTRING, UINT32, Foundation::IUriRuntimeClass*,
                              Foundation::IUriRuntimeClass*, StartScreen::ISecondaryTile**))
    HRESULT STDMETHODCALLTYPE CreateWithId(HSTRING tileId, StartScreen::ISecondaryTile** value) noexcept override {
        SIM_FAULT("ISecondaryTileFactory.CreateWithId");
        auto record = std::make_shared<SecondaryTileRecord>();
        record->tileId = ToWide(tileId);
        return NewTile(std::move(record), nullptr, value);
    }

    // ---- ISecondaryTileFactory2 ----
    HRESULT STDMETHODCALLTYPE CreateMinimalTile(HSTRING tileId, HSTRING displayName, HSTRING arguments,
                                                Foundation::IUriRuntimeClass* square150x150Logo, INT32 desiredSize,
                                                StartScreen::ISecondaryTile** value) noexcept override {
        SIM_FAULT("ISecondaryTileFactory2.CreateMinimalTile");
        if (value) *value = nullptr;
        // TileSize runs from Default (0) to Square44x44 (7); a tile needs a logo.
        if (!square150x150Logo || desiredSize < 0 || desiredSize > 7) return E_INVALIDARG;
        auto record = std::make_shared<SecondaryTileRecord>();
        record->minimal = true;
        record->tileId = ToWide(tileId);
        record->displayName = ToWide(displayName);
        record->arguments = ToWide(arguments);
        record->logoUri = UriText(square150x150Logo);
        record->desiredSize = desiredSize;
        return NewTile(std::move(record), square150x150Logo, value);
    }

    // ---- ISecondaryTileStatics ----
    HRESULT STDMETHODCALLTYPE Exists(HSTRING tileId, boolean* exists) noexcept override {
        SIM_FAULT("ISecondaryTileStatics.Exists");
        if (!exists) return E_POINTER;
        *exists = IsTilePinned(ToWide(tileId)) ? 1 : 0;
        return S_OK;
    }
    SIM_UNUSED("ISecondaryTileStatics.FindAllAsync", FindAllAsync(IInspectable**))
    SIM_UNUSED("ISecondaryTileStatics.FindAllForApplicationAsync", FindAllForApplicationAsync(HSTRING, IInspectable**))
    SIM_UNUSED("ISecondaryTileStatics.FindAllForPackageAsync", FindAllForPackageAsync(IInspectable**))
};

const ClassRegistration registration(StartScreen::SecondaryTile::name,
                                     [] { return NewFactory<TileFactory>(StartScreen::SecondaryTile::name); });
const ResetRegistration reset([] {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.pinned.clear();
    s.tiles.clear();
    s.hasTile2 = true;
});

}  // namespace

void SetTilePinned(const std::wstring& tileId, bool pinned) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    if (pinned)
        s.pinned.insert(tileId);
    else
        s.pinned.erase(tileId);
}

bool IsTilePinned(const std::wstring& tileId) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    return s.pinned.count(tileId) != 0;
}

long SecondaryTileCount() {
    auto& s = state();
    std::lock_guard guard(s.lock);
    return static_cast<long>(s.tiles.size());
}

SecondaryTileRecord SecondaryTileAt(long index) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    if (index < 0 || index >= static_cast<long>(s.tiles.size())) return {};
    return *s.tiles[index];
}

void SetSecondaryTile2(bool present) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.hasTile2 = present;
}

}  // namespace sim
