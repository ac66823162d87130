// Control of the whole simulated runtime: reset, live objects, fault injection
// and activation.
#pragma once

#include "Export.h"

#include <windows.h>

#include <string>

namespace sim {

// ---- Whole runtime --------------------------------------------------------
// Forgets faults, counters and every class's configuration and state.
SIMRT_API void Reset();
// Simulated instances alive now (activation factories are not counted).
SIMRT_API long LiveObjects();
// Activation factories alive now (those the library keeps included).
SIMRT_API long LiveFactories();

// ---- Fault injection ------------------------------------------------------
// Members are named "Interface.Method" (e.g. "IApiInformationStatics.IsTypePresent");
// activating a class is named by the class's full name.
SIMRT_API void FailNext(const std::string& member, int count, HRESULT hr);
SIMRT_API void FailAlways(const std::string& member, HRESULT hr);
SIMRT_API void ClearFaults();
// How many times a member has been called (fault or not) since Reset.
SIMRT_API long Calls(const std::string& member);

// ---- Activation -----------------------------------------------------------
SIMRT_API long FactoryRequests(const std::wstring& className);
// Factories made from now on answer IAgileObject (true, the default) or not.
SIMRT_API void SetAgile(const std::wstring& className, bool agile);

}  // namespace sim
