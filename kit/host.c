/* A small C host for the developer kit's check: it sets up a dial with a menu
 * item, a pin request and an image share, lets the scripted user
 * (kit/host.script) answer them, then plays the user itself through the
 * simulated runtime's C control API (tavlet_sim.h) and checks that nothing
 * is left alive. run-host runs it twice: with --packaged (kit/host.expected
 * lists what it must print) and without, as a classic desktop program, where
 * Windows refuses the pin request (kit/host-unpackaged.expected). */
#include <stdio.h>
#include <objbase.h>
#include <tavlet.h>
#include <tavlet_sim.h>

enum { ROTATED = 1, PRESSED = 2, UNDONE = 4, ANSWERED = 8, SHARED = 16, ALL = 31 };

static DWORD uiThread;
static const char* Thread(void) { return GetCurrentThreadId() == uiThread ? "the UI thread" : "a runtime thread"; }
static void Done(int flow) { PostThreadMessageW(uiThread, WM_APP, (WPARAM)flow, 0); }
static void Check(const char* what, HRESULT hr) {
    if (FAILED(hr)) printf("%s failed: 0x%08lx\n", what, (unsigned long)hr);
}

static void TAVLET_CALL OnRotation(float delta, POINT point, RECT bounds, uint32_t pressed) {
    (void)point;
    (void)bounds;
    printf("rotation %.1f degrees, button %s, on %s\n", delta, pressed ? "down" : "up", Thread());
    Done(ROTATED);
}
static void TAVLET_CALL OnButton(POINT point, RECT bounds) {
    printf("button pressed at (%ld, %ld) in (%ld, %ld, %ld, %ld), on %s\n", point.x, point.y, bounds.left,
           bounds.top, bounds.right, bounds.bottom, Thread());
    Done(PRESSED);
}
static void TAVLET_CALL OnUndo(void) {
    printf("menu item Undo invoked, on %s\n", Thread());
    Done(UNDONE);
}
static void TAVLET_CALL OnPin(void* context, BOOL pinned) {
    (void)context;
    printf("pin answered on %s: %s\n", Thread(), pinned ? "pinned" : "not pinned");
    Done(ANSWERED);
}
static void TAVLET_CALL OnShared(const char* target, void* context, const void* data) {
    (void)context;
    (void)data;
    printf("image shared to \"%s\" on %s\n", target, Thread());
    Done(SHARED);
}

/* Pumps until every flow is done, the script has ended, or the timeout. */
static int Pump(int* done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    MSG msg;
    while (*done != ALL || TavletSimScriptPlaying()) {
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_APP && !msg.hwnd) *done |= (int)msg.wParam;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (GetTickCount64() >= deadline) return 0;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return 1;
}

int main(void) {
    static const unsigned char image[] = {'K', 'I', 'T', '!'};
    _WinRTSecondaryTileCreateArgs args = {0};
    _WinRTSecondaryTile* tile = NULL;
    _WinRTAsyncOperationBOOL* pin = NULL;
    _WinRTDial* dial = NULL;
    _WinRTTileUpdater* updater = NULL;
    _WinRTTileUpdateArgs update = {sizeof(update), L"<tile><visual><binding template=\"TileMedium\"><text>Kit</text></binding></visual></tile>", L"",
                                   _WinRTTileUpdate_NoExpiration};
    HWND window;
    uint32_t id = 0;
    int done = 0, ok;
    HRESULT hr;

    setvbuf(stdout, NULL, _IONBF, 0);
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    uiThread = GetCurrentThreadId();
    window = CreateWindowExW(0, L"Static", L"kit host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, NULL, NULL,
                             NULL, NULL);

    Check("WinRTDialCreate", WinRTDialCreate(window, &dial));
    Check("WinRTDialSetRotationChangedHandler", WinRTDialSetRotationChangedHandler(dial, OnRotation));
    Check("WinRTDialSetButtonPressedHandler", WinRTDialSetButtonPressedHandler(dial, OnButton));
    Check("WinRTDialAppendKnownMenuItem", WinRTDialAppendKnownMenuItem(dial, NULL, L"Undo", OnUndo, &id));

    args.displayName = L"Kit tile";
    args.logoUri = L"ms-appx:///Assets/Logo.png";
    args.ownerWindow = window;
    Check("_WinRTSecondaryTile_Alloc", _WinRTSecondaryTile_Alloc(&tile));
    Check("_WinRTSecondaryTile_InitWithCreateArgs", _WinRTSecondaryTile_InitWithCreateArgs(tile, L"kit.tile", &args));
    /* Without package identity Windows refuses at once: no dialog, no answer. */
    hr = _WinRTSecondaryTile_RequestCreateAsync(tile, &pin);
    printf("package identity: %s, pin request: 0x%08lx\n", TavletSimIsPackaged() ? "yes" : "no", (unsigned long)hr);
    if (SUCCEEDED(hr))
        Check("_WinRTAsyncOperationBOOL_Completed", _WinRTAsyncOperationBOOL_Completed(pin, OnPin, NULL));
    else
        done |= ANSWERED;

    Check("WinRTShareDataForWindow",
          WinRTShareDataForWindow(window, L"Kit image", NULL, NULL, image, sizeof(image), NULL, OnShared, NULL));

    ok = Pump(&done, 20000);
    printf("scripted flows: %s\n", ok ? "all ended" : "timed out");

    /* The host plays the user itself: the dial on the screen now. */
    TavletSimSetDialOnScreen(1);
    printf("raised by the host: 0x%08lx\n",
           (unsigned long)TavletSimRaiseDialEventAt(TAVLET_SIM_DIAL_BUTTON_PRESSED, 0, 0, 10, 20, 5, 5, 30, 40, 0));
    printf("tile requests %d, waiting %d, kit.tile pinned %d\n", TavletSimTileRequestCount(),
           TavletSimPendingTileRequest(), TavletSimIsTilePinned(L"kit.tile"));
    printf("image bytes the target got: %d\n", TavletSimShareBitmapSize(window));

    /* Windows 11 accepts a live-tile update and shows nothing. */
    TavletSimSetWindowsBuild(22000);
    Check("_WinRTTileUpdater_Alloc", _WinRTTileUpdater_Alloc(&updater));
    hr = _WinRTTileUpdater_InitWithPrimaryTile(updater, NULL, NULL);
    if (SUCCEEDED(hr)) hr = _WinRTTileUpdater_Update(updater, &update);
    printf("tile update on build %u: 0x%08lx, shown %d\n", (unsigned)TavletSimWindowsBuild(), (unsigned long)hr,
           TavletSimLastTileUpdateShown());
    _WinRTTileUpdater_Dealloc(updater);

    _WinRTAsyncOperationBOOL_Dealloc(pin);
    _WinRTSecondaryTile_Dealloc(tile);
    WinRTDialTerminate();
    WinRTSharingTerminate();
    DestroyWindow(window);
    TavletSimWaitForRuntimeIdle(5000);
    /* The system keeps a window's dial (its controller, menu and configuration)
     * for the life of the process; everything else must be gone. */
    printf("simulated objects the host left alive: %d\n", TavletSimLiveObjects() - TavletSimObjectsKeptByRuntime());
    CoUninitialize();
    return ok ? 0 : 1;
}
