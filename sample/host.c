/* The tavlet sample host: a classic Win32 program (C, tavlet.h and Win32 only)
 * that takes every feature of tavlet.dll from start to end, one flow after the
 * other, from its message loop:
 *
 *   1. availability answers
 *   2. the dial: created for a window, turned, pressed, an item of its menu invoked
 *   3. a secondary tile pinned (the answer comes back on this thread), then a
 *      tile notification sent to it
 *   4. a text file shared, and the target's name reported
 *   5. an image shared (its bytes read only when the target asks), likewise
 *   6. the host as a share target of its own: its provider picked, reporting completion
 *
 * The user's side — turning the dial, answering the pin dialog, choosing a
 * share target — comes from the system; under Wine, from the simulated
 * runtime's scripted user (scripts/run-sample), whose actions appear between
 * these lines as "[user] ...". The program ends by itself when every flow has
 * ended (exit code 0), or after 30 seconds (exit code 1).
 *
 * Windows pins tiles and updates them only for a program with package
 * identity: the sample says at start whether it has one, and unpackaged its
 * tile flow shows Windows refusing. */
#include <stdio.h>
#include <objbase.h>
#include <tavlet.h>

#ifndef PACKAGE_FAMILY_NAME_MAX_LENGTH /* appmodel.h, which not every SDK has */
#define PACKAGE_FAMILY_NAME_MAX_LENGTH 64
WINBASEAPI LONG WINAPI GetCurrentPackageFamilyName(UINT32* packageFamilyNameLength, PWSTR packageFamilyName);
#endif
#ifndef APPMODEL_ERROR_NO_PACKAGE
#define APPMODEL_ERROR_NO_PACKAGE 15700L
#endif

enum {
    WM_NEXT_FLOW = WM_APP + 1, /* the current flow has ended: start the next one */
    WM_DIAL_INPUT,             /* wParam: one of the DIAL_ bits, posted from a runtime thread */
    WM_PIN_ANSWERED,           /* wParam: whether the user pinned the tile */
    WM_SHARE_ENDED             /* a share or a provider's pick has ended */
};
enum { DIAL_ROTATED = 1, DIAL_PRESSED = 2, DIAL_BRUSH_INVOKED = 4, DIAL_ALL = 7 };
enum { TIMER_TIMEOUT = 1, TIMER_POLL = 2 };
#define TIMEOUT_MS 30000

static struct {
    HWND window;   /* main window (shown: dial input needs it in front): owns the dial and the shares, runs the flows */
    DWORD uiThread;
    int flow;      /* index into flows[] */
    unsigned dialInput;
    _WinRTDial* dial;
    _WinRTSecondaryTile* tile;
    _WinRTAsyncOperationBOOL* pin;
    _WinRTShareProvider* provider;
    wchar_t notesPath[MAX_PATH];
    BOOL packaged; /* the process has package identity */
} app;

/* A 1x1 PNG: the shared image, and the icons the sample writes for itself. */
static const unsigned char png[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00,
    0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x00, 0x01, 0x00, 0x00, 0x05, 0x00, 0x01,
    0x0D, 0x0A, 0x2D, 0xB4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

static const char* Thread(void) { return GetCurrentThreadId() == app.uiThread ? "the UI thread" : "a runtime thread"; }
static void Result(const char* what, HRESULT hr) { printf("  %s: 0x%08lx\n", what, (unsigned long)hr); }
static void FlowEnded(void) { PostMessageW(app.window, WM_NEXT_FLOW, 0, 0); }
/* Prints a step's result; a failed step ends its flow (nothing would come back). */
static BOOL Step(const char* what, HRESULT hr) {
    Result(what, hr);
    if (SUCCEEDED(hr)) return TRUE;
    printf("  this flow cannot go on: skipped\n");
    FlowEnded();
    return FALSE;
}

static BOOL WriteBytes(const wchar_t* path, const void* bytes, DWORD size) {
    DWORD written = 0;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    WriteFile(file, bytes, size, &written, NULL);
    CloseHandle(file);
    return written == size;
}

/* An installed host ships its icons beside the executable; the sample writes
 * its own there, so it runs from any folder. The share provider's icon URI
 * ms-appx:///Assets/share.png names <exe dir>\Assets\share.png when unpackaged. */
static void WriteAsset(const wchar_t* name, wchar_t* path) {
    wchar_t* slash;
    GetModuleFileNameW(NULL, path, MAX_PATH);
    slash = wcsrchr(path, L'\\');
    wcscpy(slash ? slash + 1 : path, L"Assets");
    CreateDirectoryW(path, NULL);
    wcscat(path, L"\\");
    wcscat(path, name);
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) WriteBytes(path, png, sizeof(png));
}

