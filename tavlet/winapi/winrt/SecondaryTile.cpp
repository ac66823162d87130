// Secondary tiles and their visual elements: the tile handle wraps one runtime
// SecondaryTile, the visual-elements handle one SecondaryTileVisualElements.
#include "tavlet.h"

#include "base/AbiNamespaces.h"
#include "base/Color.h"
#include "base/Guards.h"
#include "base/HString.h"
#include "base/Runtime.h"
#include "abi/Foundation.h"
#include "abi/Interop.h"
#include "abi/UI.StartScreen.h"
#include "tavlet/Strings.h"
#include "tavlet/winapi/SecondaryTile.h"

namespace tavlet::winapi {
namespace {

using winrt::HString;
using winrt::HStringReference;
using Operation = AsyncOperationT<bool>::Operation;
using TileClass = StartScreen::SecondaryTile;

// _WinRTTileSize -> TileSize. The runtime numbers the two small sizes last
// (they came with later releases).
constexpr StartScreen::TileSize kRuntimeTileSize[] = {
    StartScreen::TileSize::Default,       StartScreen::TileSize::Square44x44, StartScreen::TileSize::Square71x71,
    StartScreen::TileSize::Square150x150, StartScreen::TileSize::Wide310x150, StartScreen::TileSize::Square310x310,
};
constexpr uint32_t kLargestTileSize = _WinRTTileSize_Large;

// The text of a logo, or empty when the tile has none of that size (the
// runtime answers a null Uri).
std::wstring UriText(const ::winrt::com_ptr<Foundation::IUriRuntimeClass>& uri) {
    if (!uri) return {};
    HString text;
    ::winrt::check_hresult(uri.as<Foundation::IStringable>()->ToString(text.put()));
    return text.str();
}

class SecondaryTileVisualElementsImpl final : public SecondaryTileVisualElements {
public:
    explicit SecondaryTileVisualElementsImpl(::winrt::com_ptr<StartScreen::ISecondaryTileVisualElements> visualElements)
        : visualElements_(std::move(visualElements)) {}

    uint32_t GetBackgroundColor() override {
        UI::Color color{};
        ::winrt::check_hresult(visualElements_->get_BackgroundColor(&color));
        return winrt::ToArgb(color);
    }
    uint32_t GetForegroundText() override {
        INT32 foreground = 0;
        ::winrt::check_hresult(visualElements_->get_ForegroundText(&foreground));
        return foreground == INT32(StartScreen::ForegroundText::Dark) ? 1 : 0;
    }
    bool GetShowDisplayNameOnMedium() override {
        return Flag(&StartScreen::ISecondaryTileVisualElements::get_ShowNameOnSquare150x150Logo);
    }
    bool GetShowDisplayNameOnWide() override {
        return Flag(&StartScreen::ISecondaryTileVisualElements::get_ShowNameOnWide310x150Logo);
    }
    bool GetShowDisplayNameOnLarge() override {
        return Flag(&StartScreen::ISecondaryTileVisualElements::get_ShowNameOnSquare310x310Logo);
    }
    std::wstring GetLogoUriTiny() override {
        return Logo(visualElements_.as<StartScreen::ISecondaryTileVisualElements3>(),
                    &StartScreen::ISecondaryTileVisualElements3::get_Square44x44Logo);
    }
    std::wstring GetLogoUriSmall() override {
        return Logo(visualElements_.as<StartScreen::ISecondaryTileVisualElements2>(),
                    &StartScreen::ISecondaryTileVisualElements2::get_Square71x71Logo);
    }
    std::wstring GetLogoUriMedium() override {
        return Logo(visualElements_, &StartScreen::ISecondaryTileVisualElements::get_Square150x150Logo);
    }
    std::wstring GetLogoUriWide() override {
        return Logo(visualElements_, &StartScreen::ISecondaryTileVisualElements::get_Wide310x150Logo);
    }
    std::wstring GetLogoUriLarge() override {
        return Logo(visualElements_, &StartScreen::ISecondaryTileVisualElements::get_Square310x310Logo);
    }

private:
    bool Flag(HRESULT (STDMETHODCALLTYPE StartScreen::ISecondaryTileVisualElements::*getter)(abi::boolean*)) {
        abi::boolean value = 0;
        ::winrt::check_hresult((visualElements_.get()->*getter)(&value));
        return value != 0;
    }
    template <typename I>
    static std::wstring Logo(const ::winrt::com_ptr<I>& source,
                             HRESULT (STDMETHODCALLTYPE I::*getter)(Foundation::IUriRuntimeClass**)) {
        ::winrt::com_ptr<Foundation::IUriRuntimeClass> uri;
        ::winrt::check_hresult((source.get()->*getter)(uri.put()));
        return UriText(uri);
    }

