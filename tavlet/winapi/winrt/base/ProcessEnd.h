// The end of the process, as the library's entry routine sees it. When the
// process terminates, DLL_PROCESS_DETACH runs under the loader lock after DLLs
// loaded later (the runtime's components among them) may already be detached,
// and the language runtime's exit routines run right after it. Nothing then may
// call into another DLL: process-wide references to runtime objects and
// windows are left to the system, which reclaims the whole process anyway. A
// FreeLibrary that unloads the library still releases them.
#pragma once

#include <atomic>
#include <utility>

namespace tavlet::winapi::winrt {

// Set by DllMain on DLL_PROCESS_DETACH with a non-null lpReserved (the process
// is terminating), before the exit routines run; never cleared.
inline std::atomic<bool> processEnding{false};

// A process-wide T that calls into other DLLs when destroyed: destroyed by the
// exit routines when the library is unloaded, left as it is when the process ends.
template <typename T>
class ReleasedAtUnloadOnly {
public:
    template <typename... Args>
    constexpr explicit ReleasedAtUnloadOnly(Args&&... args) : value_(std::forward<Args>(args)...) {}
    ~ReleasedAtUnloadOnly() {
        if (!processEnding.load()) value_.~T();
    }
    ReleasedAtUnloadOnly(const ReleasedAtUnloadOnly&) = delete;
    ReleasedAtUnloadOnly& operator=(const ReleasedAtUnloadOnly&) = delete;

    constexpr T& operator*() noexcept { return value_; }
    constexpr const T& operator*() const noexcept { return value_; }

private:
    union {
        T value_;
    };
};

}  // namespace tavlet::winapi::winrt
