// Windows.ApplicationModel.DataTransfer.DataTransferManager: the statics, the
// window interop (GetForWindow, ShowShareUIForWindow), one manager per window
// with its three events.
#include "ShareSessions.h"

#include "tavlet/winapi/winrt/abi/Interop.h"

namespace sim {
namespace {

// The manager is not agile: the interop calls come from the window's thread.
HRESULT CheckWindow(HWND window) {
    if (!window || !IsWindow(window)) return E_INVALIDARG;
    return OnManagerThread(GetWindowThreadProcessId(window, nullptr));
}

}  // namespace

::winrt::com_ptr<Manager> FindManager(HWND window) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    auto found = s.managers.find(window);
    ::winrt::com_ptr<Manager> manager;
    if (found != s.managers.end() && found->second->TryAddRef()) manager.attach(found->second);
    return manager;
}

namespace {

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
        if (HRESULT hr = CheckWindow(window); FAILED(hr)) return hr;
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
        if (HRESULT hr = CheckWindow(window); FAILED(hr)) return hr;
        Session previous;
        {
            auto& s = sharing();
            std::lock_guard guard(s.lock);
            ++s.shows[window];
            // A share UI shown again replaces the one that was open; a share
            // whose target was chosen, or asked for its data, goes on with that target.
            previous = std::move(s.sessions[window]);
            if (previous.open && (previous.targetChosen || previous.bitmap))
                s.delivering.emplace(window, std::move(previous));
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
    s.manager2Present.reset();
    s.eventsOnWindowThread = true;
    s.shows.clear();
    sessions.swap(s.sessions);
    s.delivering.clear();
});

}  // namespace

void SetSharingSupported(bool supported) { WriteState(sharing(), &Sharing::supported, supported); }

void SetDataTransferManager2Present(bool present) {
    WriteState(sharing(), &Sharing::manager2Present, std::optional<bool>(present));
}

void SetShareEvents(ShareEvents where) {
    WriteState(sharing(), &Sharing::eventsOnWindowThread, where == ShareEvents::WindowThread);
}

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

}  // namespace sim