    ::winrt::com_ptr<StartScreen::ISecondaryTileVisualElements> visualElements_;
};

class SecondaryTileImpl final : public SecondaryTile {
public:
    using public_type = SecondaryTile;

    ~SecondaryTileImpl() override {
        lastRequest_ = nullptr;
        tile_ = nullptr;
    }

    void InitWithTileID(const std::wstring& tileId) override {
        lastRequest_ = nullptr;
        ::winrt::com_ptr<StartScreen::ISecondaryTile> tile;
        ::winrt::check_hresult(
            winrt::GetActivationFactory<TileClass, StartScreen::ISecondaryTileFactory>()->CreateWithId(
                HStringReference(tileId), tile.put()));
        tile_ = std::move(tile);
    }

    void InitWithCreateArgs(const std::wstring& tileId, const std::wstring& displayName, const std::wstring& arguments,
                            const std::wstring& logoUri, HWND ownerWindow, _WinRTTileSize size) override {
        tavlet::require(size <= kLargestTileSize);
        const INT32 runtimeSize = INT32(kRuntimeTileSize[size]);
        // A malformed logo URI fails here, before the handle is touched.
        ::winrt::com_ptr<Foundation::IUriRuntimeClass> logo;
        ::winrt::check_hresult(
            winrt::GetActivationFactory<Foundation::Uri, Foundation::IUriRuntimeClassFactory>()->CreateUri(
                HStringReference(logoUri), logo.put()));
        lastRequest_ = nullptr;
        ::winrt::com_ptr<StartScreen::ISecondaryTile> tile;
        ::winrt::check_hresult(
            winrt::GetActivationFactory<TileClass, StartScreen::ISecondaryTileFactory2>()->CreateMinimalTile(
                HStringReference(tileId), HStringReference(displayName), HStringReference(arguments), logo.get(),
                runtimeSize, tile.put()));
        tile_ = std::move(tile);
        // A desktop program has no core window: the pin dialog needs the host's
        // window as its owner. A failure here leaves the new tile in place.
        if (ownerWindow) ::winrt::check_hresult(tile_.as<abi::IInitializeWithWindow>()->Initialize(ownerWindow));
    }

    std::wstring GetTileID() override {
        HString id;
        ::winrt::check_hresult(Tile()->get_TileId(id.put()));
        return id.str();
    }

    std::unique_ptr<SecondaryTileVisualElements> GetVisualElements() override {
        ::winrt::com_ptr<StartScreen::ISecondaryTileVisualElements> visualElements;
        ::winrt::check_hresult(Tile().as<StartScreen::ISecondaryTile2>()->get_VisualElements(visualElements.put()));
        tavlet::require(visualElements != nullptr);
        return std::make_unique<SecondaryTileVisualElementsImpl>(std::move(visualElements));
    }

