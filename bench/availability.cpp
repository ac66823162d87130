// Availability queries: what the export costs over the same query made
// directly through a cached ABI pointer, and how often the runtime is asked
// for the factory (agile: once per process; non-agile: once per query).
// Run by hand: bench_availability.exe
#include "SimRuntime.h"
#include "Timing.h"
#include "tavlet.h"
#include "tavlet/winapi/winrt/base/ComPtr.h"
#include "tavlet/winapi/winrt/abi/Foundation.Metadata.h"

#include <roapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

using abi::Windows::Foundation::Metadata::IApiInformationStatics;

const wchar_t kClass[] = L"Windows.Foundation.Metadata.ApiInformation";
constexpr int kQueries = 10000;

long RequestsPer10000Queries() {
    _WinRTApiInformation_IsEnabledType(kClass);  // first use fills (or skips) the cache
    long before = sim::FactoryRequests(kClass);
    for (int i = 0; i < kQueries; ++i) _WinRTApiInformation_IsEnabledType(kClass);
    return sim::FactoryRequests(kClass) - before;
}

int NonAgileChild() {
    sim::SetAgile(kClass, false);
    std::printf("factory requests per %d queries, non-agile factory: %ld (target %d)\n", kQueries,
                RequestsPer10000Queries(), kQueries);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (argc > 1 && std::strcmp(argv[1], "--non-agile") == 0) return NonAgileChild();

    // Direct: the statics fetched once and kept; only the call itself per query.
    winrt::com_ptr<IApiInformationStatics> statics;
    HSTRING_HEADER header;
    HSTRING name;
    WindowsCreateStringReference(kClass, static_cast<UINT32>(std::wcslen(kClass)), &header, &name);
    RoGetActivationFactory(name, abi::guid_v<IApiInformationStatics>, statics.put_void());
    if (!statics) {
        std::printf("the runtime does not serve %ls\n", kClass);
        return 1;
    }
    auto directQuery = [&] {
        HSTRING_HEADER h;
        HSTRING type;
        WindowsCreateStringReference(kClass, static_cast<UINT32>(std::wcslen(kClass)), &h, &type);
        abi::boolean present = 0;
        statics->IsTypePresent(type, &present);
    };
    auto exportedQuery = [] { _WinRTApiInformation_IsEnabledType(kClass); };
    auto [direct, exported] = BestOfAlternatingRounds(20, kQueries, directQuery, exportedQuery);
    std::printf("IsEnabledType: export %.0f ns, direct ABI %.0f ns, ratio %.2f (target <= 1.5)\n", exported * 1e9,
                direct * 1e9, exported / direct);
    std::printf("factory requests per %d queries, agile factory: %ld (target 0)\n", kQueries,
                RequestsPer10000Queries());
    std::fflush(stdout);

    // A non-agile factory is decided at first use, so it is measured in a fresh process.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --non-agile";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}
