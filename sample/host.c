/* A classic Win32 host using tavlet: it asks what the running system offers. */
#include <stdio.h>
#include <objbase.h>
#include <tavlet.h>

static void Ask(const char* label, BOOL answer) { printf("%-60s %s\n", label, answer ? "yes" : "no"); }

int main(void) {
    /* The host initialises its UI thread as a single-threaded apartment. */
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    printf("tavlet sample host\n\nAvailability:\n");
    Ask("type Windows.Foundation.Metadata.ApiInformation",
        _WinRTApiInformation_IsEnabledType(L"Windows.Foundation.Metadata.ApiInformation"));
    Ask("type Windows.UI.Input.RadialController",
        _WinRTApiInformation_IsEnabledType(L"Windows.UI.Input.RadialController"));
    Ask("type Contoso.Missing", _WinRTApiInformation_IsEnabledType(L"Contoso.Missing"));
    Ask("event DataTransferManager.ShareProvidersRequested",
        _WinRTApiInformation_IsEnabledEvent(L"Windows.ApplicationModel.DataTransfer.DataTransferManager",
                                            L"ShareProvidersRequested"));
    Ask("method DataPackage.SetText",
        _WinRTApiInformation_IsEnabledMethod(L"Windows.ApplicationModel.DataTransfer.DataPackage", L"SetText"));
    return 0;
}
