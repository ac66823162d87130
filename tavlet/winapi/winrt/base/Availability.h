// The families' IsAvailable exports: whether this system has the runtime class
// a family is built on.
#pragma once

#include "Guards.h"
#include "Runtime.h"

namespace tavlet::winapi::winrt {

// Starts the runtime if need be and asks the class's statics; 1 when the class
// is supported, 0 when not or on any failure.
template <typename Class, typename Statics>
BOOL IsClassAvailable() noexcept {
    return BooleanGuard([] {
        EnsureRuntimeInitialized();
        abi::boolean supported = 0;
        ::winrt::check_hresult(GetActivationFactory<Class, Statics>()->IsSupported(&supported));
        return supported != 0;
    });
}

}  // namespace tavlet::winapi::winrt
