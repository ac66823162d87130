// Windows.System.User: the statics' GetFromId gives a user with that id.
#include "Property.h"
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

    SIM_GETTER(IUser, NonRoamableId, HSTRING, Fixed(id_))
    SIM_GETTER(IUser, AuthenticationStatus, INT32, Fixed(1))  // LocallyAuthenticated
    SIM_GETTER(IUser, Type, INT32, Fixed(0))                  // LocalUser
    SIM_UNUSED("IUser.GetPropertyAsync", GetPropertyAsync(HSTRING, IAsyncOperation<IInspectable*>**))
    SIM_UNUSED("IUser.GetPropertiesAsync",
               GetPropertiesAsync(abi::Windows::Foundation::Collections::IVectorView<HSTRING>*, IInspectable**))
    SIM_UNUSED("IUser.GetPictureAsync", GetPictureAsync(INT32, IAsyncOperation<IRandomAccessStreamReference*>**))

private:
    std::wstring id_;
};

class UserStatics : public SimFactory<UserStatics, IUserStatics> {
public:
    using SimFactory::SimFactory;

    SIM_UNUSED("IUserStatics.CreateWatcher", CreateWatcher(IInspectable**))
    SIM_UNUSED("IUserStatics.FindAllAsync", FindAllAsync(IInspectable**))
    SIM_UNUSED("IUserStatics.FindAllAsyncByType", FindAllAsyncByType(INT32, IInspectable**))
    SIM_UNUSED("IUserStatics.FindAllAsyncByTypeAndStatus", FindAllAsyncByTypeAndStatus(INT32, INT32, IInspectable**))
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
