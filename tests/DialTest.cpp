// The radial controller as a host uses it: lifecycle, the seven input events
// and their geometry, and failures.
#include "DialTestSupport.h"

#include <cstddef>
#include <functional>
#include <tuple>

namespace {

using namespace dialtest;
using sim::DialEvent;

TEST_F(DialTest, Intialize_WithoutSupportReturnsNoInterfaceAndKeepsTheDispatcher) {
    // Message-only "Static" windows of this thread. Other processes' windows
    // come and go meanwhile, and a walk whose window went ends early: again.
    auto dispatcherWindows = [] {
        for (;;) {
            int count = 0;
            HWND w = nullptr;
            for (HWND next; (next = FindWindowExW(HWND_MESSAGE, w, L"Static", nullptr)); w = next)
                count += GetWindowThreadProcessId(next, nullptr) == GetCurrentThreadId();
            if (!w || IsWindow(w)) return count;
        }
    };
    EXPECT_EQ(WinRTDialTerminate(), S_OK);  // with nothing to terminate
    sim::SetRadialControllerSupported(false);
    EXPECT_EQ(WinRTDialIsAvailable(), FALSE);
    EXPECT_EQ(WinRTDialIntialize(), E_NOINTERFACE);
    EXPECT_EQ(WinRTDialIntialize(), E_NOINTERFACE);
    EXPECT_EQ(dispatcherWindows(), 1);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    EXPECT_EQ(dispatcherWindows(), 0);
}

// Each event's setter: it sets no callback (0), the "A" callback (1) or the "B" one (2).
#define SETTER(event, a, b)                                                                              \
    {DialEvent::event, #event,                                                                           \
     [](_WinRTDial* d, int which) { return WinRTDialSet##event##Handler(d, which ? which == 1 ? a : b : nullptr); }}
const std::tuple<DialEvent, const char*, HRESULT (*)(_WinRTDial*, int)> kSetters[] = {
    SETTER(RotationChanged, RotationA, RotationB),        SETTER(ButtonPressed, ContactA, ContactB),
    SETTER(ScreenContactStarted, ContactA, ContactB),     SETTER(ScreenContactContinued, ContactA, ContactB),
    SETTER(ScreenContactEnded, NotifyA, NotifyB),         SETTER(ControlAcquired, ContactA, ContactB),
    SETTER(ControlLost, NotifyA, NotifyB),
};
#undef SETTER

TEST_F(DialTest, Setters_RegisterOncePerSlotAndRemoveOnNull) {
    _WinRTDial* dial = Create();
    for (const auto& [event, name, set] : kSetters) {
        SCOPED_TRACE(name);
        const std::string member = event == DialEvent::ButtonPressed ? "IRadialController2." : "IRadialController.";
        const std::string add = member + "add_" + name, remove = member + "remove_" + name;
        // Clearing a callback never set removes token 0 and answers what the runtime answered.
        sim::FailNext(remove, 1, E_ACCESSDENIED);
        EXPECT_EQ(set(dial, 0), E_ACCESSDENIED);
        // The same callback twice registers once; another callback keeps that registration.
        Hits::Reset();
        EXPECT_EQ(set(dial, 1), S_OK);
        EXPECT_EQ(set(dial, 1), S_OK);
        EXPECT_EQ(sim::RaiseDialEvent(event, {}), S_OK);
        EXPECT_EQ(set(dial, 2), S_OK);
        EXPECT_EQ(sim::RaiseDialEvent(event, {}), S_OK);
        EXPECT_EQ(sim::Calls(add), 1);
        EXPECT_EQ(std::tie(Hits::a, Hits::b), std::tuple(1, 1));
        EXPECT_EQ(set(dial, 0), S_OK);
        EXPECT_EQ(sim::Calls(remove), 2);
        EXPECT_EQ(sim::DialEventHandlers(event), 0);
    }
    // Without the controller's second interface there is no button event to register.
    sim::SetRadialController2Present(false);
    EXPECT_EQ(WinRTDialSetButtonPressedHandler(Create(), ContactA), E_NOINTERFACE);
    expectedSurvivors_ += 2 * kKeptPerDial;
}

TEST_F(DialTest, Events_TruncateGeometryAndRunOnTheRaisingThread) {
    auto contact = [](bool has, float px, float py, float x, float y, float w, float h) {
        sim::DialEventData d;
        d.hasContact = has, d.positionX = px, d.positionY = py, d.boundsX = x, d.boundsY = y;
        d.boundsWidth = w, d.boundsHeight = h, d.rotationDeltaInDegrees = -12.25;
        return d;
    };
    const std::tuple<sim::DialEventData, POINT, RECT> cases[] = {
        {contact(true, 10.9f, -3.7f, 1.5f, -2.5f, 2.6f, 1.0f), {10, -3}, {1, -2, 4, -1}},
        // 0.1f + 0.9f is exactly 1 in single precision (just under 1 in double).
        {contact(true, 0.0f, 0.0f, 0.1f, 0.2f, 0.9f, 0.8f), {0, 0}, {0, 0, 1, 1}},
        {contact(false, 5, 5, 5, 5, 9, 9), {0, 0}, {0, 0, 0, 0}},
    };
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    for (const auto& [event, name, set] : kSetters) ASSERT_EQ(set(dial, 1), S_OK);
    for (const auto& [data, point, bounds] : cases) {
        for (const auto& [event, name, set] : kSetters) {
            for (bool pressed : {false, true}) {
                SCOPED_TRACE(testing::Message() << name << " at " << data.positionX << ", pressed " << pressed);
                sim::DialEventData raised = data;
                raised.isButtonPressed = pressed;
                Hits::Reset();
                EXPECT_EQ(sim::RaiseDialEvent(event, raised), S_OK);
                ASSERT_EQ(Hits::a, 1);
                // Synchronously on the runtime's thread, never moved to the host's.
                EXPECT_TRUE(Hits::onRuntimeThread);
                if (event == DialEvent::ScreenContactEnded || event == DialEvent::ControlLost) continue;
                EXPECT_EQ(std::tie(Hits::point.x, Hits::point.y), std::tie(point.x, point.y));
                EXPECT_EQ(std::tie(Hits::bounds.left, Hits::bounds.top, Hits::bounds.right, Hits::bounds.bottom),
                          std::tie(bounds.left, bounds.top, bounds.right, bounds.bottom));
                if (event != DialEvent::RotationChanged) continue;
                EXPECT_EQ(Hits::delta, -12.25f);
                EXPECT_EQ(Hits::pressed, pressed ? 1u : 0u);
            }
        }
    }
}

// The failure goes back to the runtime and the host hears nothing.
TEST_F(DialTest, Events_ArgumentsThatCannotBeReadCallNothing) {
    const std::pair<DialEvent, const char*> cases[] = {
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs2.get_IsButtonPressed"},
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs.get_RotationDeltaInDegrees"},
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs.get_Contact"},
        {DialEvent::ButtonPressed, "IRadialControllerButtonPressedEventArgs.get_Contact"},
        {DialEvent::ScreenContactStarted, "IRadialControllerScreenContactStartedEventArgs.get_Contact"},
        {DialEvent::ScreenContactContinued, "IRadialControllerScreenContactContinuedEventArgs.get_Contact"},
        {DialEvent::ControlAcquired, "IRadialControllerControlAcquiredEventArgs.get_Contact"},
        {DialEvent::ControlAcquired, "IRadialControllerScreenContact.get_Position"},
        {DialEvent::ScreenContactStarted, "IRadialControllerScreenContact.get_Bounds"},
    };
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    for (const auto& [event, name, set] : kSetters) ASSERT_EQ(set(dial, 1), S_OK);
    for (const auto& [event, member] : cases) {
        Hits::Reset();
        sim::FailNext(member, 1, E_ACCESSDENIED);
        EXPECT_EQ(sim::RaiseDialEvent(event, {}), E_ACCESSDENIED) << member;
        EXPECT_EQ(Hits::a, 0) << member;
    }
    sim::DialEventData older;  // an older system's rotation arguments lack the second interface
    older.rotationArgs2 = false;
    EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, older), E_NOINTERFACE);
    EXPECT_EQ(Hits::a, 0);
}

// A null handle reaches no dial, not even the current one: S_OK, nothing
// written, nothing asked of the runtime, no id taken. A null out-pointer with
// a dial is refused before any work.
TEST_F(DialTest, NullHandle_EveryExportSucceedsAndTouchesNothing) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    const std::wstring icon = L"C:\\queued.png";  // queued only, never loaded
    uint32_t before = 0, after = 0, untouched = 55;
    ASSERT_EQ(WinRTDialAppendIconMenuItem(dial, icon.c_str(), L"queued", NotifyA, &before), S_OK);
    std::vector<HRESULT> results = {
        WinRTDialSetRotationResolution(nullptr, 1.0f),
        WinRTDialGetNumberOfMenuItems(nullptr, &untouched),
        WinRTDialClearMenu(nullptr),
        WinRTDialAppendKnownMenuItem(nullptr, nullptr, L"x", NotifyA, &untouched),
        WinRTDialAppendIconMenuItem(nullptr, icon.c_str(), L"x", NotifyA, &untouched),
        WinRTDialCommitPendingMenuAdditions(nullptr),
    };
    for (const auto& [event, name, set] : kSetters) {
        results.push_back(set(nullptr, 1));
        results.push_back(set(nullptr, 0));
        EXPECT_EQ(sim::DialEventHandlers(event), 0) << name;
        const char* source = event == DialEvent::ButtonPressed ? "IRadialController2" : "IRadialController";
        EXPECT_EQ(sim::Calls(std::string(source) + ".remove_" + name), 0) << name;
    }
    for (HRESULT hr : results) EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(untouched, 55u);
    EXPECT_EQ(sim::RotationResolution(0), 10.0);  // the system's default
    EXPECT_EQ(sim::Calls("IVector<RadialControllerMenuItem>.Clear"), 0);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    // With a dial, a null out-pointer fails before an id is taken.
    EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, nullptr), E_FAIL);
    EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, nullptr, L"x", nullptr, nullptr), E_FAIL);
    EXPECT_EQ(WinRTDialAppendIconMenuItem(dial, icon.c_str(), L"x", nullptr, nullptr), E_FAIL);
    EXPECT_EQ(sim::MenuItemCount(), 0);
    ASSERT_EQ(WinRTDialAppendIconMenuItem(dial, icon.c_str(), L"next", nullptr, &after), S_OK);
    EXPECT_EQ(after, before + 1);
}

