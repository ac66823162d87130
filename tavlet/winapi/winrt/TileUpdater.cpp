// The tile updater: binds to the application's main tile or a secondary tile,
// optionally for one user, and sends tile notifications built from tile XML.
#include "tavlet.h"

#include "base/AbiNamespaces.h"
#include "base/Guards.h"
#include "base/HString.h"
#include "base/Runtime.h"
#include "abi/Data.Xml.Dom.h"
#include "abi/Foundation.h"
#include "abi/System.h"
#include "abi/UI.Notifications.h"
#include "tavlet/Strings.h"
#include "tavlet/winapi/TileUpdater.h"

#include <limits>

namespace tavlet::winapi {
namespace {

using winrt::HStringReference;

constexpr uint64_t kNoExpiration = std::numeric_limits<uint64_t>::max();
// 100-ns ticks from 1601-01-01 (the runtime's DateTime epoch) to 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000;
constexpr int64_t kTicksPerSecond = 10000000;
// The latest expiry whose tick count still fits the runtime's signed 64-bit time.
constexpr uint64_t kLatestExpiration =
    uint64_t((std::numeric_limits<int64_t>::max() - kUnixEpochTicks) / kTicksPerSecond);

::winrt::com_ptr<Notifications::ITileUpdateManagerStatics> Manager() {
    return winrt::GetActivationFactory<Notifications::TileUpdateManager, Notifications::ITileUpdateManagerStatics>();
}

// The per-user manager of the user with this id.
::winrt::com_ptr<Notifications::ITileUpdateManagerForUser> ManagerForUser(const std::wstring& userId) {
    ::winrt::com_ptr<System::IUser> user;
    ::winrt::check_hresult(winrt::GetActivationFactory<System::User, System::IUserStatics>()->GetFromId(
        HStringReference(userId), user.put()));
    ::winrt::com_ptr<Notifications::ITileUpdateManagerForUser> manager;
    ::winrt::check_hresult(
        winrt::GetActivationFactory<Notifications::TileUpdateManager, Notifications::ITileUpdateManagerStatics2>()
            ->GetForUser(user.get(), manager.put()));
    tavlet::require(manager != nullptr);
    return manager;
}

class TileUpdaterImpl final : public TileUpdater {
public:
    using public_type = TileUpdater;

    ~TileUpdaterImpl() override { updater_ = nullptr; }

    void InitWithPrimaryTile(const std::wstring& applicationId, const std::wstring& userId) override {
        ::winrt::com_ptr<Notifications::ITileUpdater> updater;
        if (!userId.empty()) {
            auto manager = ManagerForUser(userId);
            ::winrt::check_hresult(applicationId.empty()
                                       ? manager->CreateTileUpdaterForApplicationForUser(updater.put())
                                       : manager->CreateTileUpdaterForApplication(HStringReference(applicationId),
                                                                                  updater.put()));
        } else {
            auto manager = Manager();
            ::winrt::check_hresult(applicationId.empty()
                                       ? manager->CreateTileUpdaterForApplication(updater.put())
                                       : manager->CreateTileUpdaterForApplicationWithId(
                                             HStringReference(applicationId), updater.put()));
        }
        Bind(std::move(updater));
    }

    void InitWithSecondaryTile(const std::wstring& tileId, const std::wstring& userId) override {
        ::winrt::com_ptr<Notifications::ITileUpdater> updater;
        if (!userId.empty()) {
            ::winrt::check_hresult(
                ManagerForUser(userId)->CreateTileUpdaterForSecondaryTile(HStringReference(tileId), updater.put()));
        } else {
            ::winrt::check_hresult(
                Manager()->CreateTileUpdaterForSecondaryTile(HStringReference(tileId), updater.put()));
        }
        Bind(std::move(updater));
    }

    void Clear() override { ::winrt::check_hresult(Updater()->Clear()); }

    void Update(const TileUpdate& update) override {
        const auto& updater = Updater();
        const bool expires = update.expiration != kNoExpiration;
        // Beyond this the tick count overflows the runtime's signed 64-bit time.
        tavlet::require(!expires || update.expiration <= kLatestExpiration);

        auto document = winrt::ActivateInstance<XmlDom::XmlDocument, XmlDom::IXmlDocument>();
        // A malformed document fails here with the XML parser's HRESULT; nothing is sent.
        ::winrt::check_hresult(document.as<XmlDom::IXmlDocumentIO>()->LoadXml(HStringReference(update.xml)));

        ::winrt::com_ptr<Notifications::ITileNotification> notification;
        ::winrt::check_hresult(
            winrt::GetActivationFactory<Notifications::TileNotification, Notifications::ITileNotificationFactory>()
                ->CreateTileNotification(document.get(), notification.put()));
        if (!update.tag.empty()) ::winrt::check_hresult(notification->put_Tag(HStringReference(update.tag)));
        if (expires) {
            Foundation::DateTime time{int64_t(update.expiration) * kTicksPerSecond + kUnixEpochTicks};
            ::winrt::com_ptr<IInspectable> boxed;
            ::winrt::check_hresult(
                winrt::GetActivationFactory<Foundation::PropertyValue, Foundation::IPropertyValueStatics>()
                    ->CreateDateTime(time, boxed.put()));
            ::winrt::check_hresult(
                notification->put_ExpirationTime(boxed.as<Foundation::IReference<Foundation::DateTime>>().get()));
        }
        ::winrt::check_hresult(updater->Update(notification.get()));
    }

