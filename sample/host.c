/* A classic Win32 host using tavlet: it asks what the running system offers. */
#include <stdio.h>
#include <objbase.h>
#include <tavlet.h>

static void Ask(const char* label, BOOL answer) { printf("%-60s %s\n", label, answer ? "yes" : "no"); }

/* ---- Radial controller ---- */

static void TAVLET_CALL OnDialRotation(float delta, POINT point, RECT bounds, uint32_t pressed) {
    printf("  rotation %.1f degrees at (%ld, %ld) in (%ld, %ld, %ld, %ld), button %s\n", delta, point.x, point.y,
           bounds.left, bounds.top, bounds.right, bounds.bottom, pressed ? "pressed" : "up");
}
static void TAVLET_CALL OnDialButton(POINT point, RECT bounds) {
    (void)bounds;
    printf("  button pressed at (%ld, %ld)\n", point.x, point.y);
}
static void TAVLET_CALL OnDialLost(void) { printf("  control lost\n"); }
static void TAVLET_CALL OnBrushItem(void) { printf("  menu item \"Brush\" invoked\n"); }

static void ShowDial(void) {
    HWND window;
    _WinRTDial* dial = NULL;
    uint32_t id = 0, count = 0;
    wchar_t icon[MAX_PATH];
    HRESULT hr;
    int waited;

    printf("\nRadial controller:\n");
    Ask("radial controller available", WinRTDialIsAvailable());
    hr = WinRTDialIntialize();
    printf("  WinRTDialIntialize: 0x%08lx\n", (unsigned long)hr);
    if (FAILED(hr)) return;

    window = CreateWindowExW(0, L"Static", L"tavlet sample", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, NULL, NULL, NULL, NULL);
    hr = WinRTDialCreate(window, &dial);
    printf("  WinRTDialCreate: 0x%08lx, dial %s\n", (unsigned long)hr, dial ? "bound to the window" : "none");
    if (SUCCEEDED(hr) && dial) {
        WinRTDialSetRotationResolution(dial, 5.0f);
        WinRTDialSetRotationChangedHandler(dial, OnDialRotation);
        WinRTDialSetButtonPressedHandler(dial, OnDialButton);
        WinRTDialSetControlLostHandler(dial, OnDialLost);

        WinRTDialAppendKnownMenuItem(dial, NULL, L"Ink colour", NULL, &id);
        printf("  added \"Ink colour\" as item %u\n", id);
        /* Any image file; this program's own path stands in for one here. */
        GetModuleFileNameW(NULL, icon, MAX_PATH);
        WinRTDialAppendIconMenuItem(dial, icon, L"Brush", OnBrushItem, &id);
        printf("  queued \"Brush\" as item %u\n", id);
        WinRTDialCommitPendingMenuAdditions(dial);
        /* The icon loads in the background; the item arrives when it has. */
        for (waited = 0; waited < 50; ++waited) {
            WinRTDialGetNumberOfMenuItems(dial, &count);
            if (count == 2) break;
            Sleep(20);
        }
        printf("  menu items: %u\n", count);
        WinRTDialClearMenu(dial);
    }
    WinRTDialTerminate();
    if (window) DestroyWindow(window);
}

/* ---- Sharing ---- */

static void TAVLET_CALL OnShareProviderPicked(void* context, _WinRTShareProviderOperation* operation) {
    printf("  %s picked as share target\n", (const char*)context);
    _WinRTShareProviderOperation_ReportCompleted(operation);
}
static void TAVLET_CALL OnShared(const char* target, void* context, const void* data) {
    (void)data;
    printf("  %s shared to \"%s\"\n", (const char*)context, target);
}

