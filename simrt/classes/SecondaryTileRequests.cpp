// The pin and unpin requests of Windows.UI.StartScreen.SecondaryTile: each an
// IAsyncOperation<Boolean> that waits for the user's answer (a test's or the
// scripted user's); a confirmed pin pins its tile, a confirmed unpin unpins it.
#include "AsyncOperation.h"
#include "RuntimeThreads.h"
#include "Tiles.h"

#include <memory>
#include <mutex>
#include <vector>

namespace sim {
namespace {

using abi::boolean;
namespace Foundation = abi::Windows::Foundation;

class TileRequest;

struct RequestEntry {
    TileRequest* operation = nullptr;  // null once destroyed, or never made
    bool isDelete = false;
    std::wstring tileId;
    HRESULT refused = S_OK;
    const char* refusedBecause = "";
};

// Recursive: a request is destroyed (and unregisters) inside its own Release,
// which holds the lock so that the control API never revives a dying request.
struct State {
    std::recursive_mutex lock;
    std::vector<std::shared_ptr<RequestEntry>> requests;
};
State& state() {
    static State* s = new State();
    return *s;
}

class TileRequest : public AsyncOperation<boolean> {
public:
    explicit TileRequest(std::shared_ptr<RequestEntry> entry) : entry_(std::move(entry)) {}
    ~TileRequest() override { entry_->operation = nullptr; }  // under the lock (Release)

    ULONG STDMETHODCALLTYPE Release() noexcept override {
        std::lock_guard guard(state().lock);
        return AsyncOperation<boolean>::Release();
    }

private:
    std::shared_ptr<RequestEntry> entry_;
};

::winrt::com_ptr<TileRequest> FindRequest(long index, std::shared_ptr<RequestEntry>* entryOut = nullptr) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    if (index < 0 || index >= static_cast<long>(s.requests.size())) return nullptr;
    auto& entry = s.requests[index];
    if (entryOut) *entryOut = entry;
    return ::winrt::copy_ptr(entry->operation);
}

const ResetRegistration reset([] {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.requests.clear();
});

// Finishes a request the way the system does when the user answers.
template <typename Finish>
bool FinishRequest(long index, Finish finish) {
    std::shared_ptr<RequestEntry> entry;
    auto request = FindRequest(index, &entry);
    if (!request || request->status() != abi::Windows::Foundation::AsyncStatus::Started) return false;
    detail::RunOnRuntimeThread([&] { finish(*request, *entry); }, detail::Then::PumpUntilDone);
    return true;
}

}  // namespace

HRESULT NewTileRequest(bool isDelete, const std::wstring& tileId, Foundation::IAsyncOperation<boolean>** operation) {
    if (!operation) return E_POINTER;
    auto& s = state();
    std::lock_guard guard(s.lock);
    auto entry = std::make_shared<RequestEntry>();
    entry->isDelete = isDelete;
    entry->tileId = tileId;
    auto request = MakeObject<TileRequest>(entry);
    entry->operation = request.get();
    s.requests.push_back(entry);
    *operation = request.detach();
    return S_OK;
}

HRESULT RefuseTileRequest(bool isDelete, const std::wstring& tileId, HRESULT refused, const char* because) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    auto entry = std::make_shared<RequestEntry>();
    entry->isDelete = isDelete;
    entry->tileId = tileId;
    entry->refused = refused;
    entry->refusedBecause = because;
    s.requests.push_back(std::move(entry));
    return refused;
}

long TileRequestCount() {
    auto& s = state();
    std::lock_guard guard(s.lock);
    return static_cast<long>(s.requests.size());
}

TileRequestRecord TileRequestAt(long index) {
    TileRequestRecord record;
    std::shared_ptr<RequestEntry> entry;
    auto request = FindRequest(index, &entry);
    if (!entry) return record;
    record.isDelete = entry->isDelete;
    record.tileId = entry->tileId;
    record.refused = entry->refused;
    record.refusedBecause = entry->refusedBecause;
    if (!request) return record;
    record.alive = true;
    record.closed = request->closed();
    record.status = record.closed ? -1 : request->status();
    record.hasHandler = request->hasHandler();
    return record;
}

bool CompleteTileRequest(long index, bool result) {
    return FinishRequest(index, [result](TileRequest& request, const RequestEntry& entry) {
        if (result) SetTilePinned(entry.tileId, !entry.isDelete);
        request.Complete(result ? 1 : 0);
    });
}

bool FailTileRequest(long index, HRESULT error) {
    return FinishRequest(index, [error](TileRequest& request, const RequestEntry&) { request.Fail(error); });
}

bool ReportTileRequestStatus(long index, int32_t status) {
    auto request = FindRequest(index);
    if (request) request->ReportStatus(status);
    return request != nullptr;
}

bool CancelTileRequest(long index) {
    return FinishRequest(index, [](TileRequest& request, const RequestEntry&) { request.Cancel(); });
}

}  // namespace sim
