// The radial controller as a host uses it: lifecycle, the seven input events
// and their geometry, and failures.
#include "DialTestSupport.h"

#include <tuple>

namespace {

using namespace dialtest;
using sim::DialEvent;

TEST_F(DialTest, Intialize_WithoutSupportReturnsNoInterfaceAndKeepsTheDispatcher) {
    // This thread's message-only "Static" windows; a walk cut short by another process's window going is redone.
    auto dispatcherWindows = [] {
        for (int count = 0;; count = 0) {
            HWND w = nullptr;
            for (HWND next; (next = FindWindowExW(HWND_MESSAGE, w, L"Static", nullptr)); w = next)
                count += GetWindowThreadProcessId(next, nullptr) == GetCurrentThreadId();
            if (!w || IsWindow(w)) return count;
        }
    };
    sim::SetRadialControllerSupported(false);
    EXPECT_EQ(WinRTDialIsAvailable(), FALSE);
    EXPECT_EQ(WinRTDialIntialize(), E_NOINTERFACE);
    EXPECT_EQ(WinRTDialIntialize(), E_NOINTERFACE);
    EXPECT_EQ(dispatcherWindows(), 1);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    EXPECT_EQ(dispatcherWindows(), 0);
}

// Each event's setter of no callback (0), the "A" callback (1) or the "B" one (2).
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
    _WinRTDial* dial = Create(true);
    for (const auto& [event, name, set] : kSetters) {
        SCOPED_TRACE(name);
        const std::string member = event == DialEvent::ButtonPressed ? "IRadialController2." : "IRadialController.";
        // Clearing a callback never set removes token 0 and answers what the runtime answered.
        sim::FailNext(member + "remove_" + name, 1, E_ACCESSDENIED);
        EXPECT_EQ(set(dial, 0), E_ACCESSDENIED);
        // The same callback twice registers once; another callback keeps that registration.
        Hits::Reset();
        EXPECT_EQ(set(dial, 1), S_OK);
        EXPECT_EQ(set(dial, 1), S_OK);
        EXPECT_EQ(sim::RaiseDialEvent(event, {}), S_OK);
        EXPECT_EQ(set(dial, 2), S_OK);
        EXPECT_EQ(sim::RaiseDialEvent(event, {}), S_OK);
        EXPECT_EQ(sim::Calls(member + "add_" + name), 1);
        EXPECT_EQ(std::tie(Hits::a, Hits::b), std::tuple(1, 1));
        EXPECT_EQ(set(dial, 0), S_OK);
        EXPECT_EQ(sim::DialEventHandlers(event), 0);
    }
    // No button event without the controller's second interface (from build 15063; asked for on every call).
    for (const auto& [build, result] : {std::pair(14393u, E_NOINTERFACE), std::pair(15063u, S_OK)}) {
        sim::SetWindowsBuild(build);
        EXPECT_EQ(WinRTDialSetButtonPressedHandler(dial, ContactA), result) << build;
    }
}

