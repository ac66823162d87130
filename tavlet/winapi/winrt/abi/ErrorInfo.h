// Restricted error information: the runtime's per-thread error record.
#pragma once

#include "Base.h"

namespace abi {

struct IRestrictedErrorInfo : IUnknown {
    TAVLET_IID(IRestrictedErrorInfo, "82ba7092-4c88-427d-a7bc-16dd93feb67e");
    virtual HRESULT STDMETHODCALLTYPE GetErrorDetails(BSTR* description, HRESULT* error, BSTR* restrictedDescription,
                                                      BSTR* capabilitySid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReference(BSTR* reference) = 0;
};

}  // namespace abi

extern "C" {
HRESULT WINAPI GetRestrictedErrorInfo(abi::IRestrictedErrorInfo** info);
HRESULT WINAPI SetRestrictedErrorInfo(abi::IRestrictedErrorInfo* info);
BOOL WINAPI RoOriginateError(HRESULT error, HSTRING message);
}
