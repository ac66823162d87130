// Test support beyond the runtime: the COM context stand-in and tavlet.dll's
// imports.
#pragma once

#include "Export.h"

namespace sim {

// ---- COM context switching (test support) ----------------------------------
// Where the platform cannot enter a captured COM context from another thread
// (Wine's IContextCallback::ContextCallback is a stub), tavlet.dll's
// CoGetObjectContext is redirected to a stand-in whose contexts behave like
// the system's; a platform whose own switch works keeps it. Only tavlet.dll's
// calls are redirected. Installed by the test program before its tests and by
// the first activation through this runtime; idempotent and thread-safe.
// It also points GetCurrentPackageFamilyName, as tavlet.dll and the host
// program import it from kernel32.dll, at the modelled package identity
// (sim::IsPackaged, control/Windows.h).
// Returns whether tavlet.dll's import is redirected now (false when tavlet.dll
// is not loaded).
SIMRT_API bool InstallContextStandIn();
// Whether tavlet.dll is handed the stand-in's contexts (installed, and the
// platform's own switch does not work).
SIMRT_API bool ContextStandInActive();
// tavlet.dll's calls of CoGetObjectContext pass the fault-injection hook
// "CoGetObjectContext" first (with or without the stand-in).

// ---- tavlet.dll's imports (test support) -----------------------------------
// Points tavlet.dll's import of dllName!functionName (e.g. "kernel32.dll",
// "QueryFullProcessImageNameW") at replacement; returns what it pointed at, to
// be put back the same way (null when there is no such import).
SIMRT_API void* ReplaceLibraryImport(const char* dllName, const char* functionName, void* replacement);

}  // namespace sim
