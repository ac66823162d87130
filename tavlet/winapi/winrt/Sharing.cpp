// Sharing from a window: a text, the bytes of an encoded image (read only when
// a target asks for them) or one file, through the system share UI, with one
// completion callback on the thread that started the share.
#include "tavlet.h"

#include "Availability.h"
#include "ComContext.h"
#include "ComObject.h"
#include "Guards.h"
#include "HString.h"
#include "Runtime.h"
#include "SingleItemIterable.h"
#include "ShareProviderRuntime.h"
#include "abi/DataTransfer.h"
#include "abi/Foundation.h"
#include "abi/Interop.h"
#include "abi/Storage.Streams.h"
#include "abi/Storage.h"
#include "tavlet/Strings.h"
#include "tavlet/thread/Dispatcher.h"
#include "tavlet/winapi/ApiInformationHostT.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace tavlet::winapi {
namespace {

namespace DataTransfer = abi::Windows::ApplicationModel::DataTransfer;
namespace Foundation = abi::Windows::Foundation;
namespace Storage = abi::Windows::Storage;
namespace Streams = abi::Windows::Storage::Streams;
using abi::EventRegistrationToken;
using DataTransfer::IDataPackage;
using DataTransfer::IDataPackage3;
using DataTransfer::IDataProviderRequest;
using DataTransfer::IDataTransferManager;
using DataTransfer::IDataTransferManager2;
using ::winrt::check_hresult;
using ::winrt::com_ptr;
using tavlet::thread::Dispatcher;
using winrt::ComContext;
using winrt::HString;
using winrt::HStringReference;
using winrt::MakeDelegate;

constexpr std::wstring_view kManagerClass = L"Windows.ApplicationModel.DataTransfer.DataTransferManager";
constexpr std::wstring_view kPackageClass = L"Windows.ApplicationModel.DataTransfer.DataPackage";

// Set once by WinRTSharingTerminate, read by completion tasks on the hosts'
// threads.
std::atomic<bool> sharingTerminated{false};

class CompletionNotifierTask final : public Dispatcher::Task {
public:
    CompletionNotifierTask(std::shared_ptr<Dispatcher> dispatcher, ShareDataCompletedHandler dataCompleted,
                           ShareFileCompletedHandler fileCompleted, void* context, const void* data,
                           std::string filePath, std::string targetApplicationName)
        : dispatcher(std::move(dispatcher)),
          dataCompletedHandler(dataCompleted),
          fileCompletedHandler(fileCompleted),
          context(context),
          data(data),
          filePath(std::move(filePath)),
          targetApplicationName(std::move(targetApplicationName)) {}

    void Run() override {
        if (sharingTerminated) return;
        // A host callback that throws is contained here: the share is over
        // either way, and the dispatcher's other tasks still run.
        try {
            if (data && dataCompletedHandler)
                std::exchange(dataCompletedHandler, nullptr)(targetApplicationName.c_str(), context, data);
            if (fileCompletedHandler)
                std::exchange(fileCompletedHandler, nullptr)(targetApplicationName.c_str(), context, filePath.c_str());
        } catch (...) {
        }
    }

private:
    std::shared_ptr<Dispatcher> dispatcher;
    ShareDataCompletedHandler dataCompletedHandler;
    ShareFileCompletedHandler fileCompletedHandler;
    void* context;
    const void* data;
    std::string filePath;
    std::string targetApplicationName;
};

// One share call. Owned by the handlers registered for it, by the data
// provider of a data share and by a running bitmap write; the registrations
// and this record form a cycle that only the removals break.
struct ShareData {
    ShareData() = default;
    ShareData(const ShareData&) = delete;
    ShareData& operator=(const ShareData&) = delete;
    ~ShareData();

    void NotifyCompletion() noexcept;
    // Exchanges a token for 0 under the lock: exactly one caller removes it.
    int64_t TakeToken(int64_t& token) {
        std::lock_guard guard(lock);
        return std::exchange(token, 0);
    }

