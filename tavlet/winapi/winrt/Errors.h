// The projection's error types (winrt::hresult_error and its subtypes) and the
// two conversions between failed HRESULTs and exceptions.
#pragma once

#include "ComPtr.h"
#include "abi/ErrorInfo.h"

#include <exception>

namespace winrt {

class hresult_error : public std::exception {
public:
    hresult_error() noexcept = default;
    // Takes the thread's restricted error information into the exception.
    explicit hresult_error(HRESULT code) noexcept;
    hresult_error(HRESULT code, com_ptr<abi::IRestrictedErrorInfo> info) noexcept
        : code_(code), info_(std::move(info)) {}

    HRESULT code() const noexcept { return code_; }
    const com_ptr<abi::IRestrictedErrorInfo>& error_info() const noexcept { return info_; }
    const char* what() const noexcept override { return "Windows Runtime error"; }

private:
    HRESULT code_ = E_FAIL;
    com_ptr<abi::IRestrictedErrorInfo> info_;
};

// A runtime failure with an error type of its own.
template <HRESULT Code>
struct typed_hresult_error : hresult_error {
    typed_hresult_error() noexcept : hresult_error(Code) {}
    explicit typed_hresult_error(com_ptr<abi::IRestrictedErrorInfo> info) noexcept
        : hresult_error(Code, std::move(info)) {}
};

// Every failure that has an error type of its own, one row each: the type's
// name and its HRESULT. The types and throw_hresult's choice among them are
// made from this list alone (a code listed twice does not compile).
#define TAVLET_HRESULT_ERRORS(row)                                          \
    row(hresult_access_denied, E_ACCESSDENIED)                              \
    row(hresult_wrong_thread, RPC_E_WRONG_THREAD)                           \
    row(hresult_not_implemented, E_NOTIMPL)                                 \
    row(hresult_invalid_argument, E_INVALIDARG)                             \
    row(hresult_out_of_bounds, E_BOUNDS)                                    \
    row(hresult_no_interface, E_NOINTERFACE)                                \
    row(hresult_disconnected, RPC_E_DISCONNECTED)                           \
    row(hresult_class_not_available, CLASS_E_CLASSNOTAVAILABLE)             \
    row(hresult_changed_state, E_CHANGED_STATE)                             \
    row(hresult_illegal_method_call, E_ILLEGAL_METHOD_CALL)                 \
    row(hresult_illegal_state_change, E_ILLEGAL_STATE_CHANGE)               \
    row(hresult_illegal_delegate_assignment, E_ILLEGAL_DELEGATE_ASSIGNMENT) \
    row(hresult_canceled, HRESULT_FROM_WIN32(ERROR_CANCELLED))

#define TAVLET_HRESULT_ERROR_TYPE(name, code) using name = typed_hresult_error<code>;
TAVLET_HRESULT_ERRORS(TAVLET_HRESULT_ERROR_TYPE)
#undef TAVLET_HRESULT_ERROR_TYPE

// Throws the type that matches hr (E_OUTOFMEMORY as std::bad_alloc), carrying
// the thread's restricted error information. Never returns.
[[noreturn]] void throw_hresult(HRESULT hr);

// Inside a handler the runtime calls: the exception in flight as the HRESULT to
// give back to the runtime. hresult_error hands its error information back to
// the thread; standard exceptions are originated first.
HRESULT to_hresult() noexcept;

}  // namespace winrt

namespace tavlet {

// Originates hr with the runtime's error reporting, then throws it as a plain
// winrt::hresult_error (never a subtype).
[[noreturn]] void ThrowOriginatedHresult(HRESULT hr);

// Inside a catch-all: the exception in flight as an HRESULT (its code for an
// hresult_error, E_FAIL for anything else). Leaves no error information behind.
HRESULT CurrentExceptionToHresult() noexcept;

}  // namespace tavlet
