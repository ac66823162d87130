// The share UI's state per window as the manager (DataTransferManager.cpp),
// the share UI (ShareUI.cpp) and the target (ShareTarget.cpp) see it: the
// window's manager, its open share UI and the shares still being delivered.
#pragma once

#include "DataTransfer.h"
#include "Property.h"
#include "RuntimeThreads.h"

#include <atomic>
#include <optional>

namespace sim {

using namespace DataTransfer;
namespace Foundation = abi::Windows::Foundation;
using DataRequestedHandler = Foundation::TypedEventHandler<IDataTransferManager*, IDataRequestedEventArgs*>;
using TargetChosenHandler = Foundation::TypedEventHandler<IDataTransferManager*, ITargetApplicationChosenEventArgs*>;
using ProvidersRequestedHandler = Foundation::TypedEventHandler<IDataTransferManager*,
                                                                IShareProvidersRequestedEventArgs*>;

class Manager;

// What a caller of a DataTransferManager gets, which is not agile: only the
// thread of the window it was made for may call it.
inline HRESULT OnManagerThread(DWORD thread) {
    return thread == GetCurrentThreadId() ? S_OK : RPC_E_WRONG_THREAD;
}

// One share UI per window: what it holds while open, and the package it was
// given (kept for the tests after it closes).
struct Session {
    bool open = false;
    ::winrt::com_ptr<IDataPackage> package;
    bool requested = false;
    ::winrt::com_ptr<ProviderVector> providers;
    std::shared_ptr<ProviderRequestState> bitmap;
    bool targetChosen = false;
    bool failed = false;     // DataRequested left the package without a title
    SharedPackage snapshot;  // what the package held when the UI closed
};

struct Sharing {
    std::mutex lock;
    bool supported = true;
    std::optional<bool> manager2Present;  // else by build
    bool eventsOnWindowThread = true;
    std::map<HWND, Manager*> managers;  // alive now; each removes itself as it goes
    std::map<HWND, long> shows;
    std::map<HWND, Session> sessions;
    // Shares whose target was chosen before the window's share UI opened
    // again: the target still holds their package, oldest first.
    std::multimap<HWND, Session> delivering;
};
inline Sharing& sharing() {
    static Sharing* s = new Sharing();
    return *s;
}

// Lives while someone holds it; the window's table entry is weak. Its count
// goes to zero under the table's lock, so a lookup never revives a manager
// that is being destroyed.
class Manager : public SimObject<Manager, IDataTransferManager, IDataTransferManager2> {
public:
    // Made on the window's thread, whose message loop raises its events and
    // which alone may call it.
    explicit Manager(HWND window)
        : window_(window), thread_(GetCurrentThreadId()), entry_(detail::ThreadEntryWindow()) {}
    HWND Entry() const noexcept { return entry_; }

    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        ULONG remaining;
        {
            auto& s = sharing();
            std::lock_guard guard(s.lock);
            remaining = --refs_;
            if (remaining == 0) {
                auto found = s.managers.find(window_);
                if (found != s.managers.end() && found->second == this) s.managers.erase(found);
            }
        }
        if (remaining == 0) delete this;
        return remaining;
    }
    // Under the table's lock only.
    bool TryAddRef() noexcept {
        if (refs_ == 0) return false;
        ++refs_;
        return true;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (iid == abi::guid_v<IDataTransferManager2>) {
            auto& s = sharing();
            std::lock_guard guard(s.lock);
            if (!s.manager2Present.value_or(WindowsAtLeast(15063))) {
                if (out) *out = nullptr;
                return E_NOINTERFACE;
            }
        }
        return SimObject::QueryInterface(iid, out);
    }

    EventSource<DataRequestedHandler> dataRequested;
    EventSource<TargetChosenHandler> targetChosen;
    EventSource<ProvidersRequestedHandler> providersRequested;

    SIM_EVENT_CHECKED(IDataTransferManager, DataRequested, DataRequestedHandler, dataRequested,
                      OnManagerThread(thread_))
    SIM_EVENT_CHECKED(IDataTransferManager, TargetApplicationChosen, TargetChosenHandler, targetChosen,
                      OnManagerThread(thread_))
    SIM_EVENT_CHECKED(IDataTransferManager2, ShareProvidersRequested, ProvidersRequestedHandler, providersRequested,
                      OnManagerThread(thread_))

private:
    HWND window_;
    DWORD thread_;
    HWND entry_;
    std::atomic<ULONG> refs_{1};
};

// The window's manager, alive, or null.
::winrt::com_ptr<Manager> FindManager(HWND window);

// What the session's package holds now, for the tests.
SharedPackage Snapshot(const Session& session);

// A target asking for the deferred bitmap waits for it, as a real one does:
// data set and the deferral (if one was taken) completed. A deferral released
// without completing, or no data, fails the request.
HRESULT RequestBitmap(const Session& session, const std::shared_ptr<ProviderRequestState>& state);

// The bytes of the bitmap the request was given, if any.
void BitmapBytes(ProviderRequestState& state, std::string* bytes);

}  // namespace sim
