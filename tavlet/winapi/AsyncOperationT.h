// The asynchronous boolean handle: a runtime IAsyncOperation<Boolean> (a tile's
// pin or unpin request) that the host polls, cancels, closes or gives one
// completion callback, called in the apartment of the thread that registered it.
#pragma once

#include "tavlet.h"
#include "tavlet/winapi/ApiInformationHostT.h"
#include "tavlet/winapi/OpaqueRefT.h"
#include "tavlet/winapi/winrt/base/ComPtr.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"
#include "tavlet/winapi/winrt/abi/Instances.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace tavlet::winapi {

template <typename T>
class AsyncOperationT;

template <>
class AsyncOperationT<bool> : public OpaqueRefT<_WinRTAsyncOperationBOOL>,
                              public ApiInformationHostT<AsyncOperationT<bool>> {
public:
    using Operation = abi::Windows::Foundation::IAsyncOperation<abi::boolean>;

    // A new handle holding its own reference to the operation, with no callback.
    static std::unique_ptr<AsyncOperationT> Create(::winrt::com_ptr<Operation> operation);

    virtual ~AsyncOperationT() = default;
    // 0 Started, 1 Completed, 2 Canceled, 3 Error.
    virtual int32_t GetStatus() = 0;
    virtual bool GetResults() = 0;
    virtual void Cancel() = 0;
    virtual void Close() = 0;
    // Replaces the callback; it runs once, in the registering thread's apartment.
    virtual void Completed(const std::function<void(bool)>& callback) = 0;
};

}  // namespace tavlet::winapi
