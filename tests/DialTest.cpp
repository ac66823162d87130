// The radial controller as a host uses it: lifecycle, the seven input events
// and their geometry, the window binding, and failures.
#include "DialTestSupport.h"

#include <functional>
#include <thread>

namespace {

using dialtest::DialTest;
using dialtest::Hits;
using sim::DialEvent;

// ---- Lifecycle ----------------------------------------------------------------

TEST_F(DialTest, IsAvailable_AnswersTheSystemAndZeroOnAnyFailure) {
    struct Case {
        const char* name;
        bool supported;
        HRESULT fault;
        BOOL expected;
    };
    const Case cases[] = {
        {"supported", true, S_OK, 1},
        {"not supported", false, S_OK, 0},
        {"IsSupported fails", true, E_ACCESSDENIED, 0},
        {"class absent", true, REGDB_E_CLASSNOTREG, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Reset();
        sim::SetFileLoadCompletion(sim::FileLoadCompletion::Manual);
        sim::SetRadialControllerSupported(c.supported);
        // The statics factory is cached once agile, so "class absent" is the
        // call failing the way an absent class makes it fail.
        if (c.fault < 0) sim::FailNext("IRadialControllerStatics.IsSupported", 2, c.fault);
        EXPECT_EQ(WinRTDialIsAvailable(), c.expected);
        EXPECT_EQ(WinRTDialIntialize(), c.expected ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(WinRTDialTerminate(), S_OK);
    }
}

TEST_F(DialTest, Intialize_WithoutSupportReturnsNoInterfaceAndKeepsTheDispatcher) {
    sim::SetRadialControllerSupported(false);
    ASSERT_EQ(dialtest::DispatcherWindowsOfThisThread(), 0);
    EXPECT_EQ(WinRTDialIntialize(), E_NOINTERFACE);
    EXPECT_EQ(dialtest::DispatcherWindowsOfThisThread(), 1);
    // A second call finds the dispatcher and only repeats the answer.
    EXPECT_EQ(WinRTDialIntialize(), E_NOINTERFACE);
    EXPECT_EQ(dialtest::DispatcherWindowsOfThisThread(), 1);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    EXPECT_EQ(dialtest::DispatcherWindowsOfThisThread(), 0);
    // After termination a new one is made.
    sim::SetRadialControllerSupported(true);
    EXPECT_EQ(WinRTDialIntialize(), S_OK);
    EXPECT_EQ(dialtest::DispatcherWindowsOfThisThread(), 1);
}

TEST_F(DialTest, Terminate_WithoutAnythingReturnsZero) {
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    EXPECT_EQ(sim::RadialControllersCreated(), 0);
}

TEST_F(DialTest, Create_BindsAControllerAndTheConfigurationToTheWindow) {
    _WinRTDial* dial = Create();
    ASSERT_NE(dial, nullptr);
    EXPECT_EQ(sim::RadialControllersCreated(), 1);
    EXPECT_EQ(sim::RadialControllerWindow(1), window_);
    EXPECT_EQ(sim::LastConfigurationWindow(), window_);
    EXPECT_EQ(sim::AppController(), 1);
    EXPECT_TRUE(sim::IsAppControllerEnabled());

    // Any window handle is passed through as given.
    const HWND fake = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    _WinRTDial* second = nullptr;
    EXPECT_EQ(WinRTDialCreate(fake, &second), S_OK);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, dial);
    EXPECT_EQ(sim::RadialControllerWindow(2), fake);
    EXPECT_EQ(sim::LastConfigurationWindow(), fake);
    EXPECT_EQ(sim::AppController(), 2);

    // Refusals of the AppController settings leave a working dial.
    sim::FailNext("IRadialControllerConfigurationStatics2.put_AppController", 1, E_ACCESSDENIED);
    sim::FailNext("IRadialControllerConfigurationStatics2.put_IsAppControllerEnabled", 1, E_ACCESSDENIED);
    _WinRTDial* third = nullptr;
    EXPECT_EQ(WinRTDialCreate(window_, &third), S_OK);
    EXPECT_NE(third, nullptr);

    // A null address for the handle is refused before anything is made.
    EXPECT_EQ(WinRTDialCreate(window_, nullptr), E_FAIL);
    EXPECT_EQ(sim::RadialControllersCreated(), 3);
    expectedSurvivors_ += 3 * dialtest::kKeptPerDial;
}

TEST_F(DialTest, Create_WhoseSetUpYieldsFalse_ReturnsNullAndLeavesNoDialCurrent) {
    struct Case {
        const char* name;
        void (*disable)(bool);
        long controllersMade;   // by the failing set-up
        long configurationsMade;
    };
    const Case cases[] = {
        {"no controller interop", sim::SetRadialControllerInteropPresent, 0, 0},
        {"no configuration interop", sim::SetConfigurationInteropPresent, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        _WinRTDial* first = Create();
        ASSERT_EQ(WinRTDialSetControlLostHandler(first, dialtest::NotifyA), S_OK);
        c.disable(false);
        _WinRTDial* dial = reinterpret_cast<_WinRTDial*>(this);  // must be overwritten
        EXPECT_EQ(WinRTDialCreate(window_, &dial), S_OK);
        EXPECT_EQ(dial, nullptr);
        c.disable(true);
        // The first dial is gone: its controller still raises, nobody listens.
        Hits::Reset();
        long called = 0;
        EXPECT_EQ(sim::RaiseDialEvent(DialEvent::ControlLost, {}, sim::RadialControllersCreated() - c.controllersMade,
                                      &called),
                  S_OK);
        EXPECT_EQ(called, 1);
        EXPECT_EQ(Hits::a, 0);
        expectedSurvivors_ += dialtest::kKeptPerDial + 2 * c.controllersMade + c.configurationsMade;
    }
}

TEST_F(DialTest, Create_FailureLeavesTheCurrentDialAndTheHandle) {
    struct Case {
        const char* member;
        HRESULT fault;
        HRESULT expected;
        long controllersMade;
    };
    // The window-interop steps originate their failures and report them as
    // they are, an out-of-memory code included.
    const Case cases[] = {
        {"Windows.UI.Input.RadialController", E_ACCESSDENIED, E_ACCESSDENIED, 0},
        {"IRadialControllerInterop.CreateForWindow", E_ACCESSDENIED, E_ACCESSDENIED, 0},
        {"Windows.UI.Input.RadialControllerConfiguration", E_INVALIDARG, E_INVALIDARG, 1},
        {"IRadialControllerConfigurationInterop.GetForWindow", E_OUTOFMEMORY, E_OUTOFMEMORY, 1},
    };
    _WinRTDial* current = Create();
    ASSERT_EQ(WinRTDialSetControlLostHandler(current, dialtest::NotifyA), S_OK);
    expectedSurvivors_ += dialtest::kKeptPerDial;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        const long before = sim::RadialControllersCreated();
        sim::FailNext(c.member, 1, c.fault);
        _WinRTDial* dial = reinterpret_cast<_WinRTDial*>(this);
        EXPECT_EQ(WinRTDialCreate(window_, &dial), c.expected);
        EXPECT_EQ(dial, reinterpret_cast<_WinRTDial*>(this));
        EXPECT_EQ(sim::RadialControllersCreated(), before + c.controllersMade);
        expectedSurvivors_ += 2 * c.controllersMade;
        // The first dial is still the current one.
        Hits::Reset();
        EXPECT_EQ(sim::RaiseDialEvent(DialEvent::ControlLost, {}, 1), S_OK);
        EXPECT_EQ(Hits::a, 1);
    }
}

// ---- Handler registration ------------------------------------------------------

// One row per setter: which callback to set (0 none, 1 A, 2 B) and how the
// runtime names the event's members.
struct SetterCase {
    const char* name;
    DialEvent event;
    const char* add;
    const char* remove;
    std::function<HRESULT(_WinRTDial*, int)> set;
};

std::vector<SetterCase> SetterCases() {
    using namespace dialtest;
    auto contact = [](HRESULT (*setter)(_WinRTDial*, DialContactHandler)) {
        return [setter](_WinRTDial* d, int which) {
            return setter(d, which == 0 ? nullptr : which == 1 ? ContactA : ContactB);
        };
    };
    auto notify = [](HRESULT (*setter)(_WinRTDial*, DialNotifyHandler)) {
        return [setter](_WinRTDial* d, int which) {
            return setter(d, which == 0 ? nullptr : which == 1 ? NotifyA : NotifyB);
        };
    };
    return {
        {"RotationChanged", DialEvent::RotationChanged, "IRadialController.add_RotationChanged",
         "IRadialController.remove_RotationChanged",
         [](_WinRTDial* d, int which) {
             return WinRTDialSetRotationChangedHandler(d, which == 0 ? nullptr : which == 1 ? RotationA : RotationB);
         }},
        {"ButtonPressed", DialEvent::ButtonPressed, "IRadialController2.add_ButtonPressed",
         "IRadialController2.remove_ButtonPressed", contact(WinRTDialSetButtonPressedHandler)},
        {"ScreenContactStarted", DialEvent::ScreenContactStarted, "IRadialController.add_ScreenContactStarted",
         "IRadialController.remove_ScreenContactStarted", contact(WinRTDialSetScreenContactStartedHandler)},
        {"ScreenContactContinued", DialEvent::ScreenContactContinued, "IRadialController.add_ScreenContactContinued",
         "IRadialController.remove_ScreenContactContinued", contact(WinRTDialSetScreenContactContinuedHandler)},
        {"ScreenContactEnded", DialEvent::ScreenContactEnded, "IRadialController.add_ScreenContactEnded",
         "IRadialController.remove_ScreenContactEnded", notify(WinRTDialSetScreenContactEndedHandler)},
        {"ControlAcquired", DialEvent::ControlAcquired, "IRadialController.add_ControlAcquired",
         "IRadialController.remove_ControlAcquired", contact(WinRTDialSetControlAcquiredHandler)},
        {"ControlLost", DialEvent::ControlLost, "IRadialController.add_ControlLost",
         "IRadialController.remove_ControlLost", notify(WinRTDialSetControlLostHandler)},
    };
}

TEST_F(DialTest, Setters_RegisterOncePerSlotAndRemoveOnNull) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += dialtest::kKeptPerDial;
    for (const auto& c : SetterCases()) {
        SCOPED_TRACE(c.name);
        // Clearing a callback that was never set asks the runtime to remove
        // token 0, and its answer is the result; the slot stays as it was.
        sim::FailNext(c.remove, 1, E_ACCESSDENIED);
        EXPECT_EQ(c.set(dial, 0), E_ACCESSDENIED);
        EXPECT_EQ(c.set(dial, 0), S_OK);
        EXPECT_EQ(sim::Calls(c.remove), 2);

        // A failed registration stores nothing.
        sim::FailNext(c.add, 1, E_ACCESSDENIED);
        EXPECT_EQ(c.set(dial, 1), E_ACCESSDENIED);
        Hits::Reset();
        EXPECT_EQ(sim::RaiseDialEvent(c.event, {}), S_OK);
        EXPECT_EQ(Hits::a + Hits::b, 0);

        // The same callback twice registers once.
        EXPECT_EQ(c.set(dial, 1), S_OK);
        EXPECT_EQ(c.set(dial, 1), S_OK);
        EXPECT_EQ(sim::Calls(c.add), 2);
        EXPECT_EQ(sim::DialEventHandlers(c.event), 1);
        EXPECT_EQ(sim::RaiseDialEvent(c.event, {}), S_OK);
        EXPECT_EQ(Hits::a, 1);

        // Another callback keeps the one registration; the event reaches it.
        EXPECT_EQ(c.set(dial, 2), S_OK);
        EXPECT_EQ(sim::Calls(c.add), 2);
        EXPECT_EQ(sim::DialEventHandlers(c.event), 1);
        EXPECT_EQ(sim::RaiseDialEvent(c.event, {}), S_OK);
        EXPECT_EQ(Hits::a, 1);
        EXPECT_EQ(Hits::b, 1);

        // A failed removal keeps the registration and the callback.
        sim::FailNext(c.remove, 1, E_ACCESSDENIED);
        EXPECT_EQ(c.set(dial, 0), E_ACCESSDENIED);
        EXPECT_EQ(sim::RaiseDialEvent(c.event, {}), S_OK);
        EXPECT_EQ(Hits::b, 2);

        // Clearing removes the registration; a later set registers anew.
        EXPECT_EQ(c.set(dial, 0), S_OK);
        EXPECT_EQ(sim::DialEventHandlers(c.event), 0);
        EXPECT_EQ(sim::RaiseDialEvent(c.event, {}), S_OK);
        EXPECT_EQ(Hits::b, 2);
        EXPECT_EQ(c.set(dial, 1), S_OK);
        EXPECT_EQ(sim::DialEventHandlers(c.event), 1);
        EXPECT_EQ(c.set(dial, 0), S_OK);
    }
}

TEST_F(DialTest, ButtonPressed_WithoutTheControllersSecondInterfaceIsNoInterface) {
    sim::SetRadialController2Present(false);
    _WinRTDial* dial = Create();
    expectedSurvivors_ += dialtest::kKeptPerDial;
    EXPECT_EQ(WinRTDialSetButtonPressedHandler(dial, dialtest::ContactA), E_NOINTERFACE);
    EXPECT_EQ(WinRTDialSetButtonPressedHandler(dial, nullptr), E_NOINTERFACE);
    // The other events do not need it.
    EXPECT_EQ(WinRTDialSetScreenContactStartedHandler(dial, dialtest::ContactA), S_OK);
}

TEST_F(DialTest, NullHandle_ReturnsZeroAndDoesNothing) {
    uint32_t sentinel = 77;
    const std::pair<const char*, std::function<HRESULT()>> calls[] = {
        {"SetRotationResolution", [] { return WinRTDialSetRotationResolution(nullptr, 5.0f); }},
        {"SetRotationChangedHandler", [] { return WinRTDialSetRotationChangedHandler(nullptr, dialtest::RotationA); }},
        {"SetButtonPressedHandler", [] { return WinRTDialSetButtonPressedHandler(nullptr, nullptr); }},
        {"SetScreenContactStartedHandler", [] { return WinRTDialSetScreenContactStartedHandler(nullptr, dialtest::ContactA); }},
        {"SetScreenContactContinuedHandler", [] { return WinRTDialSetScreenContactContinuedHandler(nullptr, nullptr); }},
        {"SetScreenContactEndedHandler", [] { return WinRTDialSetScreenContactEndedHandler(nullptr, dialtest::NotifyA); }},
        {"SetControlAcquiredHandler", [] { return WinRTDialSetControlAcquiredHandler(nullptr, dialtest::ContactA); }},
        {"SetControlLostHandler", [] { return WinRTDialSetControlLostHandler(nullptr, nullptr); }},
        {"GetNumberOfMenuItems", [&] { return WinRTDialGetNumberOfMenuItems(nullptr, &sentinel); }},
        {"ClearMenu", [] { return WinRTDialClearMenu(nullptr); }},
        {"AppendKnownMenuItem", [&] { return WinRTDialAppendKnownMenuItem(nullptr, nullptr, L"x", nullptr, &sentinel); }},
        {"AppendIconMenuItem", [&] { return WinRTDialAppendIconMenuItem(nullptr, L"C:\\x.png", L"x", nullptr, &sentinel); }},
        {"CommitPendingMenuAdditions", [] { return WinRTDialCommitPendingMenuAdditions(nullptr); }},
    };
    Create();  // a current dial that none of these may touch
    expectedSurvivors_ += dialtest::kKeptPerDial;
    const long requestsBefore = sim::FactoryRequests(L"Windows.UI.Input.RadialControllerMenuItem");
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        EXPECT_EQ(call(), S_OK);
        EXPECT_EQ(sentinel, 77u);
    }
    EXPECT_EQ(sim::FactoryRequests(L"Windows.UI.Input.RadialControllerMenuItem"), requestsBefore);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    EXPECT_EQ(sim::MenuItemCount(), 0);
    EXPECT_EQ(sim::DialEventHandlers(DialEvent::RotationChanged), 0);
}