// Every dial gets a controller and a configuration for its window through the
// window-interop factories, which are asked for anew each time; its
// controller becomes the app controller. The resolution is widened to double.
TEST_F(DialTest, Create_BindsTheWindowThroughFreshInteropFactories) {
    const std::wstring controllerClass = L"Windows.UI.Input.RadialController";
    const std::wstring configurationClass = L"Windows.UI.Input.RadialControllerConfiguration";
    for (long created = 1; created <= 2; ++created) {
        _WinRTDial* dial = Create();
        expectedSurvivors_ += kKeptPerDial;
        EXPECT_EQ(sim::FactoryRequests(controllerClass), created);
        EXPECT_EQ(sim::FactoryRequests(configurationClass), 2 * created);
        EXPECT_EQ(sim::RadialControllerWindow(created), window_);
        EXPECT_EQ(sim::LastConfigurationWindow(), window_);
        EXPECT_EQ(sim::AppController(), created);
        EXPECT_TRUE(sim::IsAppControllerEnabled());
        const struct {
            float degrees;
            HRESULT result;
            double stored;
        } resolutions[] = {{0.1f, S_OK, double(0.1f)}, {-1.0f, E_INVALIDARG, double(0.1f)}, {22.5f, S_OK, 22.5}};
        for (const auto& r : resolutions) {
            EXPECT_EQ(WinRTDialSetRotationResolution(dial, r.degrees), r.result) << r.degrees;
            EXPECT_EQ(sim::RotationResolution(created), r.stored) << r.degrees;
        }
    }
}

