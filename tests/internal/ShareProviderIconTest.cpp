// The icon file of an unpackaged process: the executable's directory followed
// by the URI's text after "://", slashes turned to backslashes.
#include <gtest/gtest.h>

#include "tavlet/winapi/winrt/base/Errors.h"
#include "tavlet/winapi/winrt/ShareProviderRuntime.h"

namespace {

using tavlet::winapi::winrt::ExecutableDirectory;
using tavlet::winapi::winrt::IconRelativePath;

// A URI without "://" (a row without a path) is an invalid argument.
TEST(ShareProviderIcon, MapsTheUriBesideTheExecutable) {
    const struct {
        const wchar_t *executable, *uri, *path;
    } cases[] = {
        {L"D:\\App\\bin\\app.exe", L"ms-appx:///Assets/share.png", L"D:\\App\\bin\\Assets\\share.png"},
        {L"D:/App/bin/app.exe", L"ms-appx:///Assets/share.png", L"D:/App/bin\\Assets\\share.png"},
        {L"D:\\App/bin\\app.exe", L"x:///a/b/c.ico", L"D:\\App/bin\\a\\b\\c.ico"},
        {L"app.exe", L"ms-appx:///i.png", L"app.exe\\i.png"},  // no separator: the whole text is the directory
        // The text after the first "://" is joined as it is: only one that begins with a slash lands below.
        {L"C:\\a.exe", L"https://host/x.png", L"C:host\\x.png"},
        {L"C:\\a.exe", L"a://b://c", L"C:b:\\\\c"},
        {L"C:\\a.exe", L"://", L"C:"},
        {L"C:\\a.exe", L"", nullptr}, {L"C:\\a.exe", L"Assets/share.png", nullptr}, {L"C:\\a.exe", L":/", nullptr},
        {L"C:\\a.exe", L"ms-appx:/Assets", nullptr},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(ExecutableDirectory(c.executable) + IconRelativePath(c.uri), c.path ? c.path : L"?") << c.uri;
        } catch (const winrt::hresult_error& e) {
            EXPECT_TRUE(!c.path && e.code() == E_INVALIDARG) << c.uri;
        }
    }
}

}  // namespace
