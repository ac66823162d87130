// Windows.UI.Input.RadialController: statics, window interop, the controller
// with its events, the events' arguments and RadialControllerScreenContact.
#include "Property.h"
#include "RadialController.h"

#include <thread>

namespace sim {
namespace {

using namespace abi::Windows::UI::Input;
using abi::EventRegistrationToken;
namespace Foundation = abi::Windows::Foundation;

std::atomic<bool> supported{true};
std::atomic<bool> interopPresent{true};
// -1: IRadialController2 follows the build; 0 or 1: SetRadialController2Present's answer.
std::atomic<int> controller2Override{-1};
constexpr uint32_t kController2Build = 15063;  // ButtonPressed, and IsButtonPressed of the rotation arguments

bool Controller2Present() {
    const int answer = controller2Override;
    return answer < 0 ? WindowsAtLeast(kController2Build) : answer != 0;
}
std::atomic<long> liveControllers{0};

class ScreenContact : public SimObject<ScreenContact, IRadialControllerScreenContact> {
public:
    ScreenContact(Foundation::Point position, Foundation::Rect bounds) : position_(position), bounds_(bounds) {}
    SIM_GETTER(IRadialControllerScreenContact, Bounds, Foundation::Rect, Fixed(bounds_))
    SIM_GETTER(IRadialControllerScreenContact, Position, Foundation::Point, Fixed(position_))

private:
    Foundation::Point position_;
    Foundation::Rect bounds_;
};

::winrt::com_ptr<IRadialControllerScreenContact> MakeContact(const DialEventData& data) {
    if (!data.hasContact) return nullptr;
    auto contact = MakeObject<ScreenContact>(Foundation::Point{data.positionX, data.positionY},
                                             Foundation::Rect{data.boundsX, data.boundsY, data.boundsWidth, data.boundsHeight});
    return Up<IRadialControllerScreenContact>(contact);
}

// RadialControllerRotationChangedEventArgs; the second interface
// (IsButtonPressed) is absent before build 15063.
class RotationArgs : public SimObject<RotationArgs, IRadialControllerRotationChangedEventArgs,
                                      IRadialControllerRotationChangedEventArgs2> {
public:
    explicit RotationArgs(const DialEventData& data) : data_(data), contact_(MakeContact(data)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (iid == abi::guid_v<IRadialControllerRotationChangedEventArgs2> &&
            !(data_.rotationArgs2 && WindowsAtLeast(kController2Build))) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimObject::QueryInterface(iid, out);
    }
    SIM_GETTER(IRadialControllerRotationChangedEventArgs, RotationDeltaInDegrees, DOUBLE,
               Fixed(data_.rotationDeltaInDegrees))
    SIM_GETTER(IRadialControllerRotationChangedEventArgs, Contact, IRadialControllerScreenContact*, Fixed(contact_))
    SIM_GETTER(IRadialControllerRotationChangedEventArgs2, IsButtonPressed, abi::boolean, Fixed(data_.isButtonPressed))
    HRESULT STDMETHODCALLTYPE get_SimpleHapticsController(IInspectable** value) noexcept override {
        SIM_FAULT("IRadialControllerRotationChangedEventArgs2.get_SimpleHapticsController");
        *value = nullptr;
        return S_OK;
    }

private:
    DialEventData data_;
    ::winrt::com_ptr<IRadialControllerScreenContact> contact_;
};

// The arguments of the events that carry only a contact. `Name` is the
// interface's name for the fault-injection hook.
template <typename Interface>
class ContactArgs : public SimObject<ContactArgs<Interface>, Interface> {
public:
    ContactArgs(const char* name, const DialEventData& data) : name_(name), contact_(MakeContact(data)) {}

    HRESULT STDMETHODCALLTYPE get_Contact(IRadialControllerScreenContact** value) noexcept override {
        SIM_FAULT(std::string(name_) + ".get_Contact");
        contact_.copy_to(value);
        return S_OK;
    }
    // IRadialControllerButtonPressedEventArgs only.
    HRESULT STDMETHODCALLTYPE get_SimpleHapticsController(IInspectable** value) noexcept {
        SIM_FAULT(std::string(name_) + ".get_SimpleHapticsController");
        *value = nullptr;
        return S_OK;
    }

private:
    const char* name_;
    ::winrt::com_ptr<IRadialControllerScreenContact> contact_;
};

template <typename Args>
using Handler = Foundation::TypedEventHandler<IRadialController*, Args*>;
template <typename Args>
using ControllerEvent = EventSource<Handler<Args>>;

class Controller : public SimObject<Controller, IRadialController, IRadialController2> {
public:
    Controller(HWND window, long number) : window_(window), number_(number), menu_(MakeRadialControllerMenu()) {
        ++liveControllers;
    }
    ~Controller() override { --liveControllers; }

