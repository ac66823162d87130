/*
 * tavlet.h - Windows Runtime features for classic Win32 programs.
 *
 * Valid C99 and C++. Every function returns an HRESULT unless stated; text
 * comes in as NUL-terminated UTF-16 and goes back as a BSTR that the caller
 * frees with SysFreeString. Handles are opaque values, not addresses; each is
 * ended by its own _Dealloc function, which takes it out of use before the
 * object is destroyed. A value is never handed out again in the process, so a
 * handle that is not live (freed, being freed by another thread, another
 * family's) stays refused: E_INVALIDARG, or S_OK doing nothing from _Dealloc
 * (docs/errors.md). See docs/ for the threads on which callbacks run.
 *
 * A process may end with handles still live: the library then releases
 * nothing that would call into another DLL under the loader lock (runtime
 * objects, its hidden window), and a _Dealloc that comes later, from another
 * DLL's detach, still finds its handle table intact. FreeLibrary unloads the
 * library only while no handler was handed to the runtime, and then releases
 * everything (docs/threading.md).
 */
#ifndef TAVLET_H
#define TAVLET_H

#include <windows.h>
#include <oleauto.h>
#include <stdint.h>

#define TAVLET_CALL __stdcall

/* The version this header belongs to; tavlet.dll carries the same numbers in
 * its version resource (FileVersion major.minor.patch.0). */
#define TAVLET_VERSION_MAJOR 0
#define TAVLET_VERSION_MINOR 1
#define TAVLET_VERSION_PATCH 0
#define TAVLET_VERSION_STRING "0.1.0"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Shared types --------------------------------------------------------- */

/* Tile sizes, shared by secondary tiles and the tile updater. */
typedef uint32_t _WinRTTileSize;
enum {
    _WinRTTileSize_Default = 0,
    _WinRTTileSize_Tiny = 1,   /* Square44x44 */
    _WinRTTileSize_Small = 2,  /* Square71x71 */
    _WinRTTileSize_Medium = 3, /* Square150x150 */
    _WinRTTileSize_Wide = 4,   /* Wide310x150 */
    _WinRTTileSize_Large = 5   /* Square310x310 */
};

/* ---- Availability --------------------------------------------------------- */

/* 1 when the named runtime type (method, event) exists on this system, else 0.
 * Never an error: any failure answers 0. A null name is taken as "". */
BOOL TAVLET_CALL _WinRTApiInformation_IsEnabledType(const wchar_t* typeName);
BOOL TAVLET_CALL _WinRTApiInformation_IsEnabledMethod(const wchar_t* typeName, const wchar_t* methodName);
BOOL TAVLET_CALL _WinRTApiInformation_IsEnabledEvent(const wchar_t* typeName, const wchar_t* eventName);

/* ---- Asynchronous boolean operations -------------------------------------- */
/* (async-boolean declarations) */
/* A runtime operation that yields a boolean (a tile's pin or unpin request). */
typedef struct _WinRTAsyncOperationBOOL _WinRTAsyncOperationBOOL;
enum {
    _WinRTAsyncStatus_Started = 0,
    _WinRTAsyncStatus_Completed = 1,
    _WinRTAsyncStatus_Canceled = 2,
    _WinRTAsyncStatus_Error = 3
};
/* Called once, in the apartment of the thread that registered it, with the
 * context given at registration and the result (0 for canceled and failed).
 * Never after _Dealloc returned on a single-threaded-apartment thread that
 * registered it; registered on a multithreaded-apartment thread, it runs on
 * the runtime's thread and a call in progress may outlast a _Dealloc. */
typedef void(TAVLET_CALL* AsyncOperationBOOLCompletedHandler)(void* context, BOOL result);

HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_GetStatus(_WinRTAsyncOperationBOOL* operation, int32_t* status);
HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_GetResults(_WinRTAsyncOperationBOOL* operation, BOOL* result);
HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Cancel(_WinRTAsyncOperationBOOL* operation);
HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Close(_WinRTAsyncOperationBOOL* operation);
HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Completed(_WinRTAsyncOperationBOOL* operation,
                                                       AsyncOperationBOOLCompletedHandler callback, void* context);
HRESULT TAVLET_CALL _WinRTAsyncOperationBOOL_Dealloc(_WinRTAsyncOperationBOOL* operation);

