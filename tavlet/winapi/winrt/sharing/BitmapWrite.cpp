// One bitmap delivery, chained through the writer's completions: write and
// store one piece at a time, flush, detach, hand the stream over, complete the
// deferral.
#include "BitmapWrite.h"

#include "tavlet/winapi/winrt/base/AbiNamespaces.h"
#include "tavlet/winapi/winrt/base/OnCompleted.h"
#include "tavlet/winapi/winrt/base/Runtime.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"
#include "tavlet/winapi/winrt/abi/Storage.Streams.h"

#include <algorithm>

namespace tavlet::winapi {
namespace {

using ::winrt::check_hresult;
using ::winrt::com_ptr;

class BitmapWrite : public std::enable_shared_from_this<BitmapWrite> {
public:
    // The host's bytes are copied a bounded piece at a time (a DataWriter's
    // count is 32-bit anyway), each stored before the next: ending the share
    // waits for one piece at most, and the writer never holds more than one.
    static constexpr uint64_t kPiece = 4ull << 20;

    BitmapWrite(com_ptr<DataTransfer::IDataProviderRequest> request, std::shared_ptr<ShareRecord> record)
        : request_(std::move(request)), record_(std::move(record)) {
        record_->DeliveryStarted();
    }
    ~BitmapWrite() { record_->DeliveryEnded(); }
    BitmapWrite(const BitmapWrite&) = delete;
    BitmapWrite& operator=(const BitmapWrite&) = delete;

    void Start() {
        // The continuations resume in the context the write started in.
        context_ = winrt::ComContext::Current();
        check_hresult(request_->GetDeferral(deferral_.put()));
        stream_ = winrt::ActivateInstance<Streams::InMemoryRandomAccessStream, Streams::IRandomAccessStream>();
        auto output = stream_.as<Streams::IOutputStream>();
        check_hresult(winrt::GetActivationFactory<Streams::DataWriter, Streams::IDataWriterFactory>()->CreateDataWriter(
            output.get(), writer_.put()));
        WritePiece();
    }

private:
    void WritePiece() {
        CopyPiece();
        com_ptr<Foundation::IAsyncOperation<UINT32>> store;
        check_hresult(writer_->StoreAsync(store.put()));
        Await<UINT32>(store, [](BitmapWrite& self) { self.written_ < self.size_ ? self.WritePiece() : self.Flush(); });
    }

    // The writer copies one piece; while it does, the share cannot end (and
    // the host cannot be told it may free the bytes). An ended share has none:
    // the delivery fails.
    void CopyPiece() {
        uint64_t size = 0;
        auto* bytes = static_cast<const BYTE*>(record_->LeaseData(&size));
        if (!bytes) ::winrt::throw_hresult(E_ILLEGAL_METHOD_CALL);
        struct Lease {
            ShareRecord& record;
            ~Lease() { record.ReturnData(); }
        } lease{*record_};
        size_ = size;
        const auto piece = static_cast<UINT32>(std::min(size - written_, kPiece));
        check_hresult(writer_->WriteBytes(piece, const_cast<BYTE*>(bytes + written_)));
        written_ += piece;
    }

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

    // Continues with next, in the context the write started in, once the
    // operation has completed; its result is not used. A failure or a
    // cancellation ends the chain: the deferral is never completed, and the
    // target's request fails.
    template <typename T, typename Next>
    void Await(const com_ptr<Foundation::IAsyncOperation<T>>& operation, Next next) {
        winrt::OnCompleted<T>(
            operation, winrt::InContext<std::shared_ptr<BitmapWrite>>{context_, shared_from_this()},
            [next](BitmapWrite& self, auto&&) { next(self); }, winrt::DropFailure);
    }

    com_ptr<DataTransfer::IDataProviderRequest> request_;
    std::shared_ptr<ShareRecord> record_;
    winrt::ComContext context_;
    com_ptr<DataTransfer::IDataProviderDeferral> deferral_;
    com_ptr<Streams::IRandomAccessStream> stream_;
    com_ptr<Streams::IDataWriter> writer_;
    uint64_t size_ = 0, written_ = 0;
};

}  // namespace

void ProvideBitmap(com_ptr<DataTransfer::IDataProviderRequest> request, std::shared_ptr<ShareRecord> record) {
    std::make_shared<BitmapWrite>(std::move(request), std::move(record))->Start();
}

}  // namespace tavlet::winapi
