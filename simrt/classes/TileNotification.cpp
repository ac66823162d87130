// Windows.UI.Notifications.TileNotification: made from an XmlDocument, with a
// tag and an expiry time that the updater records.
#include "Property.h"
#include "Tiles.h"

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

    SIM_GETTER(ITileNotification, Content, IXmlDocument*, Fixed(content_))
    SIM_PROPERTY(ITileNotification, ExpirationTime, IReference<DateTime>*, expiration_)
    SIM_PROPERTY(ITileNotification, Tag, HSTRING, tag_)

private:
    const ::winrt::com_ptr<IXmlDocument> content_;
    Property<::winrt::com_ptr<IReference<DateTime>>> expiration_;
    Property<std::wstring> tag_;
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
