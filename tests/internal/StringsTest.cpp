// Texts between the host (UTF-16 ending at its NUL), the runtime and UTF-8.
#include "tavlet/Strings.h"
#include "tavlet/winapi/winrt/base/Guards.h"

#include <gtest/gtest.h>

namespace {

TEST(Strings, Utf8RoundTripsWholeAndTextsForTheHostEndAtTheirNul) {
    EXPECT_EQ(tavlet::ToWideString(nullptr), L"");
    EXPECT_EQ(tavlet::ToUtf8(L""), "");
    EXPECT_EQ(tavlet::FromUtf8(""), L"");
    const std::wstring wide(L"a\0b\u00e9\u4e2d\U0001F600", 7);
    const std::string utf8("a\0b\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80", 12);
    EXPECT_EQ(tavlet::ToUtf8(wide), utf8);
    EXPECT_EQ(tavlet::FromUtf8(utf8), wide);
    EXPECT_EQ(tavlet::ToWideString(L"x\0y"), L"x");
    BSTR text = nullptr;
    tavlet::winapi::winrt::StoreBstr(&text, wide);
    EXPECT_EQ(SysStringLen(text), 1u);  // a BSTR answer too
    SysFreeString(text);
}

}  // namespace