// ---- Event delivery ------------------------------------------------------------

TEST_F(DialTest, ContactGeometry_TruncatesTowardZero) {
    struct Case {
        const char* name;
        sim::DialEventData data;
        POINT point;
        RECT bounds;
    };
    auto contact = [](float px, float py, float x, float y, float w, float h) {
        sim::DialEventData d;
        d.positionX = px, d.positionY = py, d.boundsX = x, d.boundsY = y, d.boundsWidth = w, d.boundsHeight = h;
        return d;
    };
    sim::DialEventData none;
    none.hasContact = false;
    none.positionX = 5, none.boundsWidth = 9;
    const Case cases[] = {
        {"fractions", contact(10.9f, -3.7f, 1.5f, -2.5f, 2.6f, 1.0f), {10, -3}, {1, -2, 4, -1}},
        // 0.1f + 0.9f is exactly 1 in single precision (just under 1 in double).
        {"single-precision sum", contact(0.0f, 0.0f, 0.1f, 0.2f, 0.9f, 0.8f), {0, 0}, {0, 0, 1, 1}},
        {"negative edges", contact(-0.5f, -1.99f, -10.7f, -20.2f, 0.4f, 0.1f), {0, -1}, {-10, -20, -10, -20}},
        {"whole numbers", contact(100.0f, 200.0f, 50.0f, 60.0f, 30.0f, 40.0f), {100, 200}, {50, 60, 80, 100}},
        {"no contact", none, {0, 0}, {0, 0, 0, 0}},
    };
    _WinRTDial* dial = Create();
    expectedSurvivors_ += dialtest::kKeptPerDial;
    ASSERT_EQ(WinRTDialSetRotationChangedHandler(dial, dialtest::RotationA), S_OK);
    ASSERT_EQ(WinRTDialSetButtonPressedHandler(dial, dialtest::ContactA), S_OK);
    ASSERT_EQ(WinRTDialSetScreenContactStartedHandler(dial, dialtest::ContactA), S_OK);
    ASSERT_EQ(WinRTDialSetScreenContactContinuedHandler(dial, dialtest::ContactA), S_OK);
    ASSERT_EQ(WinRTDialSetControlAcquiredHandler(dial, dialtest::ContactA), S_OK);
    const DialEvent events[] = {DialEvent::RotationChanged, DialEvent::ButtonPressed, DialEvent::ScreenContactStarted,
                                DialEvent::ScreenContactContinued, DialEvent::ControlAcquired};
    for (const auto& c : cases) {
        for (DialEvent event : events) {
            SCOPED_TRACE(testing::Message() << c.name << ", event " << static_cast<int>(event));
            Hits::Reset();
            EXPECT_EQ(sim::RaiseDialEvent(event, c.data), S_OK);
            ASSERT_EQ(Hits::a, 1);
            EXPECT_EQ(Hits::point.x, c.point.x);
            EXPECT_EQ(Hits::point.y, c.point.y);
            EXPECT_EQ(Hits::bounds.left, c.bounds.left);
            EXPECT_EQ(Hits::bounds.top, c.bounds.top);
            EXPECT_EQ(Hits::bounds.right, c.bounds.right);
            EXPECT_EQ(Hits::bounds.bottom, c.bounds.bottom);
        }
    }
}

