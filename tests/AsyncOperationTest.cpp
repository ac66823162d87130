// Asynchronous boolean handles and their one callback, run in the registering apartment.
#include "Host.h"
#include "tavlet.h"

namespace {

struct Delivery {
    void* context;
    BOOL result;
    DWORD thread;
};
// Every call of the host callback, in order; read only once other threads are joined.
std::vector<Delivery> deliveries;
void TAVLET_CALL RecordCompletion(void* context, BOOL result) {
    deliveries.push_back({context, result, GetCurrentThreadId()});
}
std::vector<Delivery> TakeDeliveries() { return std::exchange(deliveries, {}); }

// The operations are a tile's pin requests: the tile keeps the latest one alive.
class AsyncOperationTest : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        TakeDeliveries();
        sim::SetPackaged(true);
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
        ASSERT_EQ(host::InitOwnedTile(tile_, L"doc.1", window_), S_OK);
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

    host::Window window_;
    _WinRTSecondaryTile* tile_ = nullptr;
};

// One call per ending, on this thread, context unchanged; on a finished operation, before the export returns.
TEST_F(AsyncOperationTest, EveryEndingCallsBackOnceWithTheResultAndTheContext) {
    int local = 0;
    const struct {
        const char* name;
        void (*finish)(long request, _WinRTAsyncOperationBOOL* operation);
        void* context;
        BOOL result;
        bool finishFirst;
    } cases[] = {
        {"confirmed", [](long r, auto*) { sim::CompleteTileRequest(r, true); }, &local, 1, false},
        {"declined", [](long r, auto*) { sim::CompleteTileRequest(r, false); }, nullptr, 0, false},
        {"failed", [](long r, auto*) { sim::FailTileRequest(r, E_FAIL); }, &local, 0, false},
        {"canceled by the host", [](long, auto* op) { EXPECT_EQ(_WinRTAsyncOperationBOOL_Cancel(op), S_OK); },
         reinterpret_cast<void*>(~uintptr_t(0)), 0, false},
        {"confirmed before registering", [](long r, auto*) { sim::CompleteTileRequest(r, true); }, &local, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* operation = Request();
        if (c.finishFirst) c.finish(Last(), operation);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, c.context), S_OK);
        if (!c.finishFirst) {
            EXPECT_TRUE(TakeDeliveries().empty());
            c.finish(Last(), operation);
        }
        sim::WaitForRuntimeIdle();  // a cancel's completion follows from a runtime thread
        auto calls = TakeDeliveries();
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        EXPECT_TRUE(TakeDeliveries().empty());
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].result, c.result);
        EXPECT_EQ(calls[0].context, c.context);
        EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
    }
}

// Until an answer comes the out-values hold 3, as they do for a failed request
// (whose status is 3 too); a status the runtime does not define is unexpected, and a closed operation refuses every call.
TEST_F(AsyncOperationTest, PollingAnswersWhatTheOperationSaysUntilItIsClosed) {
    auto poll = [](_WinRTAsyncOperationBOOL* operation, HRESULT statusResult, int32_t status, HRESULT resultResult,
                   BOOL result) {
        int32_t polledStatus = 42;
        BOOL polledResult = 42;
        EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(operation, &polledStatus), statusResult);
        EXPECT_EQ(polledStatus, status);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_GetResults(operation, &polledResult), resultResult);
        EXPECT_EQ(polledResult, result);
    };
    const HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000E);
    const struct {
        void (*finish)(long request);
        int32_t status;
        HRESULT resultResult;
        BOOL result;
    } endings[] = {{[](long r) { sim::CompleteTileRequest(r, true); }, 1, S_OK, 1},
                   {[](long r) { sim::CompleteTileRequest(r, false); }, 1, S_OK, 0},
                   {[](long r) { sim::FailTileRequest(r, E_ACCESSDENIED); }, 3, E_ACCESSDENIED, 3}};
    for (const auto& ending : endings) {
        auto* operation = Request();
        EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(operation, nullptr), E_INVALIDARG);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_GetResults(operation, nullptr), E_INVALIDARG);
        poll(operation, S_OK, 0, kIllegalMethodCall, 3);
        ending.finish(Last());
        poll(operation, S_OK, ending.status, ending.resultResult, ending.result);
        sim::ReportTileRequestStatus(Last(), 4);
        poll(operation, E_UNEXPECTED, 3, ending.resultResult, ending.result);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Close(operation), S_OK);
        poll(operation, kIllegalMethodCall, 3, kIllegalMethodCall, 3);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Cancel(operation), kIllegalMethodCall);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), kIllegalMethodCall);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
    }
    EXPECT_TRUE(TakeDeliveries().empty());
}

