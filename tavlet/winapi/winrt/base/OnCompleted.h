// Continuing after a runtime operation: "when this operation completes,
// continue here, if the owner is still alive". Every asynchronous step of the
// library goes through OnCompleted, so each decides only three things, all
// visible at the call: where it continues, what it does with the result, and
// what a failure does.
#pragma once

#include "ComContext.h"
#include "ComObject.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace tavlet::winapi::winrt {

// Why there is no result: the operation's status, and the HRESULT that
// GetResults gave (or that the continuation itself failed with).
struct OperationFailure {
    INT32 status;
    HRESULT code;
};

// The owner is held weakly (std::weak_ptr: a continuation for an owner that
// is gone does nothing) or strongly (std::shared_ptr: the continuation keeps it).
template <typename Owner>
struct OnRuntimeThread {
    Owner owner;  // continue on the thread that reports the completion
};

template <typename Owner>
struct InContext {
    ComContext context;  // continue inside this captured context
    Owner owner;         // resolved only once inside it
};

// The failure policy of a continuation that has no one to tell.
inline constexpr auto DropFailure = [](auto&, const OperationFailure&) noexcept {};

namespace detail {

template <typename T>
std::shared_ptr<T> Resolve(const std::weak_ptr<T>& owner) noexcept {
    return owner.lock();
}
template <typename T>
std::shared_ptr<T> Resolve(const std::shared_ptr<T>& owner) noexcept {
    return owner;
}
template <typename T>
bool IsGone(const std::weak_ptr<T>& owner) noexcept {
    return owner.expired();
}
template <typename T>
bool IsGone(const std::shared_ptr<T>&) noexcept {
    return false;
}

template <typename Where>
struct IsInContext : std::false_type {};
template <typename Owner>
struct IsInContext<InContext<Owner>> : std::true_type {};

// An operation's result as the continuation receives it: an interface as an
// owning reference, a value as it is.
template <typename T>
struct Result {
    using type = T;
    static HRESULT Read(abi::Windows::Foundation::IAsyncOperation<T>* operation, type& value) {
        return operation->GetResults(&value);
    }
};
template <typename I>
struct Result<I*> {
    using type = ::winrt::com_ptr<I>;
    static HRESULT Read(abi::Windows::Foundation::IAsyncOperation<I*>* operation, type& value) {
        return operation->GetResults(value.put());
    }
};

// The continuation proper, once where it runs has been reached. A failure of
// onResult goes to onError; one of onError has no one to go to.
template <typename Owner, typename Value, typename OnResult, typename OnError>
void Continue(const Owner& weakOrStrong, HRESULT read, INT32 status, Value& value, OnResult& onResult,
              OnError& onError) noexcept {
    auto owner = Resolve(weakOrStrong);
    if (!owner) return;
    try {
        try {
            if (read < 0) {
                onError(*owner, OperationFailure{status, read});
            } else {
                onResult(*owner, std::move(value));
            }
        } catch (...) {
            if (read >= 0) onError(*owner, OperationFailure{status, CurrentExceptionToHresult(FailureReader::Host)});
        }
    } catch (...) {
    }
}

}  // namespace detail

// Registers the one Completed handler of `operation`. The handler is
// free-threaded, so the runtime calls it on the thread that finishes the
// operation; the result is read there, then the continuation runs where
// `where` says with the owner resolved: onResult(owner, result) for a
// completed operation, onError(owner, failure) for a failed or canceled one,
// or for an onResult that threw. A registration the runtime refuses is thrown.
template <typename T, typename Where, typename OnResult, typename OnError>
void OnCompleted(const ::winrt::com_ptr<abi::Windows::Foundation::IAsyncOperation<T>>& operation, Where where,
                 OnResult onResult, OnError onError) {
    using Operation = abi::Windows::Foundation::IAsyncOperation<T>;
    using Value = typename detail::Result<T>::type;
    auto handler = MakeFreeThreadedDelegate<abi::Windows::Foundation::AsyncOperationCompletedHandler<T>>(
        [where = std::move(where), onResult = std::move(onResult), onError = std::move(onError)](
            Operation* finished, INT32 status) mutable -> HRESULT {
            if (detail::IsGone(where.owner)) return S_OK;  // not worth a result or a switch
            Value value{};
            HRESULT read = finished ? detail::Result<T>::Read(finished, value) : E_POINTER;
            if (read >= 0 && status != abi::Windows::Foundation::AsyncStatus::Completed) read = E_ABORT;
            if constexpr (detail::IsInContext<Where>::value) {
                where.context.RunOrDrop(
                    [&]() noexcept { detail::Continue(where.owner, read, status, value, onResult, onError); });
            } else {
                detail::Continue(where.owner, read, status, value, onResult, onError);
            }
            return S_OK;
        });
    ::winrt::check_hresult(operation->put_Completed(handler.get()));
}

}  // namespace tavlet::winapi::winrt