TEST_F(DialTest, Rotation_DeliversDeltaAndButtonOnTheRaisingThread) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += dialtest::kKeptPerDial;
    ASSERT_EQ(WinRTDialSetRotationChangedHandler(dial, dialtest::RotationA), S_OK);
    ASSERT_EQ(WinRTDialSetControlLostHandler(dial, dialtest::NotifyA), S_OK);
    for (bool otherThread : {false, true}) {
        SCOPED_TRACE(otherThread ? "runtime thread" : "host thread");
        sim::DialEventData data;
        data.rotationDeltaInDegrees = -12.25;
        data.isButtonPressed = true;
        data.onOtherThread = otherThread;
        Hits::Reset();
        EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, data), S_OK);
        ASSERT_EQ(Hits::a, 1);
        EXPECT_EQ(Hits::delta, -12.25f);
        EXPECT_EQ(Hits::pressed, 1u);
        EXPECT_EQ(Hits::thread == GetCurrentThreadId(), !otherThread);
        data.isButtonPressed = false;
        EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, data), S_OK);
        EXPECT_EQ(Hits::pressed, 0u);
        EXPECT_EQ(sim::RaiseDialEvent(DialEvent::ControlLost, data), S_OK);
        EXPECT_EQ(Hits::a, 3);
        EXPECT_EQ(Hits::thread == GetCurrentThreadId(), !otherThread);
    }
}

