// The Windows the simulated runtime stands for: its build number and whether
// the process has package identity. Classes read these to decide what they
// answer, as the real system's behaviour depends on them.
#pragma once

#include "Export.h"

#include <cstdint>

namespace sim {

// ---- The modelled Windows -----------------------------------------------------
// Defaults (restored by Reset): Windows 10 22H2 (build 19045), unpackaged, as a
// classic desktop program runs. The environment of the process sets other
// defaults: TAVLET_SIM_WINDOWS_BUILD=<build> and TAVLET_SIM_PACKAGED=1
// (run-host --windows BUILD / --packaged set them for a host).
constexpr uint32_t windows10_22H2 = 19045;
constexpr uint32_t windows11_first = 22000;

SIMRT_API void SetWindowsBuild(uint32_t build);
SIMRT_API uint32_t WindowsBuild();
// True when the modelled build is at least `build`.
SIMRT_API bool WindowsAtLeast(uint32_t build);

SIMRT_API void SetPackaged(bool packaged);
SIMRT_API bool IsPackaged();
// What GetCurrentPackageFamilyName answers tavlet.dll in a packaged process
// (an unpackaged one gets APPMODEL_ERROR_NO_PACKAGE, 15700).
constexpr wchar_t packageFamilyName[] = L"Tavlet.SimulatedHost_2xvbbx2fzm7e0";

}  // namespace sim
