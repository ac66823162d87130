// The DLL's version resource as installers read it: the fixed numbers and the
// strings name the version that the header announces.
#include "RuntimeFixture.h"
#include "tavlet.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

class VersionResourceTest : public RuntimeTest {};

std::wstring Widen(const char* text) { return std::wstring(text, text + strlen(text)); }

TEST_F(VersionResourceTest, FixedAndStringFieldsCarryTheHeadersVersion) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(GetModuleHandleW(L"tavlet.dll"), path, MAX_PATH), 0u);
    DWORD ignored = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(info.empty()) << "no version resource";
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(TAVLET_VERSION_MINOR, TAVLET_VERSION_MAJOR), low = MAKELONG(0, TAVLET_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    // The strings live in the block named by the first translation.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    wchar_t block[40];
    wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);

    const std::wstring version = Widen(TAVLET_VERSION_STRING);
    const struct {
        const wchar_t* name;
        std::wstring expected; // empty: any non-empty text
    } fields[] = {{L"FileVersion", version + L".0"}, {L"ProductVersion", version},
                  {L"ProductName", L"tavlet"},       {L"InternalName", L"tavlet"},
                  {L"OriginalFilename", L"tavlet.dll"}, {L"FileDescription", L""},
                  {L"LegalCopyright", L""}};
    for (const auto& field : fields) {
        wchar_t* text = nullptr;
        ASSERT_TRUE(VerQueryValueW(info.data(), (block + std::wstring(field.name)).c_str(),
                                   reinterpret_cast<void**>(&text), &length))
            << field.name;
        if (field.expected.empty())
            EXPECT_GT(length, 1u) << field.name;
        else
            EXPECT_EQ(std::wstring(text), field.expected) << field.name;
    }
}

} // namespace