TEST_F(DialTest, ReadingTheArgumentsFails_NoCallbackAndTheRuntimeGetsTheHresult) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += dialtest::kKeptPerDial;
    ASSERT_EQ(WinRTDialSetRotationChangedHandler(dial, dialtest::RotationA), S_OK);
    ASSERT_EQ(WinRTDialSetScreenContactStartedHandler(dial, dialtest::ContactA), S_OK);

    // An older system's rotation arguments lack the second interface.
    sim::DialEventData data;
    data.rotationArgs2 = false;
    Hits::Reset();
    EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, data), E_NOINTERFACE);
    EXPECT_EQ(Hits::a, 0);

    const std::pair<DialEvent, const char*> faults[] = {
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs2.get_IsButtonPressed"},
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs.get_RotationDeltaInDegrees"},
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs.get_Contact"},
        {DialEvent::RotationChanged, "IRadialControllerScreenContact.get_Bounds"},
        {DialEvent::ScreenContactStarted, "IRadialControllerScreenContactStartedEventArgs.get_Contact"},
        {DialEvent::ScreenContactStarted, "IRadialControllerScreenContact.get_Position"},
    };
    for (const auto& [event, member] : faults) {
        SCOPED_TRACE(member);
        sim::FailNext(member, 1, E_ACCESSDENIED);
        EXPECT_EQ(sim::RaiseDialEvent(event, {}), E_ACCESSDENIED);
        EXPECT_EQ(Hits::a, 0);
    }
    // An out-of-memory failure goes back to the runtime as it is.
    sim::FailNext("IRadialControllerScreenContactStartedEventArgs.get_Contact", 1, E_OUTOFMEMORY);
    EXPECT_EQ(sim::RaiseDialEvent(DialEvent::ScreenContactStarted, {}), E_OUTOFMEMORY);
    EXPECT_EQ(Hits::a, 0);
}