    com_ptr<IDataTransferManager> dataTransferManager;
    com_ptr<IDataPackage> dataPackage;
    int64_t dataRequestedToken = 0;
    int64_t targetApplicationChosenToken = 0;
    int64_t shareCompletedToken = 0;
    int64_t shareProvidersRequestedToken = 0;
    std::wstring title, description, text;
    const void* data = nullptr;
    uint64_t dataSize = 0;
    std::string filePath;
    std::shared_ptr<Dispatcher> dispatcher;
    ShareDataCompletedHandler dataCompletedHandler = nullptr;
    ShareFileCompletedHandler fileCompletedHandler = nullptr;
    void* context = nullptr;
    std::wstring targetApplicationName;

    HWND window = nullptr;
    // The runtime raises one share's events one at a time, but a new share
    // from the window, WinRTSharingTerminate and a bitmap write run beside
    // them: the fields they share are read and written under this lock, which
    // is never held during a runtime call or a host callback.
    std::mutex lock;
};

// The latest share of each window. A share UI that the user dismissed raises
// nothing more, so its registrations would otherwise stay for the life of the
// window; the next share from the window ends the earlier one, and
// WinRTSharingTerminate ends them all.
struct LiveShares {
    std::mutex lock;
    std::map<HWND, std::weak_ptr<ShareData>> byWindow;
};
LiveShares& liveShares() {
    static LiveShares* shares = new LiveShares();  // outlives records released at exit
    return *shares;
}

ShareData::~ShareData() {
    NotifyCompletion();
    auto& shares = liveShares();
    std::lock_guard guard(shares.lock);
    auto entry = shares.byWindow.find(window);
    if (entry != shares.byWindow.end() && entry->second.expired()) shares.byWindow.erase(entry);
}

void ShareData::NotifyCompletion() noexcept {
    std::shared_ptr<CompletionNotifierTask> task;
    std::shared_ptr<Dispatcher> target;
    com_ptr<IDataPackage> package;
    int64_t requested = 0, chosen = 0, completed = 0, providers = 0;
    try {
        std::lock_guard guard(lock);
        if (dispatcher && (dataCompletedHandler || fileCompletedHandler)) {
            task = std::make_shared<CompletionNotifierTask>(dispatcher, dataCompletedHandler, fileCompletedHandler,
                                                            context, data, filePath, ToUtf8(targetApplicationName));
            target = dispatcher;
            dataCompletedHandler = nullptr;
            fileCompletedHandler = nullptr;
            // The host may free its bytes once called back: a target that
            // asks for them after this gets an error instead.
            data = nullptr;
            dataSize = 0;
        }
        requested = std::exchange(dataRequestedToken, 0);
        chosen = std::exchange(targetApplicationChosenToken, 0);
        completed = std::exchange(shareCompletedToken, 0);
        package = std::move(dataPackage);
        providers = std::exchange(shareProvidersRequestedToken, 0);
    } catch (...) {
        return;
    }
    if (task) {
        try {
            target->Post(task);
        } catch (...) {
        }
    }
    // Each removal is tried on its own: one that fails must not leave the
    // others' handlers, and this record, alive.
    auto manager = dataTransferManager;
    if (requested && manager) manager->remove_DataRequested(EventRegistrationToken{requested});
    if (chosen && manager) manager->remove_TargetApplicationChosen(EventRegistrationToken{chosen});
    if (completed && package) {
        if (auto package3 = package.try_as<IDataPackage3>())
            package3->remove_ShareCompleted(EventRegistrationToken{completed});
    }
    package = nullptr;
    if (providers && manager) {
        if (auto manager2 = manager.try_as<IDataTransferManager2>())
            manager2->remove_ShareProvidersRequested(EventRegistrationToken{providers});
    }
}

// One bitmap delivery, chained through the writer's completions: write, store,
// flush, detach, hand the stream over, complete the deferral. Whatever fails
// ends the chain; the deferral is then released without completing.
class BitmapWrite : public std::enable_shared_from_this<BitmapWrite> {
public:
    // A DataWriter's count is 32-bit: larger shares are written in pieces.
    static constexpr uint64_t kMaxPiece = 0xFFFFFFFFull;

