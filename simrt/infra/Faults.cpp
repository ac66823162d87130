// The fault hooks: every simulated member counts its calls and fails when a
// test has injected a fault for it.
#include "RuntimeThreads.h"
#include "SimObject.h"

#include <map>
#include <mutex>

namespace sim {
namespace {

struct Fault {
    int remaining = 0;  // calls still to fail; -1 for every call
    HRESULT hr = S_OK;
};

struct Faults {
    std::mutex lock;
    std::map<std::string, Fault, std::less<>> injected;
    std::map<std::string, long, std::less<>> calls;
};
Faults& faults() {
    static Faults* f = new Faults();
    return *f;
}

}  // namespace

namespace detail {

void ResetFaults() {
    auto& s = faults();
    std::lock_guard guard(s.lock);
    s.injected.clear();
    s.calls.clear();
}

HRESULT CheckFault(std::string_view member) noexcept {
    RefuseCallAfterDetach();
    if (!ComInitializedHere()) return CO_E_NOTINITIALIZED;
    return InjectedFault(member);
}

HRESULT InjectedFault(std::string_view member) noexcept {
    PassGate(member);
    auto& s = faults();
    std::lock_guard guard(s.lock);
    ++s.calls[std::string(member)];
    auto fault = s.injected.find(member);
    if (fault == s.injected.end()) return S_OK;
    HRESULT hr = fault->second.hr;
    if (fault->second.remaining > 0 && --fault->second.remaining == 0) s.injected.erase(fault);
    return hr;
}

}  // namespace detail

void FailNext(const std::string& member, int count, HRESULT hr) {
    auto& s = faults();
    std::lock_guard guard(s.lock);
    if (count > 0) s.injected[member] = Fault{count, hr};
}

void FailAlways(const std::string& member, HRESULT hr) {
    auto& s = faults();
    std::lock_guard guard(s.lock);
    s.injected[member] = Fault{-1, hr};
}

void ClearFaults() {
    auto& s = faults();
    std::lock_guard guard(s.lock);
    s.injected.clear();
}

long Calls(const std::string& member) {
    auto& s = faults();
    std::lock_guard guard(s.lock);
    auto found = s.calls.find(member);
    return found == s.calls.end() ? 0 : found->second;
}

}  // namespace sim
