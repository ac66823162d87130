// Asynchronous boolean handles and their one callback, run in the registering apartment.
#include "RuntimeFixture.h"
#include "tavlet.h"

#include <atomic>
#include <optional>
#include <thread>

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

// Runs body on a runtime thread (multithreaded apartment) while this one
// pumps: entering its context needs the loop.
template <typename Body>
void RunOnAnotherThread(Body body) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        body();
        if (SUCCEEDED(init)) CoUninitialize();
        done = true;
    });
    for (MSG msg; !done; MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT))
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    worker.join();
}

// The operations are a tile's pin requests: the tile keeps the latest one alive.
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

// The runtime takes one Completed handler; a null first callback is no exception.
TEST_F(AsyncOperationTest, SecondRegistrationIsRefusedAndNothingIsCalled) {
    for (AsyncOperationBOOLCompletedHandler first : {&RecordCompletion, AsyncOperationBOOLCompletedHandler{}}) {
        auto* operation = Request();
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, first, nullptr), S_OK);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this), HRESULT(0x80000018));
        sim::CompleteTileRequest(Last(), true);
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        EXPECT_TRUE(TakeDeliveries().empty());
    }
}

TEST_F(AsyncOperationTest, ReleaseCancelsARunningOperationOnlyAndANullHandleGivesDefaults) {
    int32_t status = 42;
    BOOL result = 42;
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetStatus(nullptr, &status), E_INVALIDARG);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_GetResults(nullptr, &result), E_INVALIDARG);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(Request()), S_OK);
    EXPECT_EQ(sim::TileRequestAt(Last()).status, 2);
    auto* closed = Request();
    sim::CompleteTileRequest(Last(), true);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Close(closed), S_OK);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(closed), S_OK);
    EXPECT_EQ(sim::Calls("IAsyncInfo.Cancel"), 1);  // the finished one was not canceled
}

// The host's function is never called from inside a Dealloc (an operation
// whose Cancel raises Completed at once), nor after it has returned (a cancel
// that completes later on a runtime thread; a completion under way on a
// runtime thread, held on its way into this apartment while the host, not
// pumping, deallocates).
TEST_F(AsyncOperationTest, NothingIsCalledFromInsideOrAfterDealloc) {
    enum class Ending { CancelCompletesInside, CancelCompletesLater, CompletionWaitingToEnter };
    const std::string entering = "IAsyncOperation.GetResults";  // read just before the switch
    for (Ending ending : {Ending::CancelCompletesInside, Ending::CancelCompletesLater, Ending::CompletionWaitingToEnter}) {
        SCOPED_TRACE(static_cast<int>(ending));
        sim::SetCancelCompletesInline(ending == Ending::CancelCompletesInside);
        auto* operation = Request();
        ASSERT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), S_OK);
        std::optional<sim::Background> completing;
        if (ending == Ending::CompletionWaitingToEnter) {
            sim::HoldNext(entering);
            completing.emplace([request = Last()] { sim::CompleteTileRequest(request, true); });
            ASSERT_TRUE(sim::WaitUntilHeld(entering));
        }
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        EXPECT_TRUE(TakeDeliveries().empty());
        sim::Release(entering);
        if (completing) {
            EXPECT_TRUE(completing->Finish());
        }
        EXPECT_TRUE(sim::WaitForRuntimeIdle());
        EXPECT_TRUE(TakeDeliveries().empty());
        EXPECT_EQ(sim::TileRequestAt(Last()).status, ending == Ending::CompletionWaitingToEnter ? 1 : 2);
    }
}

// Released while another thread finishes it: no crash, no leak, at most one call.
TEST_F(AsyncOperationTest, ReleaseRacingACompletionOnAnotherThreadIsSafe) {
    for (int i = 0; i < 100; ++i) {
        auto* operation = Request();
        ASSERT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, nullptr), S_OK);
        std::thread worker([request = Last()] { sim::CompleteTileRequest(request, true); });
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        RunOnAnotherThread([&worker] { worker.join(); });
        EXPECT_LE(TakeDeliveries().size(), 1u);
    }
}

TEST_F(AsyncOperationTest, CompletionOnAnotherThreadIsDeliveredInTheRegisteringApartment) {
    auto* operation = Request();
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, RecordCompletion, this), S_OK);
    RunOnAnotherThread([request = Last()] { sim::CompleteTileRequest(request, true); });
    auto calls = TakeDeliveries();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
    EXPECT_EQ(calls[0].result, 1);
    EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
}

}  // namespace
