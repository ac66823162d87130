// The DLL as a host sees it: exactly the functions its header declares,
// undecorated, and imports from Windows system DLLs only.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

namespace {

// The functions that the public header declares, read from it by the build.
std::set<std::string> Declared() {
    std::istringstream names(TAVLET_DECLARED_FUNCTIONS);
    return {std::istream_iterator<std::string>(names), std::istream_iterator<std::string>()};
}

const IMAGE_DATA_DIRECTORY& Directory(HMODULE module, int index) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    return nt->OptionalHeader.DataDirectory[index];
}

HMODULE Library() { return GetModuleHandleW(L"tavlet.dll"); }

TEST(Module, ExportsExactlyTheFunctionsTheHeaderDeclares) {
    HMODULE module = Library();
    ASSERT_NE(module, nullptr);
    auto base = reinterpret_cast<const BYTE*>(module);
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
        base + Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.insert(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ(found, Declared());
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
