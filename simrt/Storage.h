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
    HRESULT STDMETHODCALLTYPE OpenAsync(INT32, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::Streams::IRandomAccessStream*>**) noexcept override;
    HRESULT STDMETHODCALLTYPE OpenTransactedWriteAsync(IInspectable**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyOverloadDefaultNameAndOptions(IInspectable*, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::IStorageFile*>**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyOverloadDefaultOptions(IInspectable*, HSTRING, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::IStorageFile*>**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyOverload(IInspectable*, HSTRING, INT32, abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::IStorageFile*>**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyAndReplaceAsync(abi::Windows::Storage::IStorageFile*, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveOverloadDefaultNameAndOptions(IInspectable*, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveOverloadDefaultOptions(IInspectable*, HSTRING, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveOverload(IInspectable*, HSTRING, INT32, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveAndReplaceAsync(abi::Windows::Storage::IStorageFile*, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }

    // ---- IStorageItem ----
    HRESULT STDMETHODCALLTYPE RenameAsyncOverloadDefaultOptions(HSTRING, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenameAsync(HSTRING, INT32, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteAsyncOverloadDefaultOptions(abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteAsync(INT32, abi::Windows::Foundation::IAsyncAction**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBasicPropertiesAsync(IInspectable**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Name(HSTRING* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Path(HSTRING* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Attributes(UINT32* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_DateCreated(abi::Windows::Foundation::DateTime*) noexcept override { return E_NOTIMPL; }
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

    HRESULT STDMETHODCALLTYPE OpenReadAsync(
        abi::Windows::Foundation::IAsyncOperation<abi::Windows::Storage::Streams::IRandomAccessStreamWithContentType*>**) noexcept override;
};

// The simulated StreamReference behind an interface pointer, or null.
StreamReferenceObject* AsStreamReference(abi::Windows::Storage::Streams::IRandomAccessStreamReference* reference) noexcept;

}  // namespace sim