/* ---- Package identity ---- */

static void ShowPackageIdentity(void) {
    wchar_t family[PACKAGE_FAMILY_NAME_MAX_LENGTH + 1];
    UINT32 length = PACKAGE_FAMILY_NAME_MAX_LENGTH + 1;
    LONG error = GetCurrentPackageFamilyName(&length, family);

    app.packaged = error != APPMODEL_ERROR_NO_PACKAGE;
    if (error == ERROR_SUCCESS)
        printf("  package identity: %ls\n", family);
    else if (app.packaged)
        printf("  package identity: present (GetCurrentPackageFamilyName: %ld)\n", error);
    else
        printf("  package identity: none. Windows refuses an unpackaged program pinning (0x80073D54)\n"
               "  and tile updaters (0x80070490); the share provider's icon is a file beside the executable\n");
}

/* ---- 1. Availability ---- */

static void Ask(const char* label, BOOL answer) { printf("  %-58s %s\n", label, answer ? "yes" : "no"); }

static void ShowAvailability(void) {
    Ask("type Windows.Foundation.Metadata.ApiInformation",
        _WinRTApiInformation_IsEnabledType(L"Windows.Foundation.Metadata.ApiInformation"));
    Ask("type Windows.UI.Input.RadialController",
        _WinRTApiInformation_IsEnabledType(L"Windows.UI.Input.RadialController"));
    Ask("type Contoso.Missing", _WinRTApiInformation_IsEnabledType(L"Contoso.Missing"));
    Ask("event DataTransferManager.ShareProvidersRequested",
        _WinRTApiInformation_IsEnabledEvent(L"Windows.ApplicationModel.DataTransfer.DataTransferManager",
                                            L"ShareProvidersRequested"));
    Ask("method DataPackage.SetText",
        _WinRTApiInformation_IsEnabledMethod(L"Windows.ApplicationModel.DataTransfer.DataPackage", L"SetText"));
    Ask("radial controller", WinRTDialIsAvailable());
    Ask("sharing", WinRTSharingIsAvailable());
    FlowEnded();
}

/* ---- 2. The dial and its menu ---- */

/* Dial callbacks run synchronously on whichever thread the runtime raises the
 * event on (here one of the simulated runtime's own), so they only print and
 * post to the window. */
static void TAVLET_CALL OnDialRotation(float delta, POINT point, RECT bounds, uint32_t pressed) {
    (void)point;
    (void)bounds;
    printf("  rotation by %.1f degrees, button %s (on %s)\n", delta, pressed ? "down" : "up", Thread());
    PostMessageW(app.window, WM_DIAL_INPUT, DIAL_ROTATED, 0);
}
static void TAVLET_CALL OnDialButton(POINT point, RECT bounds) {
    (void)point;
    (void)bounds;
    printf("  button pressed (on %s)\n", Thread());
    PostMessageW(app.window, WM_DIAL_INPUT, DIAL_PRESSED, 0);
}
static void TAVLET_CALL OnInkColour(void) { printf("  menu item \"Ink colour\" invoked (on %s)\n", Thread()); }
static void TAVLET_CALL OnBrush(void) {
    printf("  menu item \"Brush\" invoked (on %s)\n", Thread());
    PostMessageW(app.window, WM_DIAL_INPUT, DIAL_BRUSH_INVOKED, 0);
}

static void StartDial(void) {
    wchar_t icon[MAX_PATH];
    uint32_t id = 0;
    HRESULT hr;

    if (!Step("WinRTDialIntialize", WinRTDialIntialize())) return;
    hr = WinRTDialCreate(app.window, &app.dial);
    if (!Step("WinRTDialCreate for the main window", SUCCEEDED(hr) && !app.dial ? E_NOINTERFACE : hr)) return;
    WinRTDialSetRotationResolution(app.dial, 5.0f);
    WinRTDialSetRotationChangedHandler(app.dial, OnDialRotation);
    WinRTDialSetButtonPressedHandler(app.dial, OnDialButton);

    WinRTDialAppendKnownMenuItem(app.dial, NULL, L"Ink colour", OnInkColour, &id);
    printf("  menu item \"Ink colour\" added as item %u (built-in icon: in the menu at once)\n", id);
    WriteAsset(L"brush.png", icon);
    WinRTDialAppendIconMenuItem(app.dial, icon, L"Brush", OnBrush, &id);
    printf("  menu item \"Brush\" queued as item %u with icon Assets\\brush.png\n", id);
    Result("WinRTDialCommitPendingMenuAdditions (the icon loads in the background)",
           WinRTDialCommitPendingMenuAdditions(app.dial));
    printf("  waiting for the user: turn the dial, press it, pick \"Brush\" in its menu\n");
    SetTimer(app.window, TIMER_POLL, 50, NULL);
}

