// Windows.ApplicationModel.DataTransfer: DataPackage with its property set,
// DataRequest and its event arguments, DataProviderRequest with its deferral,
// ShareCompletedEventArgs and StandardDataFormats.
#include "DataTransfer.h"
#include "Property.h"

#include <algorithm>
#include <atomic>

namespace sim {

using namespace abi::Windows::ApplicationModel::DataTransfer;
using abi::EventRegistrationToken;
namespace Collections = abi::Windows::Foundation::Collections;
namespace Foundation = abi::Windows::Foundation;
namespace Storage = abi::Windows::Storage;
namespace Streams = abi::Windows::Storage::Streams;
using ShareCompletedHandler = Foundation::TypedEventHandler<IDataPackage*, IShareCompletedEventArgs*>;
using ShareCanceledHandler = Foundation::TypedEventHandler<IDataPackage*, IInspectable*>;

namespace {

// Explicit answers; otherwise by the modelled build.
std::atomic<int> package3Present{-1}, package4Present{-1};
std::atomic<long> deadlineMs{30000}, lateData{0};
bool Present(const std::atomic<int>& answer, uint32_t build) {
    const int explicitAnswer = answer;
    return explicitAnswer < 0 ? WindowsAtLeast(build) : explicitAnswer != 0;
}

// Text a host may set on a package, and whether it did.
struct HostText {
    std::wstring text;
    bool set = false;
};
void CopyOut(const HostText& from, HSTRING* to) { *to = MakeHString(from.text); }
void CopyIn(HSTRING from, HostText& to) { to = HostText{ToWide(from), true}; }

class PropertySet : public SimObject<PropertySet, IDataPackagePropertySet> {
public:
    Property<HostText> title, description;
    Property<std::wstring> applicationName;

    SIM_PROPERTY(IDataPackagePropertySet, Title, HSTRING, title)
    SIM_PROPERTY(IDataPackagePropertySet, Description, HSTRING, description)
    SIM_PROPERTY(IDataPackagePropertySet, ApplicationName, HSTRING, applicationName)
    HRESULT STDMETHODCALLTYPE get_Thumbnail(Streams::IRandomAccessStreamReference** value) noexcept override {
        SIM_FAULT("IDataPackagePropertySet.get_Thumbnail");
        *value = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Thumbnail(Streams::IRandomAccessStreamReference*) noexcept override {
        SIM_FAULT("IDataPackagePropertySet.put_Thumbnail");
        return S_OK;
    }
    SIM_UNUSED_OUT("IDataPackagePropertySet.get_FileTypes", value, get_FileTypes(Collections::IVector<HSTRING>** value))
    HRESULT STDMETHODCALLTYPE get_ApplicationListingUri(Foundation::IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("IDataPackagePropertySet.get_ApplicationListingUri");
        *value = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ApplicationListingUri(Foundation::IUriRuntimeClass*) noexcept override {
        SIM_FAULT("IDataPackagePropertySet.put_ApplicationListingUri");
        return S_OK;
    }
};

class ShareCompletedArgs : public SimObject<ShareCompletedArgs, IShareCompletedEventArgs> {
public:
    HRESULT STDMETHODCALLTYPE get_ShareTarget(IInspectable** value) noexcept override {
        SIM_FAULT("IShareCompletedEventArgs.get_ShareTarget");
        *value = nullptr;
        return S_OK;
    }
};

}  // namespace

class DataPackageObject : public SimObject<DataPackageObject, IDataPackage, IDataPackage3, IDataPackage4> {
public:
    DataPackageObject() : properties_(MakeObject<PropertySet>()) {}

    // IDataPackage3 (ShareCompleted) and IDataPackage4 (ShareCanceled) are
    // what older systems lack.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if ((iid == abi::guid_v<IDataPackage3> && !IsShareCompletedInterfacePresent()) ||
            (iid == abi::guid_v<IDataPackage4> && !IsShareCanceledInterfacePresent())) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimObject::QueryInterface(iid, out);
    }

