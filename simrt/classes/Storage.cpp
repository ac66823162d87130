// Windows.Storage.StorageFile (GetFileFromPathAsync against the real file
// system) and Windows.Storage.Streams.RandomAccessStreamReference.
#include "Storage.h"

#include "AsyncOperation.h"
#include "RuntimeThreads.h"

#include <mutex>
#include <utility>
#include <vector>

namespace sim {
namespace {

using namespace abi::Windows::Storage;
using namespace abi::Windows::Storage::Streams;
namespace Foundation = abi::Windows::Foundation;
using FileOperation = AsyncOperation<IStorageFile*>;

// What the system reports for a missing file.
constexpr HRESULT kFileNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

struct PendingLoad {
    ::winrt::com_ptr<FileOperation> operation;
    std::wstring path;
};

struct Loads {
    std::mutex lock;
    FileLoadCompletion mode = FileLoadCompletion::OwnThread;
    long started = 0;
    std::vector<PendingLoad> pending;
};
Loads& loads() {
    static Loads* l = new Loads();
    return *l;
}

bool IsAbsolute(const std::wstring& path) {
    return (path.size() > 2 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
           (path.size() > 1 && (path[0] == L'\\' || path[0] == L'/'));
}

// Completes one load from the file system, on the calling thread.
void Finish(const PendingLoad& load) {
    DWORD attributes = GetFileAttributesW(load.path.c_str());
    if (!IsAbsolute(load.path)) {
        load.operation->Fail(E_INVALIDARG);  // the system takes only full paths
    } else if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        load.operation->Fail(kFileNotFound);
    } else {
        auto file = MakeObject<StorageFileObject>(load.path);
        load.operation->Complete(file.get());
    }
}

std::wstring::size_type NameStart(const std::wstring& path) {
    auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

class StorageFileStatics : public SimFactory<StorageFileStatics, IStorageFileStatics> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE GetFileFromPathAsync(HSTRING path,
                                                   Foundation::IAsyncOperation<IStorageFile*>** operation) noexcept override {
        SIM_FAULT("IStorageFileStatics.GetFileFromPathAsync");
        if (!operation) return E_POINTER;
        PendingLoad load{MakeObject<FileOperation>(), ToWide(path)};
        FileLoadCompletion mode;
        {
            auto& l = loads();
            std::lock_guard guard(l.lock);
            ++l.started;
            mode = l.mode;
            if (mode == FileLoadCompletion::Manual) l.pending.push_back(load);
        }
        // Often done before the caller has set its Completed handler, as on
        // the system: the operation then calls the handler when it is set.
        if (mode == FileLoadCompletion::OwnThread)
            detail::RunOnRuntimeThread([load] { Finish(load); }, detail::Then::GoOn);
        if (mode == FileLoadCompletion::Inline) Finish(load);
        ::winrt::copy_ptr<Foundation::IAsyncOperation<IStorageFile*>>(load.operation.get()).copy_to(operation);
        return S_OK;
    }
    SIM_UNUSED("IStorageFileStatics.GetFileFromApplicationUriAsync",
               GetFileFromApplicationUriAsync(Foundation::IUriRuntimeClass*,
                                              Foundation::IAsyncOperation<IStorageFile*>**))
    SIM_UNUSED("IStorageFileStatics.CreateStreamedFileAsync",
               CreateStreamedFileAsync(HSTRING, IInspectable*, IRandomAccessStreamReference*,
                                       Foundation::IAsyncOperation<IStorageFile*>**))
    SIM_UNUSED("IStorageFileStatics.ReplaceWithStreamedFileAsync",
               ReplaceWithStreamedFileAsync(IStorageFile*, IInspectable*, IRandomAccessStreamReference*,
                                            Foundation::IAsyncOperation<IStorageFile*>**))
    SIM_UNUSED("IStorageFileStatics.CreateStreamedFileFromUriAsync",
               CreateStreamedFileFromUriAsync(HSTRING, Foundation::IUriRuntimeClass*, IRandomAccessStreamReference*,
                                              Foundation::IAsyncOperation<IStorageFile*>**))
    SIM_UNUSED("IStorageFileStatics.ReplaceWithStreamedFileFromUriAsync",
               ReplaceWithStreamedFileFromUriAsync(IStorageFile*, Foundation::IUriRuntimeClass*,
                                                   IRandomAccessStreamReference*, Foundation::IAsyncOperation<IStorageFile*>**))
};

class StreamReferenceStatics : public SimFactory<StreamReferenceStatics, IRandomAccessStreamReferenceStatics> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateFromFile(IStorageFile* file, IRandomAccessStreamReference** result) noexcept override {
        SIM_FAULT("IRandomAccessStreamReferenceStatics.CreateFromFile");
        if (!file) return E_INVALIDARG;
        return Make(result, [&](StreamReferenceObject& r) { r.file.copy_from(file); });
    }
    HRESULT STDMETHODCALLTYPE CreateFromUri(Foundation::IUriRuntimeClass* uri,
                                            IRandomAccessStreamReference** result) noexcept override {
        SIM_FAULT("IRandomAccessStreamReferenceStatics.CreateFromUri");
        if (!uri) return E_INVALIDARG;
        return Make(result, [&](StreamReferenceObject& r) { r.uri.copy_from(uri); });
    }
    HRESULT STDMETHODCALLTYPE CreateFromStream(IRandomAccessStream* stream, IRandomAccessStreamReference** result) noexcept override {
        SIM_FAULT("IRandomAccessStreamReferenceStatics.CreateFromStream");
        if (!stream) return E_INVALIDARG;
        return Make(result, [&](StreamReferenceObject& r) { r.stream.copy_from(stream); });
    }

private:
    template <typename Fill>
    static HRESULT Make(IRandomAccessStreamReference** result, Fill fill) {
        if (!result) return E_POINTER;
        auto reference = MakeObject<StreamReferenceObject>();
        fill(*reference);
        *result = reference.detach();
        return S_OK;
    }
};

const ClassRegistration storageFile(abi::Windows::Storage::StorageFile::name,
                                    [] { return NewFactory<StorageFileStatics>(abi::Windows::Storage::StorageFile::name); });
const ClassRegistration streamReference(RandomAccessStreamReference::name, [] {
    return NewFactory<StreamReferenceStatics>(RandomAccessStreamReference::name);
});
const ResetRegistration reset([] {
    WaitForFileLoads();
    std::vector<PendingLoad> pending;
    auto& l = loads();
    std::lock_guard guard(l.lock);
    l.mode = FileLoadCompletion::OwnThread;
    l.started = 0;
    pending.swap(l.pending);
});

}  // namespace