TEST_F(DialTest, LosingTheCurrentDial_ItsEventsMenuAndIconLoadsReachNothing) {
    enum class Loss { Replaced, NoControllerInterop, NoConfigurationInterop, Terminated };
    TempFiles files;
    const std::wstring icon = files.Make(L"late.png");
    for (Loss loss : {Loss::Replaced, Loss::NoControllerInterop, Loss::NoConfigurationInterop, Loss::Terminated}) {
        SCOPED_TRACE(static_cast<int>(loss));
        _WinRTDial* first = Create();
        const long firstController = sim::RadialControllersCreated();
        uint32_t id = 0;
        for (const auto& [event, name, set] : kSetters) ASSERT_EQ(set(first, 1), S_OK);
        ASSERT_EQ(WinRTDialAppendKnownMenuItem(first, nullptr, L"known", NotifyA, &id), S_OK);
        ASSERT_EQ(sim::InvokeMenuItem(firstController, 0), S_OK);  // the addition's echo
        ASSERT_EQ(WinRTDialAppendIconMenuItem(first, icon.c_str(), L"late", NotifyA, &id), S_OK);
        ASSERT_EQ(WinRTDialCommitPendingMenuAdditions(first), S_OK);
        expectedSurvivors_ += kKeptPerDial + 2;  // and the item in the menu, with its tag
        if (loss == Loss::Replaced) {
            ASSERT_EQ(WinRTDialSetRotationChangedHandler(Create(), RotationB), S_OK);
            expectedSurvivors_ += kKeptPerDial;
        } else if (loss == Loss::Terminated) {
            EXPECT_EQ(WinRTDialTerminate(), S_OK);
        } else {
            // A set-up that yields false: S_OK, a null handle, and no dial current.
            auto present = loss == Loss::NoControllerInterop ? sim::SetRadialControllerInteropPresent
                                                             : sim::SetConfigurationInteropPresent;
            present(false);
            EXPECT_EQ(WinRTDialCreate(window_, &first), S_OK);
            EXPECT_EQ(first, nullptr);
            present(true);
            // A controller made before the configuration failed stays, with its menu.
            expectedSurvivors_ += 2 * (sim::RadialControllersCreated() - firstController);
        }
        // The lost dial's registrations stay with the runtime and find nothing to do.
        Hits::Reset();
        EXPECT_EQ(CompleteLoadsOnARuntimeThread(), 1);
        EXPECT_EQ(sim::MenuItemCount(firstController), 1);
        for (const auto& [event, name, set] : kSetters) {
            long called = 0;
            EXPECT_EQ(sim::RaiseDialEvent(event, {}, firstController, &called), S_OK);
            EXPECT_EQ(called, 1);
        }
        EXPECT_EQ(sim::InvokeMenuItem(firstController, 0), S_OK);
        EXPECT_EQ(Hits::a, 0);
        EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, {}), S_OK);
        EXPECT_EQ(Hits::b, loss == Loss::Replaced ? 1 : 0);
    }
}