    PackageContents Contents() {
        PackageContents contents;
        auto title = properties_->title.Load(), description = properties_->description.Load();
        contents.hasTitle = title.set;
        contents.title = title.text;
        contents.hasDescription = description.set;
        contents.description = description.text;
        std::lock_guard guard(lock_);
        contents.hasText = hasText_;
        contents.text = text_;
        for (auto& entry : providers_) contents.providerFormats.push_back(entry.first);
        contents.storageItems = storageItems_;
        contents.shareCompletedHandlers = shareCompleted_.Count();
        contents.shareCanceledHandlers = shareCanceled_.Count();
        return contents;
    }
    ::winrt::com_ptr<DataProviderHandler> Provider(const std::wstring& formatId) {
        std::lock_guard guard(lock_);
        auto found = providers_.find(formatId);
        return found == providers_.end() ? nullptr : found->second;
    }
    HRESULT RaiseShareCompleted() {
        auto args = MakeObject<ShareCompletedArgs>();
        return shareCompleted_.Raise(static_cast<IDataPackage*>(this), args.get()).last;
    }
    HRESULT RaiseShareCanceled() { return shareCanceled_.Raise(static_cast<IDataPackage*>(this), static_cast<IInspectable*>(nullptr)).last; }

    // ---- IDataPackage ----
    SIM_UNUSED_OUT("IDataPackage.GetView", result, GetView(IInspectable** result))
    HRESULT STDMETHODCALLTYPE get_Properties(IDataPackagePropertySet** value) noexcept override {
        SIM_FAULT("IDataPackage.get_Properties");
        if (!value) return E_POINTER;
        *value = Up<IDataPackagePropertySet>(properties_).detach();
        return S_OK;
    }
    SIM_PROPERTY(IDataPackage, RequestedOperation, UINT32, requestedOperation_)
    SIM_UNUSED("IDataPackage.add_OperationCompleted", add_OperationCompleted(IInspectable*, EventRegistrationToken*))
    SIM_UNUSED("IDataPackage.remove_OperationCompleted", remove_OperationCompleted(EventRegistrationToken))
    SIM_UNUSED("IDataPackage.add_Destroyed",
               add_Destroyed(Foundation::TypedEventHandler<IDataPackage*, IInspectable*>*, EventRegistrationToken*))
    SIM_UNUSED("IDataPackage.remove_Destroyed", remove_Destroyed(EventRegistrationToken))
    SIM_UNUSED("IDataPackage.SetData", SetData(HSTRING, IInspectable*))
    HRESULT STDMETHODCALLTYPE SetDataProvider(HSTRING formatId, DataProviderHandler* delayRenderer) noexcept override {
        SIM_FAULT("IDataPackage.SetDataProvider");
        if (!delayRenderer || !WindowsGetStringLen(formatId)) return E_INVALIDARG;
        std::lock_guard guard(lock_);
        providers_[ToWide(formatId)].copy_from(delayRenderer);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetText(HSTRING value) noexcept override {
        SIM_FAULT("IDataPackage.SetText");
        std::lock_guard guard(lock_);
        hasText_ = true;
        text_ = ToWide(value);
        return S_OK;
    }
    SIM_UNUSED("IDataPackage.SetUri", SetUri(Foundation::IUriRuntimeClass*))
    SIM_UNUSED("IDataPackage.SetHtmlFormat", SetHtmlFormat(HSTRING))
    SIM_UNUSED_OUT("IDataPackage.get_ResourceMap", value, get_ResourceMap(IInspectable** value))
    SIM_UNUSED("IDataPackage.SetRtf", SetRtf(HSTRING))
    SIM_UNUSED("IDataPackage.SetBitmap", SetBitmap(Streams::IRandomAccessStreamReference*))
    HRESULT STDMETHODCALLTYPE SetStorageItemsReadOnly(Collections::IIterable<Storage::IStorageItem*>* value) noexcept override {
        SIM_FAULT("IDataPackage.SetStorageItemsReadOnly");
        return StoreItems(value);
    }
    HRESULT STDMETHODCALLTYPE SetStorageItems(Collections::IIterable<Storage::IStorageItem*>* value,
                                              abi::boolean) noexcept override {
        SIM_FAULT("IDataPackage.SetStorageItems");
        return StoreItems(value);
    }

    // ---- IDataPackage3 ----
    SIM_EVENT(IDataPackage3, ShareCompleted, ShareCompletedHandler, shareCompleted_)
    // ---- IDataPackage4 ----
    SIM_EVENT(IDataPackage4, ShareCanceled, ShareCanceledHandler, shareCanceled_)

private:
    // Walks the list the way the system does (First, HasCurrent, MoveNext)
    // and keeps each item's path.
    HRESULT StoreItems(Collections::IIterable<Storage::IStorageItem*>* items) {
        if (!items) return E_INVALIDARG;
        ::winrt::com_ptr<Collections::IIterator<Storage::IStorageItem*>> it;
        if (HRESULT hr = items->First(it.put()); hr < 0) return hr;
        std::vector<std::wstring> paths;
        abi::boolean has = 0;
        if (HRESULT hr = it->get_HasCurrent(&has); hr < 0) return hr;
        while (has) {
            ::winrt::com_ptr<Storage::IStorageItem> item;
            if (HRESULT hr = it->get_Current(item.put()); hr < 0) return hr;
            if (!item) return E_INVALIDARG;
            HString path;
            if (HRESULT hr = item->get_Path(path.put()); hr < 0) return hr;
            paths.push_back(path.str());
            if (HRESULT hr = it->MoveNext(&has); hr < 0) return hr;
        }
        std::lock_guard guard(lock_);
        storageItems_ = std::move(paths);
        return S_OK;
    }

    ::winrt::com_ptr<PropertySet> properties_;
    Property<UINT32> requestedOperation_{static_cast<UINT32>(DataPackageOperation::Copy)};
    std::mutex lock_;
    bool hasText_ = false;
    std::wstring text_;
    std::map<std::wstring, ::winrt::com_ptr<DataProviderHandler>> providers_;
    std::vector<std::wstring> storageItems_;
    EventSource<ShareCompletedHandler> shareCompleted_;
    EventSource<ShareCanceledHandler> shareCanceled_;
};

namespace {

class DataRequestObject : public SimObject<DataRequestObject, IDataRequest> {
public:
    explicit DataRequestObject(::winrt::com_ptr<IDataPackage> package) : package_(std::move(package)) {}

