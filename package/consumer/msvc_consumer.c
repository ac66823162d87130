/* A host linked the MSVC way: tavlet.lib, no C runtime, its own entry point.
 * It prints what it got and exits with 0 when every answer is as documented. */
#include <tavlet.h>

static void Print(const char* text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, lstrlenA(text), &written, NULL);
}

/* The fixed version of the tavlet.dll this program loaded, as installers read
 * it; 0 when it has none. */
static DWORD64 LoadedVersion(void) {
    static BYTE info[8192];
    wchar_t path[MAX_PATH];
    VS_FIXEDFILEINFO* fixed;
    UINT length;
    DWORD ignored;
    GetModuleFileNameW(GetModuleHandleW(L"tavlet.dll"), path, MAX_PATH);
    if (GetFileVersionInfoSizeW(path, &ignored) > sizeof info || !GetFileVersionInfoW(path, 0, sizeof info, info) ||
        !VerQueryValueW(info, L"\\", (void**)&fixed, &length))
        return 0;
    return (DWORD64)fixed->dwFileVersionMS << 32 | fixed->dwFileVersionLS;
}

void __cdecl start(void) {
    const DWORD64 expected = (DWORD64)TAVLET_VERSION_MAJOR << 48 | (DWORD64)TAVLET_VERSION_MINOR << 32 |
                             (DWORD64)TAVLET_VERSION_PATCH << 16;
    char line[200];
    BOOL known = _WinRTApiInformation_IsEnabledType(L"Windows.Foundation.Metadata.ApiInformation");
    HRESULT freed = _WinRTSecondaryTile_Dealloc(NULL);
    BSTR id = NULL;
    HRESULT refused = _WinRTSecondaryTile_GetTileID(NULL, &id);
    DWORD64 version = LoadedVersion();
    wsprintfA(line, "msvc consumer: tavlet.dll file version %u.%u.%u.%u, type known %d, Dealloc(NULL) 0x%08lx, "
                    "GetTileID(NULL) 0x%08lx\n",
              (unsigned)(version >> 48), (unsigned)(version >> 32) & 0xFFFF, (unsigned)(version >> 16) & 0xFFFF,
              (unsigned)version & 0xFFFF, known, (unsigned long)freed, (unsigned long)refused);
    Print(line);
    SysFreeString(id);
    ExitProcess(version == expected && (known == 0 || known == 1) && freed == S_OK && refused == E_INVALIDARG &&
                        id == NULL
                    ? 0
                    : 1);
}
