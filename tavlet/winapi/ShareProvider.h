// The host's own share target: a title, an icon and a background colour listed
// in the system share UI, and the host's callback when the user picks it.
#pragma once

#include "ApiInformationHostT.h"
#include "OpaqueRefT.h"

#include <cstdint>
#include <functional>
#include <string>

struct _WinRTShareProvider;

namespace tavlet::winapi {

class ShareProviderOperation;

class ShareProvider : public OpaqueRefT<_WinRTShareProvider>, public ApiInformationHostT<ShareProvider> {
public:
    using Handler = std::function<void(ShareProviderOperation&)>;

    virtual ~ShareProvider() = default;
    // Replaces the handler at once and starts building the runtime provider,
    // which may come into being after this returns (the icon is looked up
    // asynchronously in an unpackaged process).
    virtual void Init(std::wstring title, std::wstring iconUri, uint32_t backgroundColor, Handler handler) = 0;
    virtual std::wstring GetTitle() = 0;
    virtual std::wstring GetIconUri() = 0;
    // 0xAARRGGBB.
    virtual uint32_t GetBackgroundColor() = 0;
};

}  // namespace tavlet::winapi