// Input reaches the host only while one of its items is the selected tool and
// its window is in front; ControlAcquired and ControlLost follow who has control.
TEST_F(DialTest, Input_ReachesTheHostOnlyWhileItsToolIsSelectedAndItsWindowInFront) {
    host::Window other;
    ShowWindow(other, SW_SHOWNORMAL);
    _WinRTDial* dial = Create();
    ASSERT_EQ(WinRTDialSetRotationChangedHandler(dial, RotationA), S_OK);
    ASSERT_EQ(WinRTDialSetControlAcquiredHandler(dial, ContactB), S_OK);
    ASSERT_EQ(WinRTDialSetControlLostHandler(dial, NotifyB), S_OK);
    const auto front = [](HWND w) { return [w] { EXPECT_TRUE(sim::SetWindowInFront(w)); }; };
    const struct { const char* what; std::function<void()> act; long inControl; } rows[] = {
        {"the host adds an item", [&] { Known(dial); }, 1},
        {"another window in front", front(other), 0}, {"back in front", front(window_), 1},
        {"the menu cleared", [&] { EXPECT_EQ(WinRTDialClearMenu(dial), S_OK); }, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Hits::Reset();
        row.act();
        EXPECT_EQ(sim::DialControllerInControl(), row.inControl);
        EXPECT_EQ(Hits::b, 1);
        EXPECT_EQ(sim::RaiseDialEvent(DialEvent::RotationChanged, {}),
                  row.inControl ? S_OK : sim::kDialInputReachedNoApp);
        EXPECT_EQ(Hits::a, row.inControl);
    }
}

// Geometry reaches the host truncated toward zero, and each callback runs
// synchronously on the runtime's thread, never moved to the host's. Arguments
// that cannot be read (a member fails, or before build 15063 the rotation's
// lack the button state) fail back to the runtime, and the host hears nothing.
TEST_F(DialTest, Events_TruncateGeometryRunOnTheRaisingThreadAndCallNothingIfUnreadable) {
    // Delta, pressed, has a contact, position x and y, bounds x, y, width and height.
    const std::tuple<sim::DialEventData, POINT, RECT> cases[] = {
        {{-12.25, false, true, 10.9f, -3.7f, 1.5f, -2.5f, 2.6f, 1.0f}, {10, -3}, {1, -2, 4, -1}},
        // 0.1f + 0.9f is exactly 1 in single precision (just under 1 in double).
        {{-12.25, true, true, 0, 0, 0.1f, 0.2f, 0.9f, 0.8f}, {0, 0}, {0, 0, 1, 1}},
        {{-12.25, true, false, 5, 5, 5, 5, 9, 9}, {0, 0}, {0, 0, 0, 0}},
    };
    _WinRTDial* dial = Create(true);
    for (const auto& [event, name, set] : kSetters) ASSERT_EQ(set(dial, 1), S_OK);
    for (const auto& [data, point, bounds] : cases) {
        for (const auto& [event, name, set] : kSetters) {
            SCOPED_TRACE(testing::Message() << name << " at " << data.positionX);
            Hits::Reset();
            EXPECT_EQ(sim::RaiseDialEvent(event, data), S_OK);
            ASSERT_EQ(Hits::a, 1);
            EXPECT_TRUE(Hits::onRuntimeThread);
            if (event == DialEvent::ScreenContactEnded || event == DialEvent::ControlLost) continue;
            EXPECT_EQ(std::tie(Hits::point.x, Hits::point.y), std::tie(point.x, point.y));
            EXPECT_EQ(std::tie(Hits::bounds.left, Hits::bounds.top, Hits::bounds.right, Hits::bounds.bottom),
                      std::tie(bounds.left, bounds.top, bounds.right, bounds.bottom));
            if (event != DialEvent::RotationChanged) continue;
            EXPECT_EQ(Hits::delta, -12.25f);
            EXPECT_EQ(Hits::pressed, data.isButtonPressed ? 1u : 0u);
        }
    }
    const std::pair<DialEvent, const char*> unreadable[] = {
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs2.get_IsButtonPressed"},
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs.get_RotationDeltaInDegrees"},
        {DialEvent::RotationChanged, "IRadialControllerRotationChangedEventArgs.get_Contact"},
        {DialEvent::ControlAcquired, "IRadialControllerScreenContact.get_Position"},
        {DialEvent::ScreenContactStarted, "IRadialControllerScreenContact.get_Bounds"},
        {DialEvent::RotationChanged, nullptr}};  // nullptr: on build 14393
    for (const auto& [event, member] : unreadable) {
        SCOPED_TRACE(member ? member : "build 14393");
        Hits::Reset();
        member ? sim::FailNext(member, 1, E_ACCESSDENIED) : sim::SetWindowsBuild(14393);
        EXPECT_EQ(sim::RaiseDialEvent(event, {}), member ? E_ACCESSDENIED : E_NOINTERFACE);
        EXPECT_EQ(Hits::a, 0);
    }
}

// Every dial gets its window's controller (the app controller) and configuration
// through interop factories asked for anew each time. A null out-pointer with a
// dial fails before an id is taken.
TEST_F(DialTest, Create_BindsTheWindowThroughFreshInteropFactories) {
    for (long created = 1; created <= 2; ++created) {
        _WinRTDial* dial = Create();
        EXPECT_EQ(sim::FactoryRequests(L"Windows.UI.Input.RadialController"), created);
        EXPECT_EQ(sim::FactoryRequests(L"Windows.UI.Input.RadialControllerConfiguration"), 2 * created);
        EXPECT_EQ(sim::RadialControllerWindow(created), window_);
        EXPECT_EQ(sim::LastConfigurationWindow(), window_);
        EXPECT_EQ(std::pair(sim::AppController(), sim::IsAppControllerEnabled()), std::pair(created, true));
        EXPECT_EQ(WinRTDialSetRotationResolution(dial, 0.1f), S_OK);
        EXPECT_EQ(sim::RotationResolution(created), 0.1f);  // widened to double, keeping its fraction
        const uint32_t before = Icon(dial, L"C:\\queued.png");  // queued only, never loaded
        EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, nullptr), E_FAIL);
        EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, nullptr, L"x", nullptr, nullptr), E_FAIL);
        EXPECT_EQ(WinRTDialAppendIconMenuItem(dial, L"x.png", L"x", nullptr, nullptr), E_FAIL);
        EXPECT_EQ(Icon(dial, L"x.png"), before + 1);
    }
}

