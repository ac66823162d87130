// Windows.UI.Input.RadialControllerConfiguration: statics (AppController,
// IsAppControllerEnabled) and the window interop GetForWindow.
#include "RadialController.h"

namespace sim {
namespace {

using namespace abi::Windows::UI::Input;

std::atomic<bool> interopPresent{true};
std::atomic<long> liveConfigurations{0};

struct State {
    std::mutex lock;
    ::winrt::com_ptr<IRadialController> appController;
    abi::boolean appControllerEnabled = 0;
    HWND lastWindow = nullptr;
};
State& state() {
    static State* s = new State();
    return *s;
}

class Configuration : public SimObject<Configuration, IRadialControllerConfiguration> {
public:
    Configuration() { ++liveConfigurations; }
    ~Configuration() override { --liveConfigurations; }

    HRESULT STDMETHODCALLTYPE SetDefaultMenuItems(IInspectable*) noexcept override {
        SIM_FAULT("IRadialControllerConfiguration.SetDefaultMenuItems");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ResetToDefaultMenuItems() noexcept override {
        SIM_FAULT("IRadialControllerConfiguration.ResetToDefaultMenuItems");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE TrySelectDefaultMenuItem(INT32, abi::boolean* result) noexcept override {
        SIM_FAULT("IRadialControllerConfiguration.TrySelectDefaultMenuItem");
        *result = 0;
        return S_OK;
    }
};

class ConfigurationFactory
    : public SimFactory<ConfigurationFactory, IRadialControllerConfigurationStatics,
                        IRadialControllerConfigurationStatics2, abi::IRadialControllerConfigurationInterop> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        // AppController and IsAppControllerEnabled came with build 16299.
        if ((iid == abi::guid_v<abi::IRadialControllerConfigurationInterop> && !interopPresent) ||
            (iid == abi::guid_v<IRadialControllerConfigurationStatics2> && !WindowsAtLeast(16299))) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimFactory::QueryInterface(iid, out);
    }
    // A desktop program has no current view.
    SIM_UNUSED_OUT("IRadialControllerConfigurationStatics.GetForCurrentView", configuration,
                   GetForCurrentView(IRadialControllerConfiguration** configuration))
    HRESULT STDMETHODCALLTYPE put_AppController(IRadialController* value) noexcept override {
        SIM_FAULT("IRadialControllerConfigurationStatics2.put_AppController");
        auto controller = ::winrt::copy_ptr(value);
        auto& s = state();
        std::lock_guard guard(s.lock);
        std::swap(s.appController, controller);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_AppController(IRadialController** value) noexcept override {
        SIM_FAULT("IRadialControllerConfigurationStatics2.get_AppController");
        auto& s = state();
        std::lock_guard guard(s.lock);
        s.appController.copy_to(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_IsAppControllerEnabled(abi::boolean value) noexcept override {
        SIM_FAULT("IRadialControllerConfigurationStatics2.put_IsAppControllerEnabled");
        auto& s = state();
        std::lock_guard guard(s.lock);
        s.appControllerEnabled = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsAppControllerEnabled(abi::boolean* value) noexcept override {
        SIM_FAULT("IRadialControllerConfigurationStatics2.get_IsAppControllerEnabled");
        auto& s = state();
        std::lock_guard guard(s.lock);
        *value = s.appControllerEnabled;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetForWindow(HWND window, REFIID iid, void** result) noexcept override {
        SIM_FAULT("IRadialControllerConfigurationInterop.GetForWindow");
        if (!result) return E_POINTER;
        *result = nullptr;
        if (HRESULT hr = CheckWindow(window); hr < 0) return hr;
        {
            auto& s = state();
            std::lock_guard guard(s.lock);
            s.lastWindow = window;
        }
        return MakeObject<Configuration>()->QueryInterface(iid, result);
    }
};

const ClassRegistration registration(RadialControllerConfiguration::name, [] {
    return NewFactory<ConfigurationFactory>(RadialControllerConfiguration::name);
});
const ResetRegistration reset([] {
    interopPresent = true;
    ::winrt::com_ptr<IRadialController> released;
    auto& s = state();
    std::lock_guard guard(s.lock);
    std::swap(released, s.appController);
    s.appControllerEnabled = 0;
    s.lastWindow = nullptr;
});

}  // namespace

void SetConfigurationInteropPresent(bool present) { interopPresent = present; }
long LiveRadialControllerConfigurations() { return liveConfigurations.load(); }

HWND LastConfigurationWindow() { return ReadState(state(), &State::lastWindow); }

long AppController() {
    ::winrt::com_ptr<IRadialController> controller;
    {
        auto& s = state();
        std::lock_guard guard(s.lock);
        controller = s.appController;
    }
    return RadialControllerNumber(controller.get());
}

bool IsAppControllerEnabled() {
    auto& s = state();
    std::lock_guard guard(s.lock);
    return s.appControllerEnabled != 0;
}

}  // namespace sim
