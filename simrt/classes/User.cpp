// Windows.System.User: the statics' GetFromId gives a user with that id.
#include "Property.h"
#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/System.h"

namespace sim {
namespace {

namespace Foundation = abi::Windows::Foundation;
namespace Streams = abi::Windows::Storage::Streams;
namespace System = abi::Windows::System;

class UserObject : public SimObject<UserObject, System::IUser> {
public:
    explicit UserObject(std::wstring id) : id_(std::move(id)) {}

    SIM_GETTER(IUser, NonRoamableId, HSTRING, Fixed(id_))
    SIM_GETTER(IUser, AuthenticationStatus, INT32, Fixed(1))  // LocallyAuthenticated
    SIM_GETTER(IUser, Type, INT32, Fixed(0))                  // LocalUser
    SIM_UNUSED("IUser.GetPropertyAsync", GetPropertyAsync(HSTRING, Foundation::IAsyncOperation<IInspectable*>**))
    SIM_UNUSED("IUser.GetPropertiesAsync",
               GetPropertiesAsync(abi::Windows::Foundation::Collections::IVectorView<HSTRING>*, IInspectable**))
    SIM_UNUSED("IUser.GetPictureAsync", GetPictureAsync(INT32,
                                                        Foundation::IAsyncOperation<Streams::IRandomAccessStreamReference*>**))

private:
    std::wstring id_;
};

class UserStatics : public SimFactory<UserStatics, System::IUserStatics> {
public:
    using SimFactory::SimFactory;

    SIM_UNUSED("IUserStatics.CreateWatcher", CreateWatcher(IInspectable**))
    SIM_UNUSED("IUserStatics.FindAllAsync", FindAllAsync(IInspectable**))
    SIM_UNUSED("IUserStatics.FindAllAsyncByType", FindAllAsyncByType(INT32, IInspectable**))
    SIM_UNUSED("IUserStatics.FindAllAsyncByTypeAndStatus", FindAllAsyncByTypeAndStatus(INT32, INT32, IInspectable**))
    HRESULT STDMETHODCALLTYPE GetFromId(HSTRING nonRoamableId, System::IUser** result) noexcept override {
        SIM_FAULT("IUserStatics.GetFromId");
        if (!result) return E_POINTER;
        *result = MakeObject<UserObject>(ToWide(nonRoamableId)).detach();
        return S_OK;
    }
};

const ClassRegistration registration(System::User::name, [] { return NewFactory<UserStatics>(System::User::name); });

}  // namespace
}  // namespace sim
