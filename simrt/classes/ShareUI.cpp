// The share UI that tests (and the scripted user) drive step by step: it asks
// the window's manager for data and providers, tells it the chosen target,
// picks a provider, asks for the bitmap as a target does, and completes or
// goes away, keeping what the package held.
#include "ShareSessions.h"

namespace sim {
namespace {

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

enum class Raises { OnRuntimeThread, ManagerEvent, TargetStep };

// Runs step with the open session's manager and copies of what it needs,
// outside every lock: the manager's events where they are delivered (the
// window's message loop by default), the rest on a runtime thread. A failed
// share takes no target step.
template <typename Step>
HRESULT WithOpenUI(HWND window, Raises raises, Step step) {
    auto manager = FindManager(window);
    Session copy;
    bool onWindowThread;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.sessions.find(window);
        if (found == s.sessions.end() || !found->second.open) return E_ILLEGAL_METHOD_CALL;
        if (found->second.failed && raises != Raises::OnRuntimeThread) return E_ILLEGAL_METHOD_CALL;
        copy = found->second;
        onWindowThread = s.eventsOnWindowThread && raises == Raises::ManagerEvent;
    }
    if (onWindowThread && manager) {
        HRESULT result = RPC_E_DISCONNECTED;  // the window's thread went first
        detail::RunThroughMessageLoop(manager->Entry(), [&] { result = step(manager, copy); });
        return result;
    }
    return detail::RunOnRuntimeThreadFor<HRESULT>([&] { return step(manager, copy); });
}

template <typename Change>
void UpdateSession(HWND window, Change change) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    auto found = s.sessions.find(window);
    if (found != s.sessions.end()) change(found->second);
}

}  // namespace

SharedPackage Snapshot(const Session& session) {
    SharedPackage result;
    result.requested = session.requested;
    result.failed = session.failed;
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
        result.shareCanceledHandlers = contents.shareCanceledHandlers;
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

namespace {

// The UI lets everything go; what the package held stays readable.
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

bool IsShareUIOpen(HWND window) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    auto found = s.sessions.find(window);
    return found != s.sessions.end() && found->second.open;
}

// A package without a title fails the share: the UI shows the failure.
HRESULT ShareUIRequestData(HWND window) {
    return WithOpenUI(window, Raises::ManagerEvent, [&](const ::winrt::com_ptr<Manager>& manager, Session&) -> HRESULT {
        auto package = NewDataPackage();
        UpdateSession(window, [&](Session& session) {
            session.package = package;
            session.requested = true;
        });
        HRESULT result = S_OK;
        if (manager) {
            auto args = NewDataRequestedEventArgs(package.get());
            result = manager->dataRequested.Raise(static_cast<IDataTransferManager*>(manager.get()), args.get()).last;
        }
        const auto contents = ContentsOf(package.get());
        UpdateSession(window, [&](Session& session) {
            if (session.package == package) session.failed = !contents.hasTitle || contents.title.empty();
        });
        return result;
    });
}

HRESULT ShareUIRequestProviders(HWND window, const std::vector<std::wstring>& installedTargets) {
    return WithOpenUI(window, Raises::ManagerEvent,
                      [&](const ::winrt::com_ptr<Manager>& manager, Session& session) -> HRESULT {
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
    if (ShareUIPackage(window).failed) return E_ILLEGAL_METHOD_CALL;
    UpdateSession(window, [](Session& session) { session.targetChosen = session.open; });
    return WithOpenUI(window, Raises::ManagerEvent, [&](const ::winrt::com_ptr<Manager>& manager, Session&) -> HRESULT {
        if (!manager) return S_OK;
        auto args = MakeObject<TargetChosenArgs>(applicationName);
        return manager->targetChosen.Raise(static_cast<IDataTransferManager*>(manager.get()), args.get()).last;
    });
}

HRESULT ShareUIPickProvider(HWND window, const std::wstring& title) {
    return WithOpenUI(window, Raises::TargetStep, [&](const ::winrt::com_ptr<Manager>&, Session& session) -> HRESULT {
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
    return WithOpenUI(window, Raises::TargetStep, [&](const ::winrt::com_ptr<Manager>&, Session& session) -> HRESULT {
        auto state = std::make_shared<ProviderRequestState>();
        UpdateSession(window, [&](Session& open) { open.bitmap = state; });
        return RequestBitmap(session, state);
    });
}

HRESULT ShareUIComplete(HWND window) {
    HRESULT result = WithOpenUI(window, Raises::TargetStep, [&](const ::winrt::com_ptr<Manager>&, Session& session) -> HRESULT {
        if (!session.package || !IsShareCompletedInterfacePresent()) return S_OK;
        return RaiseShareCompleted(session.package.get());
    });
    if (result != E_ILLEGAL_METHOD_CALL) CloseUI(window);
    return result;
}

void ShareUIDismiss(HWND window) {
    WithOpenUI(window, Raises::OnRuntimeThread, [&](const ::winrt::com_ptr<Manager>&, Session& session) -> HRESULT {
        if (!session.package || session.targetChosen || !IsShareCanceledInterfacePresent()) return S_OK;
        return RaiseShareCanceled(session.package.get());
    });
    CloseUI(window);
}

void ShareUICopyLink(HWND window) { CloseUI(window); }

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
