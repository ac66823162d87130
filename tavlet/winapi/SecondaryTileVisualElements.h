// The visual elements of a secondary tile, read from the live runtime object on
// every call. A handle holds its own reference, so it outlives its tile.
#pragma once

#include "tavlet.h"
#include "tavlet/winapi/OpaqueRefT.h"

#include <cstdint>
#include <string>

namespace tavlet::winapi {

class SecondaryTileVisualElements : public OpaqueRefT<_WinRTSecondaryTileVisualElements> {
public:
    virtual ~SecondaryTileVisualElements() = default;
    virtual uint32_t GetBackgroundColor() = 0;  // 0xAARRGGBB
    virtual uint32_t GetForegroundText() = 0;   // 1 dark, 0 light
    virtual bool GetShowDisplayNameOnMedium() = 0;
    virtual bool GetShowDisplayNameOnWide() = 0;
    virtual bool GetShowDisplayNameOnLarge() = 0;
    // A logo's URI text; empty when the tile has no logo of that size.
    virtual std::wstring GetLogoUriTiny() = 0;
    virtual std::wstring GetLogoUriSmall() = 0;
    virtual std::wstring GetLogoUriMedium() = 0;
    virtual std::wstring GetLogoUriWide() = 0;
    virtual std::wstring GetLogoUriLarge() = 0;
};

}  // namespace tavlet::winapi