// Each way a dial is lost, while an export on it runs on another thread: that
// export finishes on the dial it holds, which goes only then; afterwards nothing
// reaches the dial: neither its handle, registrations, menu items nor icon loads.
TEST_F(DialTest, LosingTheDial_ExportUnderWayFinishesAndNothingElseReachesIt) {
    enum class Loss { Replaced, NoControllerInterop, NoConfigurationInterop, Terminated };
    host::TempFile icon(L"-late.png");
    for (Loss loss : {Loss::Replaced, Loss::NoControllerInterop, Loss::NoConfigurationInterop, Loss::Terminated}) {
        SCOPED_TRACE(static_cast<int>(loss));
        _WinRTDial* lost = Create();
        const long controller = sim::RadialControllersCreated();
        for (const auto& [event, name, set] : kSetters) ASSERT_EQ(set(lost, 1), S_OK);
        Known(lost, NotifyA);
        ASSERT_EQ(sim::InvokeMenuItem(controller, 0), S_OK);  // the addition's echo
        Icon(lost, icon.path, NotifyA);
        ASSERT_EQ(WinRTDialCommitPendingMenuAdditions(lost), S_OK);
        HRESULT appended = E_PENDING;
        _WinRTDial* replacement = nullptr;
        auto present = loss == Loss::NoControllerInterop ? sim::SetRadialControllerInteropPresent
                                                         : sim::SetConfigurationInteropPresent;
        host::WhileHeld(
            "IRadialControllerMenuItemStatics.CreateFromKnownIcon",
            [&] { appended = WinRTDialAppendKnownMenuItem(lost, nullptr, L"late", NotifyA, &id_); },
            [&] {
                if (loss == Loss::Terminated) { EXPECT_EQ(WinRTDialTerminate(), S_OK); return; }
                // A set-up that yields false: S_OK, a null handle, and no dial current.
                present(loss == Loss::Replaced);
                EXPECT_EQ(WinRTDialCreate(window_, &(replacement = lost)), S_OK);
                EXPECT_EQ(replacement != nullptr, loss == Loss::Replaced);
                present(true);
            });
        EXPECT_EQ(appended, S_OK);
        EXPECT_FALSE(DialServed(lost));
        // The lost dial's registrations stay with the runtime and find nothing to do.
        Hits::Reset();
        EXPECT_EQ(sim::CompleteFileLoads(), 1);
        EXPECT_EQ(sim::MenuItemCount(controller), 2);  // the two built-in-icon items
        for (const auto& [event, name, set] : kSetters) {
            long called = 0;
            EXPECT_EQ(sim::RaiseDialEvent(event, {}, controller, &called), S_OK);
            EXPECT_EQ(called, 1);
        }
        for (long item : {0, 1}) EXPECT_EQ(sim::InvokeMenuItem(controller, item), S_OK);
        EXPECT_EQ(Hits::a, 0);
    }
}

