// Raw ABI building blocks shared by every interface declaration: interface ids
// parsed from their text form, the platform's scalar and struct types, and the
// macro that keeps each interface next to its IID.
#pragma once

#include <windows.h>
#include <inspectable.h>
#include <winstring.h>

#include <activation.h>
#include <ctxtcall.h>

#include <cstdint>
#include <string_view>
#include <type_traits>

// Runtime HRESULTs that older SDK headers lack.
#ifndef E_ILLEGAL_STATE_CHANGE
#define E_ILLEGAL_STATE_CHANGE ((HRESULT)0x8000000DL)
#endif
#ifndef E_ILLEGAL_METHOD_CALL
#define E_ILLEGAL_METHOD_CALL ((HRESULT)0x8000000EL)
#endif
#ifndef E_ILLEGAL_DELEGATE_ASSIGNMENT
#define E_ILLEGAL_DELEGATE_ASSIGNMENT ((HRESULT)0x80000018L)
#endif

namespace abi {

// The runtime's one-byte boolean (not the 32-bit Win32 BOOL).
using boolean = unsigned char;

struct EventRegistrationToken {
    int64_t value;
};

namespace detail {
constexpr unsigned HexDigit(char c) {
    return c >= '0' && c <= '9' ? unsigned(c - '0')
         : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
         : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10)
                                : throw "bad hex digit in interface id";
}
constexpr unsigned long long Hex(const char* s, int digits) {
    unsigned long long value = 0;
    for (int i = 0; i < digits; ++i) value = value * 16 + HexDigit(s[i]);
    return value;
}
}  // namespace detail

// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" -> GUID, at compile time.
constexpr GUID ParseGuid(const char (&s)[37]) {
    return GUID{static_cast<unsigned long>(detail::Hex(s, 8)),
                static_cast<unsigned short>(detail::Hex(s + 9, 4)),
                static_cast<unsigned short>(detail::Hex(s + 14, 4)),
                {static_cast<unsigned char>(detail::Hex(s + 19, 2)), static_cast<unsigned char>(detail::Hex(s + 21, 2)),
                 static_cast<unsigned char>(detail::Hex(s + 24, 2)), static_cast<unsigned char>(detail::Hex(s + 26, 2)),
                 static_cast<unsigned char>(detail::Hex(s + 28, 2)), static_cast<unsigned char>(detail::Hex(s + 30, 2)),
                 static_cast<unsigned char>(detail::Hex(s + 32, 2)), static_cast<unsigned char>(detail::Hex(s + 34, 2))}};
}

// The interface id of an ABI interface type. A plain interface carries its own
// (TAVLET_IID inside its declaration); an instance of a parameterized interface
// gets its id from TAVLET_ABI_INSTANCE, written next to the instance's use.
template <typename I, typename = void>
struct interface_id {
    static_assert(std::is_same_v<typename I::iid_owner, I>, "interface declares no IID of its own");
    static constexpr GUID value = I::iid;
};
template <typename I>
inline constexpr GUID guid_v = interface_id<I>::value;

#define TAVLET_ABI_SYSTEM_IID(type, iid)          \
    template <>                                   \
    struct interface_id<type> {                   \
        static constexpr GUID value = ParseGuid(iid); \
    }
TAVLET_ABI_SYSTEM_IID(IUnknown, "00000000-0000-0000-c000-000000000046");
TAVLET_ABI_SYSTEM_IID(IInspectable, "af86e2e0-b12d-4c6a-9c5a-d7aa65101e90");
TAVLET_ABI_SYSTEM_IID(IAgileObject, "94ea2b94-e9cc-49e0-c0ff-ee64ca8f5b90");
TAVLET_ABI_SYSTEM_IID(IMarshal, "00000003-0000-0000-c000-000000000046");
TAVLET_ABI_SYSTEM_IID(IContextCallback, "000001da-0000-0000-c000-000000000046");
TAVLET_ABI_SYSTEM_IID(IActivationFactory, "00000035-0000-0000-c000-000000000046");
#undef TAVLET_ABI_SYSTEM_IID

// Passed to IContextCallback::ContextCallback together with method index 5.
inline constexpr GUID IID_ICallbackWithNoReentrancyToApplicationSTA = ParseGuid("0a299774-3e4e-fc42-1d9d-72cee105ca57");

}  // namespace abi

// Inside an interface declaration: its IID, kept beside it.
//   struct IStringable : IInspectable { TAVLET_IID(IStringable, "96369f54-8eb6-48f0-abce-c1b211e627c3"); ... };
#define TAVLET_IID(name, text)                                \
    using iid_owner = name;                                   \
    static constexpr GUID iid = ::abi::ParseGuid(text)

// At namespace abi scope: the IID of one instance of a parameterized interface
// (fixed by its type signature; copied, never computed here).
#define TAVLET_ABI_INSTANCE(text, ...)                        \
    template <>                                               \
    struct interface_id<__VA_ARGS__> {                        \
        static constexpr GUID value = ::abi::ParseGuid(text); \
    }

// Names a runtime class, for activation: TAVLET_RUNTIME_CLASS(Uri, L"Windows.Foundation.Uri");
#define TAVLET_RUNTIME_CLASS(type, text)                \
    struct type {                                       \
        static constexpr std::wstring_view name = text; \
    }