// The host is not called when its context cannot be captured (the export
// says so), when the result cannot be read at completion (nobody is told), or
// after a second registration, which the runtime refuses (a null first
// callback is no exception).
TEST_F(AsyncOperationTest, CompletionThatCannotBeDeliveredCallsNothing) {
    const struct {
        const char* member;
        AsyncOperationBOOLCompletedHandler first;
        HRESULT registered, second;
    } cases[] = {{"CoGetObjectContext", RecordCompletion, E_ACCESSDENIED, S_OK},
                 {"IAsyncOperation.GetResults", RecordCompletion, S_OK, S_OK},
                 {nullptr, RecordCompletion, S_OK, HRESULT(0x80000018)},
                 {nullptr, nullptr, S_OK, HRESULT(0x80000018)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.member ? c.member : "second") << " " << bool(c.first));
        auto* operation = Request();
        if (c.member) sim::FailNext(c.member, 1, E_ACCESSDENIED);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, c.first, nullptr), c.registered);
        EXPECT_EQ(sim::TileRequestAt(Last()).hasHandler, c.registered == S_OK);
        EXPECT_EQ(c.second ? _WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this) : S_OK, c.second);
        sim::CompleteTileRequest(Last(), true);
        sim::WaitForRuntimeIdle();
        EXPECT_EQ(c.member ? sim::Calls(c.member) : 1, 1);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
    }
    EXPECT_TRUE(TakeDeliveries().empty());
}

// The host's function is never called from inside a Dealloc (an operation
// whose Cancel raises Completed at once), nor after it has returned (a cancel
// that completes later on a runtime thread; a completion under way on a
// runtime thread, held on its way into this apartment while the host, not
// pumping, deallocates). A Dealloc cancels a running operation only.
TEST_F(AsyncOperationTest, NothingIsCalledFromInsideOrAfterDealloc) {
    enum class Ending { CancelCompletesInside, CancelCompletesLater, CompletionWaitingToEnter };
    const char* entering = "IAsyncOperation.GetResults";  // read just before the switch
    for (Ending ending : {Ending::CancelCompletesInside, Ending::CancelCompletesLater, Ending::CompletionWaitingToEnter}) {
        SCOPED_TRACE(static_cast<int>(ending));
        sim::SetCancelCompletesInline(ending == Ending::CancelCompletesInside);
        auto* operation = Request();
        ASSERT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), S_OK);
        const long cancels = sim::Calls("IAsyncInfo.Cancel");
        auto dealloc = [&] {
            EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
            EXPECT_TRUE(TakeDeliveries().empty());
        };
        if (ending == Ending::CompletionWaitingToEnter) {
            host::WhileHeld(entering, [request = Last()] { sim::CompleteTileRequest(request, true); }, dealloc);
        } else {
            dealloc();
        }
        EXPECT_TRUE(sim::WaitForRuntimeIdle());
        EXPECT_TRUE(TakeDeliveries().empty());
        const bool completed = ending == Ending::CompletionWaitingToEnter;
        EXPECT_EQ(sim::TileRequestAt(Last()).status, completed ? 1 : 2);
        EXPECT_EQ(sim::Calls("IAsyncInfo.Cancel") - cancels, completed ? 0 : 1);
    }
}

}  // namespace
