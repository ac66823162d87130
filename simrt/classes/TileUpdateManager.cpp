// Windows.UI.Notifications.TileUpdateManager: both statics interfaces, and the
// per-user managers that GetForUser hands out.
#include "Tiles.h"
#include "control/Windows.h"
#include "tavlet/winapi/winrt/abi/System.h"

namespace sim {
namespace {

namespace Notifications = abi::Windows::UI::Notifications;
namespace System = abi::Windows::System;
namespace XmlDom = abi::Windows::Data::Xml::Dom;

// Windows serves tile updaters only to a process with package identity, and
// a secondary tile's only from build 17134 on; otherwise: Element not found.
constexpr uint32_t kSecondaryTileNotificationsBuild = 17134;

template <typename Make>
HRESULT Out(bool secondaryTile, Make make, Notifications::ITileUpdater** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!IsPackaged() || (secondaryTile && !WindowsAtLeast(kSecondaryTileNotificationsBuild)))
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    *result = make().detach();
    return S_OK;
}

class ManagerForUser : public SimObject<ManagerForUser, Notifications::ITileUpdateManagerForUser> {
public:
    ManagerForUser(::winrt::com_ptr<System::IUser> user,
                   std::wstring userId) : user_(std::move(user)), userId_(std::move(userId)) {}

    HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplicationForUser(Notifications::ITileUpdater** result) noexcept override {
        SIM_FAULT("ITileUpdateManagerForUser.CreateTileUpdaterForApplicationForUser");
        return Out(false, [&] { return MakeTileUpdater(true, userId_, false, L"", L""); }, result);
    }
    HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplication(HSTRING applicationId,
                                                              Notifications::ITileUpdater** result) noexcept override {
        SIM_FAULT("ITileUpdateManagerForUser.CreateTileUpdaterForApplication");
        return Out(false, [&] { return MakeTileUpdater(true, userId_, false, ToWide(applicationId), L""); }, result);
    }
    HRESULT STDMETHODCALLTYPE CreateTileUpdaterForSecondaryTile(HSTRING tileId,
                                                                Notifications::ITileUpdater** result) noexcept override {
        SIM_FAULT("ITileUpdateManagerForUser.CreateTileUpdaterForSecondaryTile");
        return Out(true, [&] { return MakeTileUpdater(true, userId_, true, L"", ToWide(tileId)); }, result);
    }
    HRESULT STDMETHODCALLTYPE get_User(System::IUser** value) noexcept override {
        SIM_FAULT("ITileUpdateManagerForUser.get_User");
        if (!value) return E_POINTER;
        user_.copy_to(value);
        return S_OK;
    }

private:
    ::winrt::com_ptr<System::IUser> user_;
    std::wstring userId_;
};

class ManagerStatics : public SimFactory<ManagerStatics, Notifications::ITileUpdateManagerStatics,
                                         Notifications::ITileUpdateManagerStatics2> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplication(Notifications::ITileUpdater** result) noexcept override {
        SIM_FAULT("ITileUpdateManagerStatics.CreateTileUpdaterForApplication");
        return Out(false, [&] { return MakeTileUpdater(false, L"", false, L"", L""); }, result);
    }
    HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplicationWithId(HSTRING applicationId,
                                                                     Notifications::ITileUpdater** result) noexcept override {
        SIM_FAULT("ITileUpdateManagerStatics.CreateTileUpdaterForApplicationWithId");
        return Out(false, [&] { return MakeTileUpdater(false, L"", false, ToWide(applicationId), L""); }, result);
    }
    HRESULT STDMETHODCALLTYPE CreateTileUpdaterForSecondaryTile(HSTRING tileId,
                                                                Notifications::ITileUpdater** result) noexcept override {
        SIM_FAULT("ITileUpdateManagerStatics.CreateTileUpdaterForSecondaryTile");
        return Out(true, [&] { return MakeTileUpdater(false, L"", true, L"", ToWide(tileId)); }, result);
    }
    SIM_UNUSED_OUT("ITileUpdateManagerStatics.GetTemplateContent", result,
                   GetTemplateContent(INT32, XmlDom::IXmlDocument** result))

    HRESULT STDMETHODCALLTYPE GetForUser(System::IUser* user,
                                         Notifications::ITileUpdateManagerForUser** result) noexcept override {
        SIM_FAULT("ITileUpdateManagerStatics2.GetForUser");
        if (!result) return E_POINTER;
        *result = nullptr;
        if (!user) return E_INVALIDARG;
        HString id;
        if (HRESULT hr = user->get_NonRoamableId(id.put()); hr < 0) return hr;
        *result = MakeObject<ManagerForUser>(::winrt::copy_ptr(user), id.str()).detach();
        return S_OK;
    }
};

const ClassRegistration registration(Notifications::TileUpdateManager::name,
                                     [] { return NewFactory<ManagerStatics>(Notifications::TileUpdateManager::name); });

}  // namespace
}  // namespace sim
