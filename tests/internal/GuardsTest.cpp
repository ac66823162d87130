// What the export frame adds to a body's answer: a string result ends at its first NUL.
#include "tavlet/winapi/winrt/base/Guards.h"

#include <gtest/gtest.h>

namespace {

TEST(Guards, BstrResultsEndAtTheFirstNul) {
    BSTR text = nullptr;
    tavlet::winapi::winrt::StoreBstr(&text, std::wstring(L"ab\0cd", 5));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 2u);
    SysFreeString(text);
}

}  // namespace
