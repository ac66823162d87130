// The updater of a live tile (the application's main tile or a secondary tile,
// optionally for one user): sends tile XML, clears, switches the queue.
#pragma once

#include "tavlet.h"
#include "tavlet/winapi/ApiInformationHostT.h"
#include "tavlet/winapi/OpaqueRefT.h"

#include <cstdint>
#include <string>

namespace tavlet::winapi {

// The library's own copy of a host's _WinRTTileUpdateArgs.
struct TileUpdate {
    std::wstring xml;
    std::wstring tag;         // empty: no tag
    uint64_t expiration = 0;  // seconds since 1970-01-01 UTC; all bits set: none
};

class TileUpdater : public OpaqueRefT<_WinRTTileUpdater>, public ApiInformationHostT<TileUpdater> {
public:
    virtual ~TileUpdater() = default;
    virtual void InitWithPrimaryTile(const std::wstring& applicationId, const std::wstring& userId) = 0;
    virtual void InitWithSecondaryTile(const std::wstring& tileId, const std::wstring& userId) = 0;
    virtual void Clear() = 0;
    virtual void Update(const TileUpdate& update) = 0;
    virtual void EnableNotificationQueuing(bool enable) = 0;
    virtual void EnableNotificationQueuingForTileSize(_WinRTTileSize size, bool enable) = 0;
};

}  // namespace tavlet::winapi
