// The tile tests' host: packaged, pinning over its window on its UI thread, as
// Windows requires. Pin requests are also the asynchronous operations' source.
#pragma once

#include "Host.h"
#include "tavlet.h"

#include <string>

class SecondaryTileTest : public PackagedTest {
protected:
    void SetUp() override {
        PackagedTest::SetUp();
        ASSERT_EQ(_WinRTSecondaryTile_Alloc(&tile_), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(_WinRTSecondaryTile_Dealloc(tile_), S_OK);
        PackagedTest::TearDown();
    }
    // The reserved field holds garbage: it is never read.
    HRESULT Create(const wchar_t* id, _WinRTTileSize size = _WinRTTileSize_Medium, HWND owner = kOwner,
                   const wchar_t* logo = L"ms-appx:///Assets/Square150x150Logo.png") {
        if (owner == kOwner) owner = window_;
        _WinRTSecondaryTileCreateArgs args{reinterpret_cast<void*>(0xDEADBEEF), L"Doc", L"--open", logo, owner, size};
        return _WinRTSecondaryTile_InitWithCreateArgs(tile_, id, &args);
    }
    std::wstring TileId() {
        BSTR id = nullptr;
        EXPECT_EQ(_WinRTSecondaryTile_GetTileID(tile_, &id), S_OK);
        std::wstring text = id ? id : L"<null>";
        SysFreeString(id);
        return text;
    }
    _WinRTAsyncOperationBOOL* Request(
        decltype(&_WinRTSecondaryTile_RequestCreateAsync) request = _WinRTSecondaryTile_RequestCreateAsync,
        HRESULT expected = S_OK) {
        _WinRTAsyncOperationBOOL* operation = nullptr;
        EXPECT_EQ(request(tile_, &operation), expected);
        return operation;
    }
    static long LastRequest() { return sim::TileRequestCount() - 1; }

    static inline const HWND kOwner = reinterpret_cast<HWND>(-1);  // the fixture's window
    host::Window window_;
    _WinRTSecondaryTile* tile_ = nullptr;
};