static void ShowSharing(void) {
    static const unsigned char image[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    _WinRTShareProvider* provider = NULL;
    _WinRTShareProviderInitArgs args;
    HWND window;
    BSTR icon = NULL;
    uint32_t color = 0;
    HRESULT hr;

    printf("\nSharing:\n");
    Ask("sharing available", WinRTSharingIsAvailable());
    window = CreateWindowExW(0, L"Static", L"tavlet sample", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, NULL, NULL, NULL, NULL);

    /* The host as a share target of its own; unpackaged, its icon is the
     * file Assets\share.png beside this program (built when found). */
    _WinRTShareProvider_Alloc(&provider);
    ZeroMemory(&args, sizeof(args));
    args.structSize = sizeof(args);
    args.title = L"tavlet sample";
    args.iconUri = L"ms-appx:///Assets/share.png";
    args.backgroundColor = 0xFF2B579A;
    args.callback = OnShareProviderPicked;
    args.context = (void*)"the sample";
    hr = _WinRTShareProvider_InitWithArgs(provider, &args);
    _WinRTShareProvider_GetIconUri(provider, &icon);
    _WinRTShareProvider_GetBackgroundColor(provider, &color);
    printf("  provider initialised: 0x%08lx, icon \"%ls\" (empty until found), colour 0x%08x\n", (unsigned long)hr,
           icon ? icon : L"", color);
    SysFreeString(icon);

    /* The bytes are read only when a target asks; the callback says when the
     * library is done with them. */
    hr = WinRTShareDataForWindow(window, L"Sample image", L"Eight bytes of PNG signature", NULL, image, sizeof(image),
                                 (void*)"the image", OnShared, provider);
    printf("  share UI opened: 0x%08lx\n", (unsigned long)hr);

    WinRTSharingTerminate(); /* shutting down: no share callback after this */
    _WinRTShareProvider_Dealloc(provider);
    if (window) DestroyWindow(window);
}

/* ---- Start-screen tiles ---- */
static void TAVLET_CALL OnPinAnswered(void* context, BOOL pinned) {
    printf("  %s: the user %s\n", (const char*)context, pinned ? "pinned it" : "did not pin it");
}

static void ShowTiles(void) {
    _WinRTSecondaryTile* tile = NULL;
    _WinRTSecondaryTileVisualElements* elements = NULL;
    _WinRTAsyncOperationBOOL* pin = NULL;
    _WinRTTileUpdater* updater = NULL;
    _WinRTSecondaryTileCreateArgs args = {0};
    _WinRTTileUpdateArgs update = {0};
    uint32_t pinned = 0, color = 0;
    int32_t status = -1;
    BSTR logo = NULL;
    HRESULT hr;

    printf("\nTiles:\n");
    _WinRTSecondaryTile_Exists(L"report.2026", &pinned);
    printf("  tile report.2026 pinned: %s\n", pinned ? "yes" : "no");

    args.displayName = L"Quarterly report";
    args.arguments = L"--open report.docx";
    args.logoUri = L"ms-appx:///Assets/Square150x150Logo.png";
    args.ownerWindow = NULL; /* a windowed host passes its main window: it owns the pin dialog */
    args.size = _WinRTTileSize_Medium;
    _WinRTSecondaryTile_Alloc(&tile);
    hr = _WinRTSecondaryTile_InitWithCreateArgs(tile, L"report.2026", &args);
    printf("  tile created: 0x%08lx\n", (unsigned long)hr);

    _WinRTSecondaryTile_GetVisualElements(tile, &elements);
    _WinRTSecondaryTileVisualElements_GetBackgroundColor(elements, &color);
    _WinRTSecondaryTileVisualElements_GetLogoUriMedium(elements, &logo);
    printf("  background 0x%08x, medium logo %ls\n", color, logo ? logo : L"(none)");
    SysFreeString(logo);
    _WinRTSecondaryTileVisualElements_Dealloc(elements);

    /* The user answers the pin dialog later; the callback runs on this thread. */
    hr = _WinRTSecondaryTile_RequestCreateAsync(tile, &pin);
    _WinRTAsyncOperationBOOL_GetStatus(pin, &status);
    printf("  pin requested: 0x%08lx, status %d (0 = waiting for the user)\n", (unsigned long)hr, status);
    _WinRTAsyncOperationBOOL_Completed(pin, OnPinAnswered, (void*)"pin request");
    _WinRTAsyncOperationBOOL_Dealloc(pin); /* still waiting: releasing cancels it */
    _WinRTSecondaryTile_Dealloc(tile);

    update.structSize = sizeof(update);
    update.xml = L"<tile><visual><binding template=\"TileMedium\"><text>3 new comments</text></binding></visual></tile>";
    update.tag = L"comments";
    update.expiration = _WinRTTileUpdate_NoExpiration;
    _WinRTTileUpdater_Alloc(&updater);
    hr = _WinRTTileUpdater_InitWithPrimaryTile(updater, NULL, NULL);
    printf("  main tile updater: 0x%08lx\n", (unsigned long)hr);
    _WinRTTileUpdater_EnableNotificationQueuing(updater, 1);
    hr = _WinRTTileUpdater_Update(updater, &update);
    printf("  tile notification sent: 0x%08lx\n", (unsigned long)hr);
    update.xml = L"<tile><visual>";
    hr = _WinRTTileUpdater_Update(updater, &update);
    printf("  malformed tile XML refused: 0x%08lx\n", (unsigned long)hr);
    _WinRTTileUpdater_Dealloc(updater);
}

int main(void) {
    /* The host initialises its UI thread as a single-threaded apartment. */
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    printf("tavlet sample host\n\nAvailability:\n");
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
    ShowDial();
    ShowSharing();
    ShowTiles();
    return 0;
}
