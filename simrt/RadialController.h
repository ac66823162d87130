// What the simulated radial-controller classes share between their files.
#pragma once

#include "EventSource.h"
#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Interop.h"
#include "tavlet/winapi/winrt/abi/UI.Input.h"

#include <functional>

namespace sim {

// Runs `body` on a new thread of the runtime (in the multithreaded apartment)
// or on the calling thread, and returns its result.
HRESULT RunOnRuntimeThread(bool otherThread, const std::function<HRESULT()>& body);

// A new, empty menu for a controller.
::winrt::com_ptr<abi::Windows::UI::Input::IRadialControllerMenu> MakeRadialControllerMenu();
// The menu and everything its items hold.
long ObjectsKeptByMenu(abi::Windows::UI::Input::IRadialControllerMenu* menu);
// The menu of a controller by number (0: the newest); null if there is none.
::winrt::com_ptr<abi::Windows::UI::Input::IRadialControllerMenu> RadialControllerMenuOf(long controller);
// The number of one of the simulated controllers, 0 for anything else.
long RadialControllerNumber(abi::Windows::UI::Input::IRadialController* controller);

}  // namespace sim
