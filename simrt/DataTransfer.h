// The simulated sharing classes as the share UI (DataTransferManager.cpp) and
// the other sharing files see each other: concrete types, and what the UI
// reads back for the tests.
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/DataTransfer.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"
#include "tavlet/winapi/winrt/abi/Storage.Streams.h"
#include "tavlet/winapi/winrt/abi/Storage.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#ifndef RO_E_CLOSED
#define RO_E_CLOSED ((HRESULT)0x80000013L)
#endif
#ifndef E_BOUNDS
#define E_BOUNDS ((HRESULT)0x8000000BL)
#endif

namespace sim {

namespace DataTransfer = abi::Windows::ApplicationModel::DataTransfer;

// Event handlers with their tokens; raised on the calling thread, outside the
// lock, over a copy of the list (a handler may remove itself or others).
template <typename Handler>
class EventSource {
public:
    HRESULT Add(Handler* handler, abi::EventRegistrationToken* token);
    HRESULT Remove(abi::EventRegistrationToken token);
    long Count() {
        std::lock_guard guard(lock_);
        return static_cast<long>(handlers_.size());
    }
    void Clear() {
        std::map<int64_t, ::winrt::com_ptr<Handler>> gone;
        {
            std::lock_guard guard(lock_);
            gone.swap(handlers_);
        }
    }
    // The last failing handler's HRESULT, S_OK when all succeeded.
    template <typename Sender, typename Args>
    HRESULT Raise(Sender sender, Args args) {
        std::vector<::winrt::com_ptr<Handler>> handlers;
        {
            std::lock_guard guard(lock_);
            for (auto& entry : handlers_) handlers.push_back(entry.second);
        }
        HRESULT result = S_OK;
        for (auto& handler : handlers) {
            HRESULT hr = handler->Invoke(sender, args);
            if (hr < 0) result = hr;
        }
        return result;
    }

private:
    std::mutex lock_;
    std::map<int64_t, ::winrt::com_ptr<Handler>> handlers_;
};

// A reference to a concrete object as one of its interfaces.
template <typename I, typename T>
::winrt::com_ptr<I> Up(const ::winrt::com_ptr<T>& object) noexcept {
    return ::winrt::copy_ptr<I>(object.get());
}

// Every token of the simulated runtime is distinct.
int64_t NextEventToken() noexcept;

template <typename Handler>
HRESULT EventSource<Handler>::Add(Handler* handler, abi::EventRegistrationToken* token) {
    if (!handler || !token) return E_INVALIDARG;
    std::lock_guard guard(lock_);
    token->value = NextEventToken();
    handlers_[token->value].copy_from(handler);
    return S_OK;
}

template <typename Handler>
HRESULT EventSource<Handler>::Remove(abi::EventRegistrationToken token) {
    ::winrt::com_ptr<Handler> gone;
    std::lock_guard guard(lock_);
    auto found = handlers_.find(token.value);
    // The runtime ignores a token it does not know.
    if (found != handlers_.end()) {
        gone = std::move(found->second);
        handlers_.erase(found);
    }
    return S_OK;
}

// What a data provider request ended with.
struct ProviderRequestState {
    std::mutex lock;
    long deferrals = 0;
    bool deferralCompleted = false;
    ::winrt::com_ptr<IInspectable> data;
};

// DataPackage.cpp
::winrt::com_ptr<DataTransfer::IDataPackage> NewDataPackage();
::winrt::com_ptr<DataTransfer::IDataRequestedEventArgs> NewDataRequestedEventArgs(DataTransfer::IDataPackage* package);
::winrt::com_ptr<DataTransfer::IDataProviderRequest> NewDataProviderRequest(
    const std::wstring& formatId, std::shared_ptr<ProviderRequestState> state);
bool IsShareCompletedInterfacePresent();

// The package as the share UI sees it.
struct PackageContents {
    bool hasTitle = false, hasDescription = false, hasText = false;
    std::wstring title, description, text;
    std::vector<std::wstring> providerFormats;
    std::vector<std::wstring> storageItems;  // paths
    long shareCompletedHandlers = 0;
};
// For simulated packages only (others give nothing).
PackageContents ContentsOf(DataTransfer::IDataPackage* package);
::winrt::com_ptr<DataTransfer::DataProviderHandler> ProviderOf(DataTransfer::IDataPackage* package, const std::wstring& formatId);
HRESULT RaiseShareCompleted(DataTransfer::IDataPackage* package);

// ShareProvider.cpp
using ProviderVector = abi::Windows::Foundation::Collections::IVector<DataTransfer::IShareProvider*>;
::winrt::com_ptr<ProviderVector> NewProviderVector();
// A provider of the system's own (an installed target application).
::winrt::com_ptr<DataTransfer::IShareProvider> NewSystemShareProvider(const std::wstring& title);
// Calls the provider's handler with a new operation; E_INVALIDARG for an
// object that is not a simulated provider.
HRESULT PickShareProvider(DataTransfer::IShareProvider* provider, IInspectable* data);

// Streams.cpp: the bytes of a simulated in-memory stream behind a stream
// reference; false when there is none or it is closed.
bool ReadStreamBytes(IInspectable* reference, std::string* bytes, uint64_t* size);

}  // namespace sim
