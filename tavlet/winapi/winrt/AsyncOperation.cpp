// The asynchronous boolean handle: status, results, cancel, close, and one
// completion callback delivered in the registering thread's COM context.
#include "tavlet.h"

#include "base/AbiNamespaces.h"
#include "base/Guards.h"
#include "base/OnCompleted.h"
#include "tavlet/winapi/AsyncOperationT.h"

namespace tavlet::winapi {
namespace {

using Operation = AsyncOperationT<bool>::Operation;

// The host's callback as last registered. The handle owns it; the runtime's
// completion handler reaches it only through a weak reference, resolved in the
// registering thread's context: a handle released (or a callback replaced)
// there before the completion gets in is never called.
using CompletedCallbackState = std::function<void(bool)>;

}  // namespace

template <typename T>
class AsyncOperationImplT;

template <>
class AsyncOperationImplT<bool> final : public AsyncOperationT<bool> {
public:
    explicit AsyncOperationImplT(::winrt::com_ptr<Operation> operation) : operation_(std::move(operation)) {}

    ~AsyncOperationImplT() override {
        // The callback goes first: an operation that raises Completed inside
        // Cancel (some do) must not call the host from inside its Dealloc.
        callback_.reset();
        // A running operation is canceled so that the system's dialog does not
        // outlive the host's interest; nothing here may throw.
        if (operation_) {
            if (auto info = operation_.try_as<Foundation::IAsyncInfo>()) {
                INT32 status = -1;
                if (info->get_Status(&status) >= 0 && status == Foundation::AsyncStatus::Started) info->Cancel();
            }
        }
        operation_ = nullptr;
    }

    int32_t GetStatus() override {
        INT32 status = 0;
        ::winrt::check_hresult(Info()->get_Status(&status));
        if (status < Foundation::AsyncStatus::Started || status > Foundation::AsyncStatus::Error)
            ::winrt::throw_hresult(E_UNEXPECTED);
        return status;
    }

    bool GetResults() override {
        abi::boolean value = 0;
        ::winrt::check_hresult(operation_->GetResults(&value));
        return value != 0;
    }

    void Cancel() override { ::winrt::check_hresult(Info()->Cancel()); }
    void Close() override { ::winrt::check_hresult(Info()->Close()); }

    void Completed(const std::function<void(bool)>& callback) override {
        auto state = std::make_shared<CompletedCallbackState>(callback);
        // The earlier callback goes now, before the runtime is asked anything:
        // even a refused registration leaves no stale callback behind.
        callback_ = state;
        // The runtime accepts one Completed handler per operation and refuses a
        // second with E_ILLEGAL_DELEGATE_ASSIGNMENT. An operation that had
        // already finished completes in the registering context: the callback
        // then runs at once.
        winrt::OnCompleted<abi::boolean>(
            operation_, winrt::InContext<std::weak_ptr<CompletedCallbackState>>{winrt::ComContext::Current(), state},
            [](CompletedCallbackState& callback, abi::boolean value) { callback(value != 0); },
            // A canceled or failed operation tells the host false; a result
            // that cannot be read, or a host function that fails (an empty one
            // included), is no one's concern: the host is simply not called.
            [](CompletedCallbackState& callback, const winrt::OperationFailure& failure) {
                if (failure.status != Foundation::AsyncStatus::Completed) callback(false);
            });
    }

private:
    ::winrt::com_ptr<Foundation::IAsyncInfo> Info() const { return operation_.as<Foundation::IAsyncInfo>(); }

    ::winrt::com_ptr<Operation> operation_;
    std::shared_ptr<CompletedCallbackState> callback_;
};

std::unique_ptr<AsyncOperationT<bool>> AsyncOperationT<bool>::Create(::winrt::com_ptr<Operation> operation) {
    tavlet::require(operation != nullptr);
    return std::make_unique<AsyncOperationImplT<bool>>(std::move(operation));
}

}  // namespace tavlet::winapi

using tavlet::winapi::AsyncOperationT;
using tavlet::winapi::DeallocHandle;
using tavlet::winapi::ObjectOf;
using tavlet::winapi::winrt::GetterGuard;
using tavlet::winapi::winrt::HandleGuard;
using tavlet::winapi::winrt::ReleaseGuard;

namespace {
// Until the handle answers, the out-values hold 3 (the runtime's Error status).
constexpr int32_t kNoAnswer = 3;
}  // namespace

extern "C" {

HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_GetStatus(_WinRTAsyncOperationBOOL* operation, int32_t* status) {
    return GetterGuard(status, kNoAnswer, [&] { return ObjectOf<AsyncOperationT<bool>>(operation)->GetStatus(); });
}

HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_GetResults(_WinRTAsyncOperationBOOL* operation, BOOL* result) {
    return GetterGuard(result, kNoAnswer,
                       [&] { return ObjectOf<AsyncOperationT<bool>>(operation)->GetResults() ? 1 : 0; });
}

HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Cancel(_WinRTAsyncOperationBOOL* operation) {
    return HandleGuard([&] { ObjectOf<AsyncOperationT<bool>>(operation)->Cancel(); });
}

HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Close(_WinRTAsyncOperationBOOL* operation) {
    return HandleGuard([&] { ObjectOf<AsyncOperationT<bool>>(operation)->Close(); });
}

HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Completed(_WinRTAsyncOperationBOOL* operation,
                                                       AsyncOperationBOOLCompletedHandler callback, void* context) {
    return HandleGuard([&] {
        auto* object = ObjectOf<AsyncOperationT<bool>>(operation);
        // A null callback registers like any other but leaves the function
        // empty, so nothing is called at completion.
        std::function<void(bool)> function;
        if (callback) function = [callback, context](bool result) { callback(context, result ? 1 : 0); };
        object->Completed(function);
    });
}

HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Dealloc(_WinRTAsyncOperationBOOL* operation) {
    return ReleaseGuard([&] { DeallocHandle<AsyncOperationT<bool>>(operation); });
}

}  // extern "C"
