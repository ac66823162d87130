// Windows.UI.Notifications
#pragma once

#include "Instances.h"

namespace abi::Windows::UI::Notifications {

TAVLET_RUNTIME_CLASS(ScheduledTileNotification, L"Windows.UI.Notifications.ScheduledTileNotification");
TAVLET_RUNTIME_CLASS(TileNotification, L"Windows.UI.Notifications.TileNotification");
TAVLET_RUNTIME_CLASS(TileUpdateManager, L"Windows.UI.Notifications.TileUpdateManager");
TAVLET_RUNTIME_CLASS(TileUpdateManagerForUser, L"Windows.UI.Notifications.TileUpdateManagerForUser");
TAVLET_RUNTIME_CLASS(TileUpdater, L"Windows.UI.Notifications.TileUpdater");

struct ITileUpdateManagerStatics : IInspectable {
    TAVLET_IID(ITileUpdateManagerStatics, "da159e5d-3ea9-4986-8d84-b09d5e12276d");
    virtual HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplication(::abi::Windows::UI::Notifications::ITileUpdater** result) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplicationWithId(HSTRING applicationId, ::abi::Windows::UI::Notifications::ITileUpdater** result) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE CreateTileUpdaterForSecondaryTile(HSTRING tileId, ::abi::Windows::UI::Notifications::ITileUpdater** result) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE GetTemplateContent(INT32 type, ::abi::Windows::Data::Xml::Dom::IXmlDocument** result) = 0;  // 9
};

struct ITileUpdateManagerStatics2 : IInspectable {
    TAVLET_IID(ITileUpdateManagerStatics2, "731c1ddc-8e14-4b7c-a34b-9d22de76c84d");
    virtual HRESULT STDMETHODCALLTYPE GetForUser(::abi::Windows::System::IUser* user, ::abi::Windows::UI::Notifications::ITileUpdateManagerForUser** result) = 0;  // 6
};

struct ITileUpdateManagerForUser : IInspectable {
    TAVLET_IID(ITileUpdateManagerForUser, "55141348-2ee2-4e2d-9cc1-216a20decc9f");
    virtual HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplicationForUser(::abi::Windows::UI::Notifications::ITileUpdater** result) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateTileUpdaterForApplication(HSTRING applicationId, ::abi::Windows::UI::Notifications::ITileUpdater** result) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE CreateTileUpdaterForSecondaryTile(HSTRING tileId, ::abi::Windows::UI::Notifications::ITileUpdater** result) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_User(::abi::Windows::System::IUser** value) = 0;  // 9
};

struct ITileUpdater : IInspectable {
    TAVLET_IID(ITileUpdater, "0942a48b-1d91-44ec-9243-c1e821c29a20");
    virtual HRESULT STDMETHODCALLTYPE Update(::abi::Windows::UI::Notifications::ITileNotification* notification) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE EnableNotificationQueue(boolean enable) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_Setting(INT32* value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE AddToSchedule(IInspectable* scheduledTile) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSchedule(IInspectable* scheduledTile) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE GetScheduledTileNotifications(IInspectable** result) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE StartPeriodicUpdate(::abi::Windows::Foundation::IUriRuntimeClass* tileContent, INT32 requestedInterval) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE StartPeriodicUpdateAtTime(::abi::Windows::Foundation::IUriRuntimeClass* tileContent, ::abi::Windows::Foundation::DateTime startTime, INT32 requestedInterval) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE StopPeriodicUpdate() = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE StartPeriodicUpdateBatch(::abi::Windows::Foundation::Collections::IIterable<::abi::Windows::Foundation::IUriRuntimeClass*>* tileContents, INT32 requestedInterval) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE StartPeriodicUpdateBatchAtTime(::abi::Windows::Foundation::Collections::IIterable<::abi::Windows::Foundation::IUriRuntimeClass*>* tileContents, ::abi::Windows::Foundation::DateTime startTime, INT32 requestedInterval) = 0;  // 17
};

struct ITileUpdater2 : IInspectable {
    TAVLET_IID(ITileUpdater2, "a2266e12-15ee-43ed-83f5-65b352bb1a84");
    virtual HRESULT STDMETHODCALLTYPE EnableNotificationQueueForSquare150x150(boolean enable) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE EnableNotificationQueueForWide310x150(boolean enable) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE EnableNotificationQueueForSquare310x310(boolean enable) = 0;  // 8
};

struct ITileNotification : IInspectable {
    TAVLET_IID(ITileNotification, "ebaec8fa-50ec-4c18-b4d0-3af02e5540ab");
    virtual HRESULT STDMETHODCALLTYPE get_Content(::abi::Windows::Data::Xml::Dom::IXmlDocument** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE put_ExpirationTime(::abi::Windows::Foundation::IReference<::abi::Windows::Foundation::DateTime>* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_ExpirationTime(::abi::Windows::Foundation::IReference<::abi::Windows::Foundation::DateTime>** value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE put_Tag(HSTRING value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE get_Tag(HSTRING* value) = 0;  // 10
};

struct ITileNotificationFactory : IInspectable {
    TAVLET_IID(ITileNotificationFactory, "c6abdd6e-4928-46c8-bdbf-81a047dea0d4");
    virtual HRESULT STDMETHODCALLTYPE CreateTileNotification(::abi::Windows::Data::Xml::Dom::IXmlDocument* content, ::abi::Windows::UI::Notifications::ITileNotification** value) = 0;  // 6
};

}  // namespace abi::Windows::UI::Notifications
