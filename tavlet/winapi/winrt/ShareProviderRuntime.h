// What the sharing family takes from a share-provider handle, and the icon
// path mapping of an unpackaged process (kept apart so it can be checked on
// its own).
#pragma once

#include "base/AbiNamespaces.h"
#include "base/ComPtr.h"
#include "abi/DataTransfer.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>

struct _WinRTShareProvider;

namespace tavlet::winapi::winrt {

// Where a handle keeps what its initialisations build: the runtime provider
// and its icon text. An icon lookup completes, and a file share reads the
// provider, on runtime threads, possibly while the host initialises the handle
// again or releases it: so this is shared (held weakly by those), read and
// written under its own lock, and only the latest initialisation may set it.
class RuntimeProviderSlot {
public:
    using Provider = ::winrt::com_ptr<DataTransfer::IShareProvider>;

    Provider Get() const {
        std::lock_guard guard(lock_);
        return provider_;
    }
    std::wstring IconUri() const {
        std::lock_guard guard(lock_);
        return iconUri_;
    }
    // A new initialisation: earlier ones can no longer set anything.
    uint64_t Begin() {
        std::lock_guard guard(lock_);
        return ++generation_;
    }
    bool IsLatest(uint64_t generation) const {
        std::lock_guard guard(lock_);
        return generation == generation_;
    }
    // Sets what the initialisation built, if it is still the latest; an empty
    // provider clears both. The replaced provider is released outside the lock.
    bool Set(uint64_t generation, Provider provider, std::wstring iconUri) {
        {
            std::lock_guard guard(lock_);
            if (generation != generation_) return false;
            std::swap(provider_, provider);
            std::swap(iconUri_, iconUri);
        }
        return true;
    }

private:
    mutable std::mutex lock_;
    Provider provider_;
    std::wstring iconUri_;
    uint64_t generation_ = 0;
};

// The slot of a live handle; null for a handle that is not live.
std::shared_ptr<RuntimeProviderSlot> RuntimeProviderSlotOf(_WinRTShareProvider* handle);

// The executable's directory: up to, not including, its last backslash or
// slash; the whole text when it has neither.
std::wstring ExecutableDirectory(const std::wstring& executablePath);

// The icon text of an unpackaged process: what follows the first "://" of the
// URI, slashes turned to backslashes. No "://" throws E_INVALIDARG.
std::wstring IconRelativePath(const std::wstring& iconUri);

}  // namespace tavlet::winapi::winrt
