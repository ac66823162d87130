// Windows.UI.StartScreen.SecondaryTileVisualElements: colours, name flags and
// five logos, any of which may be unset (null). The two later interfaces can
// be taken away to model an older system.
#include "Tiles.h"

#include <mutex>

namespace sim {
namespace {

using abi::boolean;
using abi::Windows::Foundation::IUriRuntimeClass;
using abi::Windows::UI::Color;
using abi::Windows::UI::StartScreen::ISecondaryTileVisualElements;
using abi::Windows::UI::StartScreen::ISecondaryTileVisualElements2;
using abi::Windows::UI::StartScreen::ISecondaryTileVisualElements3;

struct Config {
    std::mutex lock;
    TileVisuals visuals;
    bool has2 = true;
    bool has3 = true;
};
Config& config() {
    static Config* c = new Config();
    return *c;
}

::winrt::com_ptr<IUriRuntimeClass> OptionalUri(const std::wstring& text) {
    return text.empty() ? nullptr : MakeUri(text);
}

class VisualElements : public SimObject<VisualElements, ISecondaryTileVisualElements, ISecondaryTileVisualElements2,
                                        ISecondaryTileVisualElements3> {
public:
    VisualElements(const TileVisuals& visuals, bool has2, bool has3, IUriRuntimeClass* square150x150)
        : has2_(has2), has3_(has3) {
        color_ = Color{visuals.a, visuals.r, visuals.g, visuals.b};
        foreground_ = visuals.foregroundText;
        show150_ = visuals.showNameOnSquare150x150;
        showWide_ = visuals.showNameOnWide310x150;
        show310_ = visuals.showNameOnSquare310x310;
        logo44_ = OptionalUri(visuals.square44x44);
        logo71_ = OptionalUri(visuals.square71x71);
        logo150_ = square150x150 ? ::winrt::copy_ptr(square150x150) : OptionalUri(visuals.square150x150);
        logoWide_ = OptionalUri(visuals.wide310x150);
        logo310_ = OptionalUri(visuals.square310x310);
    }

    // A system without the later interfaces does not answer them.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if ((!has2_ && iid == abi::guid_v<ISecondaryTileVisualElements2>) ||
            (!has3_ && iid == abi::guid_v<ISecondaryTileVisualElements3>)) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimObject::QueryInterface(iid, out);
    }