TEST_F(DialTest, EventsAfterReplacementOrTerminate_CallNothing) {
    _WinRTDial* first = Create();
    ASSERT_EQ(WinRTDialSetRotationChangedHandler(first, dialtest::RotationA), S_OK);
    ASSERT_EQ(WinRTDialSetControlLostHandler(first, dialtest::NotifyA), S_OK);
    _WinRTDial* second = Create();
    ASSERT_EQ(WinRTDialSetRotationChangedHandler(second, dialtest::RotationB), S_OK);
    expectedSurvivors_ += 2 * dialtest::kKeptPerDial;

    Hits::Reset();
    long called = 0;
    // The replaced dial's registrations stay on its controller; they find nothing to do.
    EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, {}, 1, &called), S_OK);
    EXPECT_EQ(called, 1);
    EXPECT_EQ(sim::RaiseDialEvent(DialEvent::ControlLost, {}, 1), S_OK);
    EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, {}, 2), S_OK);
    EXPECT_EQ(Hits::a, 0);
    EXPECT_EQ(Hits::b, 1);

    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    sim::DialEventData onRuntimeThread;
    onRuntimeThread.onOtherThread = true;
    EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, onRuntimeThread, 2, &called), S_OK);
    EXPECT_EQ(called, 1);
    EXPECT_EQ(Hits::b, 1);
}

