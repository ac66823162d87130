// A secondary tile of the Start screen: made from the id of an existing tile or
// from create arguments, pinned and unpinned through the system's dialogs.
#pragma once

#include "tavlet.h"
#include "tavlet/winapi/ApiInformationHostT.h"
#include "tavlet/winapi/AsyncOperationT.h"
#include "tavlet/winapi/OpaqueRefT.h"
#include "tavlet/winapi/SecondaryTileVisualElements.h"

#include <memory>
#include <string>

namespace tavlet::winapi {

class SecondaryTile : public OpaqueRefT<_WinRTSecondaryTile>, public ApiInformationHostT<SecondaryTile> {
public:
    // Whether a secondary tile with this id is pinned.
    static bool Exists(const std::wstring& tileId);

    virtual ~SecondaryTile() = default;
    virtual void InitWithTileID(const std::wstring& tileId) = 0;
    virtual void InitWithCreateArgs(const std::wstring& tileId, const std::wstring& displayName,
                                    const std::wstring& arguments, const std::wstring& logoUri, HWND ownerWindow,
                                    _WinRTTileSize size) = 0;
    virtual std::wstring GetTileID() = 0;
    virtual std::unique_ptr<SecondaryTileVisualElements> GetVisualElements() = 0;
    virtual std::unique_ptr<AsyncOperationT<bool>> RequestCreateAsync() = 0;
    virtual std::unique_ptr<AsyncOperationT<bool>> RequestDeleteAsync() = 0;
};

}  // namespace tavlet::winapi
