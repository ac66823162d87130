// The simulated sharing classes as the share UI (DataTransferManager.cpp) and
// the other sharing files see each other: concrete types, and what the UI
// reads back for the tests.
#pragma once

#include "EventSource.h"
#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/DataTransfer.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"
#include "tavlet/winapi/winrt/abi/Storage.Streams.h"
#include "tavlet/winapi/winrt/abi/Storage.h"

#include <chrono>
#include <map>
#include <memory>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

namespace DataTransfer = abi::Windows::ApplicationModel::DataTransfer;

// DataPackage.cpp: how long a target waits for deferred data.
std::chrono::milliseconds DataProviderDeadline();

// What a data provider request ended with. After its deadline the target no
// longer waits: data set then is ignored.
struct ProviderRequestState {
    std::mutex lock;
    std::condition_variable changed;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + DataProviderDeadline();
    bool expired = false;
    long deferrals = 0;
    long liveDeferrals = 0;  // deferral objects not yet released
    bool deferralCompleted = false;
    ::winrt::com_ptr<IInspectable> data;
};

// DataPackage.cpp
::winrt::com_ptr<DataTransfer::IDataPackage> NewDataPackage();
::winrt::com_ptr<DataTransfer::IDataRequestedEventArgs> NewDataRequestedEventArgs(DataTransfer::IDataPackage* package);
::winrt::com_ptr<DataTransfer::IDataProviderRequest> NewDataProviderRequest(
    const std::wstring& formatId, std::shared_ptr<ProviderRequestState> state);
bool IsShareCompletedInterfacePresent();
bool IsShareCanceledInterfacePresent();

// The package as the share UI sees it.
struct PackageContents {
    bool hasTitle = false, hasDescription = false, hasText = false;
    std::wstring title, description, text;
    std::vector<std::wstring> providerFormats;
    std::vector<std::wstring> storageItems;  // paths
    long shareCompletedHandlers = 0, shareCanceledHandlers = 0;
};
// For simulated packages only (others give nothing).
PackageContents ContentsOf(DataTransfer::IDataPackage* package);
::winrt::com_ptr<DataTransfer::DataProviderHandler> ProviderOf(DataTransfer::IDataPackage* package, const std::wstring& formatId);
HRESULT RaiseShareCompleted(DataTransfer::IDataPackage* package);
HRESULT RaiseShareCanceled(DataTransfer::IDataPackage* package);

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
