// The simulated runtime's module: class table, activation and counters.
#include "RuntimeThreads.h"
#include "ScriptedUser.h"
#include "SimObject.h"

#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace sim {
namespace {

// Kept for the life of the process (never destroyed), so objects released
// while the process exits still find it.
struct State {
    std::mutex lock;
    std::map<std::wstring, FactoryMaker, std::less<>> classes;
    std::map<std::wstring, long, std::less<>> factoryRequests;
    std::map<std::wstring, bool, std::less<>> agile;
    std::vector<std::function<void()>> resets;
};

State& state() {
    static State* s = new State();
    return *s;
}

std::atomic<long> live{0};
std::atomic<long> liveFactories{0};

// Set when this DLL is detached because the process is ending. Windows stops
// every other thread first and may leave heaps and locks inconsistent, so a
// runtime DLL detached before its caller must not be called again; a caller's
// own DLL_PROCESS_DETACH that releases runtime objects then crashes or hangs
// on Windows, sooner or later. Here such a call ends the process at once with
// exit code 3 and a line on stderr, so the mistake cannot pass unnoticed.
std::atomic<bool> detachedAtProcessEnd{false};

}  // namespace

void detail::RefuseCallAfterDetach() noexcept {
    if (!detachedAtProcessEnd) return;
    static const char message[] =
        "tavlet_simrt: a runtime object was called or released after the runtime's DLL was detached at process exit\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), message, sizeof(message) - 1, &written, nullptr);
    TerminateProcess(GetCurrentProcess(), 3);
}

namespace detail {

void AddLive(long delta) noexcept {
    RefuseCallAfterDetach();
    live += delta;
}
void AddLiveFactory(long delta) noexcept {
    RefuseCallAfterDetach();
    liveFactories += delta;
}

// As on Windows, a thread that never initialised COM can neither activate a
// class nor call a runtime object (Wine would let both through). The implicit
// MTA does not count: the runtime's threads make one exist in every test.
bool ComInitializedHere() noexcept {
    if (OnRuntimeThread()) return true;
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    if (FAILED(CoGetApartmentType(&type, &qualifier))) return false;
    return qualifier != APTTYPEQUALIFIER_IMPLICIT_MTA;
}

bool IsAgileClass(std::wstring_view className) noexcept {
    auto& s = state();
    std::lock_guard guard(s.lock);
    auto found = s.agile.find(className);
    return found == s.agile.end() || found->second;
}

bool IsServedClass(std::wstring_view className) noexcept {
    auto& s = state();
    std::lock_guard guard(s.lock);
    return s.classes.find(className) != s.classes.end();
}

}  // namespace detail

ClassRegistration::ClassRegistration(std::wstring_view className, FactoryMaker maker) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.classes.emplace(std::wstring(className), std::move(maker));
}

ResetRegistration::ResetRegistration(std::function<void()> reset) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.resets.push_back(std::move(reset));
}

HSTRING MakeHString(const std::wstring& text) noexcept {
    HSTRING result = nullptr;
    WindowsCreateString(text.c_str(), static_cast<UINT32>(text.size()), &result);
    return result;
}

void Reset() {
    detail::ResetRuntimeThreads();
    std::vector<std::function<void()>> resets;
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        s.factoryRequests.clear();
        s.agile.clear();
        resets = s.resets;
    }
    detail::ResetFaults();
    for (auto& reset : resets) reset();
}

long LiveObjects() { return live.load(); }
long LiveFactories() { return liveFactories.load(); }

long FactoryRequests(const std::wstring& className) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    auto found = s.factoryRequests.find(className);
    return found == s.factoryRequests.end() ? 0 : found->second;
}

void SetAgile(const std::wstring& className, bool agile) {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.agile[className] = agile;
}

}  // namespace sim

// The runtime asks the component for a class's activation factory by name.
extern "C" __declspec(dllexport) HRESULT WINAPI DllGetActivationFactory(HSTRING classId, IActivationFactory** factory) {
    if (!factory) return E_POINTER;
    *factory = nullptr;
    if (!sim::detail::ComInitializedHere()) return CO_E_NOTINITIALIZED;
    // A host program with tavlet.dll loaded gets the context stand-in without any test code.
    static std::atomic<bool> standInTried{false};
    if (!standInTried.exchange(true)) sim::InstallContextStandIn();
    // A run that names a script gets the scripted user (test support only).
    sim::detail::StartScriptedUser();
    const std::wstring name = sim::ToWide(classId);
    sim::FactoryMaker maker;
    {
        auto& s = sim::state();
        std::lock_guard guard(s.lock);
        auto found = s.classes.find(name);
        if (found == s.classes.end()) return CLASS_E_CLASSNOTAVAILABLE;
        ++s.factoryRequests[name];
        maker = found->second;
    }
    std::string narrow(name.begin(), name.end());
    if (HRESULT hr = sim::detail::CheckFault(narrow); hr < 0) return hr;
    *factory = maker();
    return *factory ? S_OK : E_OUTOFMEMORY;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved) sim::detachedAtProcessEnd = true;
    return TRUE;
}
