// The four export guards: each runs an export's body and turns what it throws
// into the export's result. No exception leaves an export.
#pragma once

#include "Errors.h"
#include "tavlet/Exception.h"

#include <oleauto.h>

#include <new>
#include <string>

namespace tavlet::winapi::winrt {

// Handle families: S_OK; allocation failure E_OUTOFMEMORY; a failed check
// E_INVALIDARG; a runtime failure its own code.
template <typename Body>
HRESULT HandleGuard(Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const tavlet::Exception&) {
        return E_INVALIDARG;
    } catch (...) {
        return CurrentExceptionToHresult();
    }
}

// Dealloc exports: destructors do not throw; only a failed check is caught.
template <typename Body>
HRESULT ReleaseGuard(Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const tavlet::Exception&) {
        return E_INVALIDARG;
    }
}

// Radial controller and share-for-window exports: a runtime failure keeps its
// code, anything else (allocation, a failed check) is E_FAIL.
template <typename Body>
HRESULT PlainGuard(Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (...) {
        return CurrentExceptionToHresult();
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

}  // namespace tavlet::winapi::winrt
