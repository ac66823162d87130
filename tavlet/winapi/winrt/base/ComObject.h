// One COM object implementation for every object and delegate: QueryInterface
// walks the interface list, one atomic reference count, IInspectable's three
// methods with defaults. Objects are agile (IAgileObject); a class that sets
// `static constexpr bool kFreeThreaded = true` also answers IMarshal with the
// system's free-threaded marshaler, so the runtime calls it on its own thread.
#pragma once

#include "Errors.h"

#include <atomic>
#include <tuple>
#include <new>
#include <type_traits>
#include <utility>

namespace tavlet::winapi::winrt {

namespace detail {
template <typename Derived, typename = void>
struct is_free_threaded : std::false_type {};
template <typename Derived>
struct is_free_threaded<Derived, std::void_t<decltype(Derived::kFreeThreaded)>>
    : std::bool_constant<Derived::kFreeThreaded> {};

template <typename... Ts>
using first_t = std::tuple_element_t<0, std::tuple<Ts...>>;
}  // namespace detail

template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
    static_assert(sizeof...(Interfaces) > 0, "a COM object implements at least one interface");

public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!(FindInterface<Interfaces>(iid, out) || ...)) {
            if (iid == abi::guid_v<IUnknown>) {
                *out = Identity();
            } else if (iid == abi::guid_v<IInspectable> && kHasInspectable) {
                *out = Inspectable();
            } else if (iid == abi::guid_v<IAgileObject> && static_cast<Derived*>(this)->IsAgile()) {
                *out = Identity();
            } else if constexpr (detail::is_free_threaded<Derived>::value) {
                if (iid == abi::guid_v<IMarshal>) return QueryMarshaler(out);
                return E_NOINTERFACE;
            } else {
                return E_NOINTERFACE;
            }
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        ULONG remaining = --refs_;
        if (remaining == 0) delete static_cast<Derived*>(this);
        return remaining;
    }

    // IInspectable defaults (they only take effect where an interface derives from it).
    // They cannot be marked override: for an IUnknown-only interface they
    // override nothing.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Winconsistent-missing-override"
#endif
    HRESULT STDMETHODCALLTYPE GetIids(ULONG* count, IID** iids) noexcept {
        if (!count || !iids) return E_POINTER;
        *count = 0;
        *iids = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* name) noexcept {
        if (!name) return E_POINTER;
        *name = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) noexcept {
        if (!level) return E_POINTER;
        *level = BaseTrust;
        return S_OK;
    }
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

    // Agility can be a property of the instance (the test runtime switches it).
    bool IsAgile() const noexcept { return true; }

    IUnknown* Identity() noexcept { return static_cast<detail::first_t<Interfaces...>*>(this); }

protected:
    virtual ~ComObject() {
        if (auto ftm = marshaler_.load()) ftm->Release();
    }

private:
    static constexpr bool kHasInspectable = (std::is_base_of_v<IInspectable, Interfaces> || ...);

    template <typename I>
    bool FindInterface(REFIID iid, void** out) noexcept {
        if (iid != abi::guid_v<I>) return false;
        *out = static_cast<I*>(this);
        return true;
    }
    void* Inspectable() noexcept {
        void* result = nullptr;
        ((result || (result = InspectableOf<Interfaces>())) || ...);
        return result;
    }
    // The IInspectable of one interface, or null for one that derives from
    // IUnknown only (a delegate); the cast is compiled only where it exists.
    template <typename I>
    void* InspectableOf() noexcept {
        if constexpr (std::is_base_of_v<IInspectable, I>) {
            return static_cast<IInspectable*>(static_cast<I*>(this));
        } else {
            return nullptr;
        }
    }
    HRESULT QueryMarshaler(void** out) noexcept {
        IUnknown* ftm = marshaler_.load();
        if (!ftm) {
            HRESULT hr = CoCreateFreeThreadedMarshaler(Identity(), &ftm);
            if (hr < 0) return hr;
            IUnknown* expected = nullptr;
            if (!marshaler_.compare_exchange_strong(expected, ftm)) {
                ftm->Release();
                ftm = expected;
            }
        }
        return ftm->QueryInterface(abi::guid_v<IMarshal>, out);
    }

    std::atomic<ULONG> refs_{1};
    std::atomic<IUnknown*> marshaler_{nullptr};
};

// Creates a COM object; the caller owns the one reference it starts with.
template <typename T, typename... Args>
::winrt::com_ptr<T> MakeObject(Args&&... args) {
    ::winrt::com_ptr<T> result;
    result.attach(new T(std::forward<Args>(args)...));
    return result;
}

// Keeps this module loaded for the rest of the process. Called wherever the
// library makes something the runtime may keep beyond the call that made it
// (a delegate, a collection handed over), since the runtime would later run
// its code; a host that never makes one can still unload the library. Only
// the library defines it: the simulated runtime shares this header but makes
// no delegates.
void KeepModuleLoaded() noexcept;

namespace detail {
template <typename Interface, typename Callable, bool FreeThreaded, typename Signature = decltype(&Interface::Invoke)>
class Delegate;

template <typename Interface, typename Callable, bool FreeThreaded, typename... Args>
class Delegate<Interface, Callable, FreeThreaded, HRESULT (STDMETHODCALLTYPE Interface::*)(Args...)>
    : public ComObject<Delegate<Interface, Callable, FreeThreaded>, Interface> {
public:
    static constexpr bool kFreeThreaded = FreeThreaded;
    explicit Delegate(Callable callable) : callable_(std::move(callable)) { KeepModuleLoaded(); }

    // The one error boundary of every handler: a failure goes back to the runtime.
    HRESULT STDMETHODCALLTYPE Invoke(Args... args) noexcept override {
        try {
            return callable_(args...);
        } catch (...) {
            return CurrentExceptionToHresult(FailureReader::Runtime);
        }
    }

private:
    Callable callable_;
};
}  // namespace detail

// A runtime delegate (event handler, completion handler) around a callable that
// takes the delegate's Invoke arguments and returns an HRESULT.
template <typename Interface, typename Callable>
::winrt::com_ptr<Interface> MakeDelegate(Callable callable) {
    ::winrt::com_ptr<Interface> result;
    result.attach(new detail::Delegate<Interface, Callable, false>(std::move(callable)));
    return result;
}

// The same, free-threaded: it answers IMarshal with the free-threaded marshaler.
template <typename Interface, typename Callable>
::winrt::com_ptr<Interface> MakeFreeThreadedDelegate(Callable callable) {
    ::winrt::com_ptr<Interface> result;
    result.attach(new detail::Delegate<Interface, Callable, true>(std::move(callable)));
    return result;
}

}  // namespace tavlet::winapi::winrt
