// Secondary-tile visual elements: what _WinRTSecondaryTileVisualElements_GetBackgroundColor
// costs over the same runtime getter called directly through the ABI on the
// same runtime object (target <= 1.3). Run by hand: bench_tiles.exe
#include "Timing.h"
#include "tavlet.h"
#include "tavlet/winapi/winrt/base/ComPtr.h"
#include "tavlet/winapi/winrt/abi/UI.StartScreen.h"

#include <roapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {

using abi::Windows::UI::StartScreen::ISecondaryTile;
using abi::Windows::UI::StartScreen::ISecondaryTile2;
using abi::Windows::UI::StartScreen::ISecondaryTileFactory;
using abi::Windows::UI::StartScreen::ISecondaryTileVisualElements;

const wchar_t kClass[] = L"Windows.UI.StartScreen.SecondaryTile";
constexpr int kCalls = 100000;

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    // Direct: the runtime's visual elements object, called through its vtable.
    winrt::com_ptr<ISecondaryTileFactory> factory;
    HSTRING_HEADER header;
    HSTRING name;
    WindowsCreateStringReference(kClass, static_cast<UINT32>(std::wcslen(kClass)), &header, &name);
    RoGetActivationFactory(name, abi::guid_v<ISecondaryTileFactory>, factory.put_void());
    if (!factory) {
        std::printf("the runtime does not serve %ls\n", kClass);
        return 1;
    }
    winrt::com_ptr<ISecondaryTile> runtimeTile;
    HSTRING_HEADER idHeader;
    HSTRING id;
    WindowsCreateStringReference(L"bench.1", 7, &idHeader, &id);
    factory->CreateWithId(id, runtimeTile.put());
    winrt::com_ptr<ISecondaryTileVisualElements> runtimeElements;
    runtimeTile.as<ISecondaryTile2>()->get_VisualElements(runtimeElements.put());

    // Through the library: a tile handle and its visual-elements handle.
    _WinRTSecondaryTile* tile = nullptr;
    _WinRTSecondaryTileVisualElements* elements = nullptr;
    _WinRTSecondaryTile_Alloc(&tile);
    _WinRTSecondaryTile_InitWithTileID(tile, L"bench.2");
    if (_WinRTSecondaryTile_GetVisualElements(tile, &elements) != S_OK || !runtimeElements) {
        std::printf("no visual elements\n");
        return 1;
    }

    volatile uint32_t sink = 0;
    auto direct = [&] {
        abi::Windows::UI::Color color{};
        runtimeElements->get_BackgroundColor(&color);
        sink = uint32_t(color.A) << 24 | uint32_t(color.R) << 16 | uint32_t(color.G) << 8 | color.B;
    };
    auto exported = [&] {
        uint32_t color = 0;
        _WinRTSecondaryTileVisualElements_GetBackgroundColor(elements, &color);
        sink = color;
    };
    auto [directTime, exportedTime] = BestOfAlternatingRounds(20, kCalls, direct, exported);
    std::printf("GetBackgroundColor: export %.1f ns, direct ABI %.1f ns, ratio %.2f (target <= 1.3)\n",
                exportedTime * 1e9, directTime * 1e9, exportedTime / directTime);

    _WinRTSecondaryTileVisualElements_Dealloc(elements);
    _WinRTSecondaryTile_Dealloc(tile);
    return 0;
}
