// Sharing from a window: a text, the bytes of an encoded image (read only when
// a target asks for them) or one file, through the system share UI, with one
// completion callback on the thread that started the share.
#include "tavlet.h"

#include "tavlet/winapi/winrt/base/AbiNamespaces.h"
#include "tavlet/winapi/winrt/base/Availability.h"
#include "BitmapWrite.h"
#include "tavlet/winapi/winrt/base/ComObject.h"
#include "tavlet/winapi/winrt/base/Guards.h"
#include "tavlet/winapi/winrt/base/HString.h"
#include "tavlet/winapi/winrt/base/OnCompleted.h"
#include "tavlet/winapi/winrt/base/Runtime.h"
#include "tavlet/winapi/winrt/ShareProviderRuntime.h"
#include "ShareRecord.h"
#include "tavlet/winapi/winrt/base/SingleItemIterable.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"
#include "tavlet/winapi/winrt/abi/Interop.h"
#include "tavlet/Strings.h"
#include "tavlet/winapi/ApiInformationHostT.h"

namespace tavlet::winapi {
namespace {

using DataTransfer::IDataPackage;
using DataTransfer::IDataTransferManager;
using ::winrt::check_hresult;
using ::winrt::com_ptr;
using thread::Dispatcher;
using winrt::EventRegistration;
using winrt::HString;
using winrt::HStringReference;
using winrt::MakeDelegate;

constexpr std::wstring_view kManagerClass = L"Windows.ApplicationModel.DataTransfer.DataTransferManager";
constexpr std::wstring_view kPackageClass = L"Windows.ApplicationModel.DataTransfer.DataPackage";

template <typename Args>
using ManagerHandler = Foundation::TypedEventHandler<IDataTransferManager*, Args*>;
using Link = std::shared_ptr<ShareLink>;

std::wstring StandardBitmapFormat() {
    HString format;
    check_hresult(
        winrt::GetActivationFactory<DataTransfer::StandardDataFormats, DataTransfer::IStandardDataFormatsStatics>()
            ->get_Bitmap(format.put()));
    return format.str();
}

void FillPackage(const Link& link, const ShareContent& content, IDataPackage& package) {
    com_ptr<DataTransfer::IDataPackagePropertySet> properties;
    check_hresult(package.get_Properties(properties.put()));
    if (!content.title.empty()) check_hresult(properties->put_Title(HStringReference(content.title)));
    if (!content.description.empty()) check_hresult(properties->put_Description(HStringReference(content.description)));
    if (content.file) {
        using Items = winrt::SingleItemIterable<Storage::IStorageItem>;
        auto items = winrt::MakeObject<Items>(content.file.as<Storage::IStorageItem>());
        check_hresult(package.SetStorageItemsReadOnly(items.get()));
    } else if (content.data && content.dataSize) {
        // Deferred rendering: the bytes are read only when a target asks for the bitmap.
        auto provider = MakeDelegate<DataTransfer::DataProviderHandler>(
            [link](DataTransfer::IDataProviderRequest* request) -> HRESULT {
                // A share that has ended delivers nothing: the host may have freed its bytes.
                auto record = link->Record();
                if (!record) ::winrt::throw_hresult(E_ILLEGAL_METHOD_CALL);
                ProvideBitmap(::winrt::copy_ptr(request), std::move(record));
                return S_OK;
            });
        check_hresult(package.SetDataProvider(HStringReference(StandardBitmapFormat()), provider.get()));
    } else {
        check_hresult(package.SetText(HStringReference(content.text)));
    }
}

// One handler of a share: it acts once, for a live share only, and only
// while the share is its window's newest (ShareCompleted aside). One whose
// share has ended, even one the runtime refused to remove, does nothing and
// registers nothing. A failure part-way ends the share: it never writes into a
// later share's package. The failure itself goes back to the runtime.
template <typename Handler, typename Sender, typename Args, typename Act>
com_ptr<Handler> Answer(const Link& link, ShareEvent event, Act act) {
    return MakeDelegate<Handler>([link, event, act](Sender*, Args* args) -> HRESULT {
        auto record = link->Record();
        if (!record || !record->Answer(event)) return S_OK;
        try {
            act(*record, args);
        } catch (...) {
            record->End();
            throw;
        }
        record->Remove(event);
        return S_OK;
    });
}

template <typename Args, typename Act>
com_ptr<ManagerHandler<Args>> AnswerManager(const Link& link, ShareEvent event, Act act) {
    return Answer<ManagerHandler<Args>, IDataTransferManager, Args>(link, event, act);
}

// DataPackage.ShareCompleted and ShareCanceled, each where the system has it:
// the share's end. A failure registering either fails DataRequested, which
// ends the share with everything it registered.
void WatchShareEnd(const Link& link, ShareRecord& record, IDataPackage* package) {
    auto end = [](ShareRecord& ended, auto*) { ended.End(); };
    if (IsEventPresent(std::wstring(kPackageClass), L"ShareCompleted")) {
        auto package3 = ::winrt::copy_ptr(package).as<DataTransfer::IDataPackage3>();
        using Completed = Foundation::TypedEventHandler<IDataPackage*, DataTransfer::IShareCompletedEventArgs*>;
        auto completed = Answer<Completed, IDataPackage, DataTransfer::IShareCompletedEventArgs>(
            link, ShareEvent::ShareCompleted, end);
        record.Keep(ShareEvent::ShareCompleted,
                    EventRegistration::Add(package3, &DataTransfer::IDataPackage3::add_ShareCompleted,
                                           &DataTransfer::IDataPackage3::remove_ShareCompleted, completed.get()));
    }
    if (IsEventPresent(std::wstring(kPackageClass), L"ShareCanceled")) {
        auto package4 = ::winrt::copy_ptr(package).as<DataTransfer::IDataPackage4>();
        using Canceled = Foundation::TypedEventHandler<IDataPackage*, IInspectable*>;
        auto canceled = Answer<Canceled, IDataPackage, IInspectable>(link, ShareEvent::ShareCanceled, end);
        record.Keep(ShareEvent::ShareCanceled,
                    EventRegistration::Add(package4, &DataTransfer::IDataPackage4::add_ShareCanceled,
                                           &DataTransfer::IDataPackage4::remove_ShareCanceled, canceled.get()));
    }
}

com_ptr<ManagerHandler<DataTransfer::IDataRequestedEventArgs>> OnDataRequested(const Link& link) {
    return AnswerManager<DataTransfer::IDataRequestedEventArgs>(
        link, ShareEvent::DataRequested, [link](ShareRecord& record, DataTransfer::IDataRequestedEventArgs* args) {
            auto content = record.Content();
            if (!content) return;
            com_ptr<DataTransfer::IDataRequest> request;
            check_hresult(args->get_Request(request.put()));
            com_ptr<IDataPackage> package;
            check_hresult(request->get_Data(package.put()));
            FillPackage(link, *content, *package);
            WatchShareEnd(link, record, package.get());
        });
}

com_ptr<ManagerHandler<DataTransfer::ITargetApplicationChosenEventArgs>> OnTargetChosen(const Link& link) {
    return AnswerManager<DataTransfer::ITargetApplicationChosenEventArgs>(
        link, ShareEvent::TargetApplicationChosen,
        [](ShareRecord& record, DataTransfer::ITargetApplicationChosenEventArgs* args) {
            HString name;
            check_hresult(args->get_ApplicationName(name.put()));
            record.TargetChosen(name.str());
        });
}

bool IsListed(const com_ptr<Foundation::Collections::IVector<DataTransfer::IShareProvider*>>& providers,
              const std::wstring& title) {
    UINT32 size = 0;
    check_hresult(providers->get_Size(&size));
    for (UINT32 i = 0; i < size; ++i) {
        com_ptr<DataTransfer::IShareProvider> other;
        check_hresult(providers->GetAt(i, other.put()));
        HString otherTitle;
        check_hresult(other->get_Title(otherTitle.put()));
        if (otherTitle.str() == title) return true;  // same code units, case-sensitive
    }
    return false;
}

com_ptr<ManagerHandler<DataTransfer::IShareProvidersRequestedEventArgs>> OnProvidersRequested(const Link& link) {
    return AnswerManager<DataTransfer::IShareProvidersRequestedEventArgs>(
        link, ShareEvent::ShareProvidersRequested,
        [](ShareRecord& record, DataTransfer::IShareProvidersRequestedEventArgs* args) {
            auto content = record.Content();
            // Possibly empty: the provider's icon was not built when the share began.
            if (!content || !content->provider) return;
            const auto& own = content->provider;
            HString title;
            check_hresult(own->get_Title(title.put()));
            com_ptr<Foundation::Collections::IVector<DataTransfer::IShareProvider*>> providers;
            check_hresult(args->get_Providers(providers.put()));
            if (!IsListed(providers, title.str())) check_hresult(providers->Append(own.get()));
        });
}

// The manager is not agile: its registrations are removed on this thread, the
// window's, only.
void RegisterAndShow(const Link& link, ShareRecord& record, const com_ptr<IDataTransferManager>& manager,
                     const com_ptr<abi::IDataTransferManagerInterop>& interop, bool offersProvider) {
    constexpr auto here = EventRegistration::Affinity::ThisThreadOnly;
    record.Keep(ShareEvent::DataRequested,
                 EventRegistration::Add(manager, &IDataTransferManager::add_DataRequested,
                                        &IDataTransferManager::remove_DataRequested, OnDataRequested(link).get(), here));
    record.Keep(ShareEvent::TargetApplicationChosen,
                 EventRegistration::Add(manager, &IDataTransferManager::add_TargetApplicationChosen,
                                        &IDataTransferManager::remove_TargetApplicationChosen,
                                        OnTargetChosen(link).get(), here));
    if (offersProvider && IsEventPresent(std::wstring(kManagerClass), L"ShareProvidersRequested")) {
        auto manager2 = manager.as<DataTransfer::IDataTransferManager2>();
        record.Keep(ShareEvent::ShareProvidersRequested,
                     EventRegistration::Add(manager2, &DataTransfer::IDataTransferManager2::add_ShareProvidersRequested,
                                            &DataTransfer::IDataTransferManager2::remove_ShareProvidersRequested,
                                            OnProvidersRequested(link).get(), here));
    }
    check_hresult(interop->ShowShareUIForWindow(record.Window()));
}

// One share: a record owned by its handlers, registered, and the share UI
// opened. A share that fails to start tells its caller, never calls the host
// back, leaves nothing registered and does not end the window's earlier shares.
void ShareForWindow(std::shared_ptr<Dispatcher> dispatcher, HWND window, ShareContent content,
                    unsigned terminationsAtStart) {
    auto interop = winrt::GetActivationFactory<DataTransfer::DataTransferManager, abi::IDataTransferManagerInterop>();
    com_ptr<IDataTransferManager> manager;
    manager.capture(interop, &abi::IDataTransferManagerInterop::GetForWindow, window);
    const bool offersProvider = content.offersProvider;
    auto link = ShareRecord::Start(window, std::move(dispatcher), std::move(content));
    auto record = link->Record();
    if (!AddLiveShare(record, terminationsAtStart)) return;  // WinRTSharingTerminate came first
    try {
        RegisterAndShow(link, *record, manager, interop, offersProvider);
    } catch (...) {
        record->Abandon();
        throw;
    }
    EndDismissedShares(record);
}

// The file share's steps after its lookup (the window's manager, the
// registrations, the share UI) run on the thread that made the share call, as
// the manager is not agile. A failure there has no one to tell: the host
// already has S_OK, and sees no share UI and no callback.
class FileShareOpening final : public Dispatcher::Task {
public:
    FileShareOpening(std::shared_ptr<Dispatcher> dispatcher, HWND window, ShareContent content, unsigned terminations)
        : dispatcher_(std::move(dispatcher)),
          window_(window),
          content_(std::move(content)),
          terminations_(terminations) {}