// A handle that is not the current dial (replaced, terminated, never a dial)
// is the null handle: every export succeeds, writes nothing, takes no id and
// reaches nothing, not even the items queued on that dial.
TEST_F(DialTest, HandlesThatAreNotTheCurrentDial_CountAsNull) {
    enum class Loss { Replaced, Terminated, NeverADial };
    TempFiles files;
    const std::wstring icon = files.Make(L"stale.png");
    alignas(std::max_align_t) static unsigned char neverADial[256];
    const char* members[] = {"IRadialController.put_RotationResolutionInDegrees",
                             "IRadialController.add_RotationChanged", "IRadialController.remove_RotationChanged",
                             "IRadialController2.remove_ButtonPressed", "IRadialControllerMenu.get_Items",
                             "IRadialControllerMenuItemStatics.CreateFromKnownIcon",
                             "IStorageFileStatics.GetFileFromPathAsync"};
    auto runtimeCalls = [&] {
        long calls = 0;
        for (const char* member : members) calls += sim::Calls(member);
        return calls;
    };
    for (Loss loss : {Loss::Replaced, Loss::Terminated, Loss::NeverADial}) {
        SCOPED_TRACE(static_cast<int>(loss));
        _WinRTDial* stale = Create();
        uint32_t lastId = 0;
        ASSERT_EQ(WinRTDialAppendIconMenuItem(stale, icon.c_str(), L"queued", NotifyA, &lastId), S_OK);
        if (loss == Loss::Replaced) Create();
        if (loss == Loss::Terminated) {
            EXPECT_EQ(WinRTDialTerminate(), S_OK);
        }
        if (loss == Loss::NeverADial) stale = reinterpret_cast<_WinRTDial*>(neverADial);
        const long callsBefore = runtimeCalls();
        uint32_t untouched = 42;
        std::vector<HRESULT> results = {
            WinRTDialSetRotationResolution(stale, 2.0f),
            WinRTDialGetNumberOfMenuItems(stale, &untouched),
            WinRTDialAppendKnownMenuItem(stale, nullptr, L"x", NotifyA, &untouched),
            WinRTDialAppendIconMenuItem(stale, icon.c_str(), L"x", NotifyA, &untouched),
            WinRTDialCommitPendingMenuAdditions(stale),
            WinRTDialClearMenu(stale),
        };
        for (const auto& [event, name, set] : kSetters) results.insert(results.end(), {set(stale, 1), set(stale, 0)});
        for (HRESULT hr : results) EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(untouched, 42u);
        EXPECT_EQ(runtimeCalls(), callsBefore);
        EXPECT_EQ(sim::FileLoadsStarted(), 0);
        uint32_t nextId = 0;
        EXPECT_EQ(WinRTDialAppendIconMenuItem(Create(), icon.c_str(), L"x", nullptr, &nextId), S_OK);
        EXPECT_EQ(nextId, lastId + 1);
    }
    expectedSurvivors_ += kKeptPerDial * sim::RadialControllersCreated();
}

