// The radial controller: its lifecycle, its window binding and its seven input
// events, delivered to plain host callbacks with integer geometry.
#include "DialImpl.h"

#include "base/Availability.h"
#include "base/ComObject.h"
#include "base/Errors.h"
#include "base/Guards.h"
#include "base/HString.h"
#include "base/ProcessEnd.h"
#include "base/Runtime.h"
#include "tavlet/Require.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace tavlet::winapi {

namespace {
winrt::ReleasedAtUnloadOnly<std::shared_ptr<DialImpl>> currentDialReference;
winrt::ReleasedAtUnloadOnly<std::shared_ptr<thread::Dispatcher>> dialDispatcherReference;
// Destroying a mutex closes its event and frees its memory: calls into other DLLs.
winrt::ReleasedAtUnloadOnly<std::mutex> dialStateLockReference;
}  // namespace
std::shared_ptr<DialImpl>& currentDial = *currentDialReference;
std::shared_ptr<thread::Dispatcher>& dialDispatcher = *dialDispatcherReference;
thread::SpinLock dialLock;
std::mutex& dialStateLock = *dialStateLockReference;

namespace {

using namespace abi::Windows::UI::Input;
using abi::EventRegistrationToken;
using abi::Windows::Foundation::Point;
using abi::Windows::Foundation::Rect;
using abi::Windows::Foundation::TypedEventHandler;
using ::winrt::check_hresult;
using ::winrt::com_ptr;
using winrt::HStringReference;

// The window-interop steps originate their failures, so the host's error
// reporting sees where they came from.
void Originate(HRESULT hr) {
    if (hr < 0) ThrowOriginatedHresult(hr);
}

template <typename Interface>
com_ptr<Interface> OriginatedFactory(std::wstring_view className) {
    com_ptr<Interface> factory;
    Originate(factory.try_capture(RoGetActivationFactory, HStringReference(className)));
    return factory;
}

// Rounds toward zero. The runtime's coordinates are screen pixels; a value
// outside the 32-bit range (or NaN) cannot be a position and saturates (0).
LONG Truncate(float value) noexcept {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return std::numeric_limits<LONG>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<LONG>::min();
    return static_cast<LONG>(value);
}

struct ContactGeometry {
    POINT point{0, 0};
    RECT bounds{0, 0, 0, 0};
};

// No contact (the Contact property is null) gives (0, 0) and (0, 0, 0, 0).
ContactGeometry ConvertContact(IRadialControllerScreenContact* contact) {
    ContactGeometry geometry;
    if (!contact) return geometry;
    Point position{};
    Rect bounds{};
    check_hresult(contact->get_Position(&position));
    check_hresult(contact->get_Bounds(&bounds));
    geometry.point = {Truncate(position.X), Truncate(position.Y)};
    // The far edges are summed in single precision, as the runtime's floats are.
    const float right = bounds.X + bounds.Width;
    const float bottom = bounds.Y + bounds.Height;
    geometry.bounds = {Truncate(bounds.X), Truncate(bounds.Y), Truncate(right), Truncate(bottom)};
    return geometry;
}

template <typename Args>
ContactGeometry ReadContact(Args* args) {
    if (!args) ::winrt::throw_hresult(E_POINTER);
    com_ptr<IRadialControllerScreenContact> contact;
    check_hresult(args->get_Contact(contact.put()));
    return ConvertContact(contact.get());
}

// ---- What each event hands to the host ----

void DeliverRotation(DialRotationChangedHandler callback, IRadialControllerRotationChangedEventArgs* args) {
    if (!args) ::winrt::throw_hresult(E_POINTER);
    // The button state lives on the arguments' second interface; a system
    // without it fails the handler here, before the host is called.
    auto args2 = ::winrt::copy_ptr(args).as<IRadialControllerRotationChangedEventArgs2>();
    abi::boolean pressed = 0;
    check_hresult(args2->get_IsButtonPressed(&pressed));
    double delta = 0;
    check_hresult(args->get_RotationDeltaInDegrees(&delta));
    const ContactGeometry geometry = ReadContact(args);
    callback(static_cast<float>(delta), geometry.point, geometry.bounds, pressed ? 1u : 0u);
}

template <typename Args>
void DeliverContact(DialContactHandler callback, Args* args) {
    const ContactGeometry geometry = ReadContact(args);
    callback(geometry.point, geometry.bounds);
}

void DeliverNotify(DialNotifyHandler callback, IInspectable*) { callback(); }

// The callback of a slot, if its dial is alive and current; one pass under the lock.
template <typename Callback>
Callback CurrentCallback(const std::weak_ptr<DialImpl>& weak, DialEventSlot<Callback> DialImpl::*slot) {
    auto dial = weak.lock();
    if (!dial) return nullptr;
    Callback callback = nullptr;
    {
        std::lock_guard guard(dialStateLock);
        if (currentDial == dial) callback = ((*dial).*slot).callback;
    }
    return callback;  // `dial` is released after the lock: it may be the last reference
}

// The setters' one algorithm. `add` and `remove` are the event's members on the
// controller's interface `Source` (IRadialController2 for ButtonPressed, queried
// on every call because older systems lack it).
template <typename Source, typename Args, typename Callback, typename Deliver>
HRESULT SetHandler(_WinRTDial* handle, Callback callback, DialEventSlot<Callback> DialImpl::*slot,
                   HRESULT (STDMETHODCALLTYPE Source::*add)(TypedEventHandler<IRadialController*, Args*>*,
                                                            EventRegistrationToken*),
                   HRESULT (STDMETHODCALLTYPE Source::*remove)(EventRegistrationToken), Deliver deliver) {
    return WithDial(handle, [&](DialImpl& dial) {
        auto source = dial.controller.template as<Source>();
        auto& entry = dial.*slot;
        if (callback) {
            if (!entry.registration.Registered()) {
                using Handler = TypedEventHandler<IRadialController*, Args*>;
                auto handler = winrt::MakeFreeThreadedDelegate<Handler>(
                    [weak = dial.self, slot, deliver](IRadialController* sender, Args* args) -> HRESULT {
                        auto keepSender = ::winrt::copy_ptr(sender);
                        auto keepArgs = ::winrt::copy_ptr(args);
                        // Runs on the runtime's thread, synchronously: the host
                        // asked for its callbacks where the event happens.
                        if (Callback current = CurrentCallback(weak, slot)) deliver(current, args);
                        return S_OK;
                    });
                entry.registration = winrt::EventRegistration::Add(source, add, remove, handler.get());
            }
            std::lock_guard guard(dialStateLock);
            entry.callback = callback;
        } else {
            // Removing is asked of the runtime even with nothing registered
            // (token 0); its answer is the setter's result, and a refusal
            // keeps the registration.
            check_hresult(entry.registration.Registered() ? entry.registration.Reset()
                                                           : ((*source).*remove)(EventRegistrationToken{}));
            std::lock_guard guard(dialStateLock);
            entry.callback = nullptr;
        }
    });
}

}  // namespace

