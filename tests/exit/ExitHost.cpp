// A host that ends its process while everything is live: a dial with a
// handler, a share provider listed in an open share UI, and a pin request that
// nobody answers. Its exit must neither hang nor crash, and the library must
// call into no other DLL while the process ends. Exit code 0 once it returns
// from main; ctest runs it many times in a row.
#include "SimRuntime.h"
#include "tavlet.h"

#include <objbase.h>

#include <cstdio>
#include <string>

namespace {

void TAVLET_CALL OnRotation(float, POINT, RECT, uint32_t) {}
void TAVLET_CALL OnPick(void*, _WinRTShareProviderOperation*) {}
void TAVLET_CALL OnAnswer(void*, BOOL) {}

bool Check(const char* step, bool ok) {
    if (!ok) std::fprintf(stderr, "exit host: %s failed\n", step);
    return ok;
}

}  // namespace

int main() {
    sim::InstallContextStandIn();
    sim::SetPackaged(true);  // so that the pin request reaches the user
    if (!Check("CoInitializeEx", SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))) return 2;
    HWND window = CreateWindowExW(0, L"Static", L"exit host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    _WinRTDial* dial = nullptr;
    if (!Check("the dial", WinRTDialCreate(window, &dial) == S_OK &&
                               WinRTDialSetRotationChangedHandler(dial, OnRotation) == S_OK))
        return 2;

    // The program itself stands in for the provider's icon: a file beside it.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring icon = std::wstring(L"ms-appx:///") + (wcsrchr(path, L'\\') + 1);
    _WinRTShareProvider* provider = nullptr;
    _WinRTShareProviderInitArgs args{uint32_t(sizeof args), L"Exit host", icon.c_str(), 0xFF000000, OnPick, nullptr};
    if (!Check("the share provider", _WinRTShareProvider_Alloc(&provider) == S_OK &&
                                         _WinRTShareProvider_InitWithArgs(provider, &args) == S_OK &&
                                         sim::PumpUntil([] { return sim::ShareProvidersCreated() == 1; })))
        return 2;
    if (!Check("the open share",
               WinRTShareDataForWindow(window, L"Note", nullptr, L"hello", nullptr, 0, nullptr, nullptr, provider) == S_OK &&
                   sim::ShareUIRequestData(window) == S_OK && sim::ShareUIRequestProviders(window, {L"Mail"}) == S_OK))
        return 2;

    _WinRTSecondaryTile* tile = nullptr;
    _WinRTAsyncOperationBOOL* request = nullptr;
    _WinRTSecondaryTileCreateArgs owned{nullptr, L"Exit", L"", L"ms-appx:///logo.png", window, _WinRTTileSize_Default};
    if (!Check("the pin request", _WinRTSecondaryTile_Alloc(&tile) == S_OK &&
                                      _WinRTSecondaryTile_InitWithCreateArgs(tile, L"exit.tile", &owned) == S_OK &&
                                      _WinRTSecondaryTile_RequestCreateAsync(tile, &request) == S_OK &&
                                      _WinRTAsyncOperationBOOL_Completed(request, OnAnswer, nullptr) == S_OK))
        return 2;
    std::printf("exiting with %ld simulated objects live\n", sim::LiveObjects());
    return 0;
}