    std::unique_ptr<AsyncOperationT<bool>> RequestCreateAsync() override {
        return Request(&StartScreen::ISecondaryTile::RequestCreateAsync);
    }
    std::unique_ptr<AsyncOperationT<bool>> RequestDeleteAsync() override {
        return Request(&StartScreen::ISecondaryTile::RequestDeleteAsync);
    }

private:
    // An allocated handle that was never initialised has no runtime tile.
    const ::winrt::com_ptr<StartScreen::ISecondaryTile>& Tile() const {
        tavlet::require(tile_ != nullptr);
        return tile_;
    }

    std::unique_ptr<AsyncOperationT<bool>> Request(
        HRESULT (STDMETHODCALLTYPE StartScreen::ISecondaryTile::*request)(Operation**)) {
        const auto& tile = Tile();
        ::winrt::com_ptr<Operation> operation;
        ::winrt::check_hresult((tile.get()->*request)(operation.put()));
        // The tile keeps the latest request alive even after the host has
        // released its handle to it.
        lastRequest_ = std::move(operation);
        return AsyncOperationT<bool>::Create(lastRequest_);
    }

    ::winrt::com_ptr<StartScreen::ISecondaryTile> tile_;
    ::winrt::com_ptr<Operation> lastRequest_;
};

}  // namespace

bool SecondaryTile::Exists(const std::wstring& tileId) {
    abi::boolean exists = 0;
    ::winrt::check_hresult(
        winrt::GetActivationFactory<TileClass, StartScreen::ISecondaryTileStatics>()->Exists(
            HStringReference(tileId), &exists));
    return exists != 0;
}

}  // namespace tavlet::winapi

using tavlet::require;
using tavlet::ToWideString;
using tavlet::winapi::DeallocHandle;
using tavlet::winapi::ObjectOf;
using tavlet::winapi::SecondaryTile;
using tavlet::winapi::SecondaryTileImpl;
using tavlet::winapi::SecondaryTileVisualElements;
using tavlet::winapi::winrt::GetterGuard;
using tavlet::winapi::winrt::HandleGuard;
using tavlet::winapi::winrt::ReleaseGuard;
using tavlet::winapi::winrt::StoreBstr;

namespace {

template <typename Getter>
HRESULT GetNumber(_WinRTSecondaryTileVisualElements* elements, uint32_t* out, Getter getter) {
    return GetterGuard(out, 0, [&] { return getter(ObjectOf<SecondaryTileVisualElements>(elements)); });
}

// A logo the tile does not have stays a null BSTR (a Uri's text is never empty).
template <typename Getter>
HRESULT GetLogo(_WinRTSecondaryTileVisualElements* elements, BSTR* out, Getter getter) {
    return HandleGuard([&] {
        require(out != nullptr);
        *out = nullptr;
        std::wstring text = getter(ObjectOf<SecondaryTileVisualElements>(elements));
        if (!text.empty()) StoreBstr(out, text);
    });
}

}  // namespace