/* ---- Radial controller (dial) ---------------------------------------------- */
/* (dial declarations) */
/* One radial controller bound to one host window. The handle is an opaque value
 * that no later dial ever gets; it stays valid until the next WinRTDialCreate or
 * WinRTDialTerminate. A null handle makes every function return S_OK at once
 * and write nothing. Callbacks run synchronously on the thread on which the
 * runtime raises the event (see docs/dial.md). */
typedef struct _WinRTDial _WinRTDial;

typedef void (TAVLET_CALL* DialRotationChangedHandler)(float deltaDegrees, POINT point, RECT bounds,
                                                        uint32_t isButtonPressed);
typedef void (TAVLET_CALL* DialContactHandler)(POINT point, RECT bounds);
typedef void (TAVLET_CALL* DialNotifyHandler)(void);
typedef void (TAVLET_CALL* DialMenuItemHandler)(void);

/* E_NOINTERFACE when the system has no radial controller; creates the family's
 * dispatcher on the calling thread either way. (The spelling is part of the ABI.) */
HRESULT TAVLET_CALL WinRTDialIntialize(void);
HRESULT TAVLET_CALL WinRTDialTerminate(void);
/* 1 when the system supports the radial controller, else 0 (also on any failure). */
BOOL TAVLET_CALL WinRTDialIsAvailable(void);
/* Makes the dial for a window and makes it current; *dial is null when the
 * window cannot have one. Its controller becomes the system's app controller
 * only once everything else has succeeded: a failure leaves the app controller
 * where it was. */
HRESULT TAVLET_CALL WinRTDialCreate(HWND window, _WinRTDial** dial);
HRESULT TAVLET_CALL WinRTDialSetRotationResolution(_WinRTDial* dial, float degrees);
/* A null callback removes the registration. */
HRESULT TAVLET_CALL WinRTDialSetRotationChangedHandler(_WinRTDial* dial, DialRotationChangedHandler handler);
HRESULT TAVLET_CALL WinRTDialSetButtonPressedHandler(_WinRTDial* dial, DialContactHandler handler);
HRESULT TAVLET_CALL WinRTDialSetScreenContactStartedHandler(_WinRTDial* dial, DialContactHandler handler);
HRESULT TAVLET_CALL WinRTDialSetScreenContactContinuedHandler(_WinRTDial* dial, DialContactHandler handler);
HRESULT TAVLET_CALL WinRTDialSetScreenContactEndedHandler(_WinRTDial* dial, DialNotifyHandler handler);
HRESULT TAVLET_CALL WinRTDialSetControlAcquiredHandler(_WinRTDial* dial, DialContactHandler handler);
HRESULT TAVLET_CALL WinRTDialSetControlLostHandler(_WinRTDial* dial, DialNotifyHandler handler);

/* The menu. Ids count up from 1 across all dials. Icon items are queued and
 * reach the menu one after another once committed. */
HRESULT TAVLET_CALL WinRTDialGetNumberOfMenuItems(_WinRTDial* dial, uint32_t* count);
HRESULT TAVLET_CALL WinRTDialClearMenu(_WinRTDial* dial);
/* Adds an item with the built-in ink-colour icon; `reserved` is never read. */
HRESULT TAVLET_CALL WinRTDialAppendKnownMenuItem(_WinRTDial* dial, const void* reserved, const wchar_t* displayText,
                                                 DialMenuItemHandler handler, uint32_t* id);
HRESULT TAVLET_CALL WinRTDialAppendIconMenuItem(_WinRTDial* dial, const wchar_t* iconPath, const wchar_t* displayText,
                                                DialMenuItemHandler handler, uint32_t* id);
HRESULT TAVLET_CALL WinRTDialCommitPendingMenuAdditions(_WinRTDial* dial);

/* ---- Secondary tiles -------------------------------------------------------- */
/* (secondary-tile declarations) */
typedef struct _WinRTSecondaryTile _WinRTSecondaryTile;
typedef struct _WinRTSecondaryTileVisualElements _WinRTSecondaryTileVisualElements;

/* A new tile; read only during _WinRTSecondaryTile_InitWithCreateArgs. Null
 * texts count as empty. */
typedef struct _WinRTSecondaryTileCreateArgs {
    void* reserved;              /* not read */
    const wchar_t* displayName;
    const wchar_t* arguments;    /* given to the application when the tile is launched */
    const wchar_t* logoUri;      /* Square150x150 logo, e.g. L"ms-appx:///Assets/Logo.png" */
    HWND ownerWindow;            /* owner of the system's pin dialog; NULL for none */
    _WinRTTileSize size;         /* 0..5 */
} _WinRTSecondaryTileCreateArgs;

