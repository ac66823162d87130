// One pick of the host's share provider, lent to the host's callback for the
// duration of the call.
#pragma once

#include "OpaqueRefT.h"

struct _WinRTShareProviderOperation;

namespace tavlet::winapi {

class ShareProviderOperation : public OpaqueRefT<_WinRTShareProviderOperation> {
public:
    virtual ~ShareProviderOperation() = default;
    virtual void ReportCompleted() = 0;
};

}  // namespace tavlet::winapi