extern "C" {

HRESULT TAVLET_CALL _WinRTSecondaryTile_Alloc(_WinRTSecondaryTile** tile) {
    return HandleGuard([&] { tavlet::winapi::AllocHandle<SecondaryTileImpl>(tile); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_InitWithTileID(_WinRTSecondaryTile* tile, const wchar_t* tileId) {
    return HandleGuard([&] {
        require(tileId != nullptr);
        ObjectOf<SecondaryTile>(tile)->InitWithTileID(ToWideString(tileId));
    });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_InitWithCreateArgs(_WinRTSecondaryTile* tile, const wchar_t* tileId,
                                                           const _WinRTSecondaryTileCreateArgs* args) {
    return HandleGuard([&] {
        require(tileId != nullptr);
        require(args != nullptr);
        auto* object = ObjectOf<SecondaryTile>(tile);
        // args->reserved is the host's; it is never read.
        const std::wstring logoUri = ToWideString(args->logoUri);
        const std::wstring arguments = ToWideString(args->arguments);
        const std::wstring displayName = ToWideString(args->displayName);
        const std::wstring id = ToWideString(tileId);
        const _WinRTTileSize size = args->size;
        require(size <= _WinRTTileSize_Large);
        object->InitWithCreateArgs(id, displayName, arguments, logoUri, args->ownerWindow, size);
    });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_Exists(const wchar_t* tileId, uint32_t* exists) {
    return HandleGuard([&] {
        require(tileId != nullptr);
        require(exists != nullptr);
        *exists = 0;
        *exists = SecondaryTile::Exists(ToWideString(tileId)) ? 1 : 0;
    });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_GetTileID(_WinRTSecondaryTile* tile, BSTR* tileId) {
    return GetterGuard(tileId, nullptr, [&] { return ObjectOf<SecondaryTile>(tile)->GetTileID(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_GetVisualElements(_WinRTSecondaryTile* tile,
                                                          _WinRTSecondaryTileVisualElements** elements) {
    return GetterGuard(elements, nullptr, [&] { return ObjectOf<SecondaryTile>(tile)->GetVisualElements(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_RequestCreateAsync(_WinRTSecondaryTile* tile,
                                                           _WinRTAsyncOperationBOOL** operation) {
    return GetterGuard(operation, nullptr, [&] { return ObjectOf<SecondaryTile>(tile)->RequestCreateAsync(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_RequestDeleteAsync(_WinRTSecondaryTile* tile,
                                                           _WinRTAsyncOperationBOOL** operation) {
    return GetterGuard(operation, nullptr, [&] { return ObjectOf<SecondaryTile>(tile)->RequestDeleteAsync(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTile_Dealloc(_WinRTSecondaryTile* tile) {
    return ReleaseGuard([&] { DeallocHandle<SecondaryTile>(tile); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetBackgroundColor(_WinRTSecondaryTileVisualElements* elements,
                                                                         uint32_t* color) {
    return GetNumber(elements, color, [](auto* object) { return object->GetBackgroundColor(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetForegroundText(_WinRTSecondaryTileVisualElements* elements,
                                                                        uint32_t* foreground) {
    return GetNumber(elements, foreground, [](auto* object) {
        uint32_t value = object->GetForegroundText();
        require(value < 2);
        return value;
    });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium(
    _WinRTSecondaryTileVisualElements* elements, uint32_t* show) {
    return GetNumber(elements, show, [](auto* object) { return object->GetShowDisplayNameOnMedium() ? 1u : 0u; });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide(
    _WinRTSecondaryTileVisualElements* elements, uint32_t* show) {
    return GetNumber(elements, show, [](auto* object) { return object->GetShowDisplayNameOnWide() ? 1u : 0u; });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge(
    _WinRTSecondaryTileVisualElements* elements, uint32_t* show) {
    return GetNumber(elements, show, [](auto* object) { return object->GetShowDisplayNameOnLarge() ? 1u : 0u; });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriTiny(_WinRTSecondaryTileVisualElements* elements,
                                                                     BSTR* uri) {
    return GetLogo(elements, uri, [](auto* object) { return object->GetLogoUriTiny(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriSmall(_WinRTSecondaryTileVisualElements* elements,
                                                                      BSTR* uri) {
    return GetLogo(elements, uri, [](auto* object) { return object->GetLogoUriSmall(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriMedium(_WinRTSecondaryTileVisualElements* elements,
                                                                       BSTR* uri) {
    return GetLogo(elements, uri, [](auto* object) { return object->GetLogoUriMedium(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriWide(_WinRTSecondaryTileVisualElements* elements,
                                                                     BSTR* uri) {
    return GetLogo(elements, uri, [](auto* object) { return object->GetLogoUriWide(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriLarge(_WinRTSecondaryTileVisualElements* elements,
                                                                      BSTR* uri) {
    return GetLogo(elements, uri, [](auto* object) { return object->GetLogoUriLarge(); });
}

HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_Dealloc(_WinRTSecondaryTileVisualElements* elements) {
    return ReleaseGuard([&] { DeallocHandle<SecondaryTileVisualElements>(elements); });
}

}  // extern "C"