    HWND window() const noexcept { return window_; }
    long number() const noexcept { return number_; }
    IRadialControllerMenu* menu() const noexcept { return menu_.get(); }
    double resolution() const { return resolution_.Load(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (iid == abi::guid_v<IRadialController2> && !Controller2Present()) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimObject::QueryInterface(iid, out);
    }

    // ---- IRadialController ----
    SIM_GETTER(IRadialController, Menu, IRadialControllerMenu*, Fixed(menu_))
    SIM_GETTER(IRadialController, RotationResolutionInDegrees, DOUBLE, resolution_)
    HRESULT STDMETHODCALLTYPE put_RotationResolutionInDegrees(DOUBLE value) noexcept override {
        SIM_FAULT("IRadialController.put_RotationResolutionInDegrees");
        // The system accepts a positive resolution only.
        if (!(value > 0)) return E_INVALIDARG;
        resolution_.Store(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_UseAutomaticHapticFeedback(abi::boolean* value) noexcept override {
        SIM_FAULT("IRadialController.get_UseAutomaticHapticFeedback");
        *value = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_UseAutomaticHapticFeedback(abi::boolean) noexcept override {
        SIM_FAULT("IRadialController.put_UseAutomaticHapticFeedback");
        return S_OK;
    }
    SIM_EVENT(IRadialController, ScreenContactStarted, Handler<IRadialControllerScreenContactStartedEventArgs>, started)
    SIM_EVENT(IRadialController, ScreenContactEnded, Handler<IInspectable>, ended)
    SIM_EVENT(IRadialController, ScreenContactContinued, Handler<IRadialControllerScreenContactContinuedEventArgs>, continued)
    SIM_EVENT(IRadialController, ControlLost, Handler<IInspectable>, lost)
    SIM_EVENT(IRadialController, RotationChanged, Handler<IRadialControllerRotationChangedEventArgs>, rotation)
    SIM_EVENT(IRadialController, ControlAcquired, Handler<IRadialControllerControlAcquiredEventArgs>, acquired)
    // ---- IRadialController2 ----
    SIM_EVENT(IRadialController2, ButtonPressed, Handler<IRadialControllerButtonPressedEventArgs>, pressed)
    SIM_UNUSED("IRadialController2.add_ButtonClicked", add_ButtonClicked(IInspectable*, EventRegistrationToken*))
    SIM_UNUSED("IRadialController2.remove_ButtonClicked", remove_ButtonClicked(EventRegistrationToken))
    SIM_UNUSED("IRadialController2.add_ButtonHolding", add_ButtonHolding(IInspectable*, EventRegistrationToken*))
    SIM_UNUSED("IRadialController2.remove_ButtonHolding", remove_ButtonHolding(EventRegistrationToken))
    SIM_UNUSED("IRadialController2.add_ButtonReleased", add_ButtonReleased(IInspectable*, EventRegistrationToken*))
    SIM_UNUSED("IRadialController2.remove_ButtonReleased", remove_ButtonReleased(EventRegistrationToken))

    // ---- Control ----
    long Handlers(DialEvent event) {
        switch (event) {
        case DialEvent::RotationChanged: return rotation.Count();
        case DialEvent::ButtonPressed: return pressed.Count();
        case DialEvent::ScreenContactStarted: return started.Count();
        case DialEvent::ScreenContactContinued: return continued.Count();
        case DialEvent::ScreenContactEnded: return ended.Count();
        case DialEvent::ControlAcquired: return acquired.Count();
        case DialEvent::ControlLost: return lost.Count();
        }
        return 0;
    }
    HRESULT Raise(DialEvent event, const DialEventData& data, long* called) {
        IRadialController* sender = this;
        Raised raised;
        switch (event) {
        case DialEvent::RotationChanged:
            raised = rotation.Raise(sender, MakeObject<RotationArgs>(data).get());
            break;
        case DialEvent::ButtonPressed:
            raised = RaiseWithContact(pressed, "IRadialControllerButtonPressedEventArgs", data);
            break;
        case DialEvent::ScreenContactStarted:
            raised = RaiseWithContact(started, "IRadialControllerScreenContactStartedEventArgs", data);
            break;
        case DialEvent::ScreenContactContinued:
            raised = RaiseWithContact(continued, "IRadialControllerScreenContactContinuedEventArgs", data);
            break;
        case DialEvent::ControlAcquired:
            raised = RaiseWithContact(acquired, "IRadialControllerControlAcquiredEventArgs", data);
            break;
        // These two carry no arguments the library reads; the system passes null.
        case DialEvent::ScreenContactEnded: raised = ended.Raise(sender, static_cast<IInspectable*>(nullptr)); break;
        case DialEvent::ControlLost: raised = lost.Raise(sender, static_cast<IInspectable*>(nullptr)); break;
        default: return E_INVALIDARG;
        }
        if (called) *called = raised.called;
        return raised.first;
    }

private:
    // Raises an event whose arguments carry only a contact; `name` is their interface's.
    template <typename Interface>
    Raised RaiseWithContact(ControllerEvent<Interface>& source, const char* name, const DialEventData& data) {
        auto args = Up<Interface>(MakeObject<ContactArgs<Interface>>(name, data));
        return source.Raise(static_cast<IRadialController*>(this), args.get());
    }

    HWND window_;
    long number_;
    ::winrt::com_ptr<IRadialControllerMenu> menu_;
    Property<double> resolution_{10.0};  // the system's default resolution in degrees
    ControllerEvent<IRadialControllerScreenContactStartedEventArgs> started;
    ControllerEvent<IInspectable> ended;
    ControllerEvent<IRadialControllerScreenContactContinuedEventArgs> continued;
    ControllerEvent<IInspectable> lost;
    ControllerEvent<IRadialControllerRotationChangedEventArgs> rotation;
    ControllerEvent<IRadialControllerControlAcquiredEventArgs> acquired;
    ControllerEvent<IRadialControllerButtonPressedEventArgs> pressed;
};

// The system keeps the controller of a window for the life of the process; so
// does this runtime, until Reset.
struct Registry {
    std::mutex lock;
    std::vector<::winrt::com_ptr<Controller>> controllers;
};
Registry& registry() {
    static Registry* r = new Registry();
    return *r;
}

::winrt::com_ptr<Controller> Find(long number) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    if (r.controllers.empty()) return nullptr;
    if (number == 0) return r.controllers.back();
    if (number < 1 || number > static_cast<long>(r.controllers.size())) return nullptr;
    return r.controllers[number - 1];
}

class ControllerFactory : public SimFactory<ControllerFactory, IRadialControllerStatics, abi::IRadialControllerInterop> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (iid == abi::guid_v<abi::IRadialControllerInterop> && !interopPresent) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimFactory::QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE IsSupported(abi::boolean* result) noexcept override {
        SIM_FAULT("IRadialControllerStatics.IsSupported");
        *result = supported ? 1 : 0;
        return S_OK;
    }
    // A desktop program has no current view.
    SIM_UNUSED_OUT("IRadialControllerStatics.CreateForCurrentView", result,
                   CreateForCurrentView(IRadialController** result))
    HRESULT STDMETHODCALLTYPE CreateForWindow(HWND window, REFIID iid, void** result) noexcept override {
        SIM_FAULT("IRadialControllerInterop.CreateForWindow");
        if (!result) return E_POINTER;
        *result = nullptr;
        if (HRESULT hr = CheckWindow(window); hr < 0) return hr;
        ::winrt::com_ptr<Controller> controller;
        {
            auto& r = registry();
            std::lock_guard guard(r.lock);
            controller = MakeObject<Controller>(window, static_cast<long>(r.controllers.size()) + 1);
            r.controllers.push_back(controller);
        }
        return controller->QueryInterface(iid, result);
    }
};

const ClassRegistration registration(RadialController::name,
                                     [] { return NewFactory<ControllerFactory>(RadialController::name); });
const ResetRegistration reset([] {
    supported = true;
    interopPresent = true;
    controller2Override = -1;
    std::vector<::winrt::com_ptr<Controller>> released;
    auto& r = registry();
    std::lock_guard guard(r.lock);
    released.swap(r.controllers);
});

}  // namespace

::winrt::com_ptr<IRadialControllerMenu> RadialControllerMenuOf(long number) {
    auto controller = Find(number);
    return controller ? ::winrt::copy_ptr(controller->menu()) : nullptr;
}

long RadialControllerNumber(IRadialController* candidate) {
    if (!candidate) return 0;
    auto& r = registry();
    std::lock_guard guard(r.lock);
    for (auto& controller : r.controllers)
        if (static_cast<IRadialController*>(controller.get()) == candidate) return controller->number();
    return 0;
}

// ---- Control ----

void SetRadialControllerSupported(bool value) { supported = value; }
void SetRadialControllerInteropPresent(bool value) { interopPresent = value; }
void SetRadialController2Present(bool value) { controller2Override = value ? 1 : 0; }

long RadialControllersCreated() {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    return static_cast<long>(r.controllers.size());
}

long LiveRadialControllers() { return liveControllers.load(); }

HWND RadialControllerWindow(long number) {
    auto controller = Find(number);
    return controller ? controller->window() : nullptr;
}

double RotationResolution(long number) {
    auto controller = Find(number);
    return controller ? controller->resolution() : 0.0;
}

long ObjectsKeptByRadialControllers() {
    std::vector<::winrt::com_ptr<Controller>> controllers;
    {
        auto& r = registry();
        std::lock_guard guard(r.lock);
        controllers = r.controllers;
    }
    long kept = 0;
    for (auto& controller : controllers) kept += 1 + ObjectsKeptByMenu(controller->menu());
    return kept;
}

long DialEventHandlers(DialEvent event, long number) {
    auto controller = Find(number);
    return controller ? controller->Handlers(event) : 0;
}

HRESULT RaiseOnController(long number, DialEvent event, const DialEventData& data, long* called) {
    auto controller = Find(number);
    return controller ? controller->Raise(event, data, called) : E_INVALIDARG;
}

}  // namespace sim