TEST_F(DialTest, RotationResolution_PassesTheRuntimesAnswer) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += dialtest::kKeptPerDial;
    EXPECT_EQ(WinRTDialSetRotationResolution(dial, 2.5f), S_OK);
    EXPECT_EQ(sim::RotationResolution(0), 2.5);
    // The library checks no range; the runtime refuses what it refuses.
    EXPECT_EQ(WinRTDialSetRotationResolution(dial, -1.0f), E_INVALIDARG);
    EXPECT_EQ(sim::RotationResolution(0), 2.5);
    // A runtime failure keeps its code, except out of memory, which is E_FAIL
    // in this family.
    sim::FailNext("IRadialController.put_RotationResolutionInDegrees", 1, E_ACCESSDENIED);
    EXPECT_EQ(WinRTDialSetRotationResolution(dial, 1.0f), E_ACCESSDENIED);
    sim::FailNext("IRadialController.put_RotationResolutionInDegrees", 1, E_OUTOFMEMORY);
    EXPECT_EQ(WinRTDialSetRotationResolution(dial, 1.0f), E_FAIL);
    sim::FailNext("IRadialController.add_ControlLost", 1, E_OUTOFMEMORY);
    EXPECT_EQ(WinRTDialSetControlLostHandler(dial, dialtest::NotifyA), E_FAIL);
}

}  // namespace
