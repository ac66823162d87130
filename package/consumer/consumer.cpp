// A C++17 host using the package through tavlet.hpp. It prints what it got
// and exits with 0 when every answer is as documented.
#include <tavlet.hpp>

#include <cstdio>

int main() {
    // The host's UI thread: a single-threaded apartment.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int failures = 0;

    const BOOL known = _WinRTApiInformation_IsEnabledType(L"Windows.Foundation.Metadata.ApiInformation");
    failures += known != 0 && known != 1;
    failures += _WinRTAsyncOperationBOOL_Dealloc(nullptr) != S_OK;

    // Throwing path: an uninitialised tile has no id.
    HRESULT refused = S_OK;
    try {
        auto tile = tavlet::make<tavlet::secondary_tile>();
        tavlet::bstr id;
        tavlet::check(_WinRTSecondaryTile_GetTileID(tile.get(), id.put()));
    } catch (const tavlet::error& e) {
        refused = e.code();
        std::printf("mingw consumer: caught \"%s\"\n", e.what());
    }
    failures += refused != E_INVALIDARG;

    // Non-throwing path: a new share provider's title is empty until the
    // runtime provider exists.
    HRESULT titled;
    {
        tavlet::share_provider provider;
        tavlet::bstr title;
        titled = tavlet::alloc(provider);
        if (SUCCEEDED(titled)) titled = _WinRTShareProvider_GetTitle(provider.get(), title.put());
        failures += titled != S_OK || !title.empty();
    }

    std::printf("mingw consumer: tavlet %s, type known %d, tile refused 0x%08lx, provider title 0x%08lx: %s\n",
                TAVLET_VERSION_STRING, known, static_cast<unsigned long>(refused), static_cast<unsigned long>(titled),
                failures ? "FAILED" : "ok");
    CoUninitialize();
    return failures;
}
