// Windows.UI.StartScreen.SecondaryTileVisualElements: colours, name flags and
// five logos, any of which may be unset (null). The two later interfaces can
// be taken away to model an older system.
#include "Property.h"
#include "Tiles.h"

#include <mutex>

namespace sim {
namespace {

using abi::boolean;
namespace Foundation = abi::Windows::Foundation;
namespace StartScreen = abi::Windows::UI::StartScreen;
namespace UI = abi::Windows::UI;

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

::winrt::com_ptr<Foundation::IUriRuntimeClass> OptionalUri(const std::wstring& text) {
    return text.empty() ? nullptr : MakeUri(text);
}

class VisualElements : public SimObject<VisualElements, StartScreen::ISecondaryTileVisualElements,
                                        StartScreen::ISecondaryTileVisualElements2,
                                        StartScreen::ISecondaryTileVisualElements3> {
public:
    VisualElements(const TileVisuals& visuals, bool has2, bool has3, Foundation::IUriRuntimeClass* square150x150)
        : has2_(has2),
          has3_(has3),
          color_(UI::Color{visuals.a, visuals.r, visuals.g, visuals.b}),
          foreground_(visuals.foregroundText),
          show150_(visuals.showNameOnSquare150x150),
          showWide_(visuals.showNameOnWide310x150),
          show310_(visuals.showNameOnSquare310x310),
          logo44_(OptionalUri(visuals.square44x44)),
          logo71_(OptionalUri(visuals.square71x71)),
          logo150_(square150x150 ? ::winrt::copy_ptr(square150x150) : OptionalUri(visuals.square150x150)),
          logoWide_(OptionalUri(visuals.wide310x150)),
          logo310_(OptionalUri(visuals.square310x310)) {}

    // A system without the later interfaces does not answer them.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if ((!has2_ && iid == abi::guid_v<StartScreen::ISecondaryTileVisualElements2>) ||
            (!has3_ && iid == abi::guid_v<StartScreen::ISecondaryTileVisualElements3>)) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return SimObject::QueryInterface(iid, out);
    }

    // ---- ISecondaryTileVisualElements ----
    // The two logos of the oldest systems are never set.
    SIM_UNUSED("ISecondaryTileVisualElements.put_Square30x30Logo", put_Square30x30Logo(Foundation::IUriRuntimeClass*))
    SIM_GETTER(ISecondaryTileVisualElements, Square30x30Logo, Foundation::IUriRuntimeClass*, unset_)
    SIM_UNUSED("ISecondaryTileVisualElements.put_Square70x70Logo", put_Square70x70Logo(Foundation::IUriRuntimeClass*))
    SIM_GETTER(ISecondaryTileVisualElements, Square70x70Logo, Foundation::IUriRuntimeClass*, unset_)
    SIM_PROPERTY(ISecondaryTileVisualElements, Square150x150Logo, Foundation::IUriRuntimeClass*, logo150_)
    SIM_PROPERTY(ISecondaryTileVisualElements, Wide310x150Logo, Foundation::IUriRuntimeClass*, logoWide_)
    SIM_PROPERTY(ISecondaryTileVisualElements, Square310x310Logo, Foundation::IUriRuntimeClass*, logo310_)
    SIM_PROPERTY(ISecondaryTileVisualElements, ForegroundText, INT32, foreground_)
    SIM_PROPERTY(ISecondaryTileVisualElements, BackgroundColor, UI::Color, color_)
    SIM_PROPERTY(ISecondaryTileVisualElements, ShowNameOnSquare150x150Logo, boolean, show150_)
    SIM_PROPERTY(ISecondaryTileVisualElements, ShowNameOnWide310x150Logo, boolean, showWide_)
    SIM_PROPERTY(ISecondaryTileVisualElements, ShowNameOnSquare310x310Logo, boolean, show310_)

    // ---- ISecondaryTileVisualElements2 ----
    SIM_PROPERTY(ISecondaryTileVisualElements2, Square71x71Logo, Foundation::IUriRuntimeClass*, logo71_)

    // ---- ISecondaryTileVisualElements3 ----
    SIM_PROPERTY(ISecondaryTileVisualElements3, Square44x44Logo, Foundation::IUriRuntimeClass*, logo44_)

private:
    using Logo = Property<::winrt::com_ptr<Foundation::IUriRuntimeClass>>;

    const bool has2_, has3_;
    Property<UI::Color> color_;
    Property<INT32> foreground_;
    Property<bool> show150_, showWide_, show310_;
    Logo logo44_, logo71_, logo150_, logoWide_, logo310_;
    const Logo unset_;
};

const ResetRegistration reset([] {
    auto& c = config();
    std::lock_guard guard(c.lock);
    c.visuals = TileVisuals{};
    c.has2 = c.has3 = true;
});

}  // namespace

::winrt::com_ptr<StartScreen::ISecondaryTileVisualElements> MakeVisualElements(Foundation::IUriRuntimeClass* square150x150) {
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
    return Up<StartScreen::ISecondaryTileVisualElements>(elements);
}

void SetTileVisuals(const TileVisuals& visuals) { WriteState(config(), &Config::visuals, visuals); }

void SetTileVisualElementsInterfaces(bool hasVisualElements2, bool hasVisualElements3) {
    auto& c = config();
    std::lock_guard guard(c.lock);
    c.has2 = hasVisualElements2;
    c.has3 = hasVisualElements3;
}

}  // namespace sim
