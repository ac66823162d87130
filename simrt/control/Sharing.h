// Control of sharing (Windows.ApplicationModel.DataTransfer): the managers,
// the share UI step by step, the target, the package and share providers.
#pragma once

#include "Export.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// ---- Sharing (Windows.ApplicationModel.DataTransfer) --------------------------
// DataTransferManager.IsSupported (true after Reset).
SIMRT_API void SetSharingSupported(bool supported);
// Managers answer IDataTransferManager2 (ShareProvidersRequested) from build
// 15063; packages IDataPackage3 (ShareCompleted) from 15063 and IDataPackage4
// (ShareCanceled) from 19041. These answer so whatever the build (Reset: by
// build; the matching ApiInformation answers are set separately).
SIMRT_API void SetDataTransferManager2Present(bool present);
SIMRT_API void SetDataPackage3Present(bool present);
SIMRT_API void SetDataPackage4Present(bool present);
// Where the share UI raises the manager's events (DataRequested,
// TargetApplicationChosen, ShareProvidersRequested): on the window's thread,
// from its message loop (Reset), as for a manager, which is not agile; or on
// the runtime's threads. The interop calls (GetForWindow, ShowShareUIForWindow)
// and the manager's own (adding and removing handlers) fail with
// RPC_E_WRONG_THREAD off the window's thread either way.
enum class ShareEvents { WindowThread, RuntimeThreads };
SIMRT_API void SetShareEvents(ShareEvents where);
// How long a target waits for deferred data (DataProviderRequest.Deadline)
// after it asks (Reset: 30 s). Data set later is ignored and counted.
SIMRT_API void SetDataProviderDeadline(DWORD ms);
SIMRT_API long LateProviderData();
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

// The window's share UI, one step at a time: the manager's events where
// SetShareEvents says, the others on a runtime thread, the caller pumping.
// Each step returns the last failing handler's HRESULT (S_OK when every
// handler succeeded) or E_ILLEGAL_METHOD_CALL when the UI is not open (or, for
// the bitmap, when the package has no Bitmap provider). A package left without
// a title fails the share: the UI shows the failure, no target can be chosen
// nor complete (E_ILLEGAL_METHOD_CALL); only dismissing it is left.
SIMRT_API HRESULT ShareUIRequestData(HWND window);                      // DataRequested
SIMRT_API HRESULT ShareUIRequestProviders(HWND window, const std::vector<std::wstring>& installedTargets);
SIMRT_API std::vector<std::wstring> ShareUIProviderTitles(HWND window);  // the list after the request
SIMRT_API HRESULT ShareUIChooseTarget(HWND window, const std::wstring& applicationName);  // TargetApplicationChosen
SIMRT_API HRESULT ShareUIPickProvider(HWND window, const std::wstring& title);  // the listed provider's handler
// The package's Bitmap provider, asked as a target does: the call waits until
// the data is set and the deferral completed, at most until the deadline
// (then HRESULT_FROM_WIN32(ERROR_TIMEOUT)); a deferral released without
// completing (or no data) fails with E_FAIL.
SIMRT_API HRESULT ShareUIRequestBitmap(HWND window);
SIMRT_API HRESULT ShareUIComplete(HWND window);  // ShareCompleted, then the UI lets everything go
// The user closes the UI before choosing a target: ShareCanceled where the
// package has it, then the UI lets everything go.
SIMRT_API void ShareUIDismiss(HWND window);
// "Copy link": the UI closes; neither ShareCompleted nor ShareCanceled comes.
SIMRT_API void ShareUICopyLink(HWND window);

// A share whose target was chosen (or asked for the bitmap) goes on with that target when the window's
// share UI opens again: these act on the window's oldest such share.
SIMRT_API long ShareTargetsDelivering(HWND window);
SIMRT_API HRESULT ShareTargetRequestBitmap(HWND window);
SIMRT_API HRESULT ShareTargetComplete(HWND window);  // ShareCompleted; the target lets go
SIMRT_API std::string ShareTargetBitmapBytes(HWND window);

// What the window's latest package holds (kept after the UI closes, until the
// next share UI of the window or Reset).
struct SharedPackage {
    bool requested = false;  // DataRequested was raised
    bool failed = false;     // it left no title: the share failed
    bool hasTitle = false, hasDescription = false, hasText = false;
    std::wstring title, description, text;
    std::vector<std::wstring> formats;       // formats given a deferred provider
    std::vector<std::wstring> storageItems;  // paths of the shared files
    long shareCompletedHandlers = 0;         // registered now
    long shareCanceledHandlers = 0;
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

}  // namespace sim
