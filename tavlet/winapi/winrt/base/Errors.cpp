#include "Errors.h"

#include "tavlet/Exception.h"

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

}  // namespace winrt

namespace tavlet {

void ThrowOriginatedHresult(HRESULT hr) {
    RoOriginateError(hr, nullptr);
    throw winrt::hresult_error(hr);
}

Failure TranslateCurrentException(FailureReader reader) noexcept {
    const bool forRuntime = reader == FailureReader::Runtime;
    // A failure of the library's own, told to the runtime, is originated so
    // that the runtime's error reporting sees where it came from.
    auto own = [forRuntime](HRESULT hr) {
        if (forRuntime) RoOriginateError(hr, nullptr);
        return Failure{hr, false};
    };
    try {
        throw;
    } catch (const winrt::hresult_error& e) {
        if (forRuntime && e.error_info()) SetRestrictedErrorInfo(e.error_info().get());
        return Failure{e.code(), true};
    } catch (const std::bad_alloc&) {
        return Failure{E_OUTOFMEMORY, false};
    } catch (const Exception&) {
        return forRuntime ? own(E_FAIL) : Failure{E_INVALIDARG, false};
    } catch (const std::out_of_range&) {
        return forRuntime ? own(E_BOUNDS) : Failure{E_FAIL, false};
    } catch (const std::invalid_argument&) {
        return forRuntime ? own(E_INVALIDARG) : Failure{E_FAIL, false};
    } catch (...) {
        return own(E_FAIL);
    }
}

}  // namespace tavlet
