// Windows.ApplicationModel.DataTransfer.DataTransferManager: the statics, the
// window interop (GetForWindow, ShowShareUIForWindow), one manager per window
// with its three events, and a share UI that tests drive step by step.
#include "DataTransfer.h"
#include "Property.h"
#include "RuntimeThreads.h"

#include "tavlet/winapi/winrt/abi/Interop.h"

#include <atomic>
#include <chrono>

namespace sim {
namespace {

using namespace abi::Windows::ApplicationModel::DataTransfer;
using abi::Windows::Foundation::TypedEventHandler;
using DataRequestedHandler = TypedEventHandler<IDataTransferManager*, IDataRequestedEventArgs*>;
using TargetChosenHandler = TypedEventHandler<IDataTransferManager*, ITargetApplicationChosenEventArgs*>;
using ProvidersRequestedHandler = TypedEventHandler<IDataTransferManager*, IShareProvidersRequestedEventArgs*>;

class Manager;

// One share UI per window: what it holds while open, and the package it was
// given (kept for the tests after it closes).
struct Session {
    bool open = false;
    ::winrt::com_ptr<IDataPackage> package;
    bool requested = false;
    ::winrt::com_ptr<ProviderVector> providers;
    std::shared_ptr<ProviderRequestState> bitmap;
    bool targetChosen = false;
    SharedPackage snapshot;  // what the package held when the UI closed
};

struct Sharing {
    std::mutex lock;
    bool supported = true;
    bool manager2Present = true;
    std::map<HWND, Manager*> managers;  // alive now; each removes itself as it goes
    std::map<HWND, long> shows;
    std::map<HWND, Session> sessions;
    // Shares whose target was chosen before the window's share UI opened
    // again: the target still holds their package, oldest first.
    std::multimap<HWND, Session> delivering;
};
Sharing& sharing() {
    static Sharing* s = new Sharing();
    return *s;
}

class TargetChosenArgs : public SimObject<TargetChosenArgs, ITargetApplicationChosenEventArgs> {
public:
    explicit TargetChosenArgs(std::wstring name) : name_(std::move(name)) {}
    SIM_GETTER(ITargetApplicationChosenEventArgs, ApplicationName, HSTRING, Fixed(name_))

private:
    std::wstring name_;
};

class ProvidersRequestedArgs : public SimObject<ProvidersRequestedArgs, IShareProvidersRequestedEventArgs> {
public:
    ProvidersRequestedArgs(::winrt::com_ptr<ProviderVector> providers, ::winrt::com_ptr<IInspectable> data)
        : providers_(std::move(providers)), data_(std::move(data)) {}
    SIM_GETTER(IShareProvidersRequestedEventArgs, Providers, ProviderVector*, Fixed(providers_))
    SIM_GETTER(IShareProvidersRequestedEventArgs, Data, IInspectable*, Fixed(data_))
    SIM_UNUSED_OUT("IShareProvidersRequestedEventArgs.GetDeferral", result, GetDeferral(IInspectable** result))

private:
    ::winrt::com_ptr<ProviderVector> providers_;
    ::winrt::com_ptr<IInspectable> data_;
};

// Lives while someone holds it; the window's table entry is weak. Its count
// goes to zero under the table's lock, so a lookup never revives a manager
// that is being destroyed.
class Manager : public SimObject<Manager, IDataTransferManager, IDataTransferManager2> {
public:
    explicit Manager(HWND window) : window_(window) {}

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
            if (!s.manager2Present) {
                if (out) *out = nullptr;
                return E_NOINTERFACE;
            }
        }
        return SimObject::QueryInterface(iid, out);
    }

    EventSource<DataRequestedHandler> dataRequested;
    EventSource<TargetChosenHandler> targetChosen;
    EventSource<ProvidersRequestedHandler> providersRequested;

    SIM_EVENT(IDataTransferManager, DataRequested, DataRequestedHandler, dataRequested)
    SIM_EVENT(IDataTransferManager, TargetApplicationChosen, TargetChosenHandler, targetChosen)
    SIM_EVENT(IDataTransferManager2, ShareProvidersRequested, ProvidersRequestedHandler, providersRequested)

private:
    HWND window_;
    std::atomic<ULONG> refs_{1};
};

// The window's manager, alive, or null.
::winrt::com_ptr<Manager> FindManager(HWND window) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    auto found = s.managers.find(window);
    ::winrt::com_ptr<Manager> manager;
    if (found != s.managers.end() && found->second->TryAddRef()) manager.attach(found->second);
    return manager;
}

