// Pins the module that holds the library: the runtime keeps some of our
// handlers for the life of the process (a window's radial controller keeps its
// event registrations) and calls them on its own threads, so a host's
// FreeLibrary must not unmap their code.
#include "ComObject.h"

#include <windows.h>

#include <atomic>

namespace tavlet::winapi::winrt {

void KeepModuleLoaded() noexcept {
    static std::atomic<bool> pinned{false};
    if (pinned.load(std::memory_order_acquire)) return;
    HMODULE module = nullptr;
    // The module containing this function; a pin cannot be undone, so pinning
    // again (two threads at once) is harmless.
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCWSTR>(&KeepModuleLoaded), &module)) {
        pinned.store(true, std::memory_order_release);
    }
}

}  // namespace tavlet::winapi::winrt