HRESULT TAVLET_CALL _WinRTSecondaryTile_Alloc(_WinRTSecondaryTile** tile);
HRESULT TAVLET_CALL _WinRTSecondaryTile_InitWithTileID(_WinRTSecondaryTile* tile, const wchar_t* tileId);
HRESULT TAVLET_CALL _WinRTSecondaryTile_InitWithCreateArgs(_WinRTSecondaryTile* tile, const wchar_t* tileId,
                                                           const _WinRTSecondaryTileCreateArgs* args);
HRESULT TAVLET_CALL _WinRTSecondaryTile_Exists(const wchar_t* tileId, uint32_t* exists);
HRESULT TAVLET_CALL _WinRTSecondaryTile_GetTileID(_WinRTSecondaryTile* tile, BSTR* tileId);
HRESULT TAVLET_CALL _WinRTSecondaryTile_GetVisualElements(_WinRTSecondaryTile* tile,
                                                          _WinRTSecondaryTileVisualElements** elements);
HRESULT TAVLET_CALL _WinRTSecondaryTile_RequestCreateAsync(_WinRTSecondaryTile* tile,
                                                           _WinRTAsyncOperationBOOL** operation);
HRESULT TAVLET_CALL _WinRTSecondaryTile_RequestDeleteAsync(_WinRTSecondaryTile* tile,
                                                           _WinRTAsyncOperationBOOL** operation);
HRESULT TAVLET_CALL _WinRTSecondaryTile_Dealloc(_WinRTSecondaryTile* tile);

/* Colour 0xAARRGGBB; foreground text 1 dark, 0 light; show-name flags 1 or 0.
 * A logo that the tile does not have gives S_OK and a NULL BSTR. */
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetBackgroundColor(_WinRTSecondaryTileVisualElements* elements,
                                                                         uint32_t* color);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetForegroundText(_WinRTSecondaryTileVisualElements* elements,
                                                                        uint32_t* foreground);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium(
    _WinRTSecondaryTileVisualElements* elements, uint32_t* show);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide(
    _WinRTSecondaryTileVisualElements* elements, uint32_t* show);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge(
    _WinRTSecondaryTileVisualElements* elements, uint32_t* show);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriTiny(_WinRTSecondaryTileVisualElements* elements,
                                                                     BSTR* uri);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriSmall(_WinRTSecondaryTileVisualElements* elements,
                                                                      BSTR* uri);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriMedium(_WinRTSecondaryTileVisualElements* elements,
                                                                       BSTR* uri);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriWide(_WinRTSecondaryTileVisualElements* elements,
                                                                     BSTR* uri);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_GetLogoUriLarge(_WinRTSecondaryTileVisualElements* elements,
                                                                      BSTR* uri);
HRESULT TAVLET_CALL _WinRTSecondaryTileVisualElements_Dealloc(_WinRTSecondaryTileVisualElements* elements);

/* ---- Tile updater ----------------------------------------------------------- */
/* (tile-updater declarations) */
typedef struct _WinRTTileUpdater _WinRTTileUpdater;

/* One tile notification; read only during _WinRTTileUpdater_Update. */
#define _WinRTTileUpdate_NoExpiration ((uint64_t)0xFFFFFFFFFFFFFFFFull)
typedef struct _WinRTTileUpdateArgs {
    uint32_t structSize;    /* sizeof(_WinRTTileUpdateArgs), 32 */
    const wchar_t* xml;     /* tile XML; not NULL */
    const wchar_t* tag;     /* not NULL; L"" for no tag */
    uint64_t expiration;    /* seconds since 1970-01-01 UTC, or _WinRTTileUpdate_NoExpiration */
} _WinRTTileUpdateArgs;

HRESULT TAVLET_CALL _WinRTTileUpdater_Alloc(_WinRTTileUpdater** updater);
/* Null or empty texts: the calling application's own main tile, for no particular user. */
HRESULT TAVLET_CALL _WinRTTileUpdater_InitWithPrimaryTile(_WinRTTileUpdater* updater, const wchar_t* applicationId,
                                                          const wchar_t* userId);
HRESULT TAVLET_CALL _WinRTTileUpdater_InitWithSecondaryTile(_WinRTTileUpdater* updater, const wchar_t* tileId,
                                                            const wchar_t* userId);