MenuItemKey::MenuItemKey(IUnknown* item) : identity_(::winrt::copy_ptr(item).as<IUnknown>()) {}

std::shared_ptr<DialImpl> HoldDial(_WinRTDial* handle) {
    if (!handle) return nullptr;
    std::lock_guard guard(dialStateLock);
    if (DialToHandle(currentDial.get()) != handle) return nullptr;
    return currentDial;
}

std::shared_ptr<DialImpl> LockCurrentDial(const std::weak_ptr<DialImpl>& weak) {
    auto dial = weak.lock();
    if (!dial) return nullptr;
    bool current;
    {
        std::lock_guard guard(dialStateLock);
        current = currentDial == dial;
    }
    // Released outside the lock: this may be the last reference.
    if (!current) dial.reset();
    return dial;
}

bool DialImpl::InitForWindow(HWND window) {
    auto controllerFactory = OriginatedFactory<IInspectable>(RadialController::name);
    controllerInterop = controllerFactory.try_as<abi::IRadialControllerInterop>();
    if (!controllerInterop) return false;
    Originate(controller.try_capture(controllerInterop, &abi::IRadialControllerInterop::CreateForWindow, window));
    if (!controller) ThrowOriginatedHresult(E_UNEXPECTED);

    auto statics = OriginatedFactory<IRadialControllerConfigurationStatics2>(RadialControllerConfiguration::name);
    auto configurationFactory = OriginatedFactory<IInspectable>(RadialControllerConfiguration::name);
    configurationInterop = configurationFactory.try_as<abi::IRadialControllerConfigurationInterop>();
    if (!configurationInterop) return false;
    Originate(configuration.try_capture(configurationInterop, &abi::IRadialControllerConfigurationInterop::GetForWindow,
                                        window));

    // Makes this controller the one that the system's menu serves, as the last
    // step: a set-up that fails or yields no dial leaves the system's app
    // controller with the dial that is still current. A refusal leaves a
    // working controller, so neither result is checked.
    [[maybe_unused]] HRESULT appController = statics->put_AppController(controller.get());
    [[maybe_unused]] HRESULT appControllerEnabled = statics->put_IsAppControllerEnabled(1);
    return true;
}