// A runtime failure is the result with its own code, except E_OUTOFMEMORY, which
// is E_FAIL (also where it is originated); and what each failure leaves behind.
TEST_F(DialTest, FailureTable_RuntimeCodesPassButOutOfMemoryIsFail) {
    host::TempFile icon(L"-queued.png");
    auto stillCurrent = [](_WinRTDial* dial, uint32_t) {
        uint32_t count = 0;
        EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, &count), S_OK);
        EXPECT_EQ(count, 1u);
    };
    auto create = [this](_WinRTDial* dial) {  // the handle, and the system's menu, stay with the current dial
        _WinRTDial* handle = dial;
        const long appController = sim::AppController();
        const HRESULT hr = WinRTDialCreate(window_, &handle);
        EXPECT_EQ(std::pair(handle, sim::AppController()), std::pair(dial, appController));
        return hr;
    };
    auto appendKnown = [this](_WinRTDial* d) { return WinRTDialAppendKnownMenuItem(d, nullptr, L"x", NotifyB, &id_); };
    // `left` checks what the failure left; `build` is the modelled Windows while `act` runs.
    const struct { const char* member; HRESULT injected, expected; std::function<HRESULT(_WinRTDial*)> act;
                   std::function<void(_WinRTDial*, uint32_t lastId)> left; uint32_t build = sim::windows10_22H2; }
        rows[] = {
        {"IRadialControllerInterop.CreateForWindow", E_ACCESSDENIED, E_ACCESSDENIED, create, stillCurrent},
        {"IRadialControllerInterop.CreateForWindow", E_OUTOFMEMORY, E_FAIL, create, stillCurrent},
        {"IRadialControllerConfigurationInterop.GetForWindow", E_OUTOFMEMORY, E_FAIL, create, stillCurrent},
        {"Windows.UI.Input.RadialController", E_OUTOFMEMORY, E_FAIL, create, stillCurrent},
        {"IRadialController.put_RotationResolutionInDegrees", E_OUTOFMEMORY, E_FAIL,
         [](_WinRTDial* dial) { return WinRTDialSetRotationResolution(dial, 1.0f); }, nullptr},
        {"IRadialController.add_RotationChanged", E_ACCESSDENIED, E_ACCESSDENIED,
         [](_WinRTDial* dial) { return WinRTDialSetRotationChangedHandler(dial, RotationA); },
         [](_WinRTDial* dial, uint32_t) {  // the slot stays empty: the next set registers
             EXPECT_EQ(sim::DialEventHandlers(DialEvent::RotationChanged), 0);
             EXPECT_EQ(WinRTDialSetRotationChangedHandler(dial, RotationA), S_OK);
             EXPECT_EQ(sim::DialEventHandlers(DialEvent::RotationChanged), 1); }},
        {"IVector<RadialControllerMenuItem>.Clear", E_ACCESSDENIED, E_ACCESSDENIED, WinRTDialClearMenu,
         [](_WinRTDial* dial, uint32_t) {  // callbacks and the queue are kept
             EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
             EXPECT_EQ(Hits::a, 1);
             EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
             EXPECT_EQ(sim::CompleteFileLoads(), 2);
             EXPECT_EQ(sim::MenuItemCount(), 3); }},
        {"IRadialControllerMenuItemStatics.CreateFromKnownIcon", E_OUTOFMEMORY, E_FAIL, appendKnown,
         [this](_WinRTDial* dial, uint32_t lastId) { EXPECT_EQ(Icon(dial, L"x.png"), lastId + 2); }},  // its id used up
        {"IVector<RadialControllerMenuItem>.Append", E_OUTOFMEMORY, E_FAIL, appendKnown, stillCurrent},
        {"IStorageFileStatics.GetFileFromPathAsync", E_ACCESSDENIED, E_ACCESSDENIED, WinRTDialCommitPendingMenuAdditions,
         [](_WinRTDial* dial, uint32_t) {  // the record taken is lost, the other stays queued
             EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
             EXPECT_EQ(sim::CompleteFileLoads(), 1);
             EXPECT_EQ(sim::MenuItemCount(), 2); }},
        {"IRadialControllerStatics.IsSupported", E_ACCESSDENIED, FALSE,
         [](_WinRTDial*) { return HRESULT(WinRTDialIsAvailable()); }, stillCurrent},
        // Before build 16299 the configuration has no AppController to set.
        {"build 15063", S_OK, E_NOINTERFACE, create, stillCurrent, 15063},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.member << " " << std::hex << row.injected);
        // A dial with one item and two queued.
        _WinRTDial* dial = Create();
        Known(dial, NotifyA);
        Icon(dial, icon.path, NotifyB);
        const uint32_t id = Icon(dial, icon.path, NotifyB);
        Hits::Reset();
        sim::FailNext(row.member, 1, row.injected);
        sim::SetWindowsBuild(row.build);
        EXPECT_EQ(row.act(dial), row.expected);
        sim::SetWindowsBuild(sim::windows10_22H2);
        if (row.left) row.left(dial, id);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    }
}

}  // namespace
