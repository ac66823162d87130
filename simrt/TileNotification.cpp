// Windows.UI.Notifications.TileNotification: made from an XmlDocument, with a
// tag and an expiry time that the updater records.
#include "Tiles.h"

#include <mutex>

namespace sim {
namespace {

using abi::Windows::Data::Xml::Dom::IXmlDocument;
using abi::Windows::Foundation::DateTime;
using abi::Windows::Foundation::IReference;
using abi::Windows::UI::Notifications::ITileNotification;
using abi::Windows::UI::Notifications::ITileNotificationFactory;
using abi::Windows::UI::Notifications::TileNotification;

class Notification : public SimObject<Notification, ITileNotification> {
public:
    explicit Notification(::winrt::com_ptr<IXmlDocument> content) : content_(std::move(content)) {}

    HRESULT STDMETHODCALLTYPE get_Content(IXmlDocument** value) noexcept override {
        SIM_FAULT("ITileNotification.get_Content");
        if (!value) return E_POINTER;
        content_.copy_to(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ExpirationTime(IReference<DateTime>* value) noexcept override {
        SIM_FAULT("ITileNotification.put_ExpirationTime");
        std::lock_guard guard(lock_);
        expiration_.copy_from(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ExpirationTime(IReference<DateTime>** value) noexcept override {
        SIM_FAULT("ITileNotification.get_ExpirationTime");
        if (!value) return E_POINTER;
        std::lock_guard guard(lock_);
        expiration_.copy_to(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Tag(HSTRING value) noexcept override {
        SIM_FAULT("ITileNotification.put_Tag");
        std::lock_guard guard(lock_);
        tag_ = ToWide(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Tag(HSTRING* value) noexcept override {
        SIM_FAULT("ITileNotification.get_Tag");
        if (!value) return E_POINTER;
        std::lock_guard guard(lock_);
        *value = MakeHString(tag_);
        return S_OK;
    }

private:
    std::mutex lock_;
    ::winrt::com_ptr<IXmlDocument> content_;
    ::winrt::com_ptr<IReference<DateTime>> expiration_;
    std::wstring tag_;
};

class NotificationFactory : public SimFactory<NotificationFactory, ITileNotificationFactory> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateTileNotification(IXmlDocument* content, ITileNotification** value) noexcept override {
        SIM_FAULT("ITileNotificationFactory.CreateTileNotification");
        if (!value) return E_POINTER;
        *value = nullptr;
        if (!content) return E_INVALIDARG;
        *value = MakeObject<Notification>(::winrt::copy_ptr(content)).detach();
        return S_OK;
    }
};

const ClassRegistration registration(TileNotification::name,
                                     [] { return NewFactory<NotificationFactory>(TileNotification::name); });

}  // namespace
}  // namespace sim
