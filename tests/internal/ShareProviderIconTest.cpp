// The icon file of an unpackaged process: the executable's directory followed
// by the URI's text after "://", slashes turned to backslashes.
#include <gtest/gtest.h>

#include "tavlet/winapi/winrt/base/Errors.h"
#include "tavlet/winapi/winrt/ShareProviderRuntime.h"

namespace {

using tavlet::winapi::winrt::ExecutableDirectory;
using tavlet::winapi::winrt::IconRelativePath;

TEST(ShareProviderIcon, MapsTheUriBesideTheExecutable) {
    const struct {
        const wchar_t* executable;
        const wchar_t* uri;
        const wchar_t* relative;
        const wchar_t* path;
    } cases[] = {
        {L"D:\\App\\bin\\app.exe", L"ms-appx:///Assets/share.png", L"\\Assets\\share.png", L"D:\\App\\bin\\Assets\\share.png"},
        // Only forward slashes: the directory ends at the last one.
        {L"D:/App/bin/app.exe", L"ms-appx:///Assets/share.png", L"\\Assets\\share.png", L"D:/App/bin\\Assets\\share.png"},
        // Mixed: the last separator of either kind.
        {L"D:\\App/bin\\app.exe", L"x:///a/b/c.ico", L"\\a\\b\\c.ico", L"D:\\App/bin\\a\\b\\c.ico"},
        // No separator at all: the whole text is the directory.
        {L"app.exe", L"ms-appx:///i.png", L"\\i.png", L"app.exe\\i.png"},
        // Any scheme; the text after the first "://" is joined directly, so
        // only a text that begins with a slash lands under the directory.
        {L"C:\\a.exe", L"https://host/x.png", L"host\\x.png", L"C:host\\x.png"},
        {L"C:\\a.exe", L"a://b://c", L"b:\\\\c", L"C:b:\\\\c"},
        {L"C:\\a.exe", L"://", L"", L"C:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IconRelativePath(c.uri), c.relative) << c.uri;
        EXPECT_EQ(ExecutableDirectory(c.executable) + IconRelativePath(c.uri), c.path) << c.executable << " " << c.uri;
    }
}

TEST(ShareProviderIcon, UriWithoutSchemeSeparatorIsAnInvalidArgument) {
    for (const wchar_t* uri : {L"", L"ab", L"Assets/share.png", L"ms-appx:/Assets", L":/"}) {
        try {
            IconRelativePath(uri);
            ADD_FAILURE() << "no failure for " << uri;
        } catch (const winrt::hresult_error& e) {
            EXPECT_EQ(e.code(), E_INVALIDARG) << uri;
        }
    }
}

}  // namespace