    BitmapWrite(com_ptr<IDataProviderRequest> request, std::shared_ptr<ShareData> record)
        : request_(std::move(request)), record_(std::move(record)) {}

    void Start() {
        // The continuations resume in the context the write started in.
        context_ = ComContext::Current();
        check_hresult(request_->GetDeferral(deferral_.put()));
        stream_ = winrt::ActivateInstance<Streams::InMemoryRandomAccessStream, Streams::IRandomAccessStream>();
        auto output = stream_.as<Streams::IOutputStream>();
        check_hresult(winrt::GetActivationFactory<Streams::DataWriter, Streams::IDataWriterFactory>()->CreateDataWriter(
            output.get(), writer_.put()));
        const BYTE* bytes;
        uint64_t size;
        {
            std::lock_guard guard(record_->lock);
            bytes = static_cast<const BYTE*>(record_->data);
            size = record_->dataSize;
        }
        // The share has ended (and told the host): its bytes may be gone.
        if (!bytes) ::winrt::throw_hresult(E_ILLEGAL_METHOD_CALL);
        // The host keeps the bytes alive and unchanged until its callback,
        // which cannot come while this runs: the runtime raises ShareCompleted
        // only after the target has its data.
        while (size) {
            const auto piece = static_cast<UINT32>(std::min(size, kMaxPiece));
            check_hresult(writer_->WriteBytes(piece, const_cast<BYTE*>(bytes)));
            bytes += piece;
            size -= piece;
        }
        com_ptr<Foundation::IAsyncOperation<UINT32>> store;
        check_hresult(writer_->StoreAsync(store.put()));
        Await<UINT32>(store, [](BitmapWrite& self) { self.Flush(); });
    }

private:
    void Flush() {
        com_ptr<Foundation::IAsyncOperation<abi::boolean>> flush;
        check_hresult(writer_->FlushAsync(flush.put()));
        Await<abi::boolean>(flush, [](BitmapWrite& self) { self.HandOver(); });
    }

    void HandOver() {
        // Detached, the stream stays open when the writer goes.
        com_ptr<Streams::IOutputStream> detached;
        check_hresult(writer_->DetachStream(detached.put()));
        detached = nullptr;
        writer_ = nullptr;
        com_ptr<Streams::IRandomAccessStreamReference> reference;
        check_hresult(winrt::GetActivationFactory<Streams::RandomAccessStreamReference,
                                                  Streams::IRandomAccessStreamReferenceStatics>()
                          ->CreateFromStream(stream_.get(), reference.put()));
        check_hresult(request_->SetData(reference.get()));
        check_hresult(deferral_->Complete());
    }

    // Continues with next once the operation has completed; its result is not
    // used, but a failure or a cancellation ends the chain.
    template <typename T, typename Next>
    void Await(const com_ptr<Foundation::IAsyncOperation<T>>& operation, Next next) {
        auto handler = MakeDelegate<Foundation::AsyncOperationCompletedHandler<T>>(
            [self = shared_from_this(), next](Foundation::IAsyncOperation<T>* finished, INT32 status) -> HRESULT {
                self->context_.Run([&] {
                    if (status != Foundation::AsyncStatus::Completed) {
                        T ignored{};
                        HRESULT hr = finished->GetResults(&ignored);
                        ::winrt::throw_hresult(hr < 0 ? hr : E_ABORT);
                    }
                    next(*self);
                });
                return S_OK;
            });
        check_hresult(operation->put_Completed(handler.get()));
    }

