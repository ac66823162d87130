/* Control of the simulated Windows Runtime (tavlet_simrt.dll) for host
 * programs that play the user themselves: plain C, C types only, undecorated
 * names, so C, Delphi and C# hosts can call it (see the kit's GUIDE.md).
 *
 * Test support only: tavlet_simrt.dll is never shipped with a host. It must
 * sit beside the host program (the runtime finds it there), and its classes
 * must be registered (scripts/run-host does both).
 *
 * Threads: as on Windows, the runtime raises events and completes operations
 * on threads of its own, except the share UI's DataRequested,
 * TargetApplicationChosen and ShareProvidersRequested, which come on the
 * window's thread, from its message loop. A call below that makes the runtime act (raising a
 * dial event, a share UI step, finishing a pin request) waits for that to end
 * while pumping the calling thread's messages, as a message loop would: call
 * it from the host's UI thread and callbacks that the library brings back to
 * that thread run inside the call.
 *
 * Each function means what its namesake in the C++ control API (SimRuntime.h)
 * means, with its arguments in the same order and the same counts.
 *
 * Controllers are numbered 1, 2, ... in creation order; 0 names the newest.
 * Texts come back in a caller's buffer: the functions return the text's length
 * in characters (without the NUL), write at most capacity - 1 of them and a NUL,
 * and return -1 when there is no such text. */
#ifndef TAVLET_SIM_H
#define TAVLET_SIM_H

#include <windows.h>
#include <stdint.h>
#include <wchar.h>

#ifdef TAVLET_SIMRT_BUILD
#define TAVLET_SIM_API __declspec(dllexport)
#else
#define TAVLET_SIM_API __declspec(dllimport)
#endif
#define TAVLET_SIM_CALL __stdcall