// ---- StorageFile ----

HRESULT StorageFileObject::get_FileType(HSTRING* value) noexcept {
    SIM_FAULT("IStorageFile.get_FileType");
    auto name = path_.substr(NameStart(path_));
    auto dot = name.find_last_of(L'.');
    *value = MakeHString(dot == std::wstring::npos ? std::wstring() : name.substr(dot));
    return S_OK;
}
HRESULT StorageFileObject::get_ContentType(HSTRING* value) noexcept {
    SIM_FAULT("IStorageFile.get_ContentType");
    *value = nullptr;
    return S_OK;
}
HRESULT StorageFileObject::get_Name(HSTRING* value) noexcept {
    SIM_FAULT("IStorageItem.get_Name");
    *value = MakeHString(path_.substr(NameStart(path_)));
    return S_OK;
}
HRESULT StorageFileObject::get_Path(HSTRING* value) noexcept {
    SIM_FAULT("IStorageItem.get_Path");
    *value = MakeHString(path_);
    return S_OK;
}
HRESULT StorageFileObject::get_Attributes(UINT32* value) noexcept {
    SIM_FAULT("IStorageItem.get_Attributes");
    *value = 0;  // FileAttributes.Normal
    return S_OK;
}
HRESULT StorageFileObject::IsOfType(UINT32 type, abi::boolean* value) noexcept {
    SIM_FAULT("IStorageItem.IsOfType");
    *value = type == static_cast<UINT32>(abi::Windows::Storage::StorageItemTypes::File);
    return S_OK;
}

// ---- RandomAccessStreamReference ----

std::wstring StreamReferenceObject::FilePath() const {
    auto* simFile = dynamic_cast<StorageFileObject*>(file.get());
    return simFile ? simFile->path() : std::wstring();
}

StreamReferenceObject* AsStreamReference(IRandomAccessStreamReference* reference) noexcept {
    return dynamic_cast<StreamReferenceObject*>(reference);
}

// ---- Control ----

void SetFileLoadCompletion(FileLoadCompletion mode) { WriteState(loads(), &Loads::mode, mode); }

long FileLoadsStarted() { return ReadState(loads(), &Loads::started); }

long PendingFileLoads() {
    auto& l = loads();
    std::lock_guard guard(l.lock);
    return static_cast<long>(l.pending.size());
}

long CompleteFileLoads(long count) {
    long done = 0;
    while (count < 0 || done < count) {
        PendingLoad load;
        {
            auto& l = loads();
            std::lock_guard guard(l.lock);
            if (l.pending.empty()) break;
            load = std::move(l.pending.front());
            l.pending.erase(l.pending.begin());
        }
        detail::RunOnRuntimeThread([&] { Finish(load); }, detail::Then::PumpUntilDone);
        ++done;
    }
    return done;
}

void WaitForFileLoads() { WaitForRuntimeIdle(); }

}  // namespace sim