class ManagerStatics : public SimFactory<ManagerStatics, IDataTransferManagerStatics, IDataTransferManagerStatics2,
                                         abi::IDataTransferManagerInterop> {
public:
    using SimFactory::SimFactory;

    // A desktop process has no current view.
    HRESULT STDMETHODCALLTYPE ShowShareUI() noexcept override {
        SIM_FAULT("IDataTransferManagerStatics.ShowShareUI");
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    }
    HRESULT STDMETHODCALLTYPE GetForCurrentView(IDataTransferManager** result) noexcept override {
        SIM_FAULT("IDataTransferManagerStatics.GetForCurrentView");
        *result = nullptr;
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    }
    HRESULT STDMETHODCALLTYPE IsSupported(abi::boolean* result) noexcept override {
        SIM_FAULT("IDataTransferManagerStatics2.IsSupported");
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        *result = s.supported;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetForWindow(HWND window, REFIID riid, void** result) noexcept override {
        SIM_FAULT("IDataTransferManagerInterop.GetForWindow");
        if (!result) return E_POINTER;
        *result = nullptr;
        if (!window || !IsWindow(window)) return E_INVALIDARG;
        auto manager = FindManager(window);
        if (!manager) {
            manager.attach(new Manager(window));
            auto& s = sharing();
            std::lock_guard guard(s.lock);
            s.managers[window] = manager.get();
        }
        return manager->QueryInterface(riid, result);
    }
    HRESULT STDMETHODCALLTYPE ShowShareUIForWindow(HWND window) noexcept override {
        SIM_FAULT("IDataTransferManagerInterop.ShowShareUIForWindow");
        if (!window || !IsWindow(window)) return E_INVALIDARG;
        Session previous;
        {
            auto& s = sharing();
            std::lock_guard guard(s.lock);
            ++s.shows[window];
            // A share UI shown again replaces the one that was open; a share
            // whose target was chosen goes on with that target.
            previous = std::move(s.sessions[window]);
            if (previous.open && previous.targetChosen) s.delivering.emplace(window, std::move(previous));
            s.sessions[window] = Session{};
            s.sessions[window].open = true;
        }
        return S_OK;
    }
};

const ClassRegistration registration(DataTransferManager::name,
                                     [] { return NewFactory<ManagerStatics>(DataTransferManager::name); });
const ResetRegistration reset([] {
    std::map<HWND, Session> sessions;
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    s.supported = true;
    s.manager2Present = true;
    s.shows.clear();
    sessions.swap(s.sessions);
    s.delivering.clear();
});

// Runs step with the open session's manager and copies of what it needs,
// outside every lock.
template <typename Step>
HRESULT WithOpenUI(HWND window, Step step) {
    auto manager = FindManager(window);
    Session copy;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.sessions.find(window);
        if (found == s.sessions.end() || !found->second.open) return E_ILLEGAL_METHOD_CALL;
        copy = found->second;
    }
    // The user's steps reach the host on the runtime's threads.
    return detail::DeliverResult<HRESULT>([&] { return step(manager, copy); });
}

template <typename Change>
void UpdateSession(HWND window, Change change) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    auto found = s.sessions.find(window);
    if (found != s.sessions.end()) change(found->second);
}

SharedPackage Snapshot(const Session& session) {
    SharedPackage result;
    result.requested = session.requested;
    if (session.package) {
        auto contents = ContentsOf(session.package.get());
        result.hasTitle = contents.hasTitle;
        result.title = contents.title;
        result.hasDescription = contents.hasDescription;
        result.description = contents.description;
        result.hasText = contents.hasText;
        result.text = contents.text;
        result.formats = contents.providerFormats;
        result.storageItems = contents.storageItems;
        result.shareCompletedHandlers = contents.shareCompletedHandlers;
    }
    if (session.bitmap) {
        ::winrt::com_ptr<IInspectable> data;
        {
            std::lock_guard guard(session.bitmap->lock);
            result.bitmapDeferrals = session.bitmap->deferrals;
            result.bitmapDeferralCompleted = session.bitmap->deferralCompleted;
            data = session.bitmap->data;
        }
        result.bitmapDelivered = data && ReadStreamBytes(data.get(), nullptr, &result.bitmapSize);
    }
    return result;
}

