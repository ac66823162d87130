// The radial controller as a host uses it: lifecycle, the seven input events
// and their geometry, and failures.
#include "DialTestSupport.h"

#include <tuple>

namespace {

using namespace dialtest;
using sim::DialEvent;

TEST_F(DialTest, Intialize_WithoutSupportReturnsNoInterfaceAndKeepsTheDispatcher) {
    auto dispatcherWindows = [] {  // message-only "Static" windows of this thread
        int count = 0;
        for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, L"Static", nullptr));)
            count += GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId();
        return count;
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

TEST_F(DialTest, OutOfMemoryFromTheRuntime_IsReportedAsFail) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    sim::FailNext("IRadialController.put_RotationResolutionInDegrees", 1, E_OUTOFMEMORY);
    EXPECT_EQ(WinRTDialSetRotationResolution(dial, 1.0f), E_FAIL);
    sim::FailNext("IVector<RadialControllerMenuItem>.Append", 1, E_OUTOFMEMORY);
    uint32_t id = 0;
    EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, nullptr, L"x", nullptr, &id), E_FAIL);
    EXPECT_EQ(sim::MenuItemCount(), 0);
}

}  // namespace
