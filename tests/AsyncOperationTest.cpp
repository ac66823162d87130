// Asynchronous boolean handles: polling, results, cancel, close, and the one
// completion callback delivered in the registering thread's apartment.
#include "RuntimeFixture.h"
#include "tavlet.h"

#include <ctxtcall.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000E);
constexpr HRESULT kIllegalDelegateAssignment = static_cast<HRESULT>(0x80000018);

struct Delivery {
    void* context;
    BOOL result;
    DWORD thread;
};
std::mutex deliveriesLock;
std::vector<Delivery> deliveries;  // every call of the host callback, in order

void TAVLET_CALL RecordCompletion(void* context, BOOL result) {
    std::lock_guard guard(deliveriesLock);
    deliveries.push_back({context, result, GetCurrentThreadId()});
}
std::vector<Delivery> TakeDeliveries() {
    std::lock_guard guard(deliveriesLock);
    return std::exchange(deliveries, {});
}

// Runs body on another thread, pumping this thread's messages meanwhile: a
// thread that enters this apartment's context waits for its message loop.
void RunOnAnotherThread(const std::function<void()>& body) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        body();
        done = true;
    });
    for (MSG msg; !done;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    worker.join();
}

// Each test owns a tile whose pin requests give the handles under test; the
// tile keeps the latest runtime operation alive, so it can be inspected after
// the handle is gone.
class AsyncOperationTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        TakeDeliveries();
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        ASSERT_EQ(_WinRTSecondaryTile_InitWithTileID(tile_, L"doc.1"), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        ApartmentTest::TearDown();
    }
    _WinRTAsyncOperationBOOL* Request() {
        _WinRTAsyncOperationBOOL* operation = nullptr;
        EXPECT_EQ(_WinRTSecondaryTile_RequestCreateAsync(tile_, &operation), S_OK);
        return operation;
    }
    static long Last() { return sim::TileRequestCount() - 1; }

    _WinRTSecondaryTile* tile_ = nullptr;
};

TEST_F(AsyncOperationTest, PollingChecksArgumentsAndFollowsTheOperation) {
    int32_t status = 42;
    BOOL result = 42;
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(nullptr, &status), E_INVALIDARG);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetResults(nullptr, &result), E_INVALIDARG);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Cancel(nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Close(nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(nullptr, RecordCompletion, nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(nullptr), S_OK);

    auto* operation = Request();
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(operation, nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetResults(operation, nullptr), E_INVALIDARG);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(operation, &status), S_OK);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetResults(operation, &result), kIllegalMethodCall);  // not finished
    EXPECT_EQ(result, 3);
    sim::CompleteTileRequest(Last(), true);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(operation, &status), S_OK);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetResults(operation, &result), S_OK);
    EXPECT_EQ(result, 1);
    sim::FailNext("IAsyncInfo.get_Status", 1, E_OUTOFMEMORY);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(operation, &status), E_OUTOFMEMORY);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
}

// Every ending calls the host exactly once, on the registering thread, with
// its context unchanged; only a confirmed request gives 1.
TEST_F(AsyncOperationTest, CallbackRunsOnceWithTheResultAndTheContext) {
    int local = 0;
    const struct {
        const char* name;
        void (*finish)(long request, _WinRTAsyncOperationBOOL* operation);
        void* context;
        BOOL result;
    } cases[] = {
        {"confirmed", [](long r, auto*) { sim::CompleteTileRequest(r, true); }, &local, 1},
        {"declined", [](long r, auto*) { sim::CompleteTileRequest(r, false); }, nullptr, 0},
        {"failed", [](long r, auto*) { sim::FailTileRequest(r, E_FAIL); }, &local, 0},
        {"canceled by the system", [](long r, auto*) { sim::CancelTileRequest(r); }, nullptr, 0},
        {"canceled by the host", [](long, auto* op) { EXPECT_EQ(_WinRTAsyncOperationBOOL_Cancel(op), S_OK); },
         reinterpret_cast<void*>(~uintptr_t(0)), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* operation = Request();
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, c.context), S_OK);
        EXPECT_TRUE(TakeDeliveries().empty());
        c.finish(Last(), operation);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        auto calls = TakeDeliveries();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].result, c.result);
        EXPECT_EQ(calls[0].context, c.context);
        EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
    }
}

// The runtime calls a handler registered on a finished operation at once; in
// the same apartment the host's function has run before the export returns.
TEST_F(AsyncOperationTest, CallbackRegisteredAfterCompletionRunsBeforeTheExportReturns) {
    auto* operation = Request();
    sim::CompleteTileRequest(Last(), true);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this), S_OK);
    auto calls = TakeDeliveries();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].result, 1);
    EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
}