    com_ptr<IDataProviderRequest> request_;
    std::shared_ptr<ShareData> record_;
    ComContext context_;
    com_ptr<DataTransfer::IDataProviderDeferral> deferral_;
    com_ptr<Streams::IRandomAccessStream> stream_;
    com_ptr<Streams::IDataWriter> writer_;
};

// Started by the data provider and let go: nothing awaits it.
void ProvideBitmapAsync(com_ptr<IDataProviderRequest> request, std::shared_ptr<ShareData> record) noexcept {
    try {
        std::make_shared<BitmapWrite>(std::move(request), std::move(record))->Start();
    } catch (...) {
    }
}

std::wstring StandardBitmapFormat() {
    HString format;
    check_hresult(winrt::GetActivationFactory<DataTransfer::StandardDataFormats, DataTransfer::IStandardDataFormatsStatics>()
                      ->get_Bitmap(format.put()));
    return format.str();
}

void FillPackage(ShareData& record, IDataPackage& package) {
    com_ptr<DataTransfer::IDataPackagePropertySet> properties;
    check_hresult(package.get_Properties(properties.put()));
    if (!record.title.empty()) check_hresult(properties->put_Title(HStringReference(record.title)));
    if (!record.description.empty()) check_hresult(properties->put_Description(HStringReference(record.description)));
}

// DataPackage.ShareCompleted, where the system has it: the share's end.
void WatchShareCompleted(const std::shared_ptr<ShareData>& record, IDataPackage* package) {
    if (!IsEventPresent(std::wstring(kPackageClass), L"ShareCompleted")) return;
    auto package3 = ::winrt::copy_ptr(package).as<IDataPackage3>();
    auto handler = MakeDelegate<Foundation::TypedEventHandler<IDataPackage*, DataTransfer::IShareCompletedEventArgs*>>(
        [record](IDataPackage*, DataTransfer::IShareCompletedEventArgs*) -> HRESULT {
            record->NotifyCompletion();
            return S_OK;
        });
    EventRegistrationToken token{};
    check_hresult(package3->add_ShareCompleted(handler.get(), &token));
    com_ptr<IDataPackage> earlier;
    int64_t earlierToken;
    {
        std::lock_guard guard(record->lock);
        earlier = std::exchange(record->dataPackage, ::winrt::copy_ptr(package));
        earlierToken = std::exchange(record->shareCompletedToken, token.value);
    }
    // DataRequested raised again (its first run failed after this point): the
    // record watches the newest package only.
    if (earlier && earlierToken) {
        if (auto earlier3 = earlier.try_as<IDataPackage3>())
            earlier3->remove_ShareCompleted(EventRegistrationToken{earlierToken});
    }
}

void RemoveDataRequested(ShareData& record, IDataTransferManager* sender) {
    if (auto token = record.TakeToken(record.dataRequestedToken))
        check_hresult(sender->remove_DataRequested(EventRegistrationToken{token}));
}

com_ptr<IDataPackage> PackageOf(DataTransfer::IDataRequestedEventArgs* args) {
    com_ptr<DataTransfer::IDataRequest> request;
    check_hresult(args->get_Request(request.put()));
    com_ptr<IDataPackage> package;
    check_hresult(request->get_Data(package.put()));
    return package;
}

using DataRequestedHandler = Foundation::TypedEventHandler<IDataTransferManager*, DataTransfer::IDataRequestedEventArgs*>;

com_ptr<DataRequestedHandler> DataRequestedForData(const std::shared_ptr<ShareData>& record) {
    return MakeDelegate<DataRequestedHandler>(
        [record](IDataTransferManager* sender, DataTransfer::IDataRequestedEventArgs* args) -> HRESULT {
            auto package = PackageOf(args);
            FillPackage(*record, *package);
            bool hasBytes;
            {
                std::lock_guard guard(record->lock);
                hasBytes = record->data && record->dataSize;
            }
            if (hasBytes) {
                // Deferred rendering: the bytes are read only when a target
                // asks for the bitmap.
                auto provider = MakeDelegate<DataTransfer::DataProviderHandler>(
                    [record](IDataProviderRequest* request) -> HRESULT {
                        ProvideBitmapAsync(::winrt::copy_ptr(request), record);
                        return S_OK;
                    });
                check_hresult(package->SetDataProvider(HStringReference(StandardBitmapFormat()), provider.get()));
            } else {
                check_hresult(package->SetText(HStringReference(record->text)));
            }
            WatchShareCompleted(record, package.get());
            RemoveDataRequested(*record, sender);
            return S_OK;
        });
}

com_ptr<DataRequestedHandler> DataRequestedForFile(const std::shared_ptr<ShareData>& record,
                                                   com_ptr<Storage::IStorageFile> file) {
    return MakeDelegate<DataRequestedHandler>(
        [record, file](IDataTransferManager* sender, DataTransfer::IDataRequestedEventArgs* args) -> HRESULT {
            auto package = PackageOf(args);
            FillPackage(*record, *package);
            using Items = winrt::SingleItemIterable<Storage::IStorageItem>;
            auto items = winrt::MakeObject<Items>(file.as<Storage::IStorageItem>());
            check_hresult(package->SetStorageItemsReadOnly(items.get()));
            WatchShareCompleted(record, package.get());
            RemoveDataRequested(*record, sender);
            return S_OK;
        });
}

// Ends the earlier share of the window (if any) and makes this one its latest.
void ReplaceLiveShare(const std::shared_ptr<ShareData>& record) {
    std::shared_ptr<ShareData> earlier;
    {
        auto& shares = liveShares();
        std::lock_guard guard(shares.lock);
        auto& slot = shares.byWindow[record->window];
        earlier = slot.lock();
        slot = record;
    }
    if (earlier) earlier->NotifyCompletion();
}

struct ShareContent {
    // Data share.
    std::wstring text;
    const void* data = nullptr;
    uint64_t dataSize = 0;
    ShareDataCompletedHandler dataCompleted = nullptr;
    // File share.
    com_ptr<Storage::IStorageFile> file;
    std::string filePath;
    ShareFileCompletedHandler fileCompleted = nullptr;
};

using ProviderSlot = std::shared_ptr<winrt::RuntimeProviderSlot>;

void RegisterAndShow(const std::shared_ptr<ShareData>& record, const com_ptr<abi::IDataTransferManagerInterop>& interop,
                     const com_ptr<Storage::IStorageFile>& file, const ProviderSlot& provider);

// `provider`: where the host's provider keeps its runtime provider; null when
// the share has none.
void ShareForWindow(std::shared_ptr<Dispatcher> dispatcher, HWND window, std::wstring title, std::wstring description,
                    ShareContent content, void* context, const ProviderSlot& provider) {
    auto interop = winrt::GetActivationFactory<DataTransfer::DataTransferManager, abi::IDataTransferManagerInterop>();
    com_ptr<IDataTransferManager> manager;
    check_hresult(interop->GetForWindow(window, abi::guid_v<IDataTransferManager>, manager.put_void()));

    auto record = std::make_shared<ShareData>();
    record->window = window;
    record->dispatcher = std::move(dispatcher);
    record->dataTransferManager = manager;
    record->title = std::move(title);
    record->description = std::move(description);
    record->context = context;
    if (content.file) {
        record->filePath = std::move(content.filePath);
        record->fileCompletedHandler = content.fileCompleted;
    } else {
        record->text = std::move(content.text);
        record->data = content.data;
        record->dataSize = content.dataSize;
        record->dataCompletedHandler = content.dataCompleted;
    }
    ReplaceLiveShare(record);
    try {
        RegisterAndShow(record, interop, content.file, provider);
    } catch (...) {
        // The host gets the failure, never a callback for this share. What
        // was registered stays until the window's next share or
        // WinRTSharingTerminate ends the record.
        std::lock_guard guard(record->lock);
        record->dataCompletedHandler = nullptr;
        record->fileCompletedHandler = nullptr;
        throw;
    }
}

void RegisterAndShow(const std::shared_ptr<ShareData>& record, const com_ptr<abi::IDataTransferManagerInterop>& interop,
                     const com_ptr<Storage::IStorageFile>& file, const ProviderSlot& provider) {
    const auto& manager = record->dataTransferManager;
    auto requested = file ? DataRequestedForFile(record, file) : DataRequestedForData(record);
    EventRegistrationToken token{};
    check_hresult(manager->add_DataRequested(requested.get(), &token));
    {
        std::lock_guard guard(record->lock);
        record->dataRequestedToken = token.value;
    }

    auto chosen = MakeDelegate<
        Foundation::TypedEventHandler<IDataTransferManager*, DataTransfer::ITargetApplicationChosenEventArgs*>>(
        [record](IDataTransferManager* sender, DataTransfer::ITargetApplicationChosenEventArgs* args) -> HRESULT {
            HString name;
            check_hresult(args->get_ApplicationName(name.put()));
            int64_t own;
            {
                std::lock_guard guard(record->lock);
                record->targetApplicationName = name.str();
                own = std::exchange(record->targetApplicationChosenToken, 0);
            }
            if (own) check_hresult(sender->remove_TargetApplicationChosen(EventRegistrationToken{own}));
            return S_OK;
        });
    check_hresult(manager->add_TargetApplicationChosen(chosen.get(), &token));
    {
        std::lock_guard guard(record->lock);
        record->targetApplicationChosenToken = token.value;
    }

    if (provider && IsEventPresent(std::wstring(kManagerClass), L"ShareProvidersRequested")) {
        // Possibly still empty: the provider's icon may not be built yet.
        auto runtimeProvider = provider->Get();
        auto manager2 = manager.as<IDataTransferManager2>();
        auto offer = MakeDelegate<
            Foundation::TypedEventHandler<IDataTransferManager*, DataTransfer::IShareProvidersRequestedEventArgs*>>(
            [record, runtimeProvider](IDataTransferManager* sender,
                                      DataTransfer::IShareProvidersRequestedEventArgs* args) -> HRESULT {
                if (runtimeProvider) {
                    HString ownTitle;
                    check_hresult(runtimeProvider->get_Title(ownTitle.put()));
                    com_ptr<Foundation::Collections::IVector<DataTransfer::IShareProvider*>> providers;
                    check_hresult(args->get_Providers(providers.put()));
                    UINT32 size = 0;
                    check_hresult(providers->get_Size(&size));
                    bool listed = false;
                    for (UINT32 i = 0; i < size && !listed; ++i) {
                        com_ptr<DataTransfer::IShareProvider> other;
                        check_hresult(providers->GetAt(i, other.put()));
                        HString otherTitle;
                        check_hresult(other->get_Title(otherTitle.put()));
                        // Exact comparison: same code units, case-sensitive.
                        listed = otherTitle.str() == ownTitle.str();
                    }
                    if (!listed) check_hresult(providers->Append(runtimeProvider.get()));
                }
                if (auto own = record->TakeToken(record->shareProvidersRequestedToken)) {
                    check_hresult(::winrt::copy_ptr(sender).as<IDataTransferManager2>()->remove_ShareProvidersRequested(
                        EventRegistrationToken{own}));
                }
                return S_OK;
            });
        check_hresult(manager2->add_ShareProvidersRequested(offer.get(), &token));
        std::lock_guard guard(record->lock);
        record->shareProvidersRequestedToken = token.value;
    }

    check_hresult(interop->ShowShareUIForWindow(record->window));
}

// What a file share keeps while its file is looked up.
struct PendingFileShare {
    std::shared_ptr<Dispatcher> dispatcher;
    HWND window;
    std::wstring title;
    std::string filePath;
    std::wstring description;
    void* context;
    ShareFileCompletedHandler fileCompletedHandler;
    // Held weakly: the host may release its provider before the file is
    // found, and the share then goes on without it.
    std::weak_ptr<winrt::RuntimeProviderSlot> provider;
};

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
        content.text = tavlet::ToWideString(text);
        // No bytes to share (null or empty): a text share, which never calls
        // the data callback.
        content.data = size ? data : nullptr;
        content.dataSize = data ? size : 0;
        content.dataCompleted = completed;
        auto dispatcher = tavlet::thread::Dispatcher::Create();
        tavlet::winapi::ShareForWindow(std::move(dispatcher), window, tavlet::ToWideString(title),
                                       tavlet::ToWideString(description), std::move(content), context,
                                       provider ? tavlet::winapi::winrt::RuntimeProviderSlotOf(provider) : nullptr);
    });
}

