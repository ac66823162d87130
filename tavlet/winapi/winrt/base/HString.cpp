#include "HString.h"

#include "Errors.h"

namespace tavlet::winapi::winrt {

HStringReference::HStringReference(std::wstring_view text) {
    ::winrt::check_hresult(WindowsCreateStringReference(text.empty() ? L"" : text.data(),
                                                        static_cast<UINT32>(text.size()), &header_, &handle_));
}

std::wstring ToWide(HSTRING value) {
    UINT32 length = 0;
    const wchar_t* buffer = WindowsGetStringRawBuffer(value, &length);
    return buffer ? std::wstring(buffer, length) : std::wstring();
}

std::wstring HString::str() const { return ToWide(handle_); }

}  // namespace tavlet::winapi::winrt