// The UI lets everything go; what the package held stays readable.
// The oldest share of the window still being delivered to its target; the
// step runs where the runtime delivers, on a copy (its bitmap state is kept).
template <typename Step>
HRESULT WithDelivering(HWND window, Step step) {
    Session copy;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.delivering.find(window);
        if (found == s.delivering.end()) return E_ILLEGAL_METHOD_CALL;
        copy = found->second;
    }
    HRESULT result = detail::DeliverResult<HRESULT>([&] { return step(copy); });
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    for (auto [it, last] = s.delivering.equal_range(window); it != last; ++it)
        if (it->second.package == copy.package) it->second.bitmap = copy.bitmap;
    return result;
}

// A target asking for the deferred bitmap waits for it, as a real one does:
// data set and the deferral (if one was taken) completed. A deferral released
// without completing, or no data, fails the request.
HRESULT RequestBitmap(const Session& session, const std::shared_ptr<ProviderRequestState>& state) {
    auto provider = session.package ? ProviderOf(session.package.get(), L"Bitmap") : nullptr;
    if (!provider) return E_ILLEGAL_METHOD_CALL;
    {
        auto request = NewDataProviderRequest(L"Bitmap", state);
        if (HRESULT hr = provider->Invoke(request.get()); hr < 0) return hr;
    }
    std::unique_lock guard(state->lock);
    state->changed.wait_for(guard, std::chrono::seconds(10),
                            [&] { return state->deferralCompleted || state->liveDeferrals == 0; });
    const bool finished = state->deferrals == 0 || state->deferralCompleted;
    return finished && state->data ? S_OK : E_FAIL;
}

void BitmapBytes(ProviderRequestState& state, std::string* bytes) {
    ::winrt::com_ptr<IInspectable> data;
    {
        std::lock_guard guard(state.lock);
        data = state.data;
    }
    if (data) ReadStreamBytes(data.get(), bytes, nullptr);
}

void CloseUI(HWND window) {
    Session closing;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.sessions.find(window);
        if (found == s.sessions.end() || !found->second.open) return;
        closing = found->second;
    }
    SharedPackage snapshot = Snapshot(closing);
    Session released;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.sessions.find(window);
        if (found == s.sessions.end()) return;
        released = std::move(found->second);
        found->second = Session{};
        found->second.snapshot = std::move(snapshot);
    }
}

}  // namespace

void SetSharingSupported(bool supported) { WriteState(sharing(), &Sharing::supported, supported); }

void SetDataTransferManager2Present(bool present) { WriteState(sharing(), &Sharing::manager2Present, present); }

long ShareEventHandlers(HWND window, const std::wstring& eventName) {
    auto manager = FindManager(window);
    if (!manager) return 0;
    if (eventName == L"DataRequested") return manager->dataRequested.Count();
    if (eventName == L"TargetApplicationChosen") return manager->targetChosen.Count();
    if (eventName == L"ShareProvidersRequested") return manager->providersRequested.Count();
    return 0;
}

long LiveDataTransferManagers() {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    return static_cast<long>(s.managers.size());
}

long ShareUIShows(HWND window) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    auto found = s.shows.find(window);
    return found == s.shows.end() ? 0 : found->second;
}

bool IsShareUIOpen(HWND window) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    auto found = s.sessions.find(window);
    return found != s.sessions.end() && found->second.open;
}

HRESULT ShareUIRequestData(HWND window) {
    return WithOpenUI(window, [&](const ::winrt::com_ptr<Manager>& manager, Session&) -> HRESULT {
        auto package = NewDataPackage();
        UpdateSession(window, [&](Session& session) {
            session.package = package;
            session.requested = true;
        });
        if (!manager) return S_OK;
        auto args = NewDataRequestedEventArgs(package.get());
        return manager->dataRequested.Raise(static_cast<IDataTransferManager*>(manager.get()), args.get()).last;
    });
}

HRESULT ShareUIRequestProviders(HWND window, const std::vector<std::wstring>& installedTargets) {
    return WithOpenUI(window, [&](const ::winrt::com_ptr<Manager>& manager, Session& session) -> HRESULT {
        auto providers = NewProviderVector();
        for (auto& title : installedTargets) {
            if (HRESULT hr = providers->Append(NewSystemShareProvider(title).get()); hr < 0) return hr;
        }
        UpdateSession(window, [&](Session& open) { open.providers = providers; });
        if (!manager) return S_OK;
        auto args = MakeObject<ProvidersRequestedArgs>(
            providers, Up<IInspectable>(session.package));
        return manager->providersRequested.Raise(static_cast<IDataTransferManager*>(manager.get()), args.get()).last;
    });
}