// An export that another thread's WinRTDialCreate or WinRTDialTerminate
// overtakes finishes on the dial it started with, which goes only then.
TEST_F(DialTest, ExportOvertakenByReplacementOrTermination_FinishesOnTheDialItHolds) {
    const std::string creating = "IRadialControllerMenuItemStatics.CreateFromKnownIcon";
    for (bool terminate : {false, true}) {
        SCOPED_TRACE(terminate);
        _WinRTDial* dial = Create();
        const long controller = sim::RadialControllersCreated();
        HRESULT appended = E_PENDING;
        uint32_t id = 0;
        sim::HoldNext(creating);
        sim::Background append([&] { appended = WinRTDialAppendKnownMenuItem(dial, nullptr, L"late", NotifyA, &id); });
        ASSERT_TRUE(sim::WaitUntilHeld(creating));
        if (terminate) {
            EXPECT_EQ(WinRTDialTerminate(), S_OK);
        } else {
            Create();
        }
        sim::Release(creating);
        ASSERT_TRUE(append.Finish());
        EXPECT_EQ(appended, S_OK);
        EXPECT_EQ(sim::MenuItemCount(controller), 1);
        uint32_t count = 42;
        EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, &count), S_OK);
        EXPECT_EQ(count, 42u);
        expectedSurvivors_ += 2;  // the item left in that controller's menu, with its tag
    }
    expectedSurvivors_ += kKeptPerDial * sim::RadialControllersCreated();
}

