// Availability: whether a runtime type, method or event exists on this system.
#include "tavlet.h"

#include "base/AbiNamespaces.h"
#include "base/Guards.h"
#include "base/HString.h"
#include "base/Runtime.h"
#include "abi/Foundation.Metadata.h"
#include "tavlet/Strings.h"
#include "tavlet/winapi/ApiInformationHostT.h"

namespace tavlet::winapi {
namespace {

using winrt::HStringReference;

::winrt::com_ptr<Metadata::IApiInformationStatics> Statics() {
    return winrt::GetActivationFactory<Metadata::ApiInformation, Metadata::IApiInformationStatics>();
}

}  // namespace

bool IsTypePresent(const std::wstring& typeName) {
    abi::boolean result = 0;
    ::winrt::check_hresult(Statics()->IsTypePresent(HStringReference(typeName), &result));
    return result != 0;
}

bool IsMethodPresent(const std::wstring& typeName, const std::wstring& methodName) {
    abi::boolean result = 0;
    ::winrt::check_hresult(
        Statics()->IsMethodPresent(HStringReference(typeName), HStringReference(methodName), &result));
    return result != 0;
}

bool IsEventPresent(const std::wstring& typeName, const std::wstring& eventName) {
    abi::boolean result = 0;
    ::winrt::check_hresult(
        Statics()->IsEventPresent(HStringReference(typeName), HStringReference(eventName), &result));
    return result != 0;
}

}  // namespace tavlet::winapi

using tavlet::ToWideString;
using tavlet::winapi::winrt::BooleanGuard;

extern "C" {

BOOL TAVLET_CALL _WinRTApiInformation_IsEnabledType(const wchar_t* typeName) {
    return BooleanGuard([&] { return tavlet::winapi::IsTypePresent(ToWideString(typeName)); });
}

BOOL TAVLET_CALL _WinRTApiInformation_IsEnabledMethod(const wchar_t* typeName, const wchar_t* methodName) {
    return BooleanGuard(
        [&] { return tavlet::winapi::IsMethodPresent(ToWideString(typeName), ToWideString(methodName)); });
}

BOOL TAVLET_CALL _WinRTApiInformation_IsEnabledEvent(const wchar_t* typeName, const wchar_t* eventName) {
    return BooleanGuard(
        [&] { return tavlet::winapi::IsEventPresent(ToWideString(typeName), ToWideString(eventName)); });
}

}  // extern "C"