static void PollMenu(void) {
    uint32_t count = 0;
    WinRTDialGetNumberOfMenuItems(app.dial, &count);
    if (count < 2) return;
    KillTimer(app.window, TIMER_POLL);
    printf("  menu items: %u (\"Brush\" arrived once its icon had loaded)\n", count);
}

static void OnDialInput(unsigned input) {
    app.dialInput |= input;
    if (app.dialInput != DIAL_ALL || !app.dial) return;
    KillTimer(app.window, TIMER_POLL);
    Result("WinRTDialTerminate (the dial is dropped; no more callbacks)", WinRTDialTerminate());
    app.dial = NULL;
    FlowEnded();
}

/* ---- 3. A secondary tile and a tile notification ---- */

/* Runs on the thread that registered it (the UI thread), from its message loop. */
static void TAVLET_CALL OnPinAnswered(void* context, BOOL pinned) {
    printf("  %s answered on %s: %s\n", (const char*)context, Thread(), pinned ? "pinned" : "not pinned");
    PostMessageW(app.window, WM_PIN_ANSWERED, (WPARAM)pinned, 0);
}

static void OnPinEnded(BOOL pinned);

static void StartTile(void) {
    _WinRTSecondaryTileCreateArgs args = {0};
    _WinRTSecondaryTileVisualElements* elements = NULL;
    uint32_t pinned = 0, color = 0;
    int32_t status = -1;
    BSTR logo = NULL;
    HRESULT hr;

    ShowPackageIdentity();
    _WinRTSecondaryTile_Exists(L"report.2026", &pinned);
    printf("  tile report.2026 pinned: %s\n", pinned ? "yes" : "no");
    args.displayName = L"Quarterly report";
    args.arguments = L"--open report.docx";
    args.logoUri = L"ms-appx:///Assets/Square150x150Logo.png";
    args.ownerWindow = app.window; /* owns the system's pin dialog */
    args.size = _WinRTTileSize_Medium;
    _WinRTSecondaryTile_Alloc(&app.tile);
    Result("_WinRTSecondaryTile_InitWithCreateArgs", _WinRTSecondaryTile_InitWithCreateArgs(app.tile, L"report.2026", &args));

    _WinRTSecondaryTile_GetVisualElements(app.tile, &elements);
    _WinRTSecondaryTileVisualElements_GetBackgroundColor(elements, &color);
    _WinRTSecondaryTileVisualElements_GetLogoUriMedium(elements, &logo);
    printf("  visual elements: background 0x%08x, medium logo %ls\n", color, logo ? logo : L"(none)");
    SysFreeString(logo);
    _WinRTSecondaryTileVisualElements_Dealloc(elements);

    /* The operation stays alive until it completes: releasing it would cancel it.
     * Windows refuses it at once without package identity, without the owner
     * window, or off that window's thread. */
    hr = _WinRTSecondaryTile_RequestCreateAsync(app.tile, &app.pin);
    Result("_WinRTSecondaryTile_RequestCreateAsync", hr);
    if (FAILED(hr)) {
        printf("  Windows refused the pin request%s\n", app.packaged ? "" : ": no package identity");
        OnPinEnded(FALSE);
        return;
    }
    _WinRTAsyncOperationBOOL_GetStatus(app.pin, &status);
    printf("  status %d (0: waiting for the user)\n", status);
    _WinRTAsyncOperationBOOL_Completed(app.pin, OnPinAnswered, (void*)"the pin request");
    printf("  waiting for the user to answer the pin dialog\n");
}

