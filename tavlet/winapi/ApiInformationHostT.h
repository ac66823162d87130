// Availability queries for the library's own features, mixed into the public
// classes that need them. No data, no virtual operations.
#pragma once

#include <string>

namespace tavlet::winapi {

// Each asks Windows.Foundation.Metadata.ApiInformation; a failed runtime call
// is thrown with its HRESULT.
bool IsTypePresent(const std::wstring& typeName);
bool IsMethodPresent(const std::wstring& typeName, const std::wstring& methodName);
bool IsEventPresent(const std::wstring& typeName, const std::wstring& eventName);

template <typename T>
class ApiInformationHostT {
public:
    static bool IsTypePresent(const std::wstring& typeName) { return winapi::IsTypePresent(typeName); }
    static bool IsMethodPresent(const std::wstring& typeName, const std::wstring& methodName) {
        return winapi::IsMethodPresent(typeName, methodName);
    }
    static bool IsEventPresent(const std::wstring& typeName, const std::wstring& eventName) {
        return winapi::IsEventPresent(typeName, eventName);
    }
};

}  // namespace tavlet::winapi
