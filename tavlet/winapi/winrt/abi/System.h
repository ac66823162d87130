// Windows.System
#pragma once

#include "Instances.h"

namespace abi::Windows::System {

TAVLET_RUNTIME_CLASS(User, L"Windows.System.User");
TAVLET_RUNTIME_CLASS(UserWatcher, L"Windows.System.UserWatcher");

struct IUser : IInspectable {
    TAVLET_IID(IUser, "df9a26c6-e746-4bcd-b5d4-120103c4209b");
    virtual HRESULT STDMETHODCALLTYPE get_NonRoamableId(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_AuthenticationStatus(INT32* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_Type(INT32* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE GetPropertyAsync(HSTRING value, ::abi::Windows::Foundation::IAsyncOperation<IInspectable*>** operation) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE GetPropertiesAsync(::abi::Windows::Foundation::Collections::IVectorView<HSTRING>* values, IInspectable** operation) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE GetPictureAsync(INT32 desiredSize, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::Streams::IRandomAccessStreamReference*>** operation) = 0;  // 11
};

struct IUserStatics : IInspectable {
    TAVLET_IID(IUserStatics, "155eb23b-242a-45e0-a2e9-3171fc6a7fdd");
    virtual HRESULT STDMETHODCALLTYPE CreateWatcher(IInspectable** result) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE FindAllAsync(IInspectable** operation) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE FindAllAsyncByType(INT32 type, IInspectable** operation) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE FindAllAsyncByTypeAndStatus(INT32 type, INT32 status, IInspectable** operation) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE GetFromId(HSTRING nonRoamableId, ::abi::Windows::System::IUser** result) = 0;  // 10
};

}  // namespace abi::Windows::System
