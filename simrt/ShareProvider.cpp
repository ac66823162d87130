// Windows.ApplicationModel.DataTransfer.ShareProvider (factory, Title, icon,
// BackgroundColor, Tag, the handler run when the user picks it),
// ShareProviderOperation and the providers vector of ShareProvidersRequested.
#include "DataTransfer.h"
#include "Storage.h"

namespace sim {
namespace {

using namespace abi::Windows::ApplicationModel::DataTransfer;
using abi::Windows::Foundation::Collections::IVectorView;
using abi::Windows::Storage::Streams::IRandomAccessStreamReference;
using abi::Windows::UI::Color;

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
    ShareProviderObject(std::wstring title, ::winrt::com_ptr<IRandomAccessStreamReference> icon, Color color,
                        ::winrt::com_ptr<ShareProviderHandler> handler)
        : title_(std::move(title)), icon_(std::move(icon)), color_(color), handler_(std::move(handler)) {}

    ::winrt::com_ptr<ShareProviderHandler> Handler() { return handler_; }

    HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) noexcept override {
        SIM_FAULT("IShareProvider.get_Title");
        *value = MakeHString(title_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_DisplayIcon(IRandomAccessStreamReference** value) noexcept override {
        SIM_FAULT("IShareProvider.get_DisplayIcon");
        icon_.copy_to(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BackgroundColor(Color* value) noexcept override {
        SIM_FAULT("IShareProvider.get_BackgroundColor");
        *value = color_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Tag(IInspectable** value) noexcept override {
        SIM_FAULT("IShareProvider.get_Tag");
        std::lock_guard guard(lock_);
        tag_.copy_to(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Tag(IInspectable* value) noexcept override {
        SIM_FAULT("IShareProvider.put_Tag");
        std::lock_guard guard(lock_);
        tag_.copy_from(value);
        return S_OK;
    }

private:
    const std::wstring title_;
    const ::winrt::com_ptr<IRandomAccessStreamReference> icon_;
    const Color color_;
    const ::winrt::com_ptr<ShareProviderHandler> handler_;
    std::mutex lock_;
    ::winrt::com_ptr<IInspectable> tag_;
};

class ShareProviderOperationObject : public SimObject<ShareProviderOperationObject, IShareProviderOperation> {
public:
    ShareProviderOperationObject(::winrt::com_ptr<IInspectable> data, ::winrt::com_ptr<IShareProvider> provider)
        : data_(std::move(data)), provider_(std::move(provider)) {}

    HRESULT STDMETHODCALLTYPE get_Data(IInspectable** value) noexcept override {
        SIM_FAULT("IShareProviderOperation.get_Data");
        data_.copy_to(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Provider(IShareProvider** value) noexcept override {
        SIM_FAULT("IShareProviderOperation.get_Provider");
        provider_.copy_to(value);
        return S_OK;
    }
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

class ProviderVectorObject : public SimObject<ProviderVectorObject, ProviderVector> {
public:
    HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IShareProvider** item) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.GetAt");
        std::lock_guard guard(lock_);
        if (index >= items_.size()) return E_BOUNDS;
        items_[index].copy_to(item);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.get_Size");
        std::lock_guard guard(lock_);
        *size = static_cast<UINT32>(items_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetView(IVectorView<IShareProvider*>** view) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.GetView");
        *view = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IndexOf(IShareProvider* value, UINT32* index, abi::boolean* found) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.IndexOf");
        std::lock_guard guard(lock_);
        *index = 0;
        *found = 0;
        for (UINT32 i = 0; i < items_.size(); ++i) {
            if (items_[i].get() == value) {
                *index = i;
                *found = 1;
                break;
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetAt(UINT32 index, IShareProvider* item) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.SetAt");
        std::lock_guard guard(lock_);
        if (index >= items_.size()) return E_BOUNDS;
        items_[index].copy_from(item);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertAt(UINT32 index, IShareProvider* item) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.InsertAt");
        std::lock_guard guard(lock_);
        if (index > items_.size()) return E_BOUNDS;
        items_.insert(items_.begin() + index, ::winrt::copy_ptr(item));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemoveAt(UINT32 index) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.RemoveAt");
        std::lock_guard guard(lock_);
        if (index >= items_.size()) return E_BOUNDS;
        items_.erase(items_.begin() + index);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Append(IShareProvider* item) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.Append");
        std::lock_guard guard(lock_);
        items_.push_back(::winrt::copy_ptr(item));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemoveAtEnd() noexcept override {
        SIM_FAULT("IVector<ShareProvider>.RemoveAtEnd");
        std::lock_guard guard(lock_);
        if (items_.empty()) return E_BOUNDS;
        items_.pop_back();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clear() noexcept override {
        SIM_FAULT("IVector<ShareProvider>.Clear");
        std::lock_guard guard(lock_);
        items_.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMany(UINT32 start, UINT32 capacity, IShareProvider** value, UINT32* actual) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.GetMany");
        std::lock_guard guard(lock_);
        *actual = 0;
        for (UINT32 i = start; i < items_.size() && *actual < capacity; ++i) items_[i].copy_to(&value[(*actual)++]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReplaceAll(UINT32 count, IShareProvider** value) noexcept override {
        SIM_FAULT("IVector<ShareProvider>.ReplaceAll");
        std::lock_guard guard(lock_);
        items_.clear();
        for (UINT32 i = 0; i < count; ++i) items_.push_back(::winrt::copy_ptr(value[i]));
        return S_OK;
    }

private:
    std::mutex lock_;
    std::vector<::winrt::com_ptr<IShareProvider>> items_;
};

class ShareProviderFactoryObject : public SimFactory<ShareProviderFactoryObject, IShareProviderFactory> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE Create(HSTRING title, IRandomAccessStreamReference* displayIcon, Color backgroundColor,
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

::winrt::com_ptr<ProviderVector> NewProviderVector() { return Up<ProviderVector>(MakeObject<ProviderVectorObject>()); }

::winrt::com_ptr<IShareProvider> NewSystemShareProvider(const std::wstring& title) {
    return Up<IShareProvider>(MakeObject<ShareProviderObject>(title, nullptr, Color{}, nullptr));
}

HRESULT PickShareProvider(IShareProvider* provider, IInspectable* data) {
    auto* simulated = dynamic_cast<ShareProviderObject*>(provider);
    if (!simulated) return E_INVALIDARG;
    auto handler = simulated->Handler();
    if (!handler) return S_OK;  // an installed application: the system takes over
    auto operation = MakeObject<ShareProviderOperationObject>(::winrt::copy_ptr(data), ::winrt::copy_ptr(provider));
    return handler->Invoke(operation.get());
}

long ShareProvidersCreated() {
    auto& p = providers();
    std::lock_guard guard(p.lock);
    return p.created;
}

CreatedShareProvider LastShareProvider() {
    auto& p = providers();
    std::lock_guard guard(p.lock);
    return p.last;
}

long ShareProviderOperationsReported() {
    auto& p = providers();
    std::lock_guard guard(p.lock);
    return p.reported;
}

}  // namespace sim
