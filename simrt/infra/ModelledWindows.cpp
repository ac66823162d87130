// The modelled Windows: build number and package identity, with defaults read
// once from the process's environment.
#include "SimObject.h"
#include "control/Windows.h"

#include <atomic>
#include <cwchar>

namespace sim {
namespace {

uint32_t EnvironmentNumber(const wchar_t* name, uint32_t fallback) {
    wchar_t text[32] = {};
    const DWORD length = GetEnvironmentVariableW(name, text, 32);
    if (length == 0 || length >= 32) return fallback;
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text, &end, 10);
    return end && *end == L'\0' ? static_cast<uint32_t>(value) : fallback;
}

uint32_t DefaultBuild() {
    static const uint32_t build = EnvironmentNumber(L"TAVLET_SIM_WINDOWS_BUILD", windows10_22H2);
    return build;
}
bool DefaultPackaged() {
    static const bool packaged = EnvironmentNumber(L"TAVLET_SIM_PACKAGED", 0) != 0;
    return packaged;
}

std::atomic<uint32_t> build{DefaultBuild()};
std::atomic<bool> packaged{DefaultPackaged()};

const ResetRegistration reset([] {
    build = DefaultBuild();
    packaged = DefaultPackaged();
});

}  // namespace

void SetWindowsBuild(uint32_t newBuild) { build = newBuild; }
uint32_t WindowsBuild() { return build; }
bool WindowsAtLeast(uint32_t wanted) { return build >= wanted; }

void SetPackaged(bool newPackaged) { packaged = newPackaged; }
bool IsPackaged() { return packaged; }

}  // namespace sim
