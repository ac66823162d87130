// The projection's error types (winrt::hresult_error and its subtypes) and the
// two conversions between failed HRESULTs and exceptions.
#pragma once

#include "ComPtr.h"
#include "tavlet/winapi/winrt/abi/ErrorInfo.h"

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

}  // namespace winrt

namespace tavlet {

// Originates hr with the runtime's error reporting, then throws it as a plain
// winrt::hresult_error (never a subtype).
[[noreturn]] void ThrowOriginatedHresult(HRESULT hr);

// Who reads a failure's HRESULT: the host (an export's result; no error
// information is left behind) or the runtime (a handler's result; the error
// information goes back to the calling thread, and a failure that is not the
// runtime's own is originated first).
enum class FailureReader { Host, Runtime };

struct Failure {
    HRESULT code;
    bool fromRuntime;  // a runtime call failed (an hresult_error), as opposed to the library's own
};

// The one translation of the exception in flight (call it inside a catch):
//   a runtime failure (hresult_error)   its code
//   std::bad_alloc                      E_OUTOFMEMORY
//   a failed check (tavlet::Exception)  E_INVALIDARG for the host, E_FAIL for the runtime
//   std::out_of_range                   E_BOUNDS for the runtime, else E_FAIL
//   std::invalid_argument               E_INVALIDARG for the runtime, else E_FAIL
//   anything else                       E_FAIL
Failure TranslateCurrentException(FailureReader reader) noexcept;

// The same, as the HRESULT alone.
inline HRESULT CurrentExceptionToHresult(FailureReader reader) noexcept {
    return TranslateCurrentException(reader).code;
}

}  // namespace tavlet
