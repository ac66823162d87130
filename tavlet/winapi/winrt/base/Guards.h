// The four export guards, and the getter exports' form of the first: each runs an
// export's body and turns what it throws into the export's result. No exception
// leaves an export.
#pragma once

#include "Errors.h"
#include "tavlet/Exception.h"
#include "tavlet/Require.h"
#include "tavlet/winapi/OpaqueRefT.h"

#include <oleauto.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace tavlet::winapi::winrt {

// Handle families: S_OK; allocation failure E_OUTOFMEMORY; a failed check
// E_INVALIDARG; a runtime failure its own code.
template <typename Body>
HRESULT HandleGuard(Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (...) {
        return CurrentExceptionToHresult(FailureReader::Host);
    }
}

// Dealloc exports: destructors do not throw; only a failed check can.
template <typename Body>
HRESULT ReleaseGuard(Body&& body) noexcept {
    return HandleGuard(std::forward<Body>(body));
}

// Radial controller and share-for-window exports: a runtime failure keeps its
// code, anything else (allocation, a failed check) is E_FAIL. A runtime
// failure with E_OUTOFMEMORY is an allocation failure here too, also one that
// was originated (and so thrown as an hresult_error, not as std::bad_alloc).
template <typename Body>
HRESULT PlainGuard(Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (...) {
        const Failure failure = TranslateCurrentException(FailureReader::Host);
        return failure.fromRuntime && failure.code != E_OUTOFMEMORY ? failure.code : E_FAIL;
    }
}

// Yes/no exports: the body's answer as 1 or 0, and 0 on any failure.
template <typename Body>
BOOL BooleanGuard(Body&& body) noexcept {
    try {
        return body() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

// A string result for the host: a BSTR over the text up to its first NUL. A
// failed allocation leaves null (the export still succeeds).
inline void StoreBstr(BSTR* out, const std::wstring& text) noexcept { *out = SysAllocString(text.c_str()); }

// A getter's answer for the host: a text as a BSTR, a new object as its handle,
// anything else as it is.
inline void StoreAnswer(BSTR* out, const std::wstring& text) noexcept { StoreBstr(out, text); }

template <typename Object>
void StoreAnswer(typename Object::handle_type** out, std::unique_ptr<Object> object) {
    HandOver(std::move(object), out);
}

template <typename T, typename Value>
void StoreAnswer(T* out, Value value) noexcept {
    *out = value;
}

// Getter exports under HandleGuard: the out-pointer is checked and set to
// fallback before anything else can fail, so a failed call still leaves the
// host a defined answer; then the body's answer is stored.
template <typename T, typename Body>
HRESULT GetterGuard(T* out, std::type_identity_t<T> fallback, Body&& body) noexcept {
    return HandleGuard([&] {
        tavlet::require(out != nullptr);
        *out = fallback;
        StoreAnswer(out, body());
    });
}

}  // namespace tavlet::winapi::winrt
