// Windows.UI.Notifications.TileUpdater: records every notification (and whether
// the modelled Windows shows it), clear and queue switch for the tests.
// ITileUpdater2 can be taken away (older systems).
#include "ScriptedUser.h"
#include "Tiles.h"
#include "control/Windows.h"

#include <memory>
#include <mutex>
#include <vector>

namespace sim {
namespace {

using abi::boolean;
namespace Foundation = abi::Windows::Foundation;
namespace Notifications = abi::Windows::UI::Notifications;
namespace XmlDom = abi::Windows::Data::Xml::Dom;

struct State {
    std::mutex lock;
    std::vector<std::shared_ptr<TileUpdaterRecord>> updaters;
    bool hasUpdater2 = true;
    bool answersEmpty = false;
};
State& state() {
    static State* s = new State();
    return *s;
}

class Updater : public SimObject<Updater, Notifications::ITileUpdater, Notifications::ITileUpdater2> {
public:
    Updater(std::shared_ptr<TileUpdaterRecord> record, bool hasUpdater2)
        : record_(std::move(record)), hasUpdater2_(hasUpdater2) {}
    ~Updater() override {
        std::lock_guard guard(state().lock);
        record_->alive = false;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!hasUpdater2_ && iid == abi::guid_v<Notifications::ITileUpdater2>) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimObject::QueryInterface(iid, out);
    }

