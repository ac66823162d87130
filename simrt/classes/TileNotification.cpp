// Windows.UI.Notifications.TileNotification: made from an XmlDocument, with a
// tag and an expiry time that the updater records.
#include "Property.h"
#include "Tiles.h"

namespace sim {
namespace {

namespace Foundation = abi::Windows::Foundation;
namespace Notifications = abi::Windows::UI::Notifications;
namespace XmlDom = abi::Windows::Data::Xml::Dom;

class Notification : public SimObject<Notification, Notifications::ITileNotification> {
public:
    explicit Notification(::winrt::com_ptr<XmlDom::IXmlDocument> content) : content_(std::move(content)) {}

    SIM_GETTER(ITileNotification, Content, XmlDom::IXmlDocument*, Fixed(content_))
    SIM_PROPERTY(ITileNotification, ExpirationTime, Foundation::IReference<Foundation::DateTime>*, expiration_)
    SIM_PROPERTY(ITileNotification, Tag, HSTRING, tag_)

private:
    const ::winrt::com_ptr<XmlDom::IXmlDocument> content_;
    Property<::winrt::com_ptr<Foundation::IReference<Foundation::DateTime>>> expiration_;
    Property<std::wstring> tag_;
};

class NotificationFactory : public SimFactory<NotificationFactory, Notifications::ITileNotificationFactory> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateTileNotification(XmlDom::IXmlDocument* content,
                                                     Notifications::ITileNotification** value) noexcept override {
        SIM_FAULT("ITileNotificationFactory.CreateTileNotification");
        if (!value) return E_POINTER;
        *value = nullptr;
        if (!content) return E_INVALIDARG;
        *value = MakeObject<Notification>(::winrt::copy_ptr(content)).detach();
        return S_OK;
    }
};

const ClassRegistration registration(Notifications::TileNotification::name,
                                     [] { return NewFactory<NotificationFactory>(Notifications::TileNotification::name); });

}  // namespace
}  // namespace sim
