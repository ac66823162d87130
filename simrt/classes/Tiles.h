// What the simulated tile and notification classes share among themselves
// (not part of the control API).
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Data.Xml.Dom.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"
#include "tavlet/winapi/winrt/abi/UI.Notifications.h"
#include "tavlet/winapi/winrt/abi/UI.StartScreen.h"

namespace sim {

// A Windows.Foundation.Uri over text already known to be valid.
::winrt::com_ptr<abi::Windows::Foundation::IUriRuntimeClass> MakeUri(const std::wstring& text);
// The text of a Uri (IStringable), or empty for null.
std::wstring UriText(abi::Windows::Foundation::IUriRuntimeClass* uri);

// New visual elements for a tile, from the configured visuals; `square150x150`
// (may be null) is the logo the tile was created with.
::winrt::com_ptr<abi::Windows::UI::StartScreen::ISecondaryTileVisualElements> MakeVisualElements(
    abi::Windows::Foundation::IUriRuntimeClass* square150x150);

// A new pin (isDelete false) or unpin request for the tile, waiting for the
// user's answer (SecondaryTileRequests.cpp).
HRESULT NewTileRequest(bool isDelete, const std::wstring& tileId,
                       abi::Windows::Foundation::IAsyncOperation<abi::boolean>** operation);

// Records a request that Windows refused at once, and returns `refused`.
HRESULT RefuseTileRequest(bool isDelete, const std::wstring& tileId, HRESULT refused, const char* because);

// The text a simulated XmlDocument was loaded with (empty for a foreign one).
std::wstring XmlTextOf(abi::Windows::Data::Xml::Dom::IXmlDocument* document);

// A new TileUpdater for what a manager was asked (recorded for the tests).
::winrt::com_ptr<abi::Windows::UI::Notifications::ITileUpdater> MakeTileUpdater(bool forUser,
                                                                               const std::wstring& userId,
                                                                               bool secondaryTile,
                                                                               const std::wstring& applicationId,
                                                                               const std::wstring& tileId);

}  // namespace sim
