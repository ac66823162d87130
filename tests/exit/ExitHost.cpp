// A host that ends its process while everything is live: a dial with a
// handler, a share provider listed in an open share UI, and a pin request that
// nobody answers. Its exit must neither hang nor crash. Exit code 0 once it
// returns from main; ctest runs it many times in a row.
#include "SimRuntime.h"
#include "tavlet.h"

#include <objbase.h>

#include <cstdio>
#include <string>

int main() {
    sim::InstallContextStandIn();
    sim::SetPackaged(true);  // so that the pin request reaches the user
    HWND window = CreateWindowExW(0, L"Static", L"exit host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    wchar_t path[MAX_PATH] = {};  // the program itself stands in for the provider's icon
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring icon = std::wstring(L"ms-appx:///") + (wcsrchr(path, L'\\') + 1);
    _WinRTShareProviderInitArgs args{uint32_t(sizeof args), L"Exit host", icon.c_str(), 0xFF000000,
                                     [](void*, _WinRTShareProviderOperation*) {}, nullptr};
    _WinRTDial* dial = nullptr;
    _WinRTShareProvider* provider = nullptr;
    _WinRTSecondaryTile* tile = nullptr;
    _WinRTAsyncOperationBOOL* request = nullptr;
    _WinRTSecondaryTileCreateArgs owned{nullptr, L"Exit", L"", L"ms-appx:///logo.png", window, _WinRTTileSize_Default};
    const bool live =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) && WinRTDialCreate(window, &dial) == S_OK &&
        WinRTDialSetRotationChangedHandler(dial, [](float, POINT, RECT, uint32_t) {}) == S_OK &&
        _WinRTShareProvider_Alloc(&provider) == S_OK && _WinRTShareProvider_InitWithArgs(provider, &args) == S_OK &&
        sim::PumpUntil([] { return sim::ShareProvidersCreated() == 1; }) &&
        WinRTShareDataForWindow(window, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr, provider) == S_OK &&
        sim::ShareUIRequestData(window) == S_OK && sim::ShareUIRequestProviders(window, {L"Mail"}) == S_OK &&
        _WinRTSecondaryTile_Alloc(&tile) == S_OK && _WinRTSecondaryTile_InitWithCreateArgs(tile, L"exit.tile", &owned) == S_OK &&
        _WinRTSecondaryTile_RequestCreateAsync(tile, &request) == S_OK &&
        _WinRTAsyncOperationBOOL_Completed(request, [](void*, BOOL) {}, nullptr) == S_OK;
    std::printf("exiting with %ld simulated objects live%s\n", sim::LiveObjects(), live ? "" : ", a step failed");
    return live ? 0 : 2;
}