    void EnableNotificationQueuing(bool enable) override {
        ::winrt::check_hresult(Updater()->EnableNotificationQueue(enable));
    }

    void EnableNotificationQueuingForTileSize(_WinRTTileSize size, bool enable) override {
        const auto& updater = Updater();
        // The runtime queues per size only for the three sizes that show
        // notifications: the small sizes have no room for tile content.
        tavlet::require(size == _WinRTTileSize_Medium || size == _WinRTTileSize_Wide || size == _WinRTTileSize_Large);
        auto sized = updater.as<Notifications::ITileUpdater2>();
        switch (size) {
            case _WinRTTileSize_Medium:
                ::winrt::check_hresult(sized->EnableNotificationQueueForSquare150x150(enable));
                break;
            case _WinRTTileSize_Wide:
                ::winrt::check_hresult(sized->EnableNotificationQueueForWide310x150(enable));
                break;
            default:
                ::winrt::check_hresult(sized->EnableNotificationQueueForSquare310x310(enable));
                break;
        }
    }

private:
    // A failed runtime call never gets here, so it leaves the previous updater;
    // an empty answer replaces it before the check fails.
    void Bind(::winrt::com_ptr<Notifications::ITileUpdater> updater) {
        updater_ = std::move(updater);
        tavlet::require(updater_ != nullptr);
    }

    // An allocated handle that was never initialised has no runtime updater.
    const ::winrt::com_ptr<Notifications::ITileUpdater>& Updater() const {
        tavlet::require(updater_ != nullptr);
        return updater_;
    }

    ::winrt::com_ptr<Notifications::ITileUpdater> updater_;
};

}  // namespace
}  // namespace tavlet::winapi

using tavlet::require;
using tavlet::ToWideString;
using tavlet::winapi::DeallocHandle;
using tavlet::winapi::ObjectOf;
using tavlet::winapi::TileUpdate;
using tavlet::winapi::TileUpdater;
using tavlet::winapi::TileUpdaterImpl;
using tavlet::winapi::winrt::HandleGuard;
using tavlet::winapi::winrt::ReleaseGuard;

extern "C" {

HRESULT TAVLET_CALL _WinRTTileUpdater_Alloc(_WinRTTileUpdater** updater) {
    return HandleGuard([&] { tavlet::winapi::AllocHandle<TileUpdaterImpl>(updater); });
}

HRESULT TAVLET_CALL _WinRTTileUpdater_InitWithPrimaryTile(_WinRTTileUpdater* updater, const wchar_t* applicationId,
                                                          const wchar_t* userId) {
    return HandleGuard([&] {
        auto* object = ObjectOf<TileUpdater>(updater);
        object->InitWithPrimaryTile(ToWideString(applicationId), ToWideString(userId));
    });
}

HRESULT TAVLET_CALL _WinRTTileUpdater_InitWithSecondaryTile(_WinRTTileUpdater* updater, const wchar_t* tileId,
                                                            const wchar_t* userId) {
    return HandleGuard([&] {
        auto* object = ObjectOf<TileUpdater>(updater);
        object->InitWithSecondaryTile(ToWideString(tileId), ToWideString(userId));
    });
}

HRESULT TAVLET_CALL _WinRTTileUpdater_Update(_WinRTTileUpdater* updater, const _WinRTTileUpdateArgs* args) {
    return HandleGuard([&] {
        auto* object = ObjectOf<TileUpdater>(updater);
        require(args != nullptr);
        require(args->structSize == sizeof(_WinRTTileUpdateArgs));
        // Neither text is optional: a null pointer is refused like a wrong size.
        require(args->xml != nullptr);
        require(args->tag != nullptr);
        TileUpdate update;
        update.xml = ToWideString(args->xml);
        update.tag = ToWideString(args->tag);
        update.expiration = args->expiration;
        object->Update(update);
    });
}

HRESULT TAVLET_CALL _WinRTTileUpdater_Clear(_WinRTTileUpdater* updater) {
    return HandleGuard([&] { ObjectOf<TileUpdater>(updater)->Clear(); });
}

HRESULT TAVLET_CALL _WinRTTileUpdater_EnableNotificationQueuing(_WinRTTileUpdater* updater, uint32_t enable) {
    return HandleGuard([&] { ObjectOf<TileUpdater>(updater)->EnableNotificationQueuing(enable != 0); });
}

HRESULT TAVLET_CALL _WinRTTileUpdater_EnableNotificationQueuingForTileSize(_WinRTTileUpdater* updater, uint32_t size,
                                                                           uint32_t enable) {
    return HandleGuard([&] {
        require(size <= _WinRTTileSize_Large);
        ObjectOf<TileUpdater>(updater)->EnableNotificationQueuingForTileSize(size, enable != 0);
    });
}

HRESULT TAVLET_CALL _WinRTTileUpdater_Dealloc(_WinRTTileUpdater* updater) {
    return ReleaseGuard([&] { DeallocHandle<TileUpdater>(updater); });
}

}  // extern "C"