HRESULT TAVLET_CALL _WinRTTileUpdater_Update(_WinRTTileUpdater* updater, const _WinRTTileUpdateArgs* args);
HRESULT TAVLET_CALL _WinRTTileUpdater_Clear(_WinRTTileUpdater* updater);
HRESULT TAVLET_CALL _WinRTTileUpdater_EnableNotificationQueuing(_WinRTTileUpdater* updater, uint32_t enable);
/* size: _WinRTTileSize_Medium, _Wide or _Large. */
HRESULT TAVLET_CALL _WinRTTileUpdater_EnableNotificationQueuingForTileSize(_WinRTTileUpdater* updater, uint32_t size,
                                                                           uint32_t enable);
HRESULT TAVLET_CALL _WinRTTileUpdater_Dealloc(_WinRTTileUpdater* updater);

/* ---- Share providers -------------------------------------------------------- */
/* The host as a target of its own in the system share UI. See docs/sharing.md. */
typedef struct _WinRTShareProvider _WinRTShareProvider;
/* Lent to the callback only while it runs; report completion from inside it. */
typedef struct _WinRTShareProviderOperation _WinRTShareProviderOperation;

/* Runs in the COM context of the thread that allocated the provider: for a
 * multithreaded-apartment thread that is any MTA thread, and a call in
 * progress may then outlast a _Dealloc on another thread. */
typedef void (TAVLET_CALL* ShareProviderOperationHandler)(void* context, _WinRTShareProviderOperation* operation);

typedef struct _WinRTShareProviderInitArgs {
    uint32_t structSize;     /* must be sizeof(_WinRTShareProviderInitArgs), 48 */
    const wchar_t* title;    /* null is taken as "" */
    const wchar_t* iconUri;  /* e.g. L"ms-appx:///Assets/share.png"; unpackaged: the file beside the executable */
    uint32_t backgroundColor; /* 0xAARRGGBB */
    ShareProviderOperationHandler callback; /* required */
    void* context;           /* passed back to callback */
} _WinRTShareProviderInitArgs;

HRESULT TAVLET_CALL _WinRTShareProvider_Alloc(_WinRTShareProvider** provider);
HRESULT TAVLET_CALL _WinRTShareProvider_InitWithArgs(_WinRTShareProvider* provider,
                                                     const _WinRTShareProviderInitArgs* args);
/* Before the runtime provider exists: "" and 0 (S_OK). */
HRESULT TAVLET_CALL _WinRTShareProvider_GetTitle(_WinRTShareProvider* provider, BSTR* title);
HRESULT TAVLET_CALL _WinRTShareProvider_GetIconUri(_WinRTShareProvider* provider, BSTR* iconUri);
HRESULT TAVLET_CALL _WinRTShareProvider_GetBackgroundColor(_WinRTShareProvider* provider, uint32_t* color);
HRESULT TAVLET_CALL _WinRTShareProvider_Dealloc(_WinRTShareProvider* provider);
/* A null operation does nothing and succeeds. */
HRESULT TAVLET_CALL _WinRTShareProviderOperation_ReportCompleted(_WinRTShareProviderOperation* operation);

/* ---- Sharing from a window -------------------------------------------------- */
/* Called exactly once for each share that carried bytes or a file and whose
 * call returned S_OK, unless WinRTSharingTerminate came first; on the thread
 * that started it (through its message loop), with the target's display name
 * in UTF-8 ("" when none was reported). Strings are valid only during the call.
 * The buffer rule: the bytes of a data share may be freed from inside its
 * callback, or once WinRTSharingTerminate has returned - never earlier, even
 * for a share whose UI the user dismissed (its callback comes at
 * ShareCanceled, from build 19041, else with the window's next share). */
typedef void (TAVLET_CALL* ShareDataCompletedHandler)(const char* targetApplicationName, void* context,
                                                      const void* data);
typedef void (TAVLET_CALL* ShareFileCompletedHandler)(const char* targetApplicationName, void* context,
                                                      const char* path);

/* 1 when the system supports sharing, else 0. */
BOOL TAVLET_CALL WinRTSharingIsAvailable(void);
/* Shares data (an encoded image, read only when a target asks for it; keep it
 * alive and unchanged until the callback) or, when data is null or size 0,
 * the text. 0x80004002 when sharing is unavailable.
 * Both share exports: pass a title - Windows requires one, and without it the
 * share fails in the share UI (no target gets anything, no ShareCompleted).
 * Call them on the thread that owns the window, running its message loop. */
