// Runtime start-up: the once-per-process initialisation and the activation
// factory caches through which every family reaches the runtime's classes.
#pragma once

#include "ComPtr.h"
#include "HString.h"
#include "ProcessEnd.h"

#include <roapi.h>

#include <string_view>

namespace tavlet::winapi::winrt {

// Initialises the runtime as a single-threaded apartment on the first calling
// thread of the process. A failure is thrown once; later calls go past.
void EnsureRuntimeInitialized();

// RoGetActivationFactory for one use; failure thrown.
template <typename Interface>
::winrt::com_ptr<Interface> RequestActivationFactory(std::wstring_view className) {
    ::winrt::com_ptr<Interface> factory;
    factory.capture(RoGetActivationFactory, HStringReference(className));
    return factory;
}

// The factory of Class as Interface. The first use fetches it under the
// thread-safe initialisation of a function-local static; an agile factory
// stays for the life of the process (released at unload, left at the end of
// the process), a non-agile one is fetched afresh for every use. A failed
// first use is retried by the next.
template <typename Class, typename Interface>
::winrt::com_ptr<Interface> GetActivationFactory() {
    static const ReleasedAtUnloadOnly<::winrt::com_ptr<Interface>> cached{[] {
        auto factory = RequestActivationFactory<Interface>(Class::name);
        return factory.template try_as<IAgileObject>() ? factory : nullptr;
    }()};
    if (*cached) return *cached;
    return RequestActivationFactory<Interface>(Class::name);
}

// A new instance of a default-activatable class.
template <typename Class, typename Interface>
::winrt::com_ptr<Interface> ActivateInstance() {
    ::winrt::com_ptr<IInspectable> instance;
    ::winrt::check_hresult(GetActivationFactory<Class, IActivationFactory>()->ActivateInstance(instance.put()));
    return instance.template as<Interface>();
}

}  // namespace tavlet::winapi::winrt