HRESULT TAVLET_CALL WinRTShareFileForWindow(HWND window, const wchar_t* title, const wchar_t* description,
                                            const char* path, void* context, ShareFileCompletedHandler completed,
                                            _WinRTShareProvider* provider) {
    namespace Storage = abi::Windows::Storage;
    namespace Foundation = abi::Windows::Foundation;
    return PlainGuard([&] {
        EnsureRuntimeInitialized();
        if (!WinRTSharingIsAvailable()) tavlet::ThrowOriginatedHresult(E_NOINTERFACE);
        if (!path) tavlet::ThrowOriginatedHresult(E_INVALIDARG);
        tavlet::winapi::PendingFileShare pending{tavlet::thread::Dispatcher::Create(),
                                                 window,
                                                 tavlet::ToWideString(title),
                                                 std::string(path),
                                                 tavlet::ToWideString(description),
                                                 context,
                                                 completed,
                                                 provider ? tavlet::winapi::winrt::RuntimeProviderSlotOf(provider)
                                                          : nullptr};
        const std::wstring widePath = tavlet::FromUtf8(pending.filePath);
        ::winrt::com_ptr<Foundation::IAsyncOperation<Storage::IStorageFile*>> lookup;
        ::winrt::check_hresult(
            tavlet::winapi::winrt::GetActivationFactory<Storage::StorageFile, Storage::IStorageFileStatics>()
                ->GetFileFromPathAsync(tavlet::winapi::winrt::HStringReference(widePath), lookup.put()));
        // Runs on the thread that reports the lookup; a path naming no file
        // fails here, after the host already has S_OK: no share UI, no callback.
        auto found = tavlet::winapi::winrt::MakeDelegate<Foundation::AsyncOperationCompletedHandler<Storage::IStorageFile*>>(
            [pending = std::move(pending)](Foundation::IAsyncOperation<Storage::IStorageFile*>* operation, INT32) -> HRESULT {
                ::winrt::com_ptr<Storage::IStorageFile> file;
                ::winrt::check_hresult(operation->GetResults(file.put()));
                if (!file) ::winrt::throw_hresult(E_POINTER);
                tavlet::winapi::ShareContent content;
                content.file = std::move(file);
                content.filePath = pending.filePath;
                content.fileCompleted = pending.fileCompletedHandler;
                tavlet::winapi::ShareForWindow(pending.dispatcher, pending.window, pending.title, pending.description,
                                               std::move(content), pending.context, pending.provider.lock());
                return S_OK;
            });
        ::winrt::check_hresult(lookup->put_Completed(found.get()));
    });
}

void TAVLET_CALL WinRTSharingTerminate(void) {
    tavlet::winapi::sharingTerminated = true;
    // The host is shutting down: end every live share so that nothing keeps
    // its registrations (or reads its bytes) after this. Nothing here may
    // fail the host.
    try {
        std::map<HWND, std::weak_ptr<tavlet::winapi::ShareData>> shares;
        {
            auto& live = tavlet::winapi::liveShares();
            std::lock_guard guard(live.lock);
            shares.swap(live.byWindow);
        }
        for (auto& entry : shares) {
            if (auto record = entry.second.lock()) record->NotifyCompletion();
        }
    } catch (...) {
    }
}

}  // extern "C"