HRESULT TAVLET_CALL WinRTShareDataForWindow(HWND window, const wchar_t* title, const wchar_t* description,
                                            const wchar_t* text, const void* data, uint64_t size, void* context,
                                            ShareDataCompletedHandler completed, _WinRTShareProvider* provider);
/* Shares one file named by a UTF-8 path. 0x80070057 for a null path. */
HRESULT TAVLET_CALL WinRTShareFileForWindow(HWND window, const wchar_t* title, const wchar_t* description,
                                            const char* path, void* context, ShareFileCompletedHandler completed,
                                            _WinRTShareProvider* provider);
/* Ends every live share and silences every share callback, for open or later
 * shares. When it returns the library no longer reads any host bytes: the
 * piece being copied (4 MiB at most) is waited for, also when another thread
 * is ending that share or terminating at the same time. */
void TAVLET_CALL WinRTSharingTerminate(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

/* ---- Layout checks (64-bit) ----------------------------------------------- */
#if defined(_WIN64)
#if defined(__cplusplus)
#define TAVLET_STATIC_ASSERT(cond, msg) static_assert(cond, #msg)
#else
#define TAVLET_STATIC_ASSERT(cond, msg) typedef char tavlet_static_assert_##msg[(cond) ? 1 : -1]
#endif
TAVLET_STATIC_ASSERT(sizeof(_WinRTTileSize) == 4, tile_size_is_32_bits);
/* (layout checks of the host structures) */
/* The dial's callbacks take a Win32 POINT and RECT by value. */
TAVLET_STATIC_ASSERT(sizeof(POINT) == 8, dial_point_is_two_int32);
TAVLET_STATIC_ASSERT(sizeof(RECT) == 16, dial_rect_is_four_int32);
#include <stddef.h>
TAVLET_STATIC_ASSERT(sizeof(_WinRTSecondaryTileCreateArgs) == 48, tile_create_args_size);
TAVLET_STATIC_ASSERT(offsetof(_WinRTSecondaryTileCreateArgs, displayName) == 8, tile_create_args_display_name);
TAVLET_STATIC_ASSERT(offsetof(_WinRTSecondaryTileCreateArgs, arguments) == 16, tile_create_args_arguments);
TAVLET_STATIC_ASSERT(offsetof(_WinRTSecondaryTileCreateArgs, logoUri) == 24, tile_create_args_logo);
TAVLET_STATIC_ASSERT(offsetof(_WinRTSecondaryTileCreateArgs, ownerWindow) == 32, tile_create_args_owner);
TAVLET_STATIC_ASSERT(offsetof(_WinRTSecondaryTileCreateArgs, size) == 40, tile_create_args_tile_size);
TAVLET_STATIC_ASSERT(sizeof(_WinRTTileUpdateArgs) == 32, tile_update_args_size);
TAVLET_STATIC_ASSERT(offsetof(_WinRTTileUpdateArgs, xml) == 8, tile_update_args_xml);
TAVLET_STATIC_ASSERT(offsetof(_WinRTTileUpdateArgs, tag) == 16, tile_update_args_tag);
TAVLET_STATIC_ASSERT(offsetof(_WinRTTileUpdateArgs, expiration) == 24, tile_update_args_expiration);
TAVLET_STATIC_ASSERT(sizeof(_WinRTShareProviderInitArgs) == 48, share_provider_init_args_is_48_bytes);
TAVLET_STATIC_ASSERT(FIELD_OFFSET(_WinRTShareProviderInitArgs, title) == 8, share_provider_title_at_8);
TAVLET_STATIC_ASSERT(FIELD_OFFSET(_WinRTShareProviderInitArgs, iconUri) == 16, share_provider_icon_at_16);
TAVLET_STATIC_ASSERT(FIELD_OFFSET(_WinRTShareProviderInitArgs, backgroundColor) == 24, share_provider_color_at_24);
TAVLET_STATIC_ASSERT(FIELD_OFFSET(_WinRTShareProviderInitArgs, callback) == 32, share_provider_callback_at_32);
TAVLET_STATIC_ASSERT(FIELD_OFFSET(_WinRTShareProviderInitArgs, context) == 40, share_provider_context_at_40);
#endif

#endif /* TAVLET_H */
