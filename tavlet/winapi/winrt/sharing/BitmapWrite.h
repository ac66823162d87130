// The deferred bitmap of a data share: the host's bytes written into an
// in-memory stream when a target asks for them.
#pragma once

#include "ShareRecord.h"
#include "tavlet/winapi/winrt/base/AbiNamespaces.h"

namespace tavlet::winapi {

// Starts the delivery for one request and returns; the rest follows the
// writer's completions. A failure before it returns is thrown (the target's
// request fails); a later one releases the deferral without completing it.
// Never an empty success: a share that has ended delivers nothing and fails.
void ProvideBitmap(::winrt::com_ptr<DataTransfer::IDataProviderRequest> request, std::shared_ptr<ShareRecord> record);

}  // namespace tavlet::winapi
