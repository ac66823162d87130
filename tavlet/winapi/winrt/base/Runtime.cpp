#include "Runtime.h"

#include "Errors.h"

#include <atomic>

namespace tavlet::winapi::winrt {
namespace {
// Set before the first RoInitialize and never cleared, so a failure is thrown
// to the first caller only and never retried. Two threads that make their
// first call together may both initialise, each its own thread.
std::atomic<bool> runtimeInitialized{false};
}  // namespace

void EnsureRuntimeInitialized() {
    if (runtimeInitialized.load()) return;
    runtimeInitialized.store(true);
    HRESULT hr = RoInitialize(RO_INIT_SINGLETHREADED);
    if (hr < 0) ::winrt::throw_hresult(hr);
}

}  // namespace tavlet::winapi::winrt
