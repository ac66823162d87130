// Control of secondary tiles, their pin and unpin requests and tile updaters
// (Windows.UI.StartScreen, Windows.UI.Notifications).
#pragma once

#include "Export.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// ---- Asynchronous operations, tiles, notifications ---------------------------
// Secondary tiles (Windows.UI.StartScreen). The pinned set answers
// SecondaryTile.Exists; nothing is pinned after Reset. A create request that
// completes with true pins its tile, a delete request with true unpins it.
SIMRT_API void SetTilePinned(const std::wstring& tileId, bool pinned);
SIMRT_API bool IsTilePinned(const std::wstring& tileId);

// Every runtime SecondaryTile made since Reset, in order.
struct SecondaryTileRecord {
    bool alive = false;
    bool minimal = false;         // made by CreateMinimalTile (else CreateWithId)
    std::wstring tileId, displayName, arguments, logoUri;
    int32_t desiredSize = -1;     // runtime TileSize given to CreateMinimalTile
    HWND window = nullptr;        // last window given to IInitializeWithWindow
    long windowInitializations = 0;
};
// Tiles made from now on answer ISecondaryTile2 (the default) or not (older systems).
SIMRT_API void SetSecondaryTile2(bool present);
SIMRT_API long SecondaryTileCount();
SIMRT_API SecondaryTileRecord SecondaryTileAt(long index);

// What the visual elements of tiles made from now on report; an empty logo
// text is a logo that is not set. The Square150x150 logo of a tile made from
// create arguments is the one it was created with.
struct TileVisuals {
    uint8_t a = 0, r = 0, g = 0, b = 0;  // BackgroundColor (transparent)
    int32_t foregroundText = 1;          // ForegroundText: 0 Dark, 1 Light
    bool showNameOnSquare150x150 = false, showNameOnWide310x150 = false, showNameOnSquare310x310 = false;
    std::wstring square44x44, square71x71, square150x150, wide310x150, square310x310;
};
SIMRT_API void SetTileVisuals(const TileVisuals& visuals);
// Visual elements made from now on answer ISecondaryTileVisualElements2 and 3
// (both by default, as a current system does) or not (older systems).
SIMRT_API void SetTileVisualElementsInterfaces(bool hasVisualElements2, bool hasVisualElements3);

// Every pin (create) and unpin (delete) request since Reset, in order: an
// IAsyncOperation<Boolean> that the test finishes; the completion is raised
// where the runtime delivers (a runtime thread by default). Finishing
// returns false when the request is gone or has already finished.
// Windows refuses a request at once (no operation, no dialog) without package
// identity (HRESULT_FROM_WIN32(APPMODEL_ERROR_NO_PACKAGE)), before build 16299
// or without a live owner window given through IInitializeWithWindow
// (HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE)), and off the owner
// window's thread (RPC_E_WRONG_THREAD); the record keeps why.
struct TileRequestRecord {
    bool alive = false;
    bool isDelete = false;
    std::wstring tileId;
    int32_t status = -1;          // AsyncStatus while alive and not closed
    bool closed = false;
    bool hasHandler = false;      // a Completed handler was accepted
    HRESULT refused = S_OK;       // what Windows answered a refused request
    std::string refusedBecause;   // why, in words
};
SIMRT_API long TileRequestCount();
SIMRT_API TileRequestRecord TileRequestAt(long index);
// The oldest request still waiting for the user's answer, -1 for none.
SIMRT_API long PendingTileRequest();
SIMRT_API bool CompleteTileRequest(long index, bool result);
SIMRT_API bool FailTileRequest(long index, HRESULT error);
SIMRT_API bool CancelTileRequest(long index);
// From now on the request's IAsyncInfo.Status answers `status`, whatever its
// state (to stand for a value the system might add); false when it is gone.
SIMRT_API bool ReportTileRequestStatus(long index, int32_t status);

// Tile updaters (Windows.UI.Notifications) made since Reset, in order, with
// everything sent to them.
struct TileUpdateRecord {
    std::wstring xml;
    bool hasTag = false;
    std::wstring tag;
    bool hasExpiration = false;
    int64_t expirationTicks = 0;  // DateTime.UniversalTime
    bool shown = false;           // on the Start screen: Windows 11 accepts it and shows nothing
};
struct TileUpdaterRecord {
    bool alive = false;
    bool forUser = false;         // made by a TileUpdateManagerForUser
    std::wstring userId;
    bool secondaryTile = false;
    std::wstring applicationId;   // empty: the calling application
    std::wstring tileId;
    std::vector<TileUpdateRecord> updates;
    long clears = 0;
    int queue = -1;               // -1 never switched, 0 off, 1 on
    int queueSquare150x150 = -1, queueWide310x150 = -1, queueSquare310x310 = -1;
};
SIMRT_API long TileUpdaterCount();
SIMRT_API TileUpdaterRecord TileUpdaterAt(long index);
// Updaters made from now on answer ITileUpdater2 (the default) or not.
SIMRT_API void SetTileUpdater2(bool present);
// The managers' Create... members succeed without an updater (true) or
// answer one (false, the default).
SIMRT_API void SetTileUpdaterAnswersEmpty(bool empty);

}  // namespace sim