    SIM_PROPERTY(IDataRequest, Data, IDataPackage*, package_)
    HRESULT STDMETHODCALLTYPE get_Deadline(Foundation::DateTime* value) noexcept override {
        SIM_FAULT("IDataRequest.get_Deadline");
        value->UniversalTime = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FailWithDisplayText(HSTRING) noexcept override {
        SIM_FAULT("IDataRequest.FailWithDisplayText");
        return S_OK;
    }
    SIM_UNUSED_OUT("IDataRequest.GetDeferral", result, GetDeferral(IInspectable** result))

private:
    Property<::winrt::com_ptr<IDataPackage>> package_;
};

class DataRequestedArgs : public SimObject<DataRequestedArgs, IDataRequestedEventArgs> {
public:
    explicit DataRequestedArgs(::winrt::com_ptr<IDataRequest> request) : request_(std::move(request)) {}
    SIM_GETTER(IDataRequestedEventArgs, Request, IDataRequest*, Fixed(request_))

private:
    ::winrt::com_ptr<IDataRequest> request_;
};

class ProviderDeferral : public SimObject<ProviderDeferral, IDataProviderDeferral> {
public:
    explicit ProviderDeferral(std::shared_ptr<ProviderRequestState> state) : state_(std::move(state)) {}
    ~ProviderDeferral() override {
        std::lock_guard guard(state_->lock);
        --state_->liveDeferrals;
        state_->changed.notify_all();
    }
    HRESULT STDMETHODCALLTYPE Complete() noexcept override {
        SIM_FAULT("IDataProviderDeferral.Complete");
        std::lock_guard guard(state_->lock);
        state_->deferralCompleted = true;
        state_->changed.notify_all();
        return S_OK;
    }

private:
    std::shared_ptr<ProviderRequestState> state_;
};

class ProviderRequest : public SimObject<ProviderRequest, IDataProviderRequest> {
public:
    ProviderRequest(std::wstring formatId, std::shared_ptr<ProviderRequestState> state)
        : formatId_(std::move(formatId)), state_(std::move(state)) {}

