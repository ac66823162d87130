// Building blocks of the simulated classes: the shared COM object template with
// a live-object count, the fault-injection hook, and class registration.
#pragma once

#include "SimRuntime.h"
#include "tavlet/winapi/winrt/base/ComObject.h"
#include "tavlet/winapi/winrt/base/HString.h"

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace sim {

namespace detail {
void AddLive(long delta) noexcept;
void AddLiveFactory(long delta) noexcept;
// Ends the process when called after this DLL was detached at process exit.
void RefuseCallAfterDetach() noexcept;
// Refuses a thread without COM, then InjectedFault.
HRESULT CheckFault(std::string_view member) noexcept;
// The gate, the call count and the fault injected for a member, if any.
HRESULT InjectedFault(std::string_view member) noexcept;
// Forgets injected faults and call counts (part of Reset).
void ResetFaults();
bool ComInitializedHere() noexcept;
bool IsAgileClass(std::wstring_view className) noexcept;
bool IsServedClass(std::wstring_view className) noexcept;
// Redirects GetCurrentPackageFamilyName, as tavlet.dll and the host program
// import it, to the modelled identity.
void InstallPackageIdentity();
// ReplaceLibraryImport for the process's executable.
void* ReplaceProgramImport(const char* dllName, const char* functionName, void* replacement);
}  // namespace detail

// The first line of every simulated member.
#define SIM_FAULT(member)                                                   \
    do {                                                                    \
        if (HRESULT sim_fault_hr = ::sim::detail::CheckFault(member); sim_fault_hr < 0) return sim_fault_hr; \
    } while (0)

// A member the library has no use for: the hook, then E_NOTIMPL. The second
// form names the out-parameter it clears first.
#define SIM_UNUSED(member, ...)                                 \
    HRESULT STDMETHODCALLTYPE __VA_ARGS__ noexcept override {   \
        SIM_FAULT(member);                                      \
        return E_NOTIMPL;                                       \
    }
#define SIM_UNUSED_OUT(member, out, ...)                        \
    HRESULT STDMETHODCALLTYPE __VA_ARGS__ noexcept override {   \
        SIM_FAULT(member);                                      \
        if (out) *out = nullptr;                                \
        return E_NOTIMPL;                                       \
    }

// A simulated instance: counted while alive.
template <typename Derived, typename... Interfaces>
class SimObject : public tavlet::winapi::winrt::ComObject<Derived, Interfaces...> {
public:
    SimObject() noexcept { detail::AddLive(1); }
    ~SimObject() override { detail::AddLive(-1); }
};

// A simulated activation factory: counted apart, agile as configured per class.
template <typename Derived, typename... Interfaces>
class SimFactory : public tavlet::winapi::winrt::ComObject<Derived, IActivationFactory, Interfaces...> {
public:
    explicit SimFactory(std::wstring_view className) : agile_(detail::IsAgileClass(className)) {
        detail::AddLiveFactory(1);
    }
    ~SimFactory() override { detail::AddLiveFactory(-1); }
    bool IsAgile() const noexcept { return agile_; }
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) noexcept override {
        if (instance) *instance = nullptr;
        return E_NOTIMPL;
    }

private:
    bool agile_;
};

using FactoryMaker = std::function<IActivationFactory*()>;

// Registers a class at load of the simulated runtime.
struct ClassRegistration {
    ClassRegistration(std::wstring_view className, FactoryMaker maker);
};
// Registers a function run by Reset (forget the class's state).
struct ResetRegistration {
    explicit ResetRegistration(std::function<void()> reset);
};

// Make a factory object of type F for a class and hand it out as IActivationFactory.
template <typename F>
IActivationFactory* NewFactory(std::wstring_view className) {
    return static_cast<IActivationFactory*>(new F(className));
}

using tavlet::winapi::winrt::HString;
using tavlet::winapi::winrt::MakeObject;
using tavlet::winapi::winrt::ToWide;

// One field of a simulated class's state (a struct with its `lock`), read or
// set under that lock; for the control API.
template <typename State, typename T>
T ReadState(State& state, T State::*field) {
    std::lock_guard guard(state.lock);
    return state.*field;
}
template <typename State, typename T, typename V>
void WriteState(State& state, T State::*field, V&& value) {
    std::lock_guard guard(state.lock);
    state.*field = std::forward<V>(value);
}

// A reference to a concrete object as one of its interfaces.
template <typename I, typename T>
::winrt::com_ptr<I> Up(const ::winrt::com_ptr<T>& object) noexcept {
    return ::winrt::copy_ptr<I>(object.get());
}

// A new HSTRING holding a copy of text (for out-parameters).
HSTRING MakeHString(const std::wstring& text) noexcept;

}  // namespace sim
