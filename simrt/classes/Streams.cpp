// Windows.Storage.Streams: InMemoryRandomAccessStream and DataWriter. The
// writer counts the bytes it copies out of its callers' memory, so tests can
// tell how many copies of a host's bytes a share made.
#include "AsyncOperation.h"
#include "RuntimeThreads.h"
#include "DataTransfer.h"
#include "Property.h"
#include "Storage.h"

#include <algorithm>
#include <atomic>

namespace sim {
namespace {

using namespace abi::Windows::Storage::Streams;
namespace Foundation = abi::Windows::Foundation;

struct Writes {
    std::mutex lock;
    bool copies = true;
    std::vector<uint32_t> sizes;
    uint64_t bytesCopied = 0;
};
Writes& writes() {
    static Writes* w = new Writes();
    return *w;
}

// The bytes every clone of one stream shares.
struct StreamBuffer {
    std::mutex lock;
    std::string bytes;
    uint64_t size = 0;  // may exceed bytes.size() when the writer only counted
};

}  // namespace

class MemoryStream : public SimObject<MemoryStream, IRandomAccessStream, IOutputStream, IInputStream,
                                      Foundation::IClosable> {
public:
    explicit MemoryStream(std::shared_ptr<StreamBuffer> buffer = std::make_shared<StreamBuffer>(), uint64_t position = 0)
        : buffer_(std::move(buffer)), position_(position) {}

    // Appends what a writer stores, taking its buffer over (no copy).
    HRESULT Store(std::string&& pending, uint64_t counted) {
        if (closed_) return RO_E_CLOSED;
        std::lock_guard guard(buffer_->lock);
        if (buffer_->bytes.empty())
            buffer_->bytes = std::move(pending);
        else
            buffer_->bytes.append(pending);
        buffer_->size += counted;
        position_ += counted;
        return S_OK;
    }
    bool Read(std::string* bytes, uint64_t* size) {
        if (closed_) return false;
        std::lock_guard guard(buffer_->lock);
        if (bytes) *bytes = buffer_->bytes;
        if (size) *size = buffer_->size;
        return true;
    }

    // ---- IRandomAccessStream ----
    HRESULT STDMETHODCALLTYPE get_Size(UINT64* value) noexcept override {
        SIM_FAULT("IRandomAccessStream.get_Size");
        if (closed_) return RO_E_CLOSED;
        std::lock_guard guard(buffer_->lock);
        *value = buffer_->size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Size(UINT64 value) noexcept override {
        SIM_FAULT("IRandomAccessStream.put_Size");
        if (closed_) return RO_E_CLOSED;
        std::lock_guard guard(buffer_->lock);
        buffer_->bytes.resize(static_cast<size_t>(std::min<uint64_t>(value, buffer_->bytes.size())));
        buffer_->size = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64 position, IInputStream** stream) noexcept override {
        SIM_FAULT("IRandomAccessStream.GetInputStreamAt");
        if (closed_) return RO_E_CLOSED;
        *stream = MakeObject<MemoryStream>(buffer_, position).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64 position, IOutputStream** stream) noexcept override {
        SIM_FAULT("IRandomAccessStream.GetOutputStreamAt");
        if (closed_) return RO_E_CLOSED;
        *stream = MakeObject<MemoryStream>(buffer_, position).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Position(UINT64* value) noexcept override {
        SIM_FAULT("IRandomAccessStream.get_Position");
        if (closed_) return RO_E_CLOSED;
        *value = position_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(UINT64 position) noexcept override {
        SIM_FAULT("IRandomAccessStream.Seek");
        if (closed_) return RO_E_CLOSED;
        position_ = position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CloneStream(IRandomAccessStream** stream) noexcept override {
        SIM_FAULT("IRandomAccessStream.CloneStream");
        if (closed_) return RO_E_CLOSED;
        *stream = MakeObject<MemoryStream>(buffer_, 0).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CanRead(abi::boolean* value) noexcept override {
        SIM_FAULT("IRandomAccessStream.get_CanRead");
        *value = !closed_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CanWrite(abi::boolean* value) noexcept override {
        SIM_FAULT("IRandomAccessStream.get_CanWrite");
        *value = !closed_;
        return S_OK;
    }

    // ---- IOutputStream ----
    // Buffers are not simulated; DataWriter stores directly.
    SIM_UNUSED_OUT("IOutputStream.WriteAsync", operation, WriteAsync(IInspectable*, IInspectable** operation))
    HRESULT STDMETHODCALLTYPE FlushAsync(Foundation::IAsyncOperation<abi::boolean>** operation) noexcept override {
        SIM_FAULT("IOutputStream.FlushAsync");
        if (closed_) return RO_E_CLOSED;
        auto flush = MakeObject<AsyncOperation<abi::boolean>>();
        detail::RunOnRuntimeThread([flush] { flush->Complete(1); }, detail::Then::GoOn);
        *operation = flush.detach();
        return S_OK;
    }

    // ---- IInputStream ----
    SIM_UNUSED_OUT("IInputStream.ReadAsync", operation,
                   ReadAsync(IInspectable*, UINT32, UINT32, IInspectable** operation))

    // ---- IClosable ----
    HRESULT STDMETHODCALLTYPE Close() noexcept override {
        SIM_FAULT("IClosable.Close");
        closed_ = true;
        return S_OK;
    }

private:
    std::shared_ptr<StreamBuffer> buffer_;
    std::atomic<uint64_t> position_;
    std::atomic<bool> closed_{false};
};

namespace {

class DataWriterObject : public SimObject<DataWriterObject, IDataWriter, Foundation::IClosable> {
public:
    explicit DataWriterObject(::winrt::com_ptr<IOutputStream> stream) : stream_(std::move(stream)) {}

    // A writer that goes without DetachStream closes its stream.
    ~DataWriterObject() override {
        if (auto closable = stream_.try_as<Foundation::IClosable>()) closable->Close();
    }

    HRESULT STDMETHODCALLTYPE get_UnstoredBufferLength(UINT32* value) noexcept override {
        SIM_FAULT("IDataWriter.get_UnstoredBufferLength");
        std::lock_guard guard(lock_);
        *value = static_cast<UINT32>(counted_);
        return S_OK;
    }
    SIM_PROPERTY(IDataWriter, UnicodeEncoding, INT32, encoding_)
    SIM_PROPERTY(IDataWriter, ByteOrder, INT32, byteOrder_)
    HRESULT STDMETHODCALLTYPE WriteByte(BYTE value) noexcept override {
        SIM_FAULT("IDataWriter.WriteByte");
        return Append(&value, 1);
    }
    HRESULT STDMETHODCALLTYPE WriteBytes(UINT32 count, BYTE* value) noexcept override {
        SIM_FAULT("IDataWriter.WriteBytes");
        if (count && !value) return E_POINTER;
        bool copies;
        {
            auto& w = writes();
            std::lock_guard guard(w.lock);
            copies = w.copies;
            w.sizes.push_back(count);
            if (copies) w.bytesCopied += count;
        }
        std::lock_guard guard(lock_);
        if (!stream_) return RO_E_CLOSED;
        try {
            if (copies) pending_.append(reinterpret_cast<const char*>(value), count);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        counted_ += count;
        return S_OK;
    }
    SIM_UNUSED("IDataWriter.WriteBuffer", WriteBuffer(IInspectable*))
    SIM_UNUSED("IDataWriter.WriteBufferRange", WriteBufferRange(IInspectable*, UINT32, UINT32))
#define SIM_WRITE(name, type)                                          \
    HRESULT STDMETHODCALLTYPE name(type value) noexcept override {     \
        SIM_FAULT("IDataWriter." #name);                                \
        return Append(&value, sizeof(value));                           \
    }
    SIM_WRITE(WriteBoolean, abi::boolean)
    SIM_WRITE(WriteGuid, GUID)
    SIM_WRITE(WriteInt16, INT16)
    SIM_WRITE(WriteInt32, INT32)
    SIM_WRITE(WriteInt64, INT64)
    SIM_WRITE(WriteUInt16, UINT16)
    SIM_WRITE(WriteUInt32, UINT32)
    SIM_WRITE(WriteUInt64, UINT64)
    SIM_WRITE(WriteSingle, FLOAT)
    SIM_WRITE(WriteDouble, DOUBLE)
    SIM_WRITE(WriteDateTime, Foundation::DateTime)
    SIM_WRITE(WriteTimeSpan, Foundation::TimeSpan)
#undef SIM_WRITE
    HRESULT STDMETHODCALLTYPE WriteString(HSTRING value, UINT32* codeUnitCount) noexcept override {
        SIM_FAULT("IDataWriter.WriteString");
        UINT32 length = 0;
        const wchar_t* text = WindowsGetStringRawBuffer(value, &length);
        *codeUnitCount = length;
        return Append(text, length * sizeof(wchar_t));
    }
    HRESULT STDMETHODCALLTYPE MeasureString(HSTRING value, UINT32* codeUnitCount) noexcept override {
        SIM_FAULT("IDataWriter.MeasureString");
        *codeUnitCount = WindowsGetStringLen(value);
        return S_OK;
    }
    // Hands the pending bytes to the stream (moved, not copied); the operation
    // completes with their count later, on a runtime thread.
    HRESULT STDMETHODCALLTYPE StoreAsync(Foundation::IAsyncOperation<UINT32>** operation) noexcept override {
        SIM_FAULT("IDataWriter.StoreAsync");
        std::string pending;
        uint64_t counted;
        ::winrt::com_ptr<IOutputStream> stream;
        {
            std::lock_guard guard(lock_);
            if (!stream_) return RO_E_CLOSED;
            pending.swap(pending_);
            counted = std::exchange(counted_, 0);
            stream = stream_;
        }
        auto* memory = dynamic_cast<MemoryStream*>(stream.get());
        if (!memory) return E_NOTIMPL;
        if (HRESULT hr = memory->Store(std::move(pending), counted); hr < 0) return hr;
        auto store = MakeObject<AsyncOperation<UINT32>>();
        detail::RunOnRuntimeThread([store, counted] { store->Complete(static_cast<UINT32>(counted)); },
                                   detail::Then::GoOn);
        *operation = store.detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FlushAsync(Foundation::IAsyncOperation<abi::boolean>** operation) noexcept override {
        SIM_FAULT("IDataWriter.FlushAsync");
        ::winrt::com_ptr<IOutputStream> stream;
        {
            std::lock_guard guard(lock_);
            stream = stream_;
        }
        if (!stream) return RO_E_CLOSED;
        return stream->FlushAsync(operation);
    }
    SIM_UNUSED_OUT("IDataWriter.DetachBuffer", buffer, DetachBuffer(IInspectable** buffer))
    HRESULT STDMETHODCALLTYPE DetachStream(IOutputStream** outputStream) noexcept override {
        SIM_FAULT("IDataWriter.DetachStream");
        std::lock_guard guard(lock_);
        *outputStream = stream_.detach();
        return S_OK;
    }

    // ---- IClosable ----
    HRESULT STDMETHODCALLTYPE Close() noexcept override {
        SIM_FAULT("IClosable.Close");
        ::winrt::com_ptr<IOutputStream> stream;
        {
            std::lock_guard guard(lock_);
            stream = std::move(stream_);
        }
        if (auto closable = stream.try_as<Foundation::IClosable>()) closable->Close();
        return S_OK;
    }

private:
    HRESULT Append(const void* value, size_t size) {
        std::lock_guard guard(lock_);
        if (!stream_) return RO_E_CLOSED;
        pending_.append(static_cast<const char*>(value), size);
        counted_ += size;
        return S_OK;
    }

    std::mutex lock_;
    ::winrt::com_ptr<IOutputStream> stream_;
    std::string pending_;
    uint64_t counted_ = 0;
    Property<INT32> encoding_{static_cast<INT32>(abi::Windows::Storage::Streams::UnicodeEncoding::Utf8)};
    Property<INT32> byteOrder_{static_cast<INT32>(abi::Windows::Storage::Streams::ByteOrder::LittleEndian)};
};

class DataWriterFactory : public SimFactory<DataWriterFactory, IDataWriterFactory> {
public:
    using SimFactory::SimFactory;
    HRESULT STDMETHODCALLTYPE CreateDataWriter(IOutputStream* outputStream, IDataWriter** dataWriter) noexcept override {
        SIM_FAULT("IDataWriterFactory.CreateDataWriter");
        if (!dataWriter) return E_POINTER;
        *dataWriter = nullptr;
        if (!outputStream) return E_INVALIDARG;
        *dataWriter = MakeObject<DataWriterObject>(::winrt::copy_ptr(outputStream)).detach();
        return S_OK;
    }
};

class MemoryStreamFactory : public SimFactory<MemoryStreamFactory> {
public:
    using SimFactory::SimFactory;
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) noexcept override {
        SIM_FAULT("Windows.Storage.Streams.InMemoryRandomAccessStream.ActivateInstance");
        if (!instance) return E_POINTER;
        *instance = static_cast<IRandomAccessStream*>(MakeObject<MemoryStream>().detach());
        return S_OK;
    }
};

const ClassRegistration writer(DataWriter::name, [] { return NewFactory<DataWriterFactory>(DataWriter::name); });
const ClassRegistration memory(InMemoryRandomAccessStream::name,
                               [] { return NewFactory<MemoryStreamFactory>(InMemoryRandomAccessStream::name); });
const ResetRegistration reset([] {
    auto& w = writes();
    std::lock_guard guard(w.lock);
    w.copies = true;
    w.sizes.clear();
    w.bytesCopied = 0;
});

}  // namespace

bool ReadStreamBytes(IInspectable* object, std::string* bytes, uint64_t* size) {
    auto reference = ::winrt::copy_ptr(object).try_as<IRandomAccessStreamReference>();
    auto* simulated = reference ? AsStreamReference(reference.get()) : nullptr;
    auto* memory = simulated ? dynamic_cast<MemoryStream*>(simulated->stream.get()) : nullptr;
    return memory && memory->Read(bytes, size);
}

void SetDataWriterCopiesBytes(bool copies) { WriteState(writes(), &Writes::copies, copies); }

std::vector<uint32_t> DataWriterWriteSizes() { return ReadState(writes(), &Writes::sizes); }

uint64_t DataWriterBytesCopied() { return ReadState(writes(), &Writes::bytesCopied); }

}  // namespace sim
