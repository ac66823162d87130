// The process's package identity as tavlet.dll and the host program ask for
// it: their imports of kernel32!GetCurrentPackageFamilyName are redirected here
// (with the COM context stand-in) and answer as Windows does for the modelled
// process.
#include "SimObject.h"
#include "control/Platform.h"
#include "control/Windows.h"

#include <cwchar>

namespace sim {
namespace {

constexpr LONG kNoPackage = 15700;  // APPMODEL_ERROR_NO_PACKAGE

LONG WINAPI ModelledGetCurrentPackageFamilyName(UINT32* length, PWSTR name) {
    if (!length) return ERROR_INVALID_PARAMETER;
    if (!IsPackaged()) {
        *length = 0;
        return kNoPackage;
    }
    const auto needed = static_cast<UINT32>(std::wcslen(packageFamilyName) + 1);
    const bool fits = name && *length >= needed;
    *length = needed;
    if (!fits) return ERROR_INSUFFICIENT_BUFFER;
    std::wmemcpy(name, packageFamilyName, needed);
    return ERROR_SUCCESS;
}

}  // namespace

namespace detail {

void InstallPackageIdentity() {
    auto* modelled = reinterpret_cast<void*>(&ModelledGetCurrentPackageFamilyName);
    ReplaceLibraryImport("kernel32.dll", "GetCurrentPackageFamilyName", modelled);
    ReplaceProgramImport("kernel32.dll", "GetCurrentPackageFamilyName", modelled);
}

}  // namespace detail
}  // namespace sim
