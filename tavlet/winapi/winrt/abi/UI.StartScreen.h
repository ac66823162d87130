// Windows.UI.StartScreen
#pragma once

#include "Instances.h"

namespace abi::Windows::UI::StartScreen {

TAVLET_RUNTIME_CLASS(SecondaryTile, L"Windows.UI.StartScreen.SecondaryTile");
TAVLET_RUNTIME_CLASS(SecondaryTileVisualElements, L"Windows.UI.StartScreen.SecondaryTileVisualElements");
TAVLET_RUNTIME_CLASS(VisualElementsRequestedEventArgs, L"Windows.UI.StartScreen.VisualElementsRequestedEventArgs");

struct ISecondaryTile : IInspectable {
    TAVLET_IID(ISecondaryTile, "9e9e51e0-2bb5-4bc0-bb8d-42b23abcc88d");
    virtual HRESULT STDMETHODCALLTYPE put_TileId(HSTRING value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_TileId(HSTRING* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE put_Arguments(HSTRING value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_Arguments(HSTRING* value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE put_ShortName(HSTRING value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE get_ShortName(HSTRING* value) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE put_DisplayName(HSTRING value) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* value) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE put_Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE get_Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE put_SmallLogo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE get_SmallLogo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE put_WideLogo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE get_WideLogo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE put_LockScreenBadgeLogo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE get_LockScreenBadgeLogo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE put_LockScreenDisplayBadgeAndTileText(boolean value) = 0;  // 22
    virtual HRESULT STDMETHODCALLTYPE get_LockScreenDisplayBadgeAndTileText(boolean* value) = 0;  // 23
    virtual HRESULT STDMETHODCALLTYPE put_TileOptions(UINT32 value) = 0;  // 24
    virtual HRESULT STDMETHODCALLTYPE get_TileOptions(UINT32* value) = 0;  // 25
    virtual HRESULT STDMETHODCALLTYPE put_ForegroundText(INT32 value) = 0;  // 26
    virtual HRESULT STDMETHODCALLTYPE get_ForegroundText(INT32* value) = 0;  // 27
    virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(::abi::Windows::UI::Color value) = 0;  // 28
    virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(::abi::Windows::UI::Color* value) = 0;  // 29
    virtual HRESULT STDMETHODCALLTYPE RequestCreateAsync(::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 30
    virtual HRESULT STDMETHODCALLTYPE RequestCreateAsyncWithPoint(::abi::Windows::Foundation::Point invocationPoint, ::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 31
    virtual HRESULT STDMETHODCALLTYPE RequestCreateAsyncWithRect(::abi::Windows::Foundation::Rect selection, ::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 32
    virtual HRESULT STDMETHODCALLTYPE RequestCreateAsyncWithRectAndPlacement(::abi::Windows::Foundation::Rect selection, INT32 preferredPlacement, ::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 33
    virtual HRESULT STDMETHODCALLTYPE RequestDeleteAsync(::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 34
    virtual HRESULT STDMETHODCALLTYPE RequestDeleteAsyncWithPoint(::abi::Windows::Foundation::Point invocationPoint, ::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 35
    virtual HRESULT STDMETHODCALLTYPE RequestDeleteAsyncWithRect(::abi::Windows::Foundation::Rect selection, ::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 36
    virtual HRESULT STDMETHODCALLTYPE RequestDeleteAsyncWithRectAndPlacement(::abi::Windows::Foundation::Rect selection, INT32 preferredPlacement, ::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 37
    virtual HRESULT STDMETHODCALLTYPE UpdateAsync(::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 38
};

struct ISecondaryTile2 : IInspectable {
    TAVLET_IID(ISecondaryTile2, "b2f6cc35-3250-4990-923c-294ab4b694dd");
    virtual HRESULT STDMETHODCALLTYPE put_PhoneticName(HSTRING value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_PhoneticName(HSTRING* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_VisualElements(::abi::Windows::UI::StartScreen::ISecondaryTileVisualElements** value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE put_RoamingEnabled(boolean value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE get_RoamingEnabled(boolean* value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE add_VisualElementsRequested(IInspectable* handler, ::abi::EventRegistrationToken* token) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE remove_VisualElementsRequested(::abi::EventRegistrationToken token) = 0;  // 12
};

struct ISecondaryTileFactory : IInspectable {
    TAVLET_IID(ISecondaryTileFactory, "57f52ca0-51bc-4abf-8ebf-627a0398b05a");
    virtual HRESULT STDMETHODCALLTYPE CreateTile(HSTRING tileId, HSTRING shortName, HSTRING displayName, HSTRING arguments, UINT32 tileOptions, ::abi::Windows::Foundation::IUriRuntimeClass* logoReference, ::abi::Windows::UI::StartScreen::ISecondaryTile** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateWideTile(HSTRING tileId, HSTRING shortName, HSTRING displayName, HSTRING arguments, UINT32 tileOptions, ::abi::Windows::Foundation::IUriRuntimeClass* logoReference, ::abi::Windows::Foundation::IUriRuntimeClass* wideLogoReference, ::abi::Windows::UI::StartScreen::ISecondaryTile** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE CreateWithId(HSTRING tileId, ::abi::Windows::UI::StartScreen::ISecondaryTile** value) = 0;  // 8
};

struct ISecondaryTileFactory2 : IInspectable {
    TAVLET_IID(ISecondaryTileFactory2, "274b8a3b-522d-448e-9eb2-d0672ab345c8");
    virtual HRESULT STDMETHODCALLTYPE CreateMinimalTile(HSTRING tileId, HSTRING displayName, HSTRING arguments, ::abi::Windows::Foundation::IUriRuntimeClass* square150x150Logo, INT32 desiredSize, ::abi::Windows::UI::StartScreen::ISecondaryTile** value) = 0;  // 6
};

struct ISecondaryTileStatics : IInspectable {
    TAVLET_IID(ISecondaryTileStatics, "99908dae-d051-4676-87fe-9ec242d83c74");
    virtual HRESULT STDMETHODCALLTYPE Exists(HSTRING tileId, boolean* exists) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE FindAllAsync(IInspectable** operation) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE FindAllForApplicationAsync(HSTRING applicationId, IInspectable** operation) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE FindAllForPackageAsync(IInspectable** operation) = 0;  // 9
};

struct ISecondaryTileVisualElements : IInspectable {
    TAVLET_IID(ISecondaryTileVisualElements, "1d8df333-815e-413f-9f50-a81da70a96b2");
    virtual HRESULT STDMETHODCALLTYPE put_Square30x30Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Square30x30Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE put_Square70x70Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_Square70x70Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE put_Square150x150Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE get_Square150x150Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE put_Wide310x150Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE get_Wide310x150Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE put_Square310x310Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE get_Square310x310Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE put_ForegroundText(INT32 value) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE get_ForegroundText(INT32* value) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(::abi::Windows::UI::Color value) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(::abi::Windows::UI::Color* value) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE put_ShowNameOnSquare150x150Logo(boolean value) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE get_ShowNameOnSquare150x150Logo(boolean* value) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE put_ShowNameOnWide310x150Logo(boolean value) = 0;  // 22
    virtual HRESULT STDMETHODCALLTYPE get_ShowNameOnWide310x150Logo(boolean* value) = 0;  // 23
    virtual HRESULT STDMETHODCALLTYPE put_ShowNameOnSquare310x310Logo(boolean value) = 0;  // 24
    virtual HRESULT STDMETHODCALLTYPE get_ShowNameOnSquare310x310Logo(boolean* value) = 0;  // 25
};

struct ISecondaryTileVisualElements2 : IInspectable {
    TAVLET_IID(ISecondaryTileVisualElements2, "fd2e31d0-57dc-4794-8ecf-5682f5f3e6ef");
    virtual HRESULT STDMETHODCALLTYPE put_Square71x71Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Square71x71Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 7
};

struct ISecondaryTileVisualElements3 : IInspectable {
    TAVLET_IID(ISecondaryTileVisualElements3, "56b55ad6-d15c-40f4-81e7-57ffd8f8a4e9");
    virtual HRESULT STDMETHODCALLTYPE put_Square44x44Logo(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Square44x44Logo(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 7
};

}  // namespace abi::Windows::UI::StartScreen
