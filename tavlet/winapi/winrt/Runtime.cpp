#include "Runtime.h"

#include "Errors.h"

namespace tavlet::winapi::winrt {
namespace {
// 0 not yet initialised, 1 done or attempted. Plain accesses: two threads that
// make their first call together may both initialise, each its own thread.
volatile LONG runtimeInitialized = 0;
}  // namespace

void EnsureRuntimeInitialized() {
    if (runtimeInitialized == 1) return;
    runtimeInitialized = 1;
    HRESULT hr = RoInitialize(RO_INIT_SINGLETHREADED);
    if (hr < 0) ::winrt::throw_hresult(hr);
}

}  // namespace tavlet::winapi::winrt