// The runtime takes one Completed handler. A second registration has dropped
// the first callback by the time it is refused, so nobody is called; a
// registration refused for another reason leaves the slot free.
TEST_F(AsyncOperationTest, OnlyOneRegistrationIsAccepted) {
    auto* operation = Request();
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), S_OK);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this), kIllegalDelegateAssignment);
    sim::CompleteTileRequest(Last(), true);
    EXPECT_TRUE(TakeDeliveries().empty());
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);

    operation = Request();
    sim::FailNext("IAsyncOperation.put_Completed", 1, E_ACCESSDENIED);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), E_ACCESSDENIED);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this), S_OK);
    sim::CompleteTileRequest(Last(), false);
    auto calls = TakeDeliveries();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].context, this);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
}

// A null callback takes the runtime's one slot like any other; nothing is called.
TEST_F(AsyncOperationTest, NullCallbackIsAcceptedAndCallsNothing) {
    auto* operation = Request();
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, nullptr, this), S_OK);
    EXPECT_TRUE(sim::TileRequestAt(Last()).hasHandler);
    sim::CompleteTileRequest(Last(), true);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
    EXPECT_TRUE(TakeDeliveries().empty());
}

TEST_F(AsyncOperationTest, ReleaseCancelsARunningOperationOnly) {
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(Request()), S_OK);
    EXPECT_EQ(sim::TileRequestAt(Last()).status, 2);

    auto* finished = Request();
    sim::CompleteTileRequest(Last(), true);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(finished), S_OK);
    EXPECT_EQ(sim::TileRequestAt(Last()).status, 1);

    // Closed: the runtime refuses every call, and the release still succeeds.
    auto* closed = Request();
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Close(closed), static_cast<HRESULT>(0x8000000D));  // still running
    sim::CompleteTileRequest(Last(), true);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Close(closed), S_OK);
    int32_t status = 0;
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(closed, &status), kIllegalMethodCall);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(closed), S_OK);
    EXPECT_EQ(sim::Calls("IAsyncInfo.Cancel"), 1);
}

// Once released, a handle's callback is never called, even when the runtime
// finishes the operation afterwards (here the cancel on release fails).
TEST_F(AsyncOperationTest, ReleasedHandleIsNeverCalledBack) {
    auto* operation = Request();
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), S_OK);
    sim::FailNext("IAsyncInfo.Cancel", 1, E_FAIL);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
    EXPECT_TRUE(sim::CompleteTileRequest(Last(), true));
    EXPECT_TRUE(TakeDeliveries().empty());
}

bool CrossApartmentCallsWork() {
    const IID contextCallback = {0x000001da, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    IContextCallback* context = nullptr;
    if (FAILED(CoGetObjectContext(contextCallback, reinterpret_cast<void**>(&context)))) return false;
    HRESULT hr = E_FAIL;
    RunOnAnotherThread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ComCallData data{};
        hr = context->ContextCallback([](ComCallData*) -> HRESULT { return S_OK; }, &data, IID_IUnknown, 5, nullptr);
        CoUninitialize();
    });
    context->Release();
    return SUCCEEDED(hr);
}

// Finished on another thread, the operation's callback still runs on the
// registering (single-threaded apartment) thread, from its message loop.
TEST_F(AsyncOperationTest, CompletionOnAnotherThreadIsDeliveredInTheRegisteringApartment) {
    if (!CrossApartmentCallsWork())
        GTEST_SKIP() << "this platform cannot enter a captured COM context from another thread "
                        "(IContextCallback::ContextCallback is not implemented)";
    auto* operation = Request();
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this), S_OK);
    RunOnAnotherThread([request = Last()] { sim::CompleteTileRequest(request, true); });
    auto calls = TakeDeliveries();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
    EXPECT_EQ(calls[0].result, 1);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
}

// The host releases its handle while another thread finishes the operation:
// no crash, no leak, never more than one call.
TEST_F(AsyncOperationTest, ReleaseRacingACompletionOnAnotherThreadIsSafe) {
    for (int i = 0; i < 100; ++i) {
        auto* operation = Request();
        ASSERT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), S_OK);
        std::atomic<bool> go{false};
        std::thread worker([&go, request = Last()] {
            while (!go) std::this_thread::yield();
            sim::CompleteTileRequest(request, true);
        });
        go = true;
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        RunOnAnotherThread([&worker] { worker.join(); });
        EXPECT_LE(TakeDeliveries().size(), 1u);
    }
}

}  // namespace