#ifdef __cplusplus
extern "C" {
#endif

/* ---- The whole runtime ------------------------------------------------------ */
/* Forgets every class's state and configuration, as at the start of a run. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimReset(void);
/* Simulated objects alive now. A host that has released everything, after
 * TavletSimWaitForRuntimeIdle, leaves exactly TavletSimObjectsKeptByRuntime:
 * what the system keeps for a window that had a dial (its controller with
 * the menu and the menu's items, and its configuration) for the life of the
 * process. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimLiveObjects(void);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimObjectsKeptByRuntime(void);
/* Pumps the calling thread's messages until the runtime's threads are idle
 * (completions still on their way included; the scripted user's thread does
 * not count); 1 when they are, 0 on timeout. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimWaitForRuntimeIdle(uint32_t timeoutMs);
/* Pumps the calling thread's messages for a while. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimPumpFor(uint32_t ms);
/* 1 while the scripted user plays the run's script (TAVLET_SIM_SCRIPT), else 0. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimScriptPlaying(void);
/* Makes the next `count` calls of a member ("Interface.Method", e.g.
 * L"IRadialControllerStatics.IsSupported", or a class's full name for its
 * activation) fail with hr; a count of 0 or less fails none. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimFailNext(const wchar_t* member, int count, HRESULT hr);
/* Makes every call of the member fail with hr until TavletSimClearFaults. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimFailAlways(const wchar_t* member, HRESULT hr);
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimClearFaults(void);

/* ---- The modelled Windows (until TavletSimReset: build 19045, Windows 10 22H2,
 * unpackaged; TAVLET_SIM_WINDOWS_BUILD and TAVLET_SIM_PACKAGED=1 in the
 * environment, set by run-host --windows and --packaged, change those defaults) */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetWindowsBuild(uint32_t build);
TAVLET_SIM_API uint32_t TAVLET_SIM_CALL TavletSimWindowsBuild(void);
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetPackaged(int packaged);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimIsPackaged(void);

/* ---- What the system offers (until TavletSimReset: everything) ------------- */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetRadialControllerSupported(int supported);
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetSharingSupported(int supported);
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetTypePresent(const wchar_t* typeName, int present);

/* ---- The dial ----------------------------------------------------------------- */
enum {
    TAVLET_SIM_DIAL_ROTATION_CHANGED = 0,
    TAVLET_SIM_DIAL_BUTTON_PRESSED = 1,
    TAVLET_SIM_DIAL_SCREEN_CONTACT_STARTED = 2,
    TAVLET_SIM_DIAL_SCREEN_CONTACT_CONTINUED = 3,
    TAVLET_SIM_DIAL_SCREEN_CONTACT_ENDED = 4,
    TAVLET_SIM_DIAL_CONTROL_ACQUIRED = 5,
    TAVLET_SIM_DIAL_CONTROL_LOST = 6
};
/* Controllers made since TavletSimReset, and a controller's window. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimDialCount(void);
TAVLET_SIM_API HWND TAVLET_SIM_CALL TavletSimDialWindow(int controller);
/* Handlers registered for an event on a controller. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimDialHandlers(int event, int controller);
/* Who gets the dial's input, as on Windows: a controller has control while its
 * window is in front and one of its menu items is the selected tool (the host
 * selects each item it adds; the user picks one with TavletSimInvokeMenuItem).
 * ControlAcquired and ControlLost come by themselves when that changes.
 * Rotation, button and screen contact reach the host only while its controller
 * has control and the menu is not open; screen contact also needs the dial on
 * the screen (a Surface Studio), and on the desk no event carries a contact.
 * Until TavletSimReset: no window in front (the desktop has focus, Explorer's
 * tools take the dial), a system tool selected, the menu closed, the dial on
 * the desk.
 * The user clicks a window (1; 0 and nothing changes when it is not a visible
 * window) or, with NULL, the desktop. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimSetWindowInFront(HWND window);
/* The user picks one of the system's tools (Volume, Scroll...) in the menu. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSelectSystemDialTool(void);
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetDialMenuShown(int shown);
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetDialOnScreen(int onScreen);
/* What the raising calls and TavletSimInvokeMenuItem return when the input
 * reached no app (the system, the menu or another window took it): nothing
 * was raised. */
#define TAVLET_SIM_REACHED_NO_APP ((HRESULT)1L) /* S_FALSE */
/* Raises an event without a screen contact (the dial on the desk): the event,
 * its data, then the controller. degrees and buttonPressed are read for
 * rotations only. Returns TAVLET_SIM_REACHED_NO_APP as above, else the first
 * failing handler's HRESULT, S_OK when all succeeded (or none is registered),
 * and E_INVALIDARG when there is no such event or controller. */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimRaiseDialEvent(int event, double degrees, int buttonPressed,
                                                               int controller);
/* The same with the dial on the screen: the contact at (x, y) within the
 * bounds (left, top, width, height); on the desk the contact is left out. */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimRaiseDialEventAt(int event, double degrees, int buttonPressed,
                                                                 double x, double y, double left, double top,
                                                                 double width, double height, int controller);

/* ---- The dial's menu ------------------------------------------------------------ */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimMenuItemCount(int controller);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimMenuItemText(int controller, int index, wchar_t* buffer, int capacity);
/* The user picks the item: it becomes the selected tool and its Invoked event
 * is raised. E_BOUNDS when there is no such item, TAVLET_SIM_REACHED_NO_APP
 * when the controller's window is not in front. */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimInvokeMenuItem(int controller, int index);

/* ---- Pin and unpin requests ---------------------------------------------------- */
/* Requests made since TavletSimReset, numbered from 0 in order. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimTileRequestCount(void);
/* The oldest request still waiting for the user, or -1. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimPendingTileRequest(void);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimTileRequestTileId(int request, wchar_t* buffer, int capacity);
/* The user answers: 1 when the request was waiting and is now finished, else 0.
 * A confirmed pin pins the tile, a confirmed unpin unpins it. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimCompleteTileRequest(int request, int confirmed);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimFailTileRequest(int request, HRESULT error);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimCancelTileRequest(int request);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimIsTilePinned(const wchar_t* tileId);
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetTilePinned(const wchar_t* tileId, int pinned);

/* ---- Tile notifications ----------------------------------------------------- */
/* Notifications sent to every tile updater since TavletSimReset, and the XML
 * of the latest one. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimTileUpdateCount(void);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimLastTileUpdateXml(wchar_t* buffer, int capacity);
/* Whether the latest notification is shown on the Start screen: 1, or 0 where
 * Windows accepts it and shows nothing (Windows 11, build 22000 and later,
 * has no live tiles); -1 when no notification was sent. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimLastTileUpdateShown(void);

/* ---- The share UI ------------------------------------------------------------- */
/* A top-level window of this process whose share UI is open, or NULL; whether
 * a window's is. */
TAVLET_SIM_API HWND TAVLET_SIM_CALL TavletSimOpenShareWindow(void);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimIsShareUIOpen(HWND window);
/* Where the share UI raises DataRequested, TargetApplicationChosen and
 * ShareProvidersRequested: on the window's thread, from its message loop (0,
 * the default, as on Windows), or on the runtime's threads (1). Either way
 * the host must share from the window's thread: the window's manager refuses
 * other threads (RPC_E_WRONG_THREAD). */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetShareEventsOnRuntimeThreads(int onRuntimeThreads);
/* How long a target waits for the image rendered on demand, in ms (default
 * 30000); an image set later is ignored and counted. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimSetDataProviderDeadline(DWORD ms);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimLateProviderData(void);
/* The steps of the open share UI, in the order the system takes them. Each
 * returns the last failing handler's HRESULT (S_OK when all succeeded), or
 * E_ILLEGAL_METHOD_CALL when the window's share UI is not open. A package
 * without a title fails the share, as on Windows: no target can be chosen
 * nor complete (E_ILLEGAL_METHOD_CALL), TavletSimShareFailed says 1, and
 * only dismissing the UI is left. */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimShareRequestData(HWND window);
/* installedTargets: applications the UI lists besides the host's providers,
 * separated by '\n' (NULL for none). */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimShareRequestProviders(HWND window, const wchar_t* installedTargets);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimShareProviderTitle(HWND window, int index, wchar_t* buffer, int capacity);
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimShareChooseTarget(HWND window, const wchar_t* applicationName);
/* The target asks for the image and waits for the host to render it, as a real
 * target does, until the deadline (then HRESULT_FROM_WIN32(ERROR_TIMEOUT));
 * E_ILLEGAL_METHOD_CALL when the package holds no image. */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimShareRequestBitmap(HWND window);
/* What the window's latest share held: bytes of the image handed to the
 * target, the text, the files (kept after the UI closes, until the window's
 * next share UI). */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimShareBitmapSize(HWND window);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimShareText(HWND window, wchar_t* buffer, int capacity);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimShareFileCount(HWND window);
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimShareFailed(HWND window);
/* ShareCompleted, then the UI lets everything go. */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimShareComplete(HWND window);
/* The user picks a listed provider: the host's provider callback runs (on its
 * thread, inside this call). E_INVALIDARG when no such provider is listed. */
TAVLET_SIM_API HRESULT TAVLET_SIM_CALL TavletSimSharePickProvider(HWND window, const wchar_t* title);
/* The user closes the UI before choosing a target: ShareCanceled (Windows 10
 * 2004, build 19041, and later), then the UI goes away. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimShareDismiss(HWND window);
/* "Copy link": the UI goes away; neither ShareCompleted nor ShareCanceled comes. */
TAVLET_SIM_API void TAVLET_SIM_CALL TavletSimShareCopyLink(HWND window);
/* ShareProviderOperation.ReportCompleted calls since TavletSimReset. */
TAVLET_SIM_API int TAVLET_SIM_CALL TavletSimShareProviderCompletions(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* TAVLET_SIM_H */
