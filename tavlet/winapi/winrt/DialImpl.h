// The radial controller family: the dial bound to one host window, the
// family's process-wide state, and the menu records shared with the runtime's
// threads. Private to Dial.cpp and DialMenu.cpp.
#pragma once

#include "tavlet.h"

#include "base/ComPtr.h"
#include "base/EventRegistration.h"
#include "base/Guards.h"
#include "abi/Interop.h"
#include "abi/Storage.h"
#include "abi/UI.Input.h"
#include "tavlet/thread/Dispatcher.h"
#include "tavlet/thread/SpinLock.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace tavlet::winapi {

using abi::Windows::UI::Input::IRadialController;
using abi::Windows::UI::Input::IRadialControllerConfiguration;
using abi::Windows::UI::Input::IRadialControllerMenuItem;

// One runtime event of the controller: its registration and the host's callback.
template <typename Callback>
struct DialEventSlot {
    winrt::EventRegistration registration;  // touched only by the setters
    Callback callback = nullptr;            // read by the runtime's threads, under dialStateLock
};

// An icon item waiting for its image file to be loaded.
struct PendingIconMenuItem {
    std::wstring iconPath;
    std::wstring displayText;
    DialMenuItemHandler handler = nullptr;
    uint32_t id = 0;
};

// A menu item as a map key: it keeps the item alive and orders by the item's
// identity, the address of its IUnknown (any other interface pointer of the
// same object may differ).
class MenuItemKey {
public:
    explicit MenuItemKey(IUnknown* item);
    bool operator<(const MenuItemKey& other) const noexcept { return identity_.get() < other.identity_.get(); }

private:
    ::winrt::com_ptr<IUnknown> identity_;
};

// The dial: owned by currentDial through a std::shared_ptr; the host's handle is
// its bare address. The runtime's handlers hold `self` (a weak reference), never
// the address, because the controller outlives the dial.
// A plain record: the family's functions work on its fields directly.
struct DialImpl {
    DialImpl() = default;
    DialImpl(const DialImpl&) = delete;
    DialImpl& operator=(const DialImpl&) = delete;
    ~DialImpl();

    // Binds a controller and the configuration to the window. False when the
    // runtime offers no window interop for either class; other failures throw.
    bool InitForWindow(HWND window);

    ::winrt::com_ptr<abi::IRadialControllerInterop> controllerInterop;
    ::winrt::com_ptr<abi::IRadialControllerConfigurationInterop> configurationInterop;
    std::map<MenuItemKey, DialMenuItemHandler> itemHandlers;  // under dialStateLock
    std::list<PendingIconMenuItem> pendingIconItems;          // under dialStateLock
    ::winrt::com_ptr<IRadialController> controller;
    ::winrt::com_ptr<IRadialControllerConfiguration> configuration;
    DialEventSlot<DialRotationChangedHandler> rotationChanged;
    DialEventSlot<DialContactHandler> buttonPressed;
    DialEventSlot<DialContactHandler> screenContactStarted;
    DialEventSlot<DialContactHandler> screenContactContinued;
    DialEventSlot<DialNotifyHandler> screenContactEnded;
    DialEventSlot<DialContactHandler> controlAcquired;
    DialEventSlot<DialNotifyHandler> controlLost;

    std::weak_ptr<DialImpl> self;
};

// ---- Process-wide state of the family ----
// The two references are released when the library is unloaded and left
// (runtime objects, a window) when the process ends.
// The dial of the last successful WinRTDialCreate. Guarded by dialStateLock.
extern std::shared_ptr<DialImpl>& currentDial;
// Made by WinRTDialIntialize, ended by WinRTDialTerminate. Guarded by dialLock.
extern std::shared_ptr<thread::Dispatcher>& dialDispatcher;
extern thread::SpinLock dialLock;
// Guards the data that the host's thread shares with the runtime's threads:
// currentDial, the slots' callbacks, the menu records and the Invoked
// suppression window. Held only around reads and writes of that data: never
// while the runtime or a host callback is called.
extern std::mutex& dialStateLock;

inline _WinRTDial* DialToHandle(DialImpl* dial) noexcept { return reinterpret_cast<_WinRTDial*>(dial); }

// The handle rule: the dial behind a handle, held for as long as the caller
// keeps the reference, if the handle is the current dial's address; null for
// any other handle (null, replaced, terminated, never a dial), which is only
// compared, never dereferenced.
std::shared_ptr<DialImpl> HoldDial(_WinRTDial* handle);

// The body of a handle-taking export, run on the held dial; a handle that is
// not the current dial does nothing and succeeds. The dial is let go after
// the body, outside every lock: it may be the last reference.
template <typename Body>
HRESULT WithDial(_WinRTDial* handle, Body&& body) noexcept {
    return winrt::PlainGuard([&] {
        if (auto dial = HoldDial(handle)) body(*dial);
    });
}

// The dial that the runtime's handlers may still serve: alive and current.
// A replaced dial's registrations stay on its controller, so its handlers
// keep being called; they must find nothing to do.
std::shared_ptr<DialImpl> LockCurrentDial(const std::weak_ptr<DialImpl>& dial);

// ---- The menu (DialMenu.cpp) ----
uint32_t MenuItemCount(DialImpl& dial);
void ClearMenu(DialImpl& dial);
void AppendKnownMenuItem(DialImpl& dial, const std::wstring& displayText, DialMenuItemHandler handler, uint32_t* id);
void AppendIconMenuItem(DialImpl& dial, std::wstring iconPath, std::wstring displayText, DialMenuItemHandler handler,
                        uint32_t* id);
void CommitPendingMenuAdditions(DialImpl& dial);

}  // namespace tavlet::winapi
