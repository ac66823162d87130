// Entering a captured COM context from another thread, as the library does it
// for a pin request's completion: where the platform's switch is missing, the
// simulated runtime's stand-in has to behave like the system's.
#include "SharingHost.h"

#include <future>
#include <memory>

namespace {

using sharing_test::WaitedForTheLoop;

struct Delivery {
    void* context;
    BOOL result;
    DWORD thread;
    APTTYPE apartment;  // APTTYPE_CURRENT: no COM on the delivering thread
};
std::mutex deliveriesLock;
std::vector<Delivery> deliveries;

void TAVLET_CALL Record(void* context, BOOL result) {
    APTTYPE apartment = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier{};
    if (FAILED(CoGetApartmentType(&apartment, &qualifier))) apartment = APTTYPE_CURRENT;
    std::lock_guard guard(deliveriesLock);
    deliveries.push_back({context, result, GetCurrentThreadId(), apartment});
}
std::vector<Delivery> TakeDeliveries() {
    std::lock_guard guard(deliveriesLock);
    return std::exchange(deliveries, {});
}

using ContextStandInTest = ApartmentTest;

enum class Registrant { ThisApartment, MultithreadedThread, ApartmentThatEnded };
enum class Completer { RuntimeThread, ThreadWithoutCom, ThisThread };
enum class Delivered { Nowhere, HereFromTheLoop, OnTheCompletingThread, OnAHelperThread };

// Who registers the callback, who finishes the request, and where the host is
// called: exactly once, with its context, or not at all.
TEST_F(ContextStandInTest, CompletionReachesTheHostInTheRegisteringContextOrNowhere) {
    ASSERT_TRUE(sim::InstallContextStandIn());  // tavlet.dll is loaded: its import can be redirected
    sim::SetDelivery(sim::Delivery::CallingThread);  // each case chooses the completing thread itself
    // The requests are a tile's pin requests; the tile keeps the latest one alive.
    _WinRTSecondaryTile* handle = nullptr;
    ASSERT_EQ(_WinRTSecondaryTile_Alloc(&handle), S_OK);
    std::unique_ptr<_WinRTSecondaryTile, decltype(&_WinRTSecondaryTile_Dealloc)> tile(handle,
                                                                                       _WinRTSecondaryTile_Dealloc);
    ASSERT_EQ(_WinRTSecondaryTile_InitWithTileID(handle, L"doc.1"), S_OK);
    const struct {
        const char* name;
        Registrant registrant;
        Completer completer;
        Delivered delivered;
    } cases[] = {
        // First: a thread without COM is refused only while the process has no
        // multithreaded apartment, which would take it in.
        {"caller without COM", Registrant::ThisApartment, Completer::ThreadWithoutCom, Delivered::Nowhere},
        {"apartment entered from a runtime thread", Registrant::ThisApartment, Completer::RuntimeThread,
         Delivered::HereFromTheLoop},
        {"multithreaded context from a runtime thread", Registrant::MultithreadedThread, Completer::RuntimeThread,
         Delivered::OnTheCompletingThread},
        {"multithreaded context from this apartment", Registrant::MultithreadedThread, Completer::ThisThread,
         Delivered::OnAHelperThread},
        {"apartment whose thread has ended", Registrant::ApartmentThatEnded, Completer::RuntimeThread,
         Delivered::Nowhere},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        void* const context = const_cast<char*>(c.name);
        _WinRTAsyncOperationBOOL* operation = nullptr;
        ASSERT_EQ(_WinRTSecondaryTile_RequestCreateAsync(handle, &operation), S_OK);
        const long request = sim::TileRequestCount() - 1;

        // The registering thread: this one, or one that stays in the
        // multithreaded apartment until the request is finished, or an
        // apartment thread that is gone by then.
        DWORD registering = GetCurrentThreadId();
        std::promise<void> finished;
        std::thread registrant;
        if (c.registrant == Registrant::ThisApartment) {
            ASSERT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, Record, context), S_OK);
        } else {
            std::promise<DWORD> registered;
            const bool stays = c.registrant == Registrant::MultithreadedThread;
            registrant = std::thread([&, stays, wait = finished.get_future()] {
                HRESULT init = CoInitializeEx(nullptr, stays ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED);
                EXPECT_EQ(_WinRTAsyncOperationBOOL_Completed(operation, Record, context), S_OK);
                registered.set_value(GetCurrentThreadId());
                if (stays) wait.wait();
                if (SUCCEEDED(init)) CoUninitialize();
            });
            registering = registered.get_future().get();
            if (!stays) registrant.join();
        }

        DWORD completing = 0;
        bool waited = false;
        auto complete = [&] {
            completing = GetCurrentThreadId();
            EXPECT_TRUE(sim::CompleteTileRequest(request, true));
        };
        if (c.completer == Completer::ThisThread) {
            complete();
        } else {
            waited = WaitedForTheLoop(complete, c.completer == Completer::RuntimeThread);
        }
        finished.set_value();
        if (registrant.joinable()) registrant.join();

        // Only a single-threaded apartment holds the runtime's thread until it pumps.
        EXPECT_EQ(waited, c.delivered == Delivered::HereFromTheLoop);
        auto calls = TakeDeliveries();
        EXPECT_EQ(_WinRTAsyncOperationBOOL_Dealloc(operation), S_OK);
        if (c.delivered == Delivered::Nowhere) {
            EXPECT_TRUE(calls.empty());
            continue;
        }
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].context, context);
        EXPECT_EQ(calls[0].result, 1);
        switch (c.delivered) {
        case Delivered::HereFromTheLoop:
            EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
            break;
        case Delivered::OnTheCompletingThread:
            EXPECT_EQ(calls[0].thread, completing);
            EXPECT_EQ(calls[0].apartment, APTTYPE_MTA);
            break;
        default:
            EXPECT_NE(calls[0].thread, GetCurrentThreadId());
            EXPECT_NE(calls[0].thread, registering);
            EXPECT_EQ(calls[0].apartment, APTTYPE_MTA);
            break;
        }
    }
}

}  // namespace
