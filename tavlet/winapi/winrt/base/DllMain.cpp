// The library's entry routine. Load-time work is done by static initialisers
// (the dispatcher's window message) and unload-time work by the language
// runtime's exit routines (factory caches, the radial controller's references).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
