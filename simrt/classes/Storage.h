// Windows.Storage and Windows.Storage.Streams objects that other simulated
// classes hold: a file, and a stream reference that remembers its source.
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"
#include "tavlet/winapi/winrt/abi/Storage.Streams.h"
#include "tavlet/winapi/winrt/abi/Storage.h"

#include <string>

namespace sim {

class StorageFileObject : public SimObject<StorageFileObject, abi::Windows::Storage::IStorageFile, abi::Windows::Storage::IStorageItem> {
public:
    explicit StorageFileObject(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& path() const noexcept { return path_; }

    // ---- IStorageFile ----
    HRESULT STDMETHODCALLTYPE get_FileType(HSTRING* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ContentType(HSTRING* value) noexcept override;
    SIM_UNUSED_OUT("IStorageFile.OpenAsync", operation,
                   OpenAsync(INT32, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::Streams::IRandomAccessStream*>** operation))
    SIM_UNUSED("IStorageFile.OpenTransactedWriteAsync", OpenTransactedWriteAsync(IInspectable**))
    SIM_UNUSED("IStorageFile.CopyOverloadDefaultNameAndOptions",
               CopyOverloadDefaultNameAndOptions(IInspectable*, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::IStorageFile*>**))
    SIM_UNUSED("IStorageFile.CopyOverloadDefaultOptions",
               CopyOverloadDefaultOptions(IInspectable*, HSTRING, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::IStorageFile*>**))
    SIM_UNUSED("IStorageFile.CopyOverload",
               CopyOverload(IInspectable*, HSTRING, INT32, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::IStorageFile*>**))
    SIM_UNUSED("IStorageFile.CopyAndReplaceAsync",
               CopyAndReplaceAsync(abi::Windows::Storage::IStorageFile*, abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageFile.MoveOverloadDefaultNameAndOptions",
               MoveOverloadDefaultNameAndOptions(IInspectable*, abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageFile.MoveOverloadDefaultOptions",
               MoveOverloadDefaultOptions(IInspectable*, HSTRING, abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageFile.MoveOverload",
               MoveOverload(IInspectable*, HSTRING, INT32, abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageFile.MoveAndReplaceAsync",
               MoveAndReplaceAsync(abi::Windows::Storage::IStorageFile*, abi::Windows::Foundation::IAsyncAction**))

    // ---- IStorageItem ----
    SIM_UNUSED("IStorageItem.RenameAsyncOverloadDefaultOptions",
               RenameAsyncOverloadDefaultOptions(HSTRING, abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageItem.RenameAsync", RenameAsync(HSTRING, INT32, abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageItem.DeleteAsyncOverloadDefaultOptions",
               DeleteAsyncOverloadDefaultOptions(abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageItem.DeleteAsync", DeleteAsync(INT32, abi::Windows::Foundation::IAsyncAction**))
    SIM_UNUSED("IStorageItem.GetBasicPropertiesAsync", GetBasicPropertiesAsync(IInspectable**))
    HRESULT STDMETHODCALLTYPE get_Name(HSTRING* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Path(HSTRING* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Attributes(UINT32* value) noexcept override;
    SIM_UNUSED("IStorageItem.get_DateCreated", get_DateCreated(abi::Windows::Foundation::DateTime*))
    HRESULT STDMETHODCALLTYPE IsOfType(UINT32 type, abi::boolean* value) noexcept override;

private:
    std::wstring path_;
};

// A RandomAccessStreamReference: made from a file, a URI or a stream, and
// remembering which.
class StreamReferenceObject : public SimObject<StreamReferenceObject, abi::Windows::Storage::Streams::IRandomAccessStreamReference> {
public:
    ::winrt::com_ptr<abi::Windows::Storage::IStorageFile> file;
    ::winrt::com_ptr<abi::Windows::Foundation::IUriRuntimeClass> uri;
    ::winrt::com_ptr<abi::Windows::Storage::Streams::IRandomAccessStream> stream;

    // The path of the file it was made from ("" for another source).
    std::wstring FilePath() const;
    // This object and the simulated objects it holds.
    long KeptObjects() const noexcept { return 1 + (file ? 1 : 0) + (uri ? 1 : 0) + (stream ? 1 : 0); }

    SIM_UNUSED_OUT("IRandomAccessStreamReference.OpenReadAsync", operation,
                   OpenReadAsync(abi::Windows::Foundation::IAsyncOperation<
                                 abi::Windows::Storage::Streams::IRandomAccessStreamWithContentType*>** operation))
};

// The simulated StreamReference behind an interface pointer, or null.
StreamReferenceObject* AsStreamReference(abi::Windows::Storage::Streams::IRandomAccessStreamReference* reference) noexcept;

}  // namespace sim
