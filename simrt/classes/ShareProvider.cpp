// Windows.ApplicationModel.DataTransfer.ShareProvider (factory, Title, icon,
// BackgroundColor, Tag, the handler run when the user picks it),
// ShareProviderOperation and the providers vector of ShareProvidersRequested.
#include "DataTransfer.h"
#include "Property.h"
#include "Storage.h"
#include "Vector.h"

namespace sim {
namespace {

using namespace abi::Windows::ApplicationModel::DataTransfer;
namespace Streams = abi::Windows::Storage::Streams;
namespace UI = abi::Windows::UI;

struct Providers {
    std::mutex lock;
    long created = 0;
    long reported = 0;
    CreatedShareProvider last;
};
Providers& providers() {
    static Providers* p = new Providers();
    return *p;
}

class ShareProviderObject : public SimObject<ShareProviderObject, IShareProvider> {
public:
    ShareProviderObject(std::wstring title, ::winrt::com_ptr<Streams::IRandomAccessStreamReference> icon,
                        UI::Color color,
                        ::winrt::com_ptr<ShareProviderHandler> handler)
        : title_(std::move(title)), icon_(std::move(icon)), color_(color), handler_(std::move(handler)) {}

    ::winrt::com_ptr<ShareProviderHandler> Handler() { return handler_; }

    SIM_GETTER(IShareProvider, Title, HSTRING, Fixed(title_))
    SIM_GETTER(IShareProvider, DisplayIcon, Streams::IRandomAccessStreamReference*, Fixed(icon_))
    SIM_GETTER(IShareProvider, BackgroundColor, UI::Color, Fixed(color_))
    SIM_PROPERTY(IShareProvider, Tag, IInspectable*, tag_)

private:
    const std::wstring title_;
    const ::winrt::com_ptr<Streams::IRandomAccessStreamReference> icon_;
    const UI::Color color_;
    const ::winrt::com_ptr<ShareProviderHandler> handler_;
    Property<::winrt::com_ptr<IInspectable>> tag_;
};

class ShareProviderOperationObject : public SimObject<ShareProviderOperationObject, IShareProviderOperation> {
public:
    ShareProviderOperationObject(::winrt::com_ptr<IInspectable> data, ::winrt::com_ptr<IShareProvider> provider)
        : data_(std::move(data)), provider_(std::move(provider)) {}

    SIM_GETTER(IShareProviderOperation, Data, IInspectable*, Fixed(data_))
    SIM_GETTER(IShareProviderOperation, Provider, IShareProvider*, Fixed(provider_))
    HRESULT STDMETHODCALLTYPE ReportCompleted() noexcept override {
        SIM_FAULT("IShareProviderOperation.ReportCompleted");
        auto& p = providers();
        std::lock_guard guard(p.lock);
        ++p.reported;
        return S_OK;
    }

private:
    ::winrt::com_ptr<IInspectable> data_;
    ::winrt::com_ptr<IShareProvider> provider_;
};

class ShareProviderFactoryObject : public SimFactory<ShareProviderFactoryObject, IShareProviderFactory> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE Create(HSTRING title, Streams::IRandomAccessStreamReference* displayIcon,
                                     UI::Color backgroundColor,
                                     ShareProviderHandler* handler, IShareProvider** result) noexcept override {
        SIM_FAULT("IShareProviderFactory.Create");
        if (!result) return E_POINTER;
        *result = nullptr;
        // The system needs all three to list a provider.
        if (!WindowsGetStringLen(title) || !displayIcon || !handler) return E_INVALIDARG;
        auto* reference = AsStreamReference(displayIcon);
        {
            auto& p = providers();
            std::lock_guard guard(p.lock);
            ++p.created;
            p.last = CreatedShareProvider{ToWide(title), backgroundColor.A, backgroundColor.R, backgroundColor.G,
                                          backgroundColor.B, reference ? reference->FilePath() : std::wstring(), true};
        }
        *result = MakeObject<ShareProviderObject>(ToWide(title), ::winrt::copy_ptr(displayIcon), backgroundColor,
                                                  ::winrt::copy_ptr(handler))
                      .detach();
        return S_OK;
    }
};

const ClassRegistration registration(ShareProvider::name,
                                     [] { return NewFactory<ShareProviderFactoryObject>(ShareProvider::name); });
const ResetRegistration reset([] {
    auto& p = providers();
    std::lock_guard guard(p.lock);
    p.created = 0;
    p.reported = 0;
    p.last = CreatedShareProvider{};
});

}  // namespace

::winrt::com_ptr<ProviderVector> NewProviderVector() {
    return Up<ProviderVector>(MakeObject<Vector<IShareProvider>>("IVector<ShareProvider>"));
}

::winrt::com_ptr<IShareProvider> NewSystemShareProvider(const std::wstring& title) {
    return Up<IShareProvider>(MakeObject<ShareProviderObject>(title, nullptr, UI::Color{}, nullptr));
}

HRESULT PickShareProvider(IShareProvider* provider, IInspectable* data) {
    auto* simulated = dynamic_cast<ShareProviderObject*>(provider);
    if (!simulated) return E_INVALIDARG;
    auto handler = simulated->Handler();
    if (!handler) return S_OK;  // an installed application: the system takes over
    auto operation = MakeObject<ShareProviderOperationObject>(::winrt::copy_ptr(data), ::winrt::copy_ptr(provider));
    return handler->Invoke(operation.get());
}

long ShareProvidersCreated() { return ReadState(providers(), &Providers::created); }

CreatedShareProvider LastShareProvider() { return ReadState(providers(), &Providers::last); }

long ShareProviderOperationsReported() { return ReadState(providers(), &Providers::reported); }

}  // namespace sim
