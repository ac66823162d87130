/*
 * tavlet.hpp - C++17 conveniences over tavlet.h, header-only.
 *
 * Owners that end each handle with its own _Dealloc and a BSTR with
 * SysFreeString, and HRESULT checks that a host can turn into exceptions.
 * Nothing here changes the C ABI: every owner holds the plain handle and hands
 * it to the C functions through get() and put().
 *
 *     tavlet::secondary_tile tile = tavlet::make<tavlet::secondary_tile>(); // throws tavlet::error
 *     tavlet::check(_WinRTSecondaryTile_InitWithTileID(tile.get(), L"report"));
 *     tavlet::bstr id;
 *     if (SUCCEEDED(_WinRTSecondaryTile_GetTileID(tile.get(), id.put()))) use(id.view());
 *
 * Without exceptions (-fno-exceptions, /EHs-) check() and make() are left out;
 * alloc() and the owners never throw.
 */
#ifndef TAVLET_HPP
#define TAVLET_HPP

#include "tavlet.h"

#include <cstdio>
#include <exception>
#include <string_view>
#include <utility>

#if defined(__cpp_exceptions) || defined(_CPPUNWIND)
#define TAVLET_HPP_EXCEPTIONS 1
#endif

namespace tavlet {

/* ---- Owners ----------------------------------------------------------------- */

/* Sole owner of one resource, ended by Free{}(resource). Move-only, like
 * std::unique_ptr. */
template <typename Pointer, typename Free>
class unique_resource {
public:
    unique_resource() noexcept = default;
    explicit unique_resource(Pointer resource) noexcept : resource_(resource) {}
    unique_resource(unique_resource&& other) noexcept : resource_(other.release()) {}
    unique_resource& operator=(unique_resource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    unique_resource(const unique_resource&) = delete;
    unique_resource& operator=(const unique_resource&) = delete;
    ~unique_resource() { reset(); }

    Pointer get() const noexcept { return resource_; }
    explicit operator bool() const noexcept { return resource_ != nullptr; }
    /* Gives the resource up without ending it. */
    Pointer release() noexcept { return std::exchange(resource_, nullptr); }
    void reset(Pointer resource = nullptr) noexcept {
        if (Pointer old = std::exchange(resource_, resource)) Free{}(old);
    }
    /* For an out-parameter: ends the resource held so far, then lends the slot. */
    Pointer* put() noexcept {
        reset();
        return &resource_;
    }

private:
    Pointer resource_ = nullptr;
};

template <typename T, HRESULT(TAVLET_CALL* Dealloc)(T*)>
struct dealloc {
    void operator()(T* handle) const noexcept { Dealloc(handle); }
};

/* A handle, ended by its family's _Dealloc. */
template <typename T, HRESULT(TAVLET_CALL* Dealloc)(T*)>
using unique_handle = unique_resource<T*, dealloc<T, Dealloc>>;

using async_operation = unique_handle<_WinRTAsyncOperationBOOL, _WinRTAsyncOperationBOOL_Dealloc>;
using secondary_tile = unique_handle<_WinRTSecondaryTile, _WinRTSecondaryTile_Dealloc>;
using secondary_tile_visual_elements =
    unique_handle<_WinRTSecondaryTileVisualElements, _WinRTSecondaryTileVisualElements_Dealloc>;
using tile_updater = unique_handle<_WinRTTileUpdater, _WinRTTileUpdater_Dealloc>;
using share_provider = unique_handle<_WinRTShareProvider, _WinRTShareProvider_Dealloc>;
/* The dial handle has no owner: the library keeps it until the next
 * WinRTDialCreate or WinRTDialTerminate. A share-provider operation is lent to
 * its callback only. */

struct free_bstr {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};

/* A BSTR that the library returned, freed with SysFreeString. A null BSTR is
 * the empty string, as everywhere in OLE Automation. */
class bstr : public unique_resource<BSTR, free_bstr> {
public:
    using unique_resource::unique_resource;

    /* The text with its recorded length (a BSTR may hold NULs). */
    std::wstring_view view() const noexcept {
        return get() ? std::wstring_view(get(), SysStringLen(get())) : std::wstring_view();
    }
    const wchar_t* c_str() const noexcept { return get() ? get() : L""; }
    bool empty() const noexcept { return view().empty(); }
};

/* ---- Errors ------------------------------------------------------------------- */

/* A failed HRESULT as an exception. */
class error : public std::exception {
public:
    explicit error(HRESULT code) noexcept : code_(code) {
        std::snprintf(text_, sizeof text_, "tavlet: HRESULT 0x%08lX", static_cast<unsigned long>(code));
    }
    HRESULT code() const noexcept { return code_; }
    const char* what() const noexcept override { return text_; }

private:
    HRESULT code_;
    char text_[32];
};

/* Allocation without exceptions: the export's HRESULT, the new handle in out. */
inline HRESULT alloc(secondary_tile& out) noexcept { return _WinRTSecondaryTile_Alloc(out.put()); }
inline HRESULT alloc(tile_updater& out) noexcept { return _WinRTTileUpdater_Alloc(out.put()); }
inline HRESULT alloc(share_provider& out) noexcept { return _WinRTShareProvider_Alloc(out.put()); }

#ifdef TAVLET_HPP_EXCEPTIONS
/* Throws tavlet::error for a failure; a success code comes back unchanged. */
inline HRESULT check(HRESULT hr) {
    if (FAILED(hr)) throw error(hr);
    return hr;
}

/* A newly allocated handle, or tavlet::error. */
template <typename Handle>
Handle make() {
    Handle handle;
    check(alloc(handle));
    return handle;
}
#endif

} // namespace tavlet

#endif /* TAVLET_HPP */