    // ---- ITileUpdater ----
    HRESULT STDMETHODCALLTYPE Update(Notifications::ITileNotification* notification) noexcept override {
        SIM_FAULT("ITileUpdater.Update");
        if (!notification) return E_INVALIDARG;
        TileUpdateRecord update;
        ::winrt::com_ptr<XmlDom::IXmlDocument> content;
        if (HRESULT hr = notification->get_Content(content.put()); hr < 0) return hr;
        update.xml = XmlTextOf(content.get());
        HString tag;
        if (HRESULT hr = notification->get_Tag(tag.put()); hr < 0) return hr;
        update.tag = tag.str();
        update.hasTag = !update.tag.empty();
        ::winrt::com_ptr<Foundation::IReference<Foundation::DateTime>> expiration;
        if (HRESULT hr = notification->get_ExpirationTime(expiration.put()); hr < 0) return hr;
        if (expiration) {
            Foundation::DateTime time{};
            if (HRESULT hr = expiration->get_Value(&time); hr < 0) return hr;
            update.hasExpiration = true;
            update.expirationTicks = time.UniversalTime;
        }
        // Live tiles are a Windows 10 feature: Windows 11 takes the update and shows nothing.
        update.shown = !WindowsAtLeast(windows11_first);
        if (!update.shown) detail::Notice("sees no tile change: Windows 11 shows no live tiles (the update is not shown)");
        std::lock_guard guard(state().lock);
        record_->updates.push_back(std::move(update));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clear() noexcept override {
        SIM_FAULT("ITileUpdater.Clear");
        std::lock_guard guard(state().lock);
        ++record_->clears;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableNotificationQueue(boolean enable) noexcept override {
        SIM_FAULT("ITileUpdater.EnableNotificationQueue");
        return Switch(&TileUpdaterRecord::queue, enable);
    }
    HRESULT STDMETHODCALLTYPE get_Setting(INT32* value) noexcept override {
        SIM_FAULT("ITileUpdater.get_Setting");
        if (!value) return E_POINTER;
        *value = static_cast<INT32>(abi::Windows::UI::Notifications::NotificationSetting::Enabled);
        return S_OK;
    }
    SIM_UNUSED("ITileUpdater.AddToSchedule", AddToSchedule(IInspectable*))
    SIM_UNUSED("ITileUpdater.RemoveFromSchedule", RemoveFromSchedule(IInspectable*))
    SIM_UNUSED("ITileUpdater.GetScheduledTileNotifications", GetScheduledTileNotifications(IInspectable**))
    SIM_UNUSED("ITileUpdater.StartPeriodicUpdate", StartPeriodicUpdate(Foundation::IUriRuntimeClass*, INT32))
    SIM_UNUSED("ITileUpdater.StartPeriodicUpdateAtTime", StartPeriodicUpdateAtTime(Foundation::IUriRuntimeClass*,
                                                                                   Foundation::DateTime, INT32))
    SIM_UNUSED("ITileUpdater.StopPeriodicUpdate", StopPeriodicUpdate())
    SIM_UNUSED("ITileUpdater.StartPeriodicUpdateBatch",
               StartPeriodicUpdateBatch(abi::Windows::Foundation::Collections::IIterable<Foundation::IUriRuntimeClass*>*, INT32))
    SIM_UNUSED("ITileUpdater.StartPeriodicUpdateBatchAtTime",
               StartPeriodicUpdateBatchAtTime(abi::Windows::Foundation::Collections::IIterable<Foundation::IUriRuntimeClass*>*,
                                              Foundation::DateTime, INT32))

    // ---- ITileUpdater2 ----
    HRESULT STDMETHODCALLTYPE EnableNotificationQueueForSquare150x150(boolean enable) noexcept override {
        SIM_FAULT("ITileUpdater2.EnableNotificationQueueForSquare150x150");
        return Switch(&TileUpdaterRecord::queueSquare150x150, enable);
    }
    HRESULT STDMETHODCALLTYPE EnableNotificationQueueForWide310x150(boolean enable) noexcept override {
        SIM_FAULT("ITileUpdater2.EnableNotificationQueueForWide310x150");
        return Switch(&TileUpdaterRecord::queueWide310x150, enable);
    }
    HRESULT STDMETHODCALLTYPE EnableNotificationQueueForSquare310x310(boolean enable) noexcept override {
        SIM_FAULT("ITileUpdater2.EnableNotificationQueueForSquare310x310");
        return Switch(&TileUpdaterRecord::queueSquare310x310, enable);
    }

private:
    HRESULT Switch(int TileUpdaterRecord::*field, boolean enable) {
        std::lock_guard guard(state().lock);
        (*record_).*field = enable ? 1 : 0;
        return S_OK;
    }

    std::shared_ptr<TileUpdaterRecord> record_;
    bool hasUpdater2_;
};


const ResetRegistration reset([] {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.updaters.clear();
    s.hasUpdater2 = true;
    s.answersEmpty = false;
});

}  // namespace

::winrt::com_ptr<Notifications::ITileUpdater> MakeTileUpdater(bool forUser, const std::wstring& userId,
                                                              bool secondaryTile,
                                                const std::wstring& applicationId, const std::wstring& tileId) {
    if (ReadState(state(), &State::answersEmpty)) return nullptr;
    auto record = std::make_shared<TileUpdaterRecord>();
    record->alive = true;
    record->forUser = forUser;
    record->userId = userId;
    record->secondaryTile = secondaryTile;
    record->applicationId = applicationId;
    record->tileId = tileId;
    bool hasUpdater2;
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        s.updaters.push_back(record);
        hasUpdater2 = s.hasUpdater2;
    }
    auto updater = MakeObject<Updater>(std::move(record), hasUpdater2);
    return Up<Notifications::ITileUpdater>(updater);
}

long TileUpdaterCount() {
    auto& s = state();
    std::lock_guard guard(s.lock);
    return static_cast<long>(s.updaters.size());
}

TileUpdaterRecord TileUpdaterAt(long index) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    if (index < 0 || index >= static_cast<long>(s.updaters.size())) return {};
    return *s.updaters[index];
}

void SetTileUpdater2(bool present) { WriteState(state(), &State::hasUpdater2, present); }
void SetTileUpdaterAnswersEmpty(bool empty) { WriteState(state(), &State::answersEmpty, empty); }

}  // namespace sim
