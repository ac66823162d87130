// Windows.Foundation.Metadata
#pragma once

#include "Base.h"

namespace abi::Windows::Foundation::Metadata {

TAVLET_RUNTIME_CLASS(ApiInformation, L"Windows.Foundation.Metadata.ApiInformation");

struct IApiInformationStatics : IInspectable {
    TAVLET_IID(IApiInformationStatics, "997439fe-f681-4a11-b416-c13a47e8ba36");
    virtual HRESULT STDMETHODCALLTYPE IsTypePresent(HSTRING typeName, boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsMethodPresent(HSTRING typeName, HSTRING methodName, boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsMethodPresentWithArity(HSTRING typeName, HSTRING methodName,
                                                               UINT32 inputParameterCount, boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsEventPresent(HSTRING typeName, HSTRING eventName, boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsPropertyPresent(HSTRING typeName, HSTRING propertyName, boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsReadOnlyPropertyPresent(HSTRING typeName, HSTRING propertyName,
                                                                boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsWriteablePropertyPresent(HSTRING typeName, HSTRING propertyName,
                                                                 boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsEnumNamedValuePresent(HSTRING enumTypeName, HSTRING valueName,
                                                              boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsApiContractPresentByMajor(HSTRING contractName, UINT16 majorVersion,
                                                                  boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsApiContractPresentByMajorAndMinor(HSTRING contractName, UINT16 majorVersion,
                                                                          UINT16 minorVersion, boolean* result) = 0;
};

}  // namespace abi::Windows::Foundation::Metadata
