#include "tavlet/Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(Strings, EmptyInEmptyOut) {
    EXPECT_EQ(tavlet::ToWideString(nullptr), L"");
    EXPECT_EQ(tavlet::ToUtf8(L""), "");
    EXPECT_EQ(tavlet::FromUtf8(""), L"");
}

TEST(Strings, RoundTripKeepsEmbeddedNulsAndNonAscii) {
    const std::wstring wide(L"a\0b\u00e9\u4e2d\U0001F600", 7);
    const std::string utf8("a\0b\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80", 12);
    EXPECT_EQ(tavlet::ToUtf8(wide), utf8);
    EXPECT_EQ(tavlet::FromUtf8(utf8), wide);
    EXPECT_EQ(tavlet::ToWideString(L"x\0y"), L"x");  // host text ends at its NUL
}

}  // namespace
