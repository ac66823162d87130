#include "Errors.h"

#include <new>
#include <stdexcept>

namespace winrt {
namespace {

com_ptr<abi::IRestrictedErrorInfo> TakeErrorInfo() noexcept {
    com_ptr<abi::IRestrictedErrorInfo> info;
    if (GetRestrictedErrorInfo(info.put()) != S_OK) info = nullptr;
    return info;
}

}  // namespace

hresult_error::hresult_error(HRESULT code) noexcept : code_(code), info_(TakeErrorInfo()) {}

void throw_hresult(HRESULT hr) {
    if (hr == static_cast<HRESULT>(0x8007000E)) throw std::bad_alloc();
    auto info = TakeErrorInfo();
    switch (static_cast<uint32_t>(hr)) {
    case 0x80070005: throw hresult_access_denied(std::move(info));
    case 0x8001010E: throw hresult_wrong_thread(std::move(info));
    case 0x80004001: throw hresult_not_implemented(std::move(info));
    case 0x80070057: throw hresult_invalid_argument(std::move(info));
    case 0x8000000B: throw hresult_out_of_bounds(std::move(info));
    case 0x80004002: throw hresult_no_interface(std::move(info));
    case 0x80010108: throw hresult_disconnected(std::move(info));
    case 0x80040111: throw hresult_class_not_available(std::move(info));
    case 0x8000000C: throw hresult_changed_state(std::move(info));
    case 0x8000000E: throw hresult_illegal_method_call(std::move(info));
    case 0x8000000D: throw hresult_illegal_state_change(std::move(info));
    case 0x80000018: throw hresult_illegal_delegate_assignment(std::move(info));
    case 0x800704C7: throw hresult_canceled(std::move(info));
    default: throw hresult_error(hr, std::move(info));
    }
}

HRESULT to_hresult() noexcept {
    auto originate = [](HRESULT hr) {
        RoOriginateError(hr, nullptr);
        return hr;
    };
    try {
        throw;
    } catch (const hresult_error& e) {
        if (e.error_info()) SetRestrictedErrorInfo(e.error_info().get());
        return e.code();
    } catch (const std::bad_alloc&) {
        return static_cast<HRESULT>(0x8007000E);
    } catch (const std::out_of_range&) {
        return originate(static_cast<HRESULT>(0x8000000B));
    } catch (const std::invalid_argument&) {
        return originate(static_cast<HRESULT>(0x80070057));
    } catch (const std::exception&) {
        return originate(static_cast<HRESULT>(0x80004005));
    }
}

}  // namespace winrt

namespace tavlet {

void ThrowOriginatedHresult(HRESULT hr) {
    RoOriginateError(hr, nullptr);
    throw winrt::hresult_error(hr);
}

HRESULT CurrentExceptionToHresult() noexcept {
    try {
        throw;
    } catch (const winrt::hresult_error& e) {
        return e.code();
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace tavlet
