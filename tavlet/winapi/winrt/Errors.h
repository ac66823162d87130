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

#define TAVLET_HRESULT_SUBTYPE(name, value)                                               \
    struct name : hresult_error {                                                         \
        name() noexcept : hresult_error(static_cast<HRESULT>(value)) {}                   \
        explicit name(com_ptr<abi::IRestrictedErrorInfo> info) noexcept                   \
            : hresult_error(static_cast<HRESULT>(value), std::move(info)) {}              \
    }
TAVLET_HRESULT_SUBTYPE(hresult_access_denied, 0x80070005);
TAVLET_HRESULT_SUBTYPE(hresult_wrong_thread, 0x8001010E);
TAVLET_HRESULT_SUBTYPE(hresult_not_implemented, 0x80004001);
TAVLET_HRESULT_SUBTYPE(hresult_invalid_argument, 0x80070057);
TAVLET_HRESULT_SUBTYPE(hresult_out_of_bounds, 0x8000000B);
TAVLET_HRESULT_SUBTYPE(hresult_no_interface, 0x80004002);
TAVLET_HRESULT_SUBTYPE(hresult_disconnected, 0x80010108);
TAVLET_HRESULT_SUBTYPE(hresult_class_not_available, 0x80040111);
TAVLET_HRESULT_SUBTYPE(hresult_changed_state, 0x8000000C);
TAVLET_HRESULT_SUBTYPE(hresult_illegal_method_call, 0x8000000E);
TAVLET_HRESULT_SUBTYPE(hresult_illegal_state_change, 0x8000000D);
TAVLET_HRESULT_SUBTYPE(hresult_illegal_delegate_assignment, 0x80000018);
TAVLET_HRESULT_SUBTYPE(hresult_canceled, 0x800704C7);
#undef TAVLET_HRESULT_SUBTYPE

// Throws the type that matches hr (0x8007000E as std::bad_alloc), carrying the
// thread's restricted error information. Never returns.
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
