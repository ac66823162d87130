// The library's entry routine. Load-time work is done by static initialisers
// (the dispatcher's window message) and unload-time work by the language
// runtime's exit routines, which run after this routine: at the end of the
// process they leave whatever would call into another DLL (ProcessEnd.h).
#include "ProcessEnd.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved) tavlet::winapi::winrt::processEnding.store(true);
    return TRUE;
}
