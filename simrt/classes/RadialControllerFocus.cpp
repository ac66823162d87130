// Who gets the dial's input: the window in front, the selected tool, the menu
// on the screen and the device on the screen or the desk. ControlAcquired and
// ControlLost follow the controller that has control.
#include "RadialController.h"

#include <mutex>
#include <string>
#include <utility>

namespace sim {
namespace {

using abi::Windows::UI::Input::IRadialControllerMenuItem;

struct State {
    std::mutex lock;
    HWND front = nullptr;                         // top-level window in front; null: the desktop
    IRadialControllerMenuItem* tool = nullptr;    // the app's item selected (identity only); null: a system tool
    bool menuShown = false;
    bool onScreen = false;
    long inControl = 0;                           // the controller last told ControlAcquired
    DialEventData contact;                        // where the device last touched the screen
};
State& state() {
    static State* s = new State();
    return *s;
}

const ResetRegistration reset([] {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.front = nullptr, s.tool = nullptr, s.menuShown = false, s.onScreen = false, s.inControl = 0;
    s.contact = {};
});

HWND Front(State& s) { return s.front && IsWindow(s.front) && IsWindowVisible(s.front) ? s.front : nullptr; }

bool IsInput(DialEvent event) { return event != DialEvent::ControlAcquired && event != DialEvent::ControlLost; }

bool IsScreenContact(DialEvent event) {
    return event == DialEvent::ScreenContactStarted || event == DialEvent::ScreenContactContinued ||
           event == DialEvent::ScreenContactEnded;
}

// The controller whose menu holds the item, 0 for none.
long Holder(IRadialControllerMenuItem* item) {
    for (long number = RadialControllersCreated(); item && number > 0; --number)
        if (MenuHolds(RadialControllerMenuOf(number).get(), item)) return number;
    return 0;
}

// The controller whose window is in front and whose menu holds the selected tool.
long InControl() {
    HWND front;
    IRadialControllerMenuItem* tool;
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        front = Front(s), tool = s.tool;
    }
    const long holder = Holder(tool);
    return front && holder && GetAncestor(RadialControllerWindow(holder), GA_ROOT) == front ? holder : 0;
}

}  // namespace

void SelectDialTool(IRadialControllerMenuItem* item) {
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        s.tool = item;
    }
    UpdateDialControl();
}

void UpdateDialControl() {
    detail::RunOnRuntimeThread(
        [] {
            const long now = InControl();
            long before;
            DialEventData contact;
            {
                auto& s = state();
                std::lock_guard guard(s.lock);
                if (!now && !Holder(s.tool)) s.tool = nullptr;  // gone from every menu: a system tool again
                before = std::exchange(s.inControl, now);
                contact = s.contact;
                contact.hasContact = s.onScreen;
            }
            if (before == now) return;
            if (before) RaiseOnController(before, DialEvent::ControlLost, {}, nullptr);
            if (now) RaiseOnController(now, DialEvent::ControlAcquired, contact, nullptr);
        },
        detail::Then::WaitUntilDone);
}

// ---- Control ----

bool SetWindowInFront(HWND window) {
    if (window && !(IsWindow(window) && IsWindowVisible(window))) return false;
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        s.front = window ? GetAncestor(window, GA_ROOT) : nullptr;
    }
    detail::RunOnRuntimeThread(UpdateDialControl, detail::Then::PumpUntilDone);
    return true;
}

HWND WindowInFront() {
    auto& s = state();
    std::lock_guard guard(s.lock);
    return Front(s);
}

void SelectSystemDialTool() {
    detail::RunOnRuntimeThread([] { SelectDialTool(nullptr); }, detail::Then::PumpUntilDone);
}

void SetDialMenuShown(bool shown) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.menuShown = shown;
}

void SetDialOnScreen(bool onScreen) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.onScreen = onScreen;
}

long DialControllerInControl() { return InControl(); }

std::string WhyDialInputReachesNoApp(DialEvent event, long controller) {
    bool menuShown, onScreen;
    HWND front;
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        menuShown = s.menuShown, onScreen = s.onScreen, front = Front(s);
    }
    if (controller == 0) controller = RadialControllersCreated();
    const HWND window = RadialControllerWindow(controller);
    if (!window) return "there is no dial";
    if (!front) return "no window is in front: the desktop has focus and Explorer's tools take the dial";
    if (GetAncestor(window, GA_ROOT) != front) return "the dial's window is not in front";
    if (InControl() != controller) return "none of the dial's menu items is the selected tool";
    if (IsInput(event) && menuShown) return "the dial's menu is open";
    if (IsScreenContact(event) && !onScreen) return "the dial is not on the screen";
    return {};
}

HRESULT RaiseDialEvent(DialEvent event, const DialEventData& data, long controller, long* handlersCalled) {
    if (handlersCalled) *handlersCalled = 0;
    if (controller == 0) controller = RadialControllersCreated();
    if (!RadialControllerWindow(controller)) return E_INVALIDARG;
    return detail::RunOnRuntimeThreadFor<HRESULT>([&] {
        if (!WhyDialInputReachesNoApp(event, controller).empty()) return kDialInputReachedNoApp;
        DialEventData raised = data;
        {
            auto& s = state();
            std::lock_guard guard(s.lock);
            if (!s.onScreen) raised.hasContact = false;  // on the desk the device touches no screen
            if (raised.hasContact) s.contact = raised;
        }
        return RaiseOnController(controller, event, raised, handlersCalled);
    });
}

}  // namespace sim
