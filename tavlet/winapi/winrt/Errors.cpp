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
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    auto info = TakeErrorInfo();
    switch (hr) {
#define TAVLET_THROW_HRESULT_ERROR(name, code) \
    case code: throw name(std::move(info));
        TAVLET_HRESULT_ERRORS(TAVLET_THROW_HRESULT_ERROR)
#undef TAVLET_THROW_HRESULT_ERROR
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
        return E_OUTOFMEMORY;
    } catch (const std::out_of_range&) {
        return originate(E_BOUNDS);
    } catch (const std::invalid_argument&) {
        return originate(E_INVALIDARG);
    } catch (const std::exception&) {
        return originate(E_FAIL);
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