// The family's failure table: a runtime failure is the result with its own
// code, except E_OUTOFMEMORY, which is E_FAIL (also where it is originated);
// and what each failure leaves behind.
TEST_F(DialTest, FailureTable_RuntimeCodesPassButOutOfMemoryIsFail) {
    TempFiles files;
    const std::wstring icon = files.Make(L"queued.png");
    auto stillCurrent = [](_WinRTDial* dial, uint32_t) {
        uint32_t count = 0;
        EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, &count), S_OK);
        EXPECT_EQ(count, 1u);
    };
    auto nothingLeft = [](_WinRTDial*, uint32_t) {};
    HWND window = window_;
    auto create = [window](_WinRTDial* dial) {
        _WinRTDial* handle = dial;
        HRESULT hr = WinRTDialCreate(window, &handle);
        EXPECT_EQ(handle, dial);
        return hr;
    };
    auto appendKnown = [](_WinRTDial* dial) {
        uint32_t id = 0;
        return WinRTDialAppendKnownMenuItem(dial, nullptr, L"x", NotifyB, &id);
    };
    const struct {
        const char* member;
        HRESULT injected, expected;
        std::function<HRESULT(_WinRTDial*)> act;
        std::function<void(_WinRTDial*, uint32_t lastId)> left;
    } rows[] = {
        {"IRadialControllerInterop.CreateForWindow", E_ACCESSDENIED, E_ACCESSDENIED, create, stillCurrent},
        {"IRadialControllerInterop.CreateForWindow", E_OUTOFMEMORY, E_FAIL, create, stillCurrent},
        {"IRadialControllerConfigurationInterop.GetForWindow", E_OUTOFMEMORY, E_FAIL, create, stillCurrent},
        {"Windows.UI.Input.RadialController", E_OUTOFMEMORY, E_FAIL, create, stillCurrent},
        {"IRadialController.put_RotationResolutionInDegrees", E_OUTOFMEMORY, E_FAIL,
         [](_WinRTDial* dial) { return WinRTDialSetRotationResolution(dial, 1.0f); }, nothingLeft},
        {"IRadialController.add_RotationChanged", E_ACCESSDENIED, E_ACCESSDENIED,
         [](_WinRTDial* dial) { return WinRTDialSetRotationChangedHandler(dial, RotationA); },
         [](_WinRTDial* dial, uint32_t) {  // the slot stays empty: the next set registers
             EXPECT_EQ(sim::DialEventHandlers(DialEvent::RotationChanged), 0);
             EXPECT_EQ(WinRTDialSetRotationChangedHandler(dial, RotationA), S_OK);
             EXPECT_EQ(sim::DialEventHandlers(DialEvent::RotationChanged), 1);
         }},
        {"IVector<RadialControllerMenuItem>.Clear", E_ACCESSDENIED, E_ACCESSDENIED,
         [](_WinRTDial* dial) { return WinRTDialClearMenu(dial); },
         [](_WinRTDial* dial, uint32_t) {  // callbacks and the queue are kept
             EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
             EXPECT_EQ(Hits::a, 1);
             EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
             EXPECT_EQ(CompleteLoadsOnARuntimeThread(), 2);
             EXPECT_EQ(sim::MenuItemCount(), 3);
         }},
        {"IRadialControllerMenuItemStatics.CreateFromKnownIcon", E_OUTOFMEMORY, E_FAIL, appendKnown,
         [](_WinRTDial* dial, uint32_t lastId) {  // the failed addition used up its id
             uint32_t id = 0;
             EXPECT_EQ(WinRTDialAppendIconMenuItem(dial, L"x.png", L"x", nullptr, &id), S_OK);
             EXPECT_EQ(id, lastId + 2);
         }},
        {"IVector<RadialControllerMenuItem>.Append", E_OUTOFMEMORY, E_FAIL, appendKnown, stillCurrent},
        {"IStorageFileStatics.GetFileFromPathAsync", E_ACCESSDENIED, E_ACCESSDENIED,
         [](_WinRTDial* dial) { return WinRTDialCommitPendingMenuAdditions(dial); },
         [](_WinRTDial* dial, uint32_t) {  // the record taken is lost, the other stays queued
             EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
             EXPECT_EQ(CompleteLoadsOnARuntimeThread(), 1);
             EXPECT_EQ(sim::MenuItemCount(), 2);
         }},
        {"IRadialControllerStatics.IsSupported", E_ACCESSDENIED, FALSE,
         [](_WinRTDial*) { return HRESULT(WinRTDialIsAvailable()); }, stillCurrent},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.member << " " << std::hex << row.injected);
        // A dial with one item (its selection's echo swallowed) and two queued.
        _WinRTDial* dial = Create();
        uint32_t id = 0;
        ASSERT_EQ(WinRTDialAppendKnownMenuItem(dial, nullptr, L"known", NotifyA, &id), S_OK);
        for (int i = 0; i < 2; ++i) ASSERT_EQ(WinRTDialAppendIconMenuItem(dial, icon.c_str(), L"icon", NotifyB, &id), S_OK);
        Hits::Reset();
        sim::FailNext(row.member, 1, row.injected);
        EXPECT_EQ(row.act(dial), row.expected);
        row.left(dial, id);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    }
    // The controller whose configuration failed has none.
    expectedSurvivors_ += kKeptPerDial * sim::RadialControllersCreated() - 1;
}

}  // namespace
