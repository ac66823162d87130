// Control API of the simulated Windows Runtime. Tests call it directly; the
// library under test reaches the same DLL only through RoGetActivationFactory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#ifdef TAVLET_SIMRT_BUILD
#define SIMRT_API __declspec(dllexport)
#else
#define SIMRT_API __declspec(dllimport)
#endif

namespace sim {

// ---- Whole runtime --------------------------------------------------------
// Forgets faults, counters and every class's configuration and state.
SIMRT_API void Reset();
// Simulated instances alive now (activation factories are not counted).
SIMRT_API long LiveObjects();

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

// ---- Windows.Foundation.Metadata.ApiInformation ---------------------------
SIMRT_API void SetTypePresent(const std::wstring& typeName, bool present);
SIMRT_API void SetMethodPresent(const std::wstring& typeName, const std::wstring& methodName, bool present);
SIMRT_API void SetEventPresent(const std::wstring& typeName, const std::wstring& eventName, bool present);

// ---- Radial controller (Windows.UI.Input, Windows.Storage) -------------------
// (dial control)

// ---- Asynchronous operations, tiles, notifications ---------------------------
// (tiles control)

// ---- Sharing (Windows.ApplicationModel.DataTransfer) --------------------------
// (sharing control)

}  // namespace sim
