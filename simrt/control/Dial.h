// Control of the radial controller, its configuration and its menu
// (Windows.UI.Input).
#pragma once

#include "Export.h"

#include <windows.h>

#include <string>

namespace sim {

// ---- Radial controller (Windows.UI.Input) ------------------------------------
// Defaults model a current Windows system: the controller is supported, both
// window-interop interfaces are present, and file loads complete on a runtime
// thread of their own. The interfaces that came later follow the modelled build
// (Windows.h): IRadialController2 and the rotation arguments' second interface
// from 15063, RadialControllerConfiguration's IRadialControllerConfigurationStatics2
// (AppController) from 16299. SetRadialController2Present overrides the build
// until Reset.
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
    bool rotationArgs2 = true;        // false: rotation arguments lack IRadialControllerRotationChangedEventArgs2
                                      // (before build 15063 they always do)
};
// Handlers registered for an event on a controller.
SIMRT_API long DialEventHandlers(DialEvent event, long controller = 0);

// ---- Who gets the dial's input -------------------------------------------------
// A controller has control while its window is in front and one of its menu's
// items is the selected tool (the app's SelectMenuItem, or the user picking
// the item). ControlAcquired and ControlLost are raised, on a runtime thread,
// whenever that changes. Input (rotation, button, screen contact) reaches a
// controller only while it has control and the menu is not shown; screen
// contact also needs the device on the screen, and off the screen the events
// carry no contact. After Reset nothing is in front (the desktop has focus,
// so Explorer's tools take the dial), one of the system's tools is selected,
// the menu is hidden and the device is on the desk.
//
// The user clicks a window: false (nothing changes) unless it is a visible
// window; its top-level window is in front from now on. Null: the user clicks
// the desktop or the taskbar. A window hidden or destroyed is no longer in front.
// (Wine's desktop is shared by every program of a run, so the simulated
// runtime keeps its own record of the window in front.)
SIMRT_API bool SetWindowInFront(HWND window);
SIMRT_API HWND WindowInFront();
SIMRT_API void SelectSystemDialTool();           // the user picks one of the system's tools (Volume, Scroll...)
SIMRT_API void SetDialMenuShown(bool shown);     // the user holds the button: the menu takes the input
SIMRT_API void SetDialOnScreen(bool onScreen);   // the device on a Surface Studio's screen, or on the desk
// The controller that has control, 0 for none.
SIMRT_API long DialControllerInControl();
// Why input of this kind would not reach the controller now ("" when it would).
SIMRT_API std::string WhyDialInputReachesNoApp(DialEvent event, long controller = 0);

// What RaiseDialEvent and InvokeMenuItem return when the input reached no
// app (the system's tool, the menu or another window took it): nothing raised.
constexpr HRESULT kDialInputReachedNoApp = S_FALSE;
// The device raises the event on the controller: kDialInputReachedNoApp as
// above; else the first failing handler's HRESULT (S_OK when all succeed).
// `handlersCalled` receives the count. ControlAcquired and ControlLost, the
// system's own, can be raised again this way while the controller has control.
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
// The user picks the item in the menu: it becomes the selected tool and its
// Invoked event is raised; returns the first failing handler's HRESULT, or
// kDialInputReachedNoApp when the controller's window is not in front (the
// menu shows only the system's tools then). The gate
// "RadialControllerMenuItem.Invoked" holds the event on its way.
SIMRT_API HRESULT InvokeMenuItem(long controller, long index);

}  // namespace sim