std::vector<std::wstring> ShareUIProviderTitles(HWND window) {
    std::vector<std::wstring> titles;
    ::winrt::com_ptr<ProviderVector> providers;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.sessions.find(window);
        if (found != s.sessions.end()) providers = found->second.providers;
    }
    UINT32 size = 0;
    if (!providers || providers->get_Size(&size) < 0) return titles;
    for (UINT32 i = 0; i < size; ++i) {
        ::winrt::com_ptr<IShareProvider> provider;
        HString title;
        if (providers->GetAt(i, provider.put()) >= 0 && provider && provider->get_Title(title.put()) >= 0)
            titles.push_back(title.str());
    }
    return titles;
}

HRESULT ShareUIChooseTarget(HWND window, const std::wstring& applicationName) {
    UpdateSession(window, [](Session& session) { session.targetChosen = session.open; });
    return WithOpenUI(window, [&](const ::winrt::com_ptr<Manager>& manager, Session&) -> HRESULT {
        if (!manager) return S_OK;
        auto args = MakeObject<TargetChosenArgs>(applicationName);
        return manager->targetChosen.Raise(static_cast<IDataTransferManager*>(manager.get()), args.get()).last;
    });
}

HRESULT ShareUIPickProvider(HWND window, const std::wstring& title) {
    return WithOpenUI(window, [&](const ::winrt::com_ptr<Manager>&, Session& session) -> HRESULT {
        if (!session.providers) return E_ILLEGAL_METHOD_CALL;
        UINT32 size = 0;
        if (HRESULT hr = session.providers->get_Size(&size); hr < 0) return hr;
        for (UINT32 i = 0; i < size; ++i) {
            ::winrt::com_ptr<IShareProvider> provider;
            if (HRESULT hr = session.providers->GetAt(i, provider.put()); hr < 0) return hr;
            HString listed;
            if (HRESULT hr = provider->get_Title(listed.put()); hr < 0) return hr;
            if (listed.str() == title) {
                return PickShareProvider(provider.get(),
                                         session.package.get());
            }
        }
        return E_INVALIDARG;  // not listed
    });
}

HRESULT ShareUIRequestBitmap(HWND window) {
    return WithOpenUI(window, [&](const ::winrt::com_ptr<Manager>&, Session& session) -> HRESULT {
        auto state = std::make_shared<ProviderRequestState>();
        UpdateSession(window, [&](Session& open) { open.bitmap = state; });
        return RequestBitmap(session, state);
    });
}

HRESULT ShareTargetRequestBitmap(HWND window) {
    return WithDelivering(window, [&](Session& session) -> HRESULT {
        session.bitmap = std::make_shared<ProviderRequestState>();
        return RequestBitmap(session, session.bitmap);
    });
}

HRESULT ShareTargetComplete(HWND window) {
    Session done;
    HRESULT result = WithDelivering(window, [&](Session& session) -> HRESULT {
        done = session;
        if (!session.package || !IsShareCompletedInterfacePresent()) return S_OK;
        return RaiseShareCompleted(session.package.get());
    });
    if (result == E_ILLEGAL_METHOD_CALL && !done.package) return result;
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    for (auto [it, last] = s.delivering.equal_range(window); it != last; ++it) {
        if (it->second.package == done.package) {
            s.delivering.erase(it);
            break;
        }
    }
    return result;
}

std::string ShareTargetBitmapBytes(HWND window) {
    std::string bytes;
    WithDelivering(window, [&](Session& session) -> HRESULT {
        if (session.bitmap) BitmapBytes(*session.bitmap, &bytes);
        return S_OK;
    });
    return bytes;
}

long ShareTargetsDelivering(HWND window) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    return static_cast<long>(s.delivering.count(window));
}

HRESULT ShareUIComplete(HWND window) {
    HRESULT result = WithOpenUI(window, [&](const ::winrt::com_ptr<Manager>&, Session& session) -> HRESULT {
        if (!session.package || !IsShareCompletedInterfacePresent()) return S_OK;
        return RaiseShareCompleted(session.package.get());
    });
    CloseUI(window);
    return result;
}

void ShareUIDismiss(HWND window) { CloseUI(window); }

SharedPackage ShareUIPackage(HWND window) {
    Session session;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.sessions.find(window);
        if (found == s.sessions.end()) return SharedPackage{};
        if (!found->second.open) return found->second.snapshot;
        session = found->second;
    }
    return Snapshot(session);
}

std::string ShareUIBitmapBytes(HWND window) {
    std::shared_ptr<ProviderRequestState> bitmap;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.sessions.find(window);
        if (found != s.sessions.end()) bitmap = found->second.bitmap;
    }
    std::string bytes;
    if (bitmap) BitmapBytes(*bitmap, &bytes);
    return bytes;
}

}  // namespace sim
