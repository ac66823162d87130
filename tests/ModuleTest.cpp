// The DLL as a host sees it: exactly the documented exports, undecorated, and
// imports from Windows system DLLs only.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

const std::set<std::string> kExports = {
    // availability
    "_WinRTApiInformation_IsEnabledEvent",
    "_WinRTApiInformation_IsEnabledMethod",
    "_WinRTApiInformation_IsEnabledType",
    // asynchronous boolean operations
    "_WinRTAsyncOperationBOOL_Cancel",
    "_WinRTAsyncOperationBOOL_Close",
    "_WinRTAsyncOperationBOOL_Completed",
    "_WinRTAsyncOperationBOOL_Dealloc",
    "_WinRTAsyncOperationBOOL_GetResults",
    "_WinRTAsyncOperationBOOL_GetStatus",
    // radial controller
    "WinRTDialAppendIconMenuItem",
    "WinRTDialAppendKnownMenuItem",
    "WinRTDialClearMenu",
    "WinRTDialCommitPendingMenuAdditions",
    "WinRTDialCreate",
    "WinRTDialGetNumberOfMenuItems",
    "WinRTDialIntialize",
    "WinRTDialIsAvailable",
    "WinRTDialSetButtonPressedHandler",
    "WinRTDialSetControlAcquiredHandler",
    "WinRTDialSetControlLostHandler",
    "WinRTDialSetRotationChangedHandler",
    "WinRTDialSetRotationResolution",
    "WinRTDialSetScreenContactContinuedHandler",
    "WinRTDialSetScreenContactEndedHandler",
    "WinRTDialSetScreenContactStartedHandler",
    "WinRTDialTerminate",
    // secondary tiles
    "_WinRTSecondaryTile_Alloc",
    "_WinRTSecondaryTile_Dealloc",
    "_WinRTSecondaryTile_Exists",
    "_WinRTSecondaryTile_GetTileID",
    "_WinRTSecondaryTile_GetVisualElements",
    "_WinRTSecondaryTile_InitWithCreateArgs",
    "_WinRTSecondaryTile_InitWithTileID",
    "_WinRTSecondaryTile_RequestCreateAsync",
    "_WinRTSecondaryTile_RequestDeleteAsync",
    "_WinRTSecondaryTileVisualElements_Dealloc",
    "_WinRTSecondaryTileVisualElements_GetBackgroundColor",
    "_WinRTSecondaryTileVisualElements_GetForegroundText",
    "_WinRTSecondaryTileVisualElements_GetLogoUriLarge",
    "_WinRTSecondaryTileVisualElements_GetLogoUriMedium",
    "_WinRTSecondaryTileVisualElements_GetLogoUriSmall",
    "_WinRTSecondaryTileVisualElements_GetLogoUriTiny",
    "_WinRTSecondaryTileVisualElements_GetLogoUriWide",
    "_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge",
    "_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium",
    "_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide",
    // tile updater
    "_WinRTTileUpdater_Alloc",
    "_WinRTTileUpdater_Clear",
    "_WinRTTileUpdater_Dealloc",
    "_WinRTTileUpdater_EnableNotificationQueuing",
    "_WinRTTileUpdater_EnableNotificationQueuingForTileSize",
    "_WinRTTileUpdater_InitWithPrimaryTile",
    "_WinRTTileUpdater_InitWithSecondaryTile",
    "_WinRTTileUpdater_Update",
    // share providers
    "_WinRTShareProviderOperation_ReportCompleted",
    "_WinRTShareProvider_Alloc",
    "_WinRTShareProvider_Dealloc",
    "_WinRTShareProvider_GetBackgroundColor",
    "_WinRTShareProvider_GetIconUri",
    "_WinRTShareProvider_GetTitle",
    "_WinRTShareProvider_InitWithArgs",
    // sharing from a window
    "WinRTShareDataForWindow",
    "WinRTShareFileForWindow",
    "WinRTSharingIsAvailable",
    "WinRTSharingTerminate",
};

const IMAGE_DATA_DIRECTORY& Directory(HMODULE module, int index) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    return nt->OptionalHeader.DataDirectory[index];
}

HMODULE Library() { return GetModuleHandleW(L"tavlet.dll"); }

TEST(Module, ExportsExactlyTheDocumentedNames) {
    HMODULE module = Library();
    ASSERT_NE(module, nullptr);
    auto base = reinterpret_cast<const BYTE*>(module);
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
        base + Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.insert(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ(found, kExports);
}

TEST(Module, ImportsOnlySystemDlls) {
    HMODULE module = Library();
    ASSERT_NE(module, nullptr);
    auto base = reinterpret_cast<const BYTE*>(module);
    auto import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        base + Directory(module, IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "ole32.dll", "oleaut32.dll",
                                          "combase.dll", "msvcrt.dll"};
    int count = 0;
    for (; import->Name; ++import, ++count) {
        std::string name = reinterpret_cast<const char*>(base + import->Name);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        bool allowed = system.count(name) || name.rfind("api-ms-win-", 0) == 0;
        EXPECT_TRUE(allowed) << name;
    }
    EXPECT_GT(count, 0);
}

}  // namespace

// Keep the import of the library even though this file calls none of its exports.
extern "C" BOOL __stdcall _WinRTApiInformation_IsEnabledType(const wchar_t*);
[[maybe_unused]] static auto keepLibrary = &_WinRTApiInformation_IsEnabledType;
