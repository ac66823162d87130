// What the simulated radial-controller classes share between their files.
#pragma once

#include "EventSource.h"
#include "RuntimeThreads.h"
#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Interop.h"
#include "tavlet/winapi/winrt/abi/UI.Input.h"

#include <functional>

namespace sim {


// The window interop refuses a null window (E_INVALIDARG) and one that does not
// exist (ERROR_INVALID_WINDOW_HANDLE as an HRESULT; the exact code is a guess).
inline HRESULT CheckWindow(HWND window) noexcept {
    if (!window) return E_INVALIDARG;
    if (!IsWindow(window)) return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    return S_OK;
}

// A new, empty menu for a controller.
::winrt::com_ptr<abi::Windows::UI::Input::IRadialControllerMenu> MakeRadialControllerMenu();
// The menu and everything its items hold.
long ObjectsKeptByMenu(abi::Windows::UI::Input::IRadialControllerMenu* menu);
// The menu of a controller by number (0: the newest); null if there is none.
::winrt::com_ptr<abi::Windows::UI::Input::IRadialControllerMenu> RadialControllerMenuOf(long controller);
// The number of one of the simulated controllers, 0 for anything else.
long RadialControllerNumber(abi::Windows::UI::Input::IRadialController* controller);
// Raises an event on a controller by number, whoever has control (on the calling thread).
HRESULT RaiseOnController(long controller, DialEvent event, const DialEventData& data, long* called);
// Whether the item is in the menu.
bool MenuHolds(abi::Windows::UI::Input::IRadialControllerMenu* menu, abi::Windows::UI::Input::IRadialControllerMenuItem* item);

// Who has control (RadialControllerFocus.cpp). The selected tool becomes an
// item of an app's menu (null: one of the system's tools); then, as after any
// change of the menus, control is worked out again and ControlLost and
// ControlAcquired raised where it moved, before the call returns.
void SelectDialTool(abi::Windows::UI::Input::IRadialControllerMenuItem* item);
void UpdateDialControl();

}  // namespace sim
