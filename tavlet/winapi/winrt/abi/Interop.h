// COM interop interfaces for window handles and apartments
#pragma once

#include "Instances.h"

namespace abi {

struct IInitializeWithWindow : IUnknown {
    TAVLET_IID(IInitializeWithWindow, "3e68d4bd-7135-4d10-8018-9fb6d9f33fa1");
    virtual HRESULT STDMETHODCALLTYPE Initialize(HWND hwnd) = 0;  // 3
};

struct IDataTransferManagerInterop : IUnknown {
    TAVLET_IID(IDataTransferManagerInterop, "3a3dcd6c-3eab-43dc-bcde-45671ce800c8");
    virtual HRESULT STDMETHODCALLTYPE GetForWindow(HWND appWindow, REFIID riid, void** dataTransferManager) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE ShowShareUIForWindow(HWND appWindow) = 0;  // 4
};

struct IRadialControllerInterop : IInspectable {
    TAVLET_IID(IRadialControllerInterop, "1b0535c9-57ad-45c1-9d79-ad5c34360513");
    virtual HRESULT STDMETHODCALLTYPE CreateForWindow(HWND hwnd, REFIID riid, void** ppv) = 0;  // 6
};

struct IRadialControllerConfigurationInterop : IInspectable {
    TAVLET_IID(IRadialControllerConfigurationInterop, "787cdaac-3186-476d-87e4-b9374a7b9970");
    virtual HRESULT STDMETHODCALLTYPE GetForWindow(HWND hwnd, REFIID riid, void** ppv) = 0;  // 6
};

}  // namespace abi