    // ---- ISecondaryTileVisualElements ----
    HRESULT STDMETHODCALLTYPE put_Square30x30Logo(IUriRuntimeClass*) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_Square30x30Logo");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Square30x30Logo(IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_Square30x30Logo");
        return GetUri(nullptr, value);
    }
    HRESULT STDMETHODCALLTYPE put_Square70x70Logo(IUriRuntimeClass*) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_Square70x70Logo");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Square70x70Logo(IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_Square70x70Logo");
        return GetUri(nullptr, value);
    }
    HRESULT STDMETHODCALLTYPE put_Square150x150Logo(IUriRuntimeClass* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_Square150x150Logo");
        return PutUri(logo150_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Square150x150Logo(IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_Square150x150Logo");
        return GetUri(&logo150_, value);
    }
    HRESULT STDMETHODCALLTYPE put_Wide310x150Logo(IUriRuntimeClass* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_Wide310x150Logo");
        return PutUri(logoWide_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Wide310x150Logo(IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_Wide310x150Logo");
        return GetUri(&logoWide_, value);
    }
    HRESULT STDMETHODCALLTYPE put_Square310x310Logo(IUriRuntimeClass* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_Square310x310Logo");
        return PutUri(logo310_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Square310x310Logo(IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_Square310x310Logo");
        return GetUri(&logo310_, value);
    }
    HRESULT STDMETHODCALLTYPE put_ForegroundText(INT32 value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_ForegroundText");
        std::lock_guard guard(lock_);
        foreground_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ForegroundText(INT32* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_ForegroundText");
        return Get(foreground_, value);
    }
    HRESULT STDMETHODCALLTYPE put_BackgroundColor(Color value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_BackgroundColor");
        std::lock_guard guard(lock_);
        color_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BackgroundColor(Color* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_BackgroundColor");
        return Get(color_, value);
    }
    HRESULT STDMETHODCALLTYPE put_ShowNameOnSquare150x150Logo(boolean value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_ShowNameOnSquare150x150Logo");
        return Put(show150_, value);
    }
    HRESULT STDMETHODCALLTYPE get_ShowNameOnSquare150x150Logo(boolean* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_ShowNameOnSquare150x150Logo");
        return GetFlag(show150_, value);
    }
    HRESULT STDMETHODCALLTYPE put_ShowNameOnWide310x150Logo(boolean value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_ShowNameOnWide310x150Logo");
        return Put(showWide_, value);
    }
    HRESULT STDMETHODCALLTYPE get_ShowNameOnWide310x150Logo(boolean* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_ShowNameOnWide310x150Logo");
        return GetFlag(showWide_, value);
    }
    HRESULT STDMETHODCALLTYPE put_ShowNameOnSquare310x310Logo(boolean value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.put_ShowNameOnSquare310x310Logo");
        return Put(show310_, value);
    }
    HRESULT STDMETHODCALLTYPE get_ShowNameOnSquare310x310Logo(boolean* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements.get_ShowNameOnSquare310x310Logo");
        return GetFlag(show310_, value);
    }

    // ---- ISecondaryTileVisualElements2 ----
    HRESULT STDMETHODCALLTYPE put_Square71x71Logo(IUriRuntimeClass* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements2.put_Square71x71Logo");
        return PutUri(logo71_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Square71x71Logo(IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements2.get_Square71x71Logo");
        return GetUri(&logo71_, value);
    }

    // ---- ISecondaryTileVisualElements3 ----
    HRESULT STDMETHODCALLTYPE put_Square44x44Logo(IUriRuntimeClass* value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements3.put_Square44x44Logo");
        return PutUri(logo44_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Square44x44Logo(IUriRuntimeClass** value) noexcept override {
        SIM_FAULT("ISecondaryTileVisualElements3.get_Square44x44Logo");
        return GetUri(&logo44_, value);
    }

private:
    template <typename T>
    HRESULT Get(const T& field, T* value) {
        if (!value) return E_POINTER;
        std::lock_guard guard(lock_);
        *value = field;
        return S_OK;
    }
    HRESULT GetFlag(bool field, boolean* value) {
        if (!value) return E_POINTER;
        std::lock_guard guard(lock_);
        *value = field ? 1 : 0;
        return S_OK;
    }
    HRESULT Put(bool& field, boolean value) {
        std::lock_guard guard(lock_);
        field = value != 0;
        return S_OK;
    }
    HRESULT GetUri(const ::winrt::com_ptr<IUriRuntimeClass>* field, IUriRuntimeClass** value) {
        if (!value) return E_POINTER;
        *value = nullptr;
        std::lock_guard guard(lock_);
        if (field) field->copy_to(value);
        return S_OK;
    }
    HRESULT PutUri(::winrt::com_ptr<IUriRuntimeClass>& field, IUriRuntimeClass* value) {
        std::lock_guard guard(lock_);
        field.copy_from(value);
        return S_OK;
    }

    std::mutex lock_;
    bool has2_, has3_;
    Color color_{};
    INT32 foreground_ = 0;
    bool show150_ = false, showWide_ = false, show310_ = false;
    ::winrt::com_ptr<IUriRuntimeClass> logo44_, logo71_, logo150_, logoWide_, logo310_;
};

const ResetRegistration reset([] {
    auto& c = config();
    std::lock_guard guard(c.lock);
    c.visuals = TileVisuals{};
    c.has2 = c.has3 = true;
});

}  // namespace

::winrt::com_ptr<ISecondaryTileVisualElements> MakeVisualElements(IUriRuntimeClass* square150x150) {
    auto& c = config();
    TileVisuals visuals;
    bool has2, has3;
    {
        std::lock_guard guard(c.lock);
        visuals = c.visuals;
        has2 = c.has2;
        has3 = c.has3;
    }
    auto elements = MakeObject<VisualElements>(visuals, has2, has3, square150x150);
    return ::winrt::copy_ptr(static_cast<ISecondaryTileVisualElements*>(elements.get()));
}

void SetTileVisuals(const TileVisuals& visuals) {
    auto& c = config();
    std::lock_guard guard(c.lock);
    c.visuals = visuals;
}

void SetTileVisualElementsInterfaces(bool hasVisualElements2, bool hasVisualElements3) {
    auto& c = config();
    std::lock_guard guard(c.lock);
    c.has2 = hasVisualElements2;
    c.has3 = hasVisualElements3;
}

}  // namespace sim
