/*
 * tavlet.h - Windows Runtime features for classic Win32 programs.
 *
 * Valid C99 and C++. Every function returns an HRESULT unless stated; text
 * comes in as NUL-terminated UTF-16 and goes back as a BSTR that the caller
 * frees with SysFreeString. Handles are opaque; each is ended by its own
 * _Dealloc function. See docs/ for the threads on which callbacks run.
 */
#ifndef TAVLET_H
#define TAVLET_H

#include <windows.h>
#include <oleauto.h>
#include <stdint.h>

#define TAVLET_CALL __stdcall

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

/* ---- Radial controller (dial) ---------------------------------------------- */
/* (dial declarations) */

/* ---- Secondary tiles -------------------------------------------------------- */
/* (secondary-tile declarations) */

/* ---- Tile updater ----------------------------------------------------------- */
/* (tile-updater declarations) */

/* ---- Share providers -------------------------------------------------------- */
/* (share-provider declarations) */

/* ---- Sharing from a window -------------------------------------------------- */
/* (sharing declarations) */

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
#endif

#endif /* TAVLET_H */
