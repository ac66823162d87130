// Asynchronous boolean handles and their one callback, run in the registering apartment.
#include "TileTestSupport.h"

#include <tuple>

namespace {

struct Delivery { void* context; BOOL result; DWORD thread; };
// Every call of the host callback, in order; read only once other threads are joined.
std::vector<Delivery> deliveries;
void TAVLET_CALL RecordCompletion(void* context, BOOL result) {
    deliveries.push_back({context, result, GetCurrentThreadId()});
}
std::vector<Delivery> TakeDeliveries() { return std::exchange(deliveries, {}); }

// The operations are pin requests of the fixture's tile, which keeps the latest one alive.
class AsyncOperationTest : public SecondaryTileTest {
protected:
    void SetUp() override {
        SecondaryTileTest::SetUp();
        TakeDeliveries();
        ASSERT_EQ(Create(L"doc.1"), S_OK);
    }
};

// One call per ending, on this thread, context unchanged; on a finished
// operation, before the export returns. None when the context cannot be
// captured (the export says so), when the result cannot be read at completion
// (nobody is told), or after a second registration, which the runtime refuses
// (a null first callback is no exception).
TEST_F(AsyncOperationTest, EveryEndingCallsBackOnceUnlessItCannotBeDelivered) {
    int local = 0;
    void (*const confirm)(long, _WinRTAsyncOperationBOOL*) = [](long r, auto*) { sim::CompleteTileRequest(r, true); };
    const HRESULT refusedTwice = 0x80000018;
    const struct {
        const char* name; void (*finish)(long request, _WinRTAsyncOperationBOOL* operation); void* context;
        BOOL result;  // 2: not called
        bool finishFirst = false; const char* failing = nullptr;  // once, with E_ACCESSDENIED
        HRESULT registered = S_OK, second = S_OK; AsyncOperationBOOLCompletedHandler first = RecordCompletion;
    } cases[] = {
        {"confirmed", confirm, &local, 1},
        {"declined", [](long r, auto*) { sim::CompleteTileRequest(r, false); }, nullptr, 0},
        {"failed", [](long r, auto*) { sim::FailTileRequest(r, E_FAIL); }, &local, 0},
        {"canceled by the host", [](long, auto* op) { EXPECT_EQ(_WinRTAsyncOperationBOOL_Cancel(op), S_OK); },
         reinterpret_cast<void*>(~uintptr_t(0)), 0},
        {"confirmed before registering", confirm, &local, 1, true},
        {"context not captured", confirm, nullptr, 2, false, "CoGetObjectContext", E_ACCESSDENIED},
        {"result unreadable", confirm, nullptr, 2, false, "IAsyncOperation.GetResults"},
        {"registered twice", confirm, nullptr, 2, false, nullptr, S_OK, refusedTwice},
        {"registered twice, first null", confirm, nullptr, 2, false, nullptr, S_OK, refusedTwice, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* operation = Request();
        const long failingCalls = c.failing ? sim::Calls(c.failing) : 0;
        if (c.failing) sim::FailNext(c.failing, 1, E_ACCESSDENIED);
        if (c.finishFirst) c.finish(LastRequest(), operation);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, c.first, c.context), c.registered);
        EXPECT_EQ(sim::TileRequestAt(LastRequest()).hasHandler, c.registered == S_OK);
        EXPECT_EQ(c.second ? _WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this) : S_OK, c.second);
        if (!c.finishFirst) {
            EXPECT_TRUE(TakeDeliveries().empty());
            c.finish(LastRequest(), operation);
        }
        sim::WaitForRuntimeIdle();  // a cancel's completion follows from a runtime thread
        EXPECT_EQ(c.failing ? sim::Calls(c.failing) - failingCalls : 1, 1);
        auto calls = TakeDeliveries();
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        EXPECT_TRUE(TakeDeliveries().empty());
        ASSERT_EQ(calls.size(), c.result == 2 ? 0u : 1u);
        if (calls.empty()) continue;
        EXPECT_EQ(calls[0].result, c.result);
        EXPECT_EQ(calls[0].context, c.context);
        EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
    }
}

// Until an answer comes the out-values hold 3, as they do for a failed request
// (whose status is 3 too); a status the runtime does not define is unexpected;
// a closed operation refuses every call.
TEST_F(AsyncOperationTest, PollingAnswersWhatTheOperationSaysUntilItIsClosed) {
    auto poll = [](_WinRTAsyncOperationBOOL* operation) {
        int32_t status = 42;
        BOOL result = 42;
        const HRESULT polledStatus = _WinRTAsyncOperationBOOL_GetStatus(operation, &status);
        return std::tuple{polledStatus, status, _WinRTAsyncOperationBOOL_GetResults(operation, &result), result};  // braces: read in order
    };
    const HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000E);
    const struct { void (*finish)(long request); int32_t status; HRESULT resultResult; BOOL result; } endings[] = {{[](long r) { sim::CompleteTileRequest(r, true); }, 1, S_OK, 1},
                   {[](long r) { sim::CompleteTileRequest(r, false); }, 1, S_OK, 0},
                   {[](long r) { sim::FailTileRequest(r, E_ACCESSDENIED); }, 3, E_ACCESSDENIED, 3}};
    for (const auto& ending : endings) {
        auto* operation = Request();
        EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(operation, nullptr), E_INVALIDARG);
        EXPECT_EQ(poll(operation), std::tuple(S_OK, 0, kIllegalMethodCall, 3));
        ending.finish(LastRequest());
        EXPECT_EQ(poll(operation), std::tuple(S_OK, ending.status, ending.resultResult, ending.result));
        sim::ReportTileRequestStatus(LastRequest(), 4);
        EXPECT_EQ(poll(operation), std::tuple(E_UNEXPECTED, 3, ending.resultResult, ending.result));
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Close(operation), S_OK);
        EXPECT_EQ(poll(operation), std::tuple(kIllegalMethodCall, 3, kIllegalMethodCall, 3));
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Cancel(operation), kIllegalMethodCall);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), kIllegalMethodCall);
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
            host::WhileHeld(entering, [request = LastRequest()] { sim::CompleteTileRequest(request, true); }, dealloc);
        } else {
            dealloc();
        }
        EXPECT_TRUE(sim::WaitForRuntimeIdle());
        EXPECT_TRUE(TakeDeliveries().empty());
        const bool completed = ending == Ending::CompletionWaitingToEnter;
        EXPECT_EQ(sim::TileRequestAt(LastRequest()).status, completed ? 1 : 2);
        EXPECT_EQ(sim::Calls("IAsyncInfo.Cancel") - cancels, completed ? 0 : 1);
    }
}

}  // namespace