    void Run() override {
        if (SharingTerminations() != terminations_) return;  // WinRTSharingTerminate came first
        try {
            ShareForWindow(dispatcher_, window_, std::move(content_), terminations_);
        } catch (...) {
        }
    }

private:
    std::shared_ptr<Dispatcher> dispatcher_;
    HWND window_;
    ShareContent content_;
    unsigned terminations_;
};

ShareContent WithProvider(ShareContent content, _WinRTShareProvider* provider) {
    if (auto slot = winrt::RuntimeProviderSlotOf(provider)) {  // none for null or a handle that is not live
        content.offersProvider = true;
        content.provider = slot->Get();
    }
    return content;
}

}  // namespace
}  // namespace tavlet::winapi

using tavlet::winapi::winrt::EnsureRuntimeInitialized;
using tavlet::winapi::winrt::PlainGuard;

extern "C" {

BOOL TAVLET_CALL WinRTSharingIsAvailable(void) {
    using namespace abi::Windows::ApplicationModel::DataTransfer;
    return tavlet::winapi::winrt::IsClassAvailable<DataTransferManager, IDataTransferManagerStatics2>();
}

HRESULT TAVLET_CALL WinRTShareDataForWindow(HWND window, const wchar_t* title, const wchar_t* description,
                                            const wchar_t* text, const void* data, uint64_t size, void* context,
                                            ShareDataCompletedHandler completed, _WinRTShareProvider* provider) {
    return PlainGuard([&] {
        EnsureRuntimeInitialized();
        if (!WinRTSharingIsAvailable()) tavlet::ThrowOriginatedHresult(E_NOINTERFACE);
        tavlet::winapi::ShareContent content;
        content.title = tavlet::ToWideString(title);
        content.description = tavlet::ToWideString(description);
        content.text = tavlet::ToWideString(text);
        // No bytes to share (null or empty): a text share, which never calls back.
        content.data = size ? data : nullptr;
        content.dataSize = data ? size : 0;
        content.dataCompleted = completed;
        content.context = context;
        const unsigned terminations = tavlet::winapi::SharingTerminations();
        tavlet::winapi::ShareForWindow(tavlet::thread::Dispatcher::Create(), window,
                                       tavlet::winapi::WithProvider(std::move(content), provider), terminations);
    });
}

HRESULT TAVLET_CALL WinRTShareFileForWindow(HWND window, const wchar_t* title, const wchar_t* description,
                                            const char* path, void* context, ShareFileCompletedHandler completed,
                                            _WinRTShareProvider* provider) {
    namespace Storage = abi::Windows::Storage;
    namespace Foundation = abi::Windows::Foundation;
    using tavlet::winapi::winrt::RuntimeProviderSlot;
    return PlainGuard([&] {
        EnsureRuntimeInitialized();
        if (!WinRTSharingIsAvailable()) tavlet::ThrowOriginatedHresult(E_NOINTERFACE);
        if (!path) tavlet::ThrowOriginatedHresult(E_INVALIDARG);
        const unsigned terminations = tavlet::winapi::SharingTerminations();
        auto dispatcher = tavlet::thread::Dispatcher::Create();
        tavlet::winapi::ShareContent content;
        content.title = tavlet::ToWideString(title);
        content.description = tavlet::ToWideString(description);
        content.filePath = path;
        content.fileCompleted = completed;
        content.context = context;
        // Held weakly: the host may release its provider before the file is found.
        std::weak_ptr<RuntimeProviderSlot> slot = tavlet::winapi::winrt::RuntimeProviderSlotOf(provider);
        content.offersProvider = !slot.expired();  // none for null or a handle that is not live
        const std::wstring widePath = tavlet::FromUtf8(content.filePath);
        ::winrt::com_ptr<Foundation::IAsyncOperation<Storage::IStorageFile*>> lookup;
        ::winrt::check_hresult(
            tavlet::winapi::winrt::GetActivationFactory<Storage::StorageFile, Storage::IStorageFileStatics>()
                ->GetFileFromPathAsync(tavlet::winapi::winrt::HStringReference(widePath), lookup.put()));
        // Runs on the thread that reports the lookup; a path naming no file
        // fails here, after the host already has S_OK: no share UI, no callback.
        // A lookup that completes after WinRTSharingTerminate only lets go.
        // The share itself opens on the share call's thread.
        tavlet::winapi::winrt::OnCompleted<Storage::IStorageFile*>(
            lookup, tavlet::winapi::winrt::OnRuntimeThread<std::shared_ptr<tavlet::thread::Dispatcher>>{dispatcher},
            [dispatcher, window, content, slot, terminations](tavlet::thread::Dispatcher&,
                                                              ::winrt::com_ptr<Storage::IStorageFile> file) {
                if (tavlet::winapi::SharingTerminations() != terminations || !file) return;
                auto share = content;
                share.file = std::move(file);
                if (auto provider = slot.lock()) share.provider = provider->Get();
                dispatcher->Post(std::make_shared<tavlet::winapi::FileShareOpening>(dispatcher, window,
                                                                                    std::move(share), terminations));
            },
            tavlet::winapi::winrt::DropFailure);
    });
}

void TAVLET_CALL WinRTSharingTerminate(void) { tavlet::winapi::TerminateSharing(); }

}  // extern "C"