static void SendTileNotification(BOOL pinned) {
    _WinRTTileUpdater* updater = NULL;
    _WinRTTileUpdateArgs update = {0};
    HRESULT hr;

    update.structSize = sizeof(update);
    update.xml = L"<tile><visual><binding template=\"TileMedium\"><text>3 new comments</text></binding></visual></tile>";
    update.tag = L"comments";
    update.expiration = _WinRTTileUpdate_NoExpiration;
    _WinRTTileUpdater_Alloc(&updater);
    if (pinned)
        hr = _WinRTTileUpdater_InitWithSecondaryTile(updater, L"report.2026", NULL);
    else
        hr = _WinRTTileUpdater_InitWithPrimaryTile(updater, NULL, NULL);
    Result(pinned ? "updater for tile report.2026" : "updater for the main tile", hr);
    if (FAILED(hr)) {
        printf("  Windows gives no tile updater%s: no notification sent\n", app.packaged ? "" : " without package identity");
        _WinRTTileUpdater_Dealloc(updater);
        return;
    }
    _WinRTTileUpdater_EnableNotificationQueuing(updater, 1);
    Result("tile notification sent", _WinRTTileUpdater_Update(updater, &update));
    update.xml = L"<tile><visual>";
    Result("malformed tile XML refused", _WinRTTileUpdater_Update(updater, &update));
    _WinRTTileUpdater_Dealloc(updater);
}

static void OnPinEnded(BOOL pinned) {
    uint32_t exists = 0;
    /* Freed from the message loop, not from inside its own callback. */
    _WinRTAsyncOperationBOOL_Dealloc(app.pin);
    app.pin = NULL;
    _WinRTSecondaryTile_Dealloc(app.tile);
    app.tile = NULL;
    _WinRTSecondaryTile_Exists(L"report.2026", &exists);
    printf("  tile report.2026 pinned: %s\n", exists ? "yes" : "no");
    SendTileNotification(pinned);
    FlowEnded();
}

/* ---- 4. and 5. Sharing a text file and an image ---- */

/* Share callbacks run on the thread that shared, from its message loop. */
static void TAVLET_CALL OnFileShared(const char* target, void* context, const char* path) {
    printf("  %s (%s) shared to \"%s\" (on %s)\n", (const char*)context, path, target, Thread());
    PostMessageW(app.window, WM_SHARE_ENDED, 0, 0);
}
static void TAVLET_CALL OnImageShared(const char* target, void* context, const void* data) {
    printf("  %s shared to \"%s\" (on %s); the library will not read its %s again\n", (const char*)context, target,
           Thread(), data == png ? "bytes" : "data");
    PostMessageW(app.window, WM_SHARE_ENDED, 0, 0);
}

static void StartFileShare(void) {
    static const char notes[] = "Agenda: the dial, the tiles, the share UI.\r\n";
    char path[3 * MAX_PATH];

    GetTempPathW(MAX_PATH, app.notesPath);
    wcscat(app.notesPath, L"tavlet-sample-notes.txt");
    WriteBytes(app.notesPath, notes, sizeof(notes) - 1);
    WideCharToMultiByte(CP_UTF8, 0, app.notesPath, -1, path, sizeof(path), NULL, NULL);
    if (!Step("WinRTShareFileForWindow (the share UI opens once the file is found)",
              WinRTShareFileForWindow(app.window, L"Meeting notes", L"A text file", path, (void*)"the notes",
                                      OnFileShared, NULL)))
        return;
    printf("  waiting for the user to choose a target\n");
}

static void StartImageShare(void) {
    /* The bytes must stay alive and unchanged until the callback. */
    if (!Step("WinRTShareDataForWindow (the bytes are read only when a target asks)",
              WinRTShareDataForWindow(app.window, L"Sample image", L"A 1x1 PNG", NULL, png, sizeof(png),
                                      (void*)"the image", OnImageShared, NULL)))
        return;
    printf("  waiting for the user to choose a target\n");
}

/* ---- 6. The host as a share target of its own ---- */

/* Runs in the COM context of the thread that allocated the provider (the UI
 * thread). The operation is lent only for this call. */
static void TAVLET_CALL OnProviderPicked(void* context, _WinRTShareProviderOperation* operation) {
    printf("  %s picked as the share target (on %s)\n", (const char*)context, Thread());
    Result("_WinRTShareProviderOperation_ReportCompleted", _WinRTShareProviderOperation_ReportCompleted(operation));
    PostMessageW(app.window, WM_SHARE_ENDED, 0, 0);
}

static void StartProvider(void) {
    _WinRTShareProviderInitArgs args;

    ZeroMemory(&args, sizeof(args));
    args.structSize = sizeof(args);
    args.title = L"tavlet sample";
    args.iconUri = L"ms-appx:///Assets/share.png";
    args.backgroundColor = 0xFF2B579A;
    args.callback = OnProviderPicked;
    args.context = (void*)"the sample's provider";
    if (!WinRTSharingIsAvailable()) {
        Step("WinRTSharingIsAvailable", E_NOINTERFACE);
        return;
    }
    _WinRTShareProvider_Alloc(&app.provider);
    if (!Step("_WinRTShareProvider_InitWithArgs (its icon is looked up in the background)",
              _WinRTShareProvider_InitWithArgs(app.provider, &args)))
        return;
    SetTimer(app.window, TIMER_POLL, 50, NULL);
}