    SIM_GETTER(IDataProviderRequest, FormatId, HSTRING, Fixed(formatId_))
    HRESULT STDMETHODCALLTYPE get_Deadline(Foundation::DateTime* value) noexcept override {
        SIM_FAULT("IDataProviderRequest.get_Deadline");
        // As a DateTime: 100 ns ticks since 1601 (a FILETIME).
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(state_->deadline -
                                                                               std::chrono::steady_clock::now());
        value->UniversalTime = static_cast<INT64>((uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime) +
                               std::max<INT64>(left.count(), 0) * 10;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(IDataProviderDeferral** value) noexcept override {
        SIM_FAULT("IDataProviderRequest.GetDeferral");
        {
            std::lock_guard guard(state_->lock);
            ++state_->deferrals;
            ++state_->liveDeferrals;
        }
        *value = MakeObject<ProviderDeferral>(state_).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetData(IInspectable* value) noexcept override {
        SIM_FAULT("IDataProviderRequest.SetData");
        std::lock_guard guard(state_->lock);
        // Too late: the target went on without it.
        if (state_->expired) return ++lateData, S_OK;
        state_->data.copy_from(value);
        return S_OK;
    }

private:
    std::wstring formatId_;
    std::shared_ptr<ProviderRequestState> state_;
};

class StandardDataFormatsStatics : public SimFactory<StandardDataFormatsStatics, IStandardDataFormatsStatics> {
public:
    using SimFactory::SimFactory;
#define SIM_FORMAT(name, text)                                              \
    HRESULT STDMETHODCALLTYPE get_##name(HSTRING* value) noexcept override { \
        SIM_FAULT("IStandardDataFormatsStatics.get_" #name);                \
        *value = MakeHString(text);                                         \
        return S_OK;                                                        \
    }
    SIM_FORMAT(Text, L"Text")
    SIM_FORMAT(Uri, L"UniformResourceLocatorW")
    SIM_FORMAT(Html, L"HTML Format")
    SIM_FORMAT(Rtf, L"Rich Text Format")
    SIM_FORMAT(Bitmap, L"Bitmap")
    SIM_FORMAT(StorageItems, L"Shell IDList Array")
#undef SIM_FORMAT
};

const ClassRegistration formats(StandardDataFormats::name,
                                [] { return NewFactory<StandardDataFormatsStatics>(StandardDataFormats::name); });
const ResetRegistration reset([] {
    package3Present = package4Present = -1;
    deadlineMs = 30000;
    lateData = 0;
});

}  // namespace

::winrt::com_ptr<IDataPackage> NewDataPackage() { return Up<IDataPackage>(MakeObject<DataPackageObject>()); }

::winrt::com_ptr<IDataRequestedEventArgs> NewDataRequestedEventArgs(IDataPackage* package) {
    auto request = MakeObject<DataRequestObject>(::winrt::copy_ptr(package));
    return Up<IDataRequestedEventArgs>(MakeObject<DataRequestedArgs>(Up<IDataRequest>(request)));
}

::winrt::com_ptr<IDataProviderRequest> NewDataProviderRequest(const std::wstring& formatId,
                                                              std::shared_ptr<ProviderRequestState> state) {
    return Up<IDataProviderRequest>(MakeObject<ProviderRequest>(formatId, std::move(state)));
}

std::chrono::milliseconds DataProviderDeadline() { return std::chrono::milliseconds(deadlineMs.load()); }
bool IsShareCompletedInterfacePresent() { return Present(package3Present, 15063); }
bool IsShareCanceledInterfacePresent() { return Present(package4Present, 19041); }
PackageContents ContentsOf(IDataPackage* package) {
    auto* simulated = dynamic_cast<DataPackageObject*>(package);
    return simulated ? simulated->Contents() : PackageContents{};
}
::winrt::com_ptr<DataProviderHandler> ProviderOf(IDataPackage* package, const std::wstring& formatId) {
    auto* simulated = dynamic_cast<DataPackageObject*>(package);
    return simulated ? simulated->Provider(formatId) : nullptr;
}
HRESULT RaiseShareCompleted(IDataPackage* package) {
    auto* simulated = dynamic_cast<DataPackageObject*>(package);
    return simulated ? simulated->RaiseShareCompleted() : E_INVALIDARG;
}

HRESULT RaiseShareCanceled(IDataPackage* package) {
    auto* simulated = dynamic_cast<DataPackageObject*>(package);
    return simulated ? simulated->RaiseShareCanceled() : E_INVALIDARG;
}

void SetDataPackage3Present(bool present) { package3Present = present; }
void SetDataPackage4Present(bool present) { package4Present = present; }
void SetDataProviderDeadline(DWORD ms) { deadlineMs = static_cast<long>(ms); }
long LateProviderData() { return lateData; }

}  // namespace sim
