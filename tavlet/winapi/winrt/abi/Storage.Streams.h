// Windows.Storage.Streams
#pragma once

#include "Instances.h"

namespace abi::Windows::Storage::Streams {

TAVLET_RUNTIME_CLASS(DataWriter, L"Windows.Storage.Streams.DataWriter");
TAVLET_RUNTIME_CLASS(DataWriterStoreOperation, L"Windows.Storage.Streams.DataWriterStoreOperation");
TAVLET_RUNTIME_CLASS(InMemoryRandomAccessStream, L"Windows.Storage.Streams.InMemoryRandomAccessStream");
TAVLET_RUNTIME_CLASS(RandomAccessStreamReference, L"Windows.Storage.Streams.RandomAccessStreamReference");

struct IRandomAccessStreamReference : IInspectable {
    TAVLET_IID(IRandomAccessStreamReference, "33ee3134-1dd6-4e3a-8067-d1c162e8642b");
    virtual HRESULT STDMETHODCALLTYPE OpenReadAsync(::abi::Windows::Foundation::IAsyncOperation<::abi::Windows::Storage::Streams::IRandomAccessStreamWithContentType*>** operation) = 0;  // 6
};

struct IRandomAccessStreamReferenceStatics : IInspectable {
    TAVLET_IID(IRandomAccessStreamReferenceStatics, "857309dc-3fbf-4e7d-986f-ef3b1a07a964");
    virtual HRESULT STDMETHODCALLTYPE CreateFromFile(::abi::Windows::Storage::IStorageFile* file, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference** streamReference) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateFromUri(::abi::Windows::Foundation::IUriRuntimeClass* uri, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference** streamReference) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE CreateFromStream(::abi::Windows::Storage::Streams::IRandomAccessStream* stream, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference** streamReference) = 0;  // 8
};

struct IRandomAccessStream : IInspectable {
    TAVLET_IID(IRandomAccessStream, "905a0fe1-bc53-11df-8c49-001e4fc686da");
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT64* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE put_Size(UINT64 value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64 position, ::abi::Windows::Storage::Streams::IInputStream** stream) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64 position, ::abi::Windows::Storage::Streams::IOutputStream** stream) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE get_Position(UINT64* value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE Seek(UINT64 position) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE CloneStream(::abi::Windows::Storage::Streams::IRandomAccessStream** stream) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE get_CanRead(boolean* value) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE get_CanWrite(boolean* value) = 0;  // 14
};

struct IInputStream : IInspectable {
    TAVLET_IID(IInputStream, "905a0fe2-bc53-11df-8c49-001e4fc686da");
    virtual HRESULT STDMETHODCALLTYPE ReadAsync(IInspectable* buffer, UINT32 count, UINT32 options, IInspectable** operation) = 0;  // 6
};

struct IOutputStream : IInspectable {
    TAVLET_IID(IOutputStream, "905a0fe6-bc53-11df-8c49-001e4fc686da");
    virtual HRESULT STDMETHODCALLTYPE WriteAsync(IInspectable* buffer, IInspectable** operation) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE FlushAsync(::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 7
};

struct IDataWriter : IInspectable {
    TAVLET_IID(IDataWriter, "64b89265-d341-4922-b38a-dd4af8808c4e");
    virtual HRESULT STDMETHODCALLTYPE get_UnstoredBufferLength(UINT32* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_UnicodeEncoding(INT32* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE put_UnicodeEncoding(INT32 value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_ByteOrder(INT32* value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE put_ByteOrder(INT32 value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE WriteByte(BYTE value) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE WriteBytes(UINT32 __valueSize, BYTE* value) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE WriteBuffer(IInspectable* buffer) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE WriteBufferRange(IInspectable* buffer, UINT32 start, UINT32 count) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE WriteBoolean(boolean value) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE WriteGuid(GUID value) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE WriteInt16(INT16 value) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE WriteInt32(INT32 value) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE WriteInt64(INT64 value) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE WriteUInt16(UINT16 value) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE WriteUInt32(UINT32 value) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE WriteUInt64(UINT64 value) = 0;  // 22
    virtual HRESULT STDMETHODCALLTYPE WriteSingle(FLOAT value) = 0;  // 23
    virtual HRESULT STDMETHODCALLTYPE WriteDouble(DOUBLE value) = 0;  // 24
    virtual HRESULT STDMETHODCALLTYPE WriteDateTime(::abi::Windows::Foundation::DateTime value) = 0;  // 25
    virtual HRESULT STDMETHODCALLTYPE WriteTimeSpan(::abi::Windows::Foundation::TimeSpan value) = 0;  // 26
    virtual HRESULT STDMETHODCALLTYPE WriteString(HSTRING value, UINT32* codeUnitCount) = 0;  // 27
    virtual HRESULT STDMETHODCALLTYPE MeasureString(HSTRING value, UINT32* codeUnitCount) = 0;  // 28
    virtual HRESULT STDMETHODCALLTYPE StoreAsync(::abi::Windows::Foundation::IAsyncOperation<UINT32>** operation) = 0;  // 29
    virtual HRESULT STDMETHODCALLTYPE FlushAsync(::abi::Windows::Foundation::IAsyncOperation<boolean>** operation) = 0;  // 30
    virtual HRESULT STDMETHODCALLTYPE DetachBuffer(IInspectable** buffer) = 0;  // 31
    virtual HRESULT STDMETHODCALLTYPE DetachStream(::abi::Windows::Storage::Streams::IOutputStream** outputStream) = 0;  // 32
};

struct IDataWriterFactory : IInspectable {
    TAVLET_IID(IDataWriterFactory, "338c67c2-8b84-4c2b-9c50-7b8767847a1f");
    virtual HRESULT STDMETHODCALLTYPE CreateDataWriter(::abi::Windows::Storage::Streams::IOutputStream* outputStream, ::abi::Windows::Storage::Streams::IDataWriter** dataWriter) = 0;  // 6
};

struct IRandomAccessStreamWithContentType : IInspectable {
    TAVLET_IID(IRandomAccessStreamWithContentType, "cc254827-4b3d-438f-9232-10c76bc7e038");
};

}  // namespace abi::Windows::Storage::Streams
