// What the user sees: the window whose share UI is open, the pin dialog waiting.
#include "SimRuntime.h"

namespace sim {

HWND OpenShareUIWindow() {
    HWND open = nullptr;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId() || !IsShareUIOpen(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&open));
    return open;
}

long PendingTileRequest() {
    for (long i = 0, count = TileRequestCount(); i < count; ++i) {
        auto request = TileRequestAt(i);
        if (request.alive && !request.closed && request.status == 0) return i;  // AsyncStatus.Started
    }
    return -1;
}

}  // namespace sim
