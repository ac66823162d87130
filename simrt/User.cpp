// Windows.System.User: the statics' GetFromId gives a user with that id.
#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/System.h"

namespace sim {
namespace {

using abi::Windows::Foundation::IAsyncOperation;
using abi::Windows::Storage::Streams::IRandomAccessStreamReference;
using abi::Windows::System::IUser;
using abi::Windows::System::IUserStatics;
using abi::Windows::System::User;

class UserObject : public SimObject<UserObject, IUser> {
public:
    explicit UserObject(std::wstring id) : id_(std::move(id)) {}

    HRESULT STDMETHODCALLTYPE get_NonRoamableId(HSTRING* value) noexcept override {
        SIM_FAULT("IUser.get_NonRoamableId");
        if (!value) return E_POINTER;
        *value = MakeHString(id_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_AuthenticationStatus(INT32* value) noexcept override {
        SIM_FAULT("IUser.get_AuthenticationStatus");
        if (!value) return E_POINTER;
        *value = 1;  // LocallyAuthenticated
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Type(INT32* value) noexcept override {
        SIM_FAULT("IUser.get_Type");
        if (!value) return E_POINTER;
        *value = 0;  // LocalUser
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyAsync(HSTRING, IAsyncOperation<IInspectable*>**) noexcept override {
        SIM_FAULT("IUser.GetPropertyAsync");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPropertiesAsync(abi::Windows::Foundation::Collections::IVectorView<HSTRING>*,
                                                 IInspectable**) noexcept override {
        SIM_FAULT("IUser.GetPropertiesAsync");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPictureAsync(INT32, IAsyncOperation<IRandomAccessStreamReference*>**) noexcept override {
        SIM_FAULT("IUser.GetPictureAsync");
        return E_NOTIMPL;
    }

private:
    std::wstring id_;
};

class UserStatics : public SimFactory<UserStatics, IUserStatics> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateWatcher(IInspectable**) noexcept override {
        SIM_FAULT("IUserStatics.CreateWatcher");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindAllAsync(IInspectable**) noexcept override {
        SIM_FAULT("IUserStatics.FindAllAsync");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindAllAsyncByType(INT32, IInspectable**) noexcept override {
        SIM_FAULT("IUserStatics.FindAllAsyncByType");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindAllAsyncByTypeAndStatus(INT32, INT32, IInspectable**) noexcept override {
        SIM_FAULT("IUserStatics.FindAllAsyncByTypeAndStatus");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetFromId(HSTRING nonRoamableId, IUser** result) noexcept override {
        SIM_FAULT("IUserStatics.GetFromId");
        if (!result) return E_POINTER;
        *result = MakeObject<UserObject>(ToWide(nonRoamableId)).detach();
        return S_OK;
    }
};

const ClassRegistration registration(User::name, [] { return NewFactory<UserStatics>(User::name); });

}  // namespace
}  // namespace sim
