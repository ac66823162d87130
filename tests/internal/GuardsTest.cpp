// The export frame: what each guard makes of what a body throws, and what a
// runtime handler gives back to the runtime.
#include "tavlet/Require.h"
#include "tavlet/winapi/winrt/Guards.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace tavlet::winapi::winrt;

constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005);
constexpr HRESULT kOutOfMemory = static_cast<HRESULT>(0x8007000E);

auto RuntimeFailure(HRESULT hr) {
    return [hr] { winrt::throw_hresult(hr); };
}
auto FailedRequire() {
    return [] { tavlet::require(false); };
}

TEST(Guards, EveryClauseGivesItsResult) {
    // A runtime failure keeps its code, except that an allocation failure is
    // E_OUTOFMEMORY to the handle guard and E_FAIL to the plain one.
    EXPECT_EQ(HandleGuard(RuntimeFailure(kAccessDenied)), kAccessDenied);
    EXPECT_EQ(PlainGuard(RuntimeFailure(kAccessDenied)), kAccessDenied);
    EXPECT_EQ(HandleGuard(RuntimeFailure(kOutOfMemory)), kOutOfMemory);
    EXPECT_EQ(PlainGuard(RuntimeFailure(kOutOfMemory)), E_FAIL);
    // A failed check: E_INVALIDARG for handles and releases, E_FAIL for plain exports.
    EXPECT_EQ(HandleGuard(FailedRequire()), E_INVALIDARG);
    EXPECT_EQ(ReleaseGuard(FailedRequire()), E_INVALIDARG);
    EXPECT_EQ(PlainGuard(FailedRequire()), E_FAIL);
    // Anything else.
    EXPECT_EQ(HandleGuard([] { throw std::runtime_error("x"); }), E_FAIL);
    EXPECT_EQ(HandleGuard([] { throw 42; }), E_FAIL);
    EXPECT_EQ(PlainGuard([] { throw std::bad_alloc(); }), E_FAIL);
    // Success.
    EXPECT_EQ(HandleGuard([] {}), S_OK);
    EXPECT_EQ(ReleaseGuard([] {}), S_OK);
    EXPECT_EQ(PlainGuard([] {}), S_OK);
    // The boolean guard answers 1 or 0, and 0 whatever goes wrong.
    EXPECT_EQ(BooleanGuard([] { return true; }), 1);
    EXPECT_EQ(BooleanGuard([] { return false; }), 0);
    EXPECT_EQ(BooleanGuard([]() -> bool { winrt::throw_hresult(kAccessDenied); }), 0);
    EXPECT_EQ(BooleanGuard([]() -> bool { tavlet::require(false); return true; }), 0);
}

TEST(Guards, HandlerResultsGiveTheRuntimeACode) {
    auto handled = [](auto body) {
        try {
            body();
            return S_OK;
        } catch (...) {
            return winrt::to_hresult();
        }
    };
    EXPECT_EQ(handled([] { winrt::throw_hresult(kAccessDenied); }), kAccessDenied);
    EXPECT_EQ(handled([] { throw std::bad_alloc(); }), kOutOfMemory);
    EXPECT_EQ(handled([] { throw std::out_of_range("x"); }), static_cast<HRESULT>(0x8000000B));
    EXPECT_EQ(handled([] { throw std::invalid_argument("x"); }), E_INVALIDARG);
    EXPECT_EQ(handled([] { tavlet::require(false); }), E_FAIL);
}

TEST(Guards, BstrResultsEndAtTheFirstNul) {
    BSTR text = nullptr;
    StoreBstr(&text, std::wstring(L"ab\0cd", 5));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 2u);
    SysFreeString(text);
}

}  // namespace
