// HSTRINGs: references over the library's own wide strings going in, owned
// handles coming back.
#pragma once

#include "tavlet/winapi/winrt/abi/Base.h"

#include <string>
#include <string_view>

namespace tavlet::winapi::winrt {

// A string reference over text that outlives the call (no copy is made).
class HStringReference {
public:
    explicit HStringReference(std::wstring_view text);
    HStringReference(const HStringReference&) = delete;
    HStringReference& operator=(const HStringReference&) = delete;

    HSTRING get() const noexcept { return handle_; }
    operator HSTRING() const noexcept { return handle_; }

private:
    HSTRING_HEADER header_{};
    HSTRING handle_ = nullptr;
};

// An HSTRING received from the runtime; deleted when it goes out of scope.
class HString {
public:
    HString() noexcept = default;
    HString(const HString&) = delete;
    HString& operator=(const HString&) = delete;
    ~HString() { WindowsDeleteString(handle_); }

    HSTRING* put() noexcept {
        WindowsDeleteString(handle_);
        handle_ = nullptr;
        return &handle_;
    }
    HSTRING get() const noexcept { return handle_; }
    std::wstring str() const;

private:
    HSTRING handle_ = nullptr;
};

// Reads an HSTRING into a wide string (embedded NULs kept) without taking it.
std::wstring ToWide(HSTRING value);

}  // namespace tavlet::winapi::winrt
