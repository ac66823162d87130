// The export frame: what each guard makes of what a body throws, and the
// mapping between runtime HRESULTs and exception types.
#include "tavlet/Require.h"
#include "tavlet/winapi/winrt/Guards.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <typeinfo>

namespace {

using namespace tavlet::winapi::winrt;

auto RuntimeFailure(HRESULT hr) {
    return [hr] { winrt::throw_hresult(hr); };
}
auto FailedRequire() {
    return [] { tavlet::require(false); };
}

TEST(Guards, EveryClauseGivesItsResult) {
    // A runtime failure keeps its code, except that an allocation failure is
    // E_OUTOFMEMORY to the handle guard and E_FAIL to the plain one.
    EXPECT_EQ(HandleGuard(RuntimeFailure(E_ACCESSDENIED)), E_ACCESSDENIED);
    EXPECT_EQ(PlainGuard(RuntimeFailure(E_ACCESSDENIED)), E_ACCESSDENIED);
    EXPECT_EQ(HandleGuard(RuntimeFailure(E_OUTOFMEMORY)), E_OUTOFMEMORY);
    EXPECT_EQ(PlainGuard(RuntimeFailure(E_OUTOFMEMORY)), E_FAIL);
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
    EXPECT_EQ(BooleanGuard([]() -> bool { winrt::throw_hresult(E_ACCESSDENIED); }), 0);
    EXPECT_EQ(BooleanGuard([]() -> bool { tavlet::require(false); return true; }), 0);
}

template <typename Expected>
void ExpectThrown(HRESULT hr) {
    try {
        winrt::throw_hresult(hr);
    } catch (const Expected& e) {
        EXPECT_EQ(typeid(e), typeid(Expected)) << std::hex << hr;
        if constexpr (std::is_base_of_v<winrt::hresult_error, Expected>) {
            EXPECT_EQ(e.code(), hr);
        }
        return;
    } catch (...) {
    }
    ADD_FAILURE() << "wrong exception for " << std::hex << hr;
}

// Every row of the error table throws exactly its own type, an allocation
// failure the standard one, any other code the base type; the code is kept.
TEST(Guards, ThrowHresultThrowsTheTypeOfItsCode) {
    ExpectThrown<std::bad_alloc>(E_OUTOFMEMORY);
#define TAVLET_EXPECT_ROW(name, code) ExpectThrown<winrt::name>(code);
    TAVLET_HRESULT_ERRORS(TAVLET_EXPECT_ROW)
#undef TAVLET_EXPECT_ROW
    ExpectThrown<winrt::hresult_error>(E_UNEXPECTED);
}

TEST(Guards, OriginatedErrorsAreAlwaysTheBaseType) {
    try {
        tavlet::ThrowOriginatedHresult(E_NOINTERFACE);
    } catch (const winrt::hresult_error& e) {
        EXPECT_EQ(typeid(e), typeid(winrt::hresult_error));
        EXPECT_EQ(e.code(), E_NOINTERFACE);
    }
    EXPECT_EQ(PlainGuard([] { tavlet::ThrowOriginatedHresult(E_NOINTERFACE); }), E_NOINTERFACE);
    // An originated E_OUTOFMEMORY is an allocation failure to the plain guard too.
    EXPECT_EQ(PlainGuard([] { tavlet::ThrowOriginatedHresult(E_OUTOFMEMORY); }), E_FAIL);
    EXPECT_EQ(HandleGuard([] { tavlet::ThrowOriginatedHresult(E_OUTOFMEMORY); }), E_OUTOFMEMORY);
}

TEST(Guards, HandlerResultsGiveTheRuntimeACode) {
    auto handled = [](auto body) {
        try {
            body();
            return S_OK;
        } catch (...) {
            return tavlet::CurrentExceptionToHresult(tavlet::FailureReader::Runtime);
        }
    };
    EXPECT_EQ(handled([] { winrt::throw_hresult(E_ACCESSDENIED); }), E_ACCESSDENIED);
    EXPECT_EQ(handled([] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(handled([] { throw std::out_of_range("x"); }), E_BOUNDS);
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
