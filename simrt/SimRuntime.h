// Control API of the simulated Windows Runtime. Tests call it directly; the
// library under test reaches the same DLL only through RoGetActivationFactory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#ifdef TAVLET_SIMRT_BUILD
#define SIMRT_API __declspec(dllexport)
#else
#define SIMRT_API __declspec(dllimport)
#endif

namespace sim {

// ---- Whole runtime --------------------------------------------------------
// Forgets faults, counters and every class's configuration and state.
SIMRT_API void Reset();
// Simulated instances alive now (activation factories are not counted).
SIMRT_API long LiveObjects();
// Activation factories alive now (those the library keeps included).
SIMRT_API long LiveFactories();

// ---- Runtime threads, pumping and gates -------------------------------------
// As on Windows, the runtime side of a control call (events, completions,
// share UI steps, deferred-data requests, provider picks, file loads, stream
// operations) runs on the runtime's own threads (MTA), and the control call
// waits for it while pumping the calling thread's messages, as a host's
// message loop would. Calling-thread delivery runs it synchronously instead.
enum class Delivery { RuntimeThreads, CallingThread };
SIMRT_API void SetDelivery(Delivery delivery);  // Reset: RuntimeThreads
SIMRT_API bool IsRuntimeThread();
// Pumps the calling thread's messages until done() or the timeout; returns done().
SIMRT_API bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
SIMRT_API void PumpFor(DWORD ms);
// Pumps until every piece of runtime-thread work has ended (fire-and-forget
// completions included).
SIMRT_API bool WaitForRuntimeIdle(DWORD timeoutMs = 10000);

// A control call started on a runtime thread without waiting for it, so a test
// can act while it runs (or while it is held at a gate).
struct BackgroundCall;
SIMRT_API BackgroundCall* StartBackground(std::function<void()> work);
SIMRT_API bool FinishBackground(BackgroundCall* call, DWORD timeoutMs = 10000);  // pumps meanwhile
class Background {
public:
    explicit Background(std::function<void()> work) : call_(StartBackground(std::move(work))) {}
    ~Background() { Finish(); }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    bool Finish(DWORD timeoutMs = 10000) {
        if (call_ && FinishBackground(call_, timeoutMs)) call_ = nullptr;
        return call_ == nullptr;
    }

private:
    BackgroundCall* call_;
};

// The library's capture of a COM context fails like a member named
// "CoGetObjectContext" (where the context stand-in is installed).
// Gates: the next thread that reaches `point` (a member as named for fault
// injection, e.g. "IDataWriter.WriteBytes", or "IContextCallback.ContextCallback")
// stops there until the test releases it. WaitUntilHeld pumps meanwhile.
SIMRT_API void HoldNext(const std::string& point);
SIMRT_API bool WaitUntilHeld(const std::string& point, DWORD timeoutMs = 10000);
SIMRT_API void Release(const std::string& point);
SIMRT_API void ReleaseAllGates();

// Canceling a simulated operation makes it Canceled at once and raises
// Completed afterwards from a runtime thread, as the system's operations do;
// with this on, Completed is raised inside Cancel instead (some system
// operations do that). Reset: off.
SIMRT_API void SetCancelCompletesInline(bool inlineCompletion);

// The scripted user: a run that names a script (environment variable
// TAVLET_SIM_SCRIPT = a file, or "default") is played from the first
// activation on, on a runtime thread of its own. True while it plays.
SIMRT_API bool ScriptedUserPlaying();

// ---- Fault injection ------------------------------------------------------
// Members are named "Interface.Method" (e.g. "IApiInformationStatics.IsTypePresent");
// activating a class is named by the class's full name.
SIMRT_API void FailNext(const std::string& member, int count, HRESULT hr);
SIMRT_API void FailAlways(const std::string& member, HRESULT hr);
SIMRT_API void ClearFaults();
// How many times a member has been called (fault or not) since Reset.
SIMRT_API long Calls(const std::string& member);

// ---- Activation -----------------------------------------------------------
SIMRT_API long FactoryRequests(const std::wstring& className);
// Factories made from now on answer IAgileObject (true, the default) or not.
SIMRT_API void SetAgile(const std::wstring& className, bool agile);

// ---- Windows.Foundation.Metadata.ApiInformation ---------------------------
SIMRT_API void SetTypePresent(const std::wstring& typeName, bool present);
SIMRT_API void SetMethodPresent(const std::wstring& typeName, const std::wstring& methodName, bool present);
SIMRT_API void SetEventPresent(const std::wstring& typeName, const std::wstring& eventName, bool present);

// ---- Radial controller (Windows.UI.Input, Windows.Storage) -------------------
// (dial control)
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

// Windows.Storage.StorageFile.GetFileFromPathAsync: how its operations complete.
enum class FileLoadCompletion {
    Inline,     // before GetFileFromPathAsync returns, on the calling thread
    OwnThread,  // each on a runtime thread, at once (the default)
    Manual,     // when a test calls CompleteFileLoads, on a runtime thread
};
SIMRT_API void SetFileLoadCompletion(FileLoadCompletion mode);
SIMRT_API long FileLoadsStarted();
SIMRT_API long PendingFileLoads();
// Completes up to `count` pending loads (all for -1), oldest first, each where
// the runtime delivers (a runtime thread by default): a file that exists yields a StorageFile, any other path fails
// with 0x80070002. Returns how many were completed.
SIMRT_API long CompleteFileLoads(long count = -1);
// Waits (pumping) for the loads that run on runtime threads.
SIMRT_API void WaitForFileLoads();

// ---- Asynchronous operations, tiles, notifications ---------------------------
// (tiles control)
// Secondary tiles (Windows.UI.StartScreen). The pinned set answers
// SecondaryTile.Exists; nothing is pinned after Reset. A create request that
// completes with true pins its tile, a delete request with true unpins it.
SIMRT_API void SetTilePinned(const std::wstring& tileId, bool pinned);
SIMRT_API bool IsTilePinned(const std::wstring& tileId);

// Every runtime SecondaryTile made since Reset, in order.
struct SecondaryTileRecord {
    bool alive = false;
    bool minimal = false;         // made by CreateMinimalTile (else CreateWithId)
    std::wstring tileId, displayName, arguments, logoUri;
    int32_t desiredSize = -1;     // runtime TileSize given to CreateMinimalTile
    HWND window = nullptr;        // last window given to IInitializeWithWindow
    long windowInitializations = 0;
};
// Tiles made from now on answer ISecondaryTile2 (the default) or not (older systems).
SIMRT_API void SetSecondaryTile2(bool present);
SIMRT_API long SecondaryTileCount();
SIMRT_API SecondaryTileRecord SecondaryTileAt(long index);

// What the visual elements of tiles made from now on report; an empty logo
// text is a logo that is not set. The Square150x150 logo of a tile made from
// create arguments is the one it was created with.
struct TileVisuals {
    uint8_t a = 0, r = 0, g = 0, b = 0;  // BackgroundColor (transparent)
    int32_t foregroundText = 1;          // ForegroundText: 0 Dark, 1 Light
    bool showNameOnSquare150x150 = false, showNameOnWide310x150 = false, showNameOnSquare310x310 = false;
    std::wstring square44x44, square71x71, square150x150, wide310x150, square310x310;
};
SIMRT_API void SetTileVisuals(const TileVisuals& visuals);
// Visual elements made from now on answer ISecondaryTileVisualElements2 and 3
// (both by default, as a current system does) or not (older systems).
SIMRT_API void SetTileVisualElementsInterfaces(bool hasVisualElements2, bool hasVisualElements3);

// Every pin (create) and unpin (delete) request since Reset, in order: an
// IAsyncOperation<Boolean> that the test finishes; the completion is raised
// where the runtime delivers (a runtime thread by default). Finishing
// returns false when the request is gone or has already finished.
struct TileRequestRecord {
    bool alive = false;
    bool isDelete = false;
    std::wstring tileId;
    int32_t status = -1;          // AsyncStatus while alive and not closed
    bool closed = false;
    bool hasHandler = false;      // a Completed handler was accepted
};
SIMRT_API long TileRequestCount();
SIMRT_API TileRequestRecord TileRequestAt(long index);
// The oldest request still waiting for the user's answer, -1 for none.
SIMRT_API long PendingTileRequest();
SIMRT_API bool CompleteTileRequest(long index, bool result);
SIMRT_API bool FailTileRequest(long index, HRESULT error);
SIMRT_API bool CancelTileRequest(long index);
// From now on the request's IAsyncInfo.Status answers `status`, whatever its
// state (to stand for a value the system might add); false when it is gone.
SIMRT_API bool ReportTileRequestStatus(long index, int32_t status);

// Tile updaters (Windows.UI.Notifications) made since Reset, in order, with
// everything sent to them.
struct TileUpdateRecord {
    std::wstring xml;
    bool hasTag = false;
    std::wstring tag;
    bool hasExpiration = false;
    int64_t expirationTicks = 0;  // DateTime.UniversalTime
};
struct TileUpdaterRecord {
    bool alive = false;
    bool forUser = false;         // made by a TileUpdateManagerForUser
    std::wstring userId;
    bool secondaryTile = false;
    std::wstring applicationId;   // empty: the calling application
    std::wstring tileId;
    std::vector<TileUpdateRecord> updates;
    long clears = 0;
    int queue = -1;               // -1 never switched, 0 off, 1 on
    int queueSquare150x150 = -1, queueWide310x150 = -1, queueSquare310x310 = -1;
};
SIMRT_API long TileUpdaterCount();
SIMRT_API TileUpdaterRecord TileUpdaterAt(long index);
// Updaters made from now on answer ITileUpdater2 (the default) or not.
SIMRT_API void SetTileUpdater2(bool present);
// The managers' Create... members succeed without an updater (true) or
// answer one (false, the default).
SIMRT_API void SetTileUpdaterAnswersEmpty(bool empty);

// ---- Sharing (Windows.ApplicationModel.DataTransfer) --------------------------
// (sharing control)
// DataTransferManager.IsSupported (true after Reset).
SIMRT_API void SetSharingSupported(bool supported);
// Managers answer IDataTransferManager2, packages IDataPackage3 (both true
// after Reset; the matching ApiInformation answers are set separately).
SIMRT_API void SetDataTransferManager2Present(bool present);
SIMRT_API void SetDataPackage3Present(bool present);
// Handlers registered now on the window's manager: "DataRequested",
// "TargetApplicationChosen" or "ShareProvidersRequested"; 0 without a manager.
SIMRT_API long ShareEventHandlers(HWND window, const std::wstring& eventName);
// Managers alive now (one per window while someone holds it).
SIMRT_API long LiveDataTransferManagers();
// ShowShareUIForWindow calls for the window since Reset.
SIMRT_API long ShareUIShows(HWND window);
// Whether the window's share UI is open (shown, not yet completed or dismissed).
SIMRT_API bool IsShareUIOpen(HWND window);
// A top-level window of this process whose share UI is open, or null.
SIMRT_API HWND OpenShareUIWindow();

// The window's share UI, one step at a time, each raised where the runtime
// delivers (a runtime thread by default, the caller pumping). Each step
// returns the last failing handler's HRESULT (S_OK when every handler
// succeeded) or 0x8000000E when the UI is not open (or, for the bitmap, when
// the package has no Bitmap provider).
SIMRT_API HRESULT ShareUIRequestData(HWND window);                      // DataRequested
SIMRT_API HRESULT ShareUIRequestProviders(HWND window, const std::vector<std::wstring>& installedTargets);
SIMRT_API std::vector<std::wstring> ShareUIProviderTitles(HWND window);  // the list after the request
SIMRT_API HRESULT ShareUIChooseTarget(HWND window, const std::wstring& applicationName);  // TargetApplicationChosen
SIMRT_API HRESULT ShareUIPickProvider(HWND window, const std::wstring& title);  // the listed provider's handler
// The package's Bitmap provider, asked as a target does: the call waits until
// the data is set and the deferral completed; a deferral released without
// completing (or no data) fails with E_FAIL.
SIMRT_API HRESULT ShareUIRequestBitmap(HWND window);
SIMRT_API HRESULT ShareUIComplete(HWND window);  // ShareCompleted, then the UI lets everything go
SIMRT_API void ShareUIDismiss(HWND window);      // the UI lets everything go; nothing is raised

// A share whose target was chosen goes on with that target when the window's
// share UI opens again: these act on the window's oldest such share.
SIMRT_API long ShareTargetsDelivering(HWND window);
SIMRT_API HRESULT ShareTargetRequestBitmap(HWND window);
SIMRT_API HRESULT ShareTargetComplete(HWND window);  // ShareCompleted; the target lets go
SIMRT_API std::string ShareTargetBitmapBytes(HWND window);

// What the window's latest package holds (kept after the UI closes, until the
// next share UI of the window or Reset).
struct SharedPackage {
    bool requested = false;  // DataRequested was raised
    bool hasTitle = false, hasDescription = false, hasText = false;
    std::wstring title, description, text;
    std::vector<std::wstring> formats;       // formats given a deferred provider
    std::vector<std::wstring> storageItems;  // paths of the shared files
    long shareCompletedHandlers = 0;         // registered now
    // The latest bitmap request: deferrals taken, completed, data handed over.
    long bitmapDeferrals = 0;
    bool bitmapDeferralCompleted = false;
    bool bitmapDelivered = false;  // a stream reference over an open in-memory stream
    uint64_t bitmapSize = 0;
};
SIMRT_API SharedPackage ShareUIPackage(HWND window);
// The delivered bitmap's bytes ("" when none was delivered).
SIMRT_API std::string ShareUIBitmapBytes(HWND window);

// ShareProvider: providers made by the factory since Reset, the latest one's
// arguments, and ShareProviderOperation.ReportCompleted calls.
struct CreatedShareProvider {
    std::wstring title;
    BYTE a = 0, r = 0, g = 0, b = 0;
    std::wstring iconFile;  // the file behind the icon ("" for another source)
    bool hasHandler = false;
};
SIMRT_API long ShareProvidersCreated();
SIMRT_API CreatedShareProvider LastShareProvider();
SIMRT_API long ShareProviderOperationsReported();

// DataWriter.WriteBytes: calls, their counts, and bytes copied out of the
// caller's memory since Reset. With copying off the writer only counts (for
// sizes a test cannot allocate); its store then adds nothing to the stream.
SIMRT_API void SetDataWriterCopiesBytes(bool copies);
SIMRT_API std::vector<uint32_t> DataWriterWriteSizes();
SIMRT_API uint64_t DataWriterBytesCopied();

// ---- COM context switching (test support) ----------------------------------
// Where the platform cannot enter a captured COM context from another thread
// (Wine's IContextCallback::ContextCallback is a stub), tavlet.dll's
// CoGetObjectContext is redirected to a stand-in whose contexts behave like
// the system's; a platform whose own switch works keeps it. Only tavlet.dll's
// calls are redirected. Installed by the test program before its tests and by
// the first activation through this runtime; idempotent and thread-safe.
// Returns whether tavlet.dll's import is redirected now (false when tavlet.dll
// is not loaded).
SIMRT_API bool InstallContextStandIn();
// Whether tavlet.dll is handed the stand-in's contexts (installed, and the
// platform's own switch does not work).
SIMRT_API bool ContextStandInActive();
// tavlet.dll's calls of CoGetObjectContext pass the fault-injection hook
// "CoGetObjectContext" first (with or without the stand-in).

// ---- tavlet.dll's imports (test support) -----------------------------------
// Points tavlet.dll's import of dllName!functionName (e.g. "kernel32.dll",
// "QueryFullProcessImageNameW") at replacement; returns what it pointed at, to
// be put back the same way (null when there is no such import).
SIMRT_API void* ReplaceLibraryImport(const char* dllName, const char* functionName, void* replacement);

}  // namespace sim
