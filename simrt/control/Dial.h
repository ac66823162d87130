// Control of the radial controller, its configuration and its menu
// (Windows.UI.Input).
#pragma once

#include "Export.h"

#include <windows.h>

#include <string>

namespace sim {

// ---- Radial controller (Windows.UI.Input) ------------------------------------
// Defaults model a current Windows system: the controller is supported, both
// window-interop interfaces and IRadialController2 are present, and file loads
// complete on a runtime thread of their own.
SIMRT_API void SetRadialControllerSupported(bool supported);        // IRadialControllerStatics.IsSupported
SIMRT_API void SetRadialControllerInteropPresent(bool present);     // factory answers IRadialControllerInterop
SIMRT_API void SetConfigurationInteropPresent(bool present);        // ... IRadialControllerConfigurationInterop
SIMRT_API void SetRadialController2Present(bool present);           // controllers answer IRadialController2

// Controllers are numbered 1, 2, ... in creation order since Reset; 0 names the
// newest. The runtime keeps every controller it made (as the system does for a
// window) until Reset.
SIMRT_API long RadialControllersCreated();
SIMRT_API long LiveRadialControllers();
SIMRT_API long LiveRadialControllerConfigurations();
SIMRT_API HWND RadialControllerWindow(long controller);
SIMRT_API HWND LastConfigurationWindow();
SIMRT_API long AppController();                 // number of the controller set as AppController, 0 for none
SIMRT_API bool IsAppControllerEnabled();
SIMRT_API double RotationResolution(long controller);
// Simulated objects that live controllers keep alive: themselves, their menus,
// the items in those menus and what the items hold (tags, icons, files).
SIMRT_API long ObjectsKeptByRadialControllers();

enum class DialEvent {
    RotationChanged,
    ButtonPressed,
    ScreenContactStarted,
    ScreenContactContinued,
    ScreenContactEnded,
    ControlAcquired,
    ControlLost,
};
struct DialEventData {
    double rotationDeltaInDegrees = 0;
    bool isButtonPressed = false;
    bool hasContact = true;           // false: the Contact property is null
    float positionX = 0, positionY = 0;
    float boundsX = 0, boundsY = 0, boundsWidth = 0, boundsHeight = 0;
    bool rotationArgs2 = true;        // rotation arguments answer IRadialControllerRotationChangedEventArgs2
};
// Handlers registered for an event on a controller.
SIMRT_API long DialEventHandlers(DialEvent event, long controller = 0);
// Raises the event on the controller; returns the first failing handler's
// HRESULT (S_OK when all succeed). `handlersCalled` receives the count.
SIMRT_API HRESULT RaiseDialEvent(DialEvent event, const DialEventData& data, long controller = 0,
                                 long* handlersCalled = nullptr);

// The controller's menu.
SIMRT_API long MenuItemCount(long controller = 0);
SIMRT_API std::wstring MenuItemText(long controller, long index);
SIMRT_API int MenuItemKnownIcon(long controller, long index);     // -1 for an image icon
SIMRT_API std::wstring MenuItemIconPath(long controller, long index);  // file behind the icon, "" if none
SIMRT_API long MenuItemTag(long controller, long index);         // the boxed UInt32 tag, -1 if none
SIMRT_API long SelectedMenuItem(long controller = 0);            // index, -1 if none
// Selecting an item (SelectMenuItem) raises its Invoked event, as the system's
// menu does (true after Reset; a guess about the system, modelled on the
// library's need to swallow that echo).
SIMRT_API void SetMenuSelectionEchoes(bool echoes);
// Raises the item's Invoked event; returns the first failing handler's HRESULT.
// The gate "RadialControllerMenuItem.Invoked" holds the event on its way.
SIMRT_API HRESULT InvokeMenuItem(long controller, long index);

}  // namespace sim
