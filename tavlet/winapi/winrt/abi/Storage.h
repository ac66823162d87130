// Windows.Storage
#pragma once

#include "Instances.h"

namespace abi::Windows::Storage {

TAVLET_RUNTIME_CLASS(StorageFile, L"Windows.Storage.StorageFile");
TAVLET_RUNTIME_CLASS(StorageStreamTransaction, L"Windows.Storage.StorageStreamTransaction");

struct IStorageFileStatics : IInspectable {
    TAVLET_IID(IStorageFileStatics, "5984c710-daf2-43c8-8bb4-a4d3eacfd03f");
    virtual HRESULT STDMETHODCALLTYPE GetFileFromPathAsync(HSTRING path, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE GetFileFromApplicationUriAsync(::abi::Windows::Foundation::IUriRuntimeClass* uri, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE CreateStreamedFileAsync(HSTRING displayNameWithExtension, IInspectable* dataRequested, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference* thumbnail, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE ReplaceWithStreamedFileAsync(::abi::Windows::Storage::IStorageFile* fileToReplace, IInspectable* dataRequested, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference* thumbnail, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE CreateStreamedFileFromUriAsync(HSTRING displayNameWithExtension, ::abi::Windows::Foundation::IUriRuntimeClass* uri, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference* thumbnail, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE ReplaceWithStreamedFileFromUriAsync(::abi::Windows::Storage::IStorageFile* fileToReplace, ::abi::Windows::Foundation::IUriRuntimeClass* uri, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference* thumbnail, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 11
};

struct IStorageFile : IInspectable {
    TAVLET_IID(IStorageFile, "fa3f6186-4214-428c-a64c-14c9ac7315ea");
    virtual HRESULT STDMETHODCALLTYPE get_FileType(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_ContentType(HSTRING* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE OpenAsync(INT32 accessMode, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::Streams::IRandomAccessStream*>** operation) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE OpenTransactedWriteAsync(IInspectable** operation) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE CopyOverloadDefaultNameAndOptions(IInspectable* destinationFolder, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE CopyOverloadDefaultOptions(IInspectable* destinationFolder, HSTRING desiredNewName, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE CopyOverload(IInspectable* destinationFolder, HSTRING desiredNewName, INT32 option, ::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::IStorageFile*>** operation) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE CopyAndReplaceAsync(::abi::Windows::Storage::IStorageFile* fileToReplace, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE MoveOverloadDefaultNameAndOptions(IInspectable* destinationFolder, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE MoveOverloadDefaultOptions(IInspectable* destinationFolder, HSTRING desiredNewName, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE MoveOverload(IInspectable* destinationFolder, HSTRING desiredNewName, INT32 option, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE MoveAndReplaceAsync(::abi::Windows::Storage::IStorageFile* fileToReplace, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 17
};

struct IStorageItem : IInspectable {
    TAVLET_IID(IStorageItem, "4207a996-ca2f-42f7-bde8-8b10457a7f30");
    virtual HRESULT STDMETHODCALLTYPE RenameAsyncOverloadDefaultOptions(HSTRING desiredName, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE RenameAsync(HSTRING desiredName, INT32 option, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE DeleteAsyncOverloadDefaultOptions(::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE DeleteAsync(INT32 option, ::abi::Windows::Foundation::IAsyncAction** operation) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE GetBasicPropertiesAsync(IInspectable** operation) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE get_Name(HSTRING* value) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE get_Path(HSTRING* value) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE get_Attributes(UINT32* value) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE get_DateCreated(::abi::Windows::Foundation::DateTime* value) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE IsOfType(UINT32 type, boolean* value) = 0;  // 15
};

}  // namespace abi::Windows::Storage