/* The provider is ready once its title reads back. */
static void PollProvider(void) {
    BSTR title = NULL, icon = NULL;
    uint32_t color = 0;

    _WinRTShareProvider_GetTitle(app.provider, &title);
    if (title && title[0]) {
        KillTimer(app.window, TIMER_POLL);
        _WinRTShareProvider_GetIconUri(app.provider, &icon);
        _WinRTShareProvider_GetBackgroundColor(app.provider, &color);
        printf("  provider ready: \"%ls\", icon %ls, colour 0x%08x\n", title, icon ? icon : L"", color);
        /* A text share calls nothing back; the provider's pick ends this flow. */
        if (Step("WinRTShareDataForWindow with a text and the provider",
                 WinRTShareDataForWindow(app.window, L"Quote", NULL, L"Simple things should be simple.", NULL, 0,
                                         NULL, NULL, app.provider)))
            printf("  waiting for the user to pick \"tavlet sample\" in the share UI\n");
    }
    SysFreeString(icon);
    SysFreeString(title);
}

/* ---- The flows, one after the other ---- */

static const struct {
    const char* title;
    void (*start)(void);
} flows[] = {
    {"Availability", ShowAvailability},
    {"The dial and its menu", StartDial},
    {"A secondary tile and a tile notification", StartTile},
    {"Sharing a text file", StartFileShare},
    {"Sharing an image", StartImageShare},
    {"The host as a share target of its own", StartProvider},
};
#define FLOW_COUNT ((int)(sizeof(flows) / sizeof(flows[0])))

static void NextFlow(void) {
    if (++app.flow == FLOW_COUNT) {
        printf("\nEvery flow has ended.\n");
        PostQuitMessage(0);
        return;
    }
    printf("\n%d. %s\n", app.flow + 1, flows[app.flow].title);
    flows[app.flow].start();
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NEXT_FLOW: NextFlow(); return 0;
    case WM_DIAL_INPUT: OnDialInput((unsigned)wParam); return 0;
    case WM_PIN_ANSWERED: OnPinEnded((BOOL)wParam); return 0;
    case WM_SHARE_ENDED:
        if (app.notesPath[0]) DeleteFileW(app.notesPath);
        app.notesPath[0] = 0;
        FlowEnded();
        return 0;
    case WM_TIMER:
        if (wParam == TIMER_POLL && app.dial) PollMenu();
        if (wParam == TIMER_POLL && app.provider) PollProvider();
        if (wParam == TIMER_TIMEOUT) {
            printf("\nTimed out: \"%s\" did not end within %d seconds.\n", flows[app.flow].title, TIMEOUT_MS / 1000);
            PostQuitMessage(1);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int main(void) {
    WNDCLASSW windowClass;
    MSG message;

    /* Unbuffered, so these lines and the scripted user's stay in order. */
    setvbuf(stdout, NULL, _IONBF, 0);
    /* The host initialises its UI thread as a single-threaded apartment. */
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    app.uiThread = GetCurrentThreadId();
    app.flow = -1;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = L"TavletSample";
    RegisterClassW(&windowClass);
    app.window = CreateWindowExW(0, L"TavletSample", L"tavlet sample", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, NULL, NULL,
                                 windowClass.hInstance, NULL);
    ShowWindow(app.window, SW_SHOWNORMAL); /* the user brings it to the front to use the dial */
    printf("tavlet sample host: each flow from start to end\n");
    {
        wchar_t icon[MAX_PATH];
        WriteAsset(L"share.png", icon); /* the share provider's icon, looked up in flow 6 */
    }
    SetTimer(app.window, TIMER_TIMEOUT, TIMEOUT_MS, NULL);
    FlowEnded();
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    /* Everything is freed, whichever way the loop ended. */
    WinRTDialTerminate();
    WinRTSharingTerminate(); /* no share callback after this */
    _WinRTShareProvider_Dealloc(app.provider);
    _WinRTAsyncOperationBOOL_Dealloc(app.pin);
    _WinRTSecondaryTile_Dealloc(app.tile);
    if (app.notesPath[0]) DeleteFileW(app.notesPath);
    DestroyWindow(app.window);
    CoUninitialize();
    return (int)message.wParam;
}