DialImpl::~DialImpl() {
    // The controller and the configuration belong to the window for the life of
    // the process, together with the handlers registered on the controller: the
    // dial gives up its references without releasing them, and leaves its
    // registrations in place. Those handlers hold only a weak reference to
    // this object.
    for (auto* registration : {&rotationChanged.registration, &buttonPressed.registration,
                               &screenContactStarted.registration, &screenContactContinued.registration,
                               &screenContactEnded.registration, &controlAcquired.registration,
                               &controlLost.registration})
        registration->Abandon();
    controller.detach();
    configuration.detach();
    pendingIconItems.clear();
    itemHandlers.clear();
    configurationInterop = nullptr;
    controllerInterop = nullptr;
}

}  // namespace tavlet::winapi

using namespace tavlet::winapi;
using tavlet::winapi::winrt::EnsureRuntimeInitialized;
using tavlet::winapi::winrt::PlainGuard;

extern "C" {

BOOL TAVLET_CALL WinRTDialIsAvailable(void) {
    using namespace abi::Windows::UI::Input;
    return tavlet::winapi::winrt::IsClassAvailable<RadialController, IRadialControllerStatics>();
}

HRESULT TAVLET_CALL WinRTDialIntialize(void) {
    return PlainGuard([] {
        {
            std::lock_guard guard(dialLock);
            if (!dialDispatcher) dialDispatcher = tavlet::thread::Dispatcher::Create();
        }
        EnsureRuntimeInitialized();
        if (!WinRTDialIsAvailable()) tavlet::ThrowOriginatedHresult(E_NOINTERFACE);
    });
}

HRESULT TAVLET_CALL WinRTDialTerminate(void) {
    return PlainGuard([] {
        {
            std::lock_guard guard(dialLock);
            if (dialDispatcher) {
                dialDispatcher->Terminate();
                dialDispatcher.reset();
            }
        }
        std::shared_ptr<DialImpl> previous;
        {
            std::lock_guard guard(dialStateLock);
            previous = std::move(currentDial);
        }
        // `previous` is released here, outside both locks.
    });
}

HRESULT TAVLET_CALL WinRTDialCreate(HWND window, _WinRTDial** handle) {
    return PlainGuard([&] {
        tavlet::require(handle != nullptr);
        EnsureRuntimeInitialized();
        // Owned by a shared reference from the start so the handlers registered
        // later can hold weak ones; kept only if the window set-up succeeds.
        std::shared_ptr<DialImpl> dial(new DialImpl());
        dial->self = dial;
        if (!dial->InitForWindow(window)) dial.reset();
        std::shared_ptr<DialImpl> previous;
        {
            std::lock_guard guard(dialStateLock);
            previous = std::exchange(currentDial, dial);
        }
        *handle = DialToHandle(dial.get());
        // The replaced dial is destroyed here (outside the lock) unless a
        // runtime thread is still using it; its handlers find it replaced.
    });
}

HRESULT TAVLET_CALL WinRTDialSetRotationResolution(_WinRTDial* handle, float degrees) {
    return WithDial(handle, [&](DialImpl& dial) {
        ::winrt::check_hresult(dial.controller->put_RotationResolutionInDegrees(static_cast<double>(degrees)));
    });
}

HRESULT TAVLET_CALL WinRTDialSetRotationChangedHandler(_WinRTDial* handle, DialRotationChangedHandler callback) {
    return SetHandler(handle, callback, &DialImpl::rotationChanged, &IRadialController::add_RotationChanged,
                      &IRadialController::remove_RotationChanged, DeliverRotation);
}

HRESULT TAVLET_CALL WinRTDialSetButtonPressedHandler(_WinRTDial* handle, DialContactHandler callback) {
    using abi::Windows::UI::Input::IRadialController2;
    using abi::Windows::UI::Input::IRadialControllerButtonPressedEventArgs;
    return SetHandler(handle, callback, &DialImpl::buttonPressed, &IRadialController2::add_ButtonPressed,
                      &IRadialController2::remove_ButtonPressed,
                      DeliverContact<IRadialControllerButtonPressedEventArgs>);
}

HRESULT TAVLET_CALL WinRTDialSetScreenContactStartedHandler(_WinRTDial* handle, DialContactHandler callback) {
    using abi::Windows::UI::Input::IRadialControllerScreenContactStartedEventArgs;
    return SetHandler(handle, callback, &DialImpl::screenContactStarted,
                      &IRadialController::add_ScreenContactStarted, &IRadialController::remove_ScreenContactStarted,
                      DeliverContact<IRadialControllerScreenContactStartedEventArgs>);
}

HRESULT TAVLET_CALL WinRTDialSetScreenContactContinuedHandler(_WinRTDial* handle, DialContactHandler callback) {
    using abi::Windows::UI::Input::IRadialControllerScreenContactContinuedEventArgs;
    return SetHandler(handle, callback, &DialImpl::screenContactContinued,
                      &IRadialController::add_ScreenContactContinued,
                      &IRadialController::remove_ScreenContactContinued,
                      DeliverContact<IRadialControllerScreenContactContinuedEventArgs>);
}

HRESULT TAVLET_CALL WinRTDialSetScreenContactEndedHandler(_WinRTDial* handle, DialNotifyHandler callback) {
    return SetHandler(handle, callback, &DialImpl::screenContactEnded, &IRadialController::add_ScreenContactEnded,
                      &IRadialController::remove_ScreenContactEnded, DeliverNotify);
}

HRESULT TAVLET_CALL WinRTDialSetControlAcquiredHandler(_WinRTDial* handle, DialContactHandler callback) {
    using abi::Windows::UI::Input::IRadialControllerControlAcquiredEventArgs;
    return SetHandler(handle, callback, &DialImpl::controlAcquired, &IRadialController::add_ControlAcquired,
                      &IRadialController::remove_ControlAcquired,
                      DeliverContact<IRadialControllerControlAcquiredEventArgs>);
}

HRESULT TAVLET_CALL WinRTDialSetControlLostHandler(_WinRTDial* handle, DialNotifyHandler callback) {
    return SetHandler(handle, callback, &DialImpl::controlLost, &IRadialController::add_ControlLost,
                      &IRadialController::remove_ControlLost, DeliverNotify);
}

}  // extern "C"
