// One bitmap delivery, chained through the writer's completions: write, store,
// flush, detach, hand the stream over, complete the deferral.
#include "BitmapWrite.h"

#include "OnCompleted.h"
#include "Runtime.h"
#include "abi/Foundation.h"
#include "abi/Storage.Streams.h"

#include <algorithm>

namespace tavlet::winapi {
namespace {

namespace Foundation = abi::Windows::Foundation;
namespace Streams = abi::Windows::Storage::Streams;
using ::winrt::check_hresult;
using ::winrt::com_ptr;

class BitmapWrite : public std::enable_shared_from_this<BitmapWrite> {
public:
    // A DataWriter's count is 32-bit: larger shares are written in pieces.
    static constexpr uint64_t kMaxPiece = 0xFFFFFFFFull;

    BitmapWrite(com_ptr<DataTransfer::IDataProviderRequest> request, std::shared_ptr<ShareRecord> record)
        : request_(std::move(request)), record_(std::move(record)) {}

    void Start() {
        // The continuations resume in the context the write started in.
        context_ = winrt::ComContext::Current();
        check_hresult(request_->GetDeferral(deferral_.put()));
        stream_ = winrt::ActivateInstance<Streams::InMemoryRandomAccessStream, Streams::IRandomAccessStream>();
        auto output = stream_.as<Streams::IOutputStream>();
        check_hresult(winrt::GetActivationFactory<Streams::DataWriter, Streams::IDataWriterFactory>()->CreateDataWriter(
            output.get(), writer_.put()));
        Copy();
        com_ptr<Foundation::IAsyncOperation<UINT32>> store;
        check_hresult(writer_->StoreAsync(store.put()));
        Await<UINT32>(store, [](BitmapWrite& self) { self.Flush(); });
    }

private:
    // The writer copies the bytes; while it does, the share cannot end (and
    // the host cannot be told it may free them). An ended share has none.
    void Copy() {
        uint64_t size = 0;
        auto* bytes = static_cast<const BYTE*>(record_->LeaseData(&size));
        if (!bytes) ::winrt::throw_hresult(E_ILLEGAL_METHOD_CALL);
        struct Lease {
            ShareRecord& record;
            ~Lease() { record.ReturnData(); }
        } lease{*record_};
        while (size) {
            const auto piece = static_cast<UINT32>(std::min(size, kMaxPiece));
            check_hresult(writer_->WriteBytes(piece, const_cast<BYTE*>(bytes)));
            bytes += piece;
            size -= piece;
        }
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
};

}  // namespace

void ProvideBitmap(com_ptr<DataTransfer::IDataProviderRequest> request, std::shared_ptr<ShareRecord> record) {
    std::make_shared<BitmapWrite>(std::move(request), std::move(record))->Start();
}

}  // namespace tavlet::winapi
