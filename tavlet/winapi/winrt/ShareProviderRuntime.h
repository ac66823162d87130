// What the sharing family takes from a share-provider handle, and the icon
// path mapping of an unpackaged process (kept apart so it can be checked on
// its own).
#pragma once

#include "ComPtr.h"
#include "abi/DataTransfer.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>

struct _WinRTShareProvider;

namespace tavlet::winapi::winrt {

// Where a handle keeps its runtime provider. A file share reads it when its
// file has been found, on a runtime thread, possibly while the host
// initialises the handle again or after it has released it: so it is shared,
// held weakly by the share, and read and written under its own lock.
class RuntimeProviderSlot {
public:
    ::winrt::com_ptr<abi::Windows::ApplicationModel::DataTransfer::IShareProvider> Get() const {
        std::lock_guard guard(lock_);
        return provider_;
    }
    void Set(::winrt::com_ptr<abi::Windows::ApplicationModel::DataTransfer::IShareProvider> provider) {
        std::lock_guard guard(lock_);
        std::swap(provider_, provider);  // the earlier one is released outside the lock
    }

private:
    mutable std::mutex lock_;
    ::winrt::com_ptr<abi::Windows::ApplicationModel::DataTransfer::IShareProvider> provider_;
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
