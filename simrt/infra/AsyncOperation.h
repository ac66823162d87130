// A simulated IAsyncOperation<T> under test control: it completes or fails
// when a test says so (on the calling thread, which the control API makes a
// runtime thread), is canceled by its user (Completed follows from a runtime
// thread), calls its one Completed handler exactly once, and refuses calls the
// way the runtime does.
#pragma once

#include "RuntimeThreads.h"
#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"

#include <mutex>
#include <type_traits>

namespace sim {

namespace detail {
// How a result is kept and handed out: interface pointers are owned and
// handed out with a reference added; values are copied.
template <typename T>
struct AsyncResult {
    T value{};
    void Set(T v) { value = v; }
    void CopyTo(T* out) const { *out = value; }
};
template <typename I>
struct AsyncResult<I*> {
    ::winrt::com_ptr<I> value;
    void Set(I* v) { value.copy_from(v); }
    void CopyTo(I** out) const { value.copy_to(out); }
};
}  // namespace detail

template <typename T>
class AsyncOperation
    : public SimObject<AsyncOperation<T>, abi::Windows::Foundation::IAsyncOperation<T>, abi::Windows::Foundation::IAsyncInfo> {
public:
    using Handler = abi::Windows::Foundation::AsyncOperationCompletedHandler<T>;
    using Status = abi::Windows::Foundation::AsyncStatus;

    // ---- test control ----
    void Complete(T value) {
        {
            std::lock_guard guard(lock_);
            if (status_ != Status::Started) return;
            result_.Set(value);
            status_ = Status::Completed;
        }
        Notify();
    }
    void Fail(HRESULT hr) {
        {
            std::lock_guard guard(lock_);
            if (status_ != Status::Started) return;
            error_ = hr;
            status_ = Status::Error;
        }
        Notify();
    }
    Status status() {
        std::lock_guard guard(lock_);
        return status_;
    }
    bool closed() {
        std::lock_guard guard(lock_);
        return closed_;
    }
    bool hasHandler() {
        std::lock_guard guard(lock_);
        return handlerSet_;
    }
    // From now on get_Status answers this value, whatever the state.
    void ReportStatus(INT32 status) {
        std::lock_guard guard(lock_);
        reportedStatus_ = status;
        statusReported_ = true;
    }

    // ---- IAsyncOperation<T> ----
    HRESULT STDMETHODCALLTYPE put_Completed(Handler* handler) noexcept override {
        SIM_FAULT("IAsyncOperation.put_Completed");
        bool finished;
        {
            std::lock_guard guard(lock_);
            if (closed_) return E_ILLEGAL_METHOD_CALL;
            // The runtime accepts one Completed handler per operation.
            if (handlerSet_) return E_ILLEGAL_DELEGATE_ASSIGNMENT;
            handlerSet_ = true;
            handler_.copy_from(handler);
            finished = status_ != Status::Started;
        }
        // An operation that has already finished calls the handler at once.
        if (finished) Notify();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Completed(Handler** handler) noexcept override {
        SIM_FAULT("IAsyncOperation.get_Completed");
        std::lock_guard guard(lock_);
        if (closed_) return E_ILLEGAL_METHOD_CALL;
        handler_.copy_to(handler);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetResults(T* results) noexcept override {
        SIM_FAULT("IAsyncOperation.GetResults");
        std::lock_guard guard(lock_);
        if (closed_) return E_ILLEGAL_METHOD_CALL;
        switch (status_) {
        case Status::Completed: result_.CopyTo(results); return S_OK;
        case Status::Error: return error_;
        case Status::Canceled: return HRESULT_FROM_WIN32(ERROR_CANCELLED);
        default: return E_ILLEGAL_METHOD_CALL;                        // not finished yet
        }
    }

    // ---- IAsyncInfo ----
    HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) noexcept override {
        SIM_FAULT("IAsyncInfo.get_Id");
        *id = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Status(INT32* status) noexcept override {
        SIM_FAULT("IAsyncInfo.get_Status");
        std::lock_guard guard(lock_);
        if (closed_) return E_ILLEGAL_METHOD_CALL;
        *status = statusReported_ ? reportedStatus_ : status_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* errorCode) noexcept override {
        SIM_FAULT("IAsyncInfo.get_ErrorCode");
        std::lock_guard guard(lock_);
        if (closed_) return E_ILLEGAL_METHOD_CALL;
        *errorCode = status_ == Status::Error ? error_ : S_OK;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Cancel() noexcept override {
        SIM_FAULT("IAsyncInfo.Cancel");
        {
            std::lock_guard guard(lock_);
            if (closed_) return E_ILLEGAL_METHOD_CALL;
            if (status_ != Status::Started) return S_OK;
            status_ = Status::Canceled;
        }
        // The system's operations report a cancel afterwards, from their own
        // thread; some raise Completed inside Cancel (the switch).
        if (detail::CancelCompletesInline()) {
            Notify();
        } else {
            ::winrt::com_ptr<AsyncOperation> self;
            self.copy_from(this);
            detail::RunOnRuntimeThread([self] { self->Notify(); }, detail::Then::GoOn);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() noexcept override {
        SIM_FAULT("IAsyncInfo.Close");
        std::lock_guard guard(lock_);
        if (closed_) return S_OK;
        if (status_ == Status::Started) return E_ILLEGAL_STATE_CHANGE;
        closed_ = true;
        handler_ = nullptr;
        return S_OK;
    }

private:
    // Calls the handler once, outside the lock, on the calling thread.
    void Notify() {
        ::winrt::com_ptr<Handler> handler;
        Status status;
        {
            std::lock_guard guard(lock_);
            if (notified_ || !handler_) return;
            notified_ = true;
            handler = std::move(handler_);
            status = status_;
        }
        handler->Invoke(this, status);
    }

    std::mutex lock_;
    Status status_ = Status::Started;
    detail::AsyncResult<T> result_;
    HRESULT error_ = S_OK;
    ::winrt::com_ptr<Handler> handler_;
    bool handlerSet_ = false;
    bool notified_ = false;
    bool closed_ = false;
    bool statusReported_ = false;
    INT32 reportedStatus_ = 0;
};

}  // namespace sim
