// Windows.UI.Input.RadialControllerMenu (with its Items vector) and
// RadialControllerMenuItem (statics CreateFromKnownIcon and CreateFromIcon,
// Tag, Invoked).
#include "Property.h"
#include "RadialController.h"
#include "Storage.h"
#include "Vector.h"

#include <atomic>

namespace sim {
namespace {

using namespace abi::Windows::UI::Input;
namespace Collections = abi::Windows::Foundation::Collections;
namespace Foundation = abi::Windows::Foundation;
namespace Streams = abi::Windows::Storage::Streams;
using InvokedHandler = Foundation::TypedEventHandler<IRadialControllerMenuItem*, IInspectable*>;

class MenuItem : public SimObject<MenuItem, IRadialControllerMenuItem> {
public:
    MenuItem(std::wstring text, int knownIcon, Streams::IRandomAccessStreamReference* icon)
        : text_(std::move(text)), knownIcon_(knownIcon), icon_(::winrt::copy_ptr(icon)) {}

    const std::wstring& text() const noexcept { return text_; }
    int knownIcon() const noexcept { return knownIcon_; }
    std::wstring iconPath() const {
        auto* reference = AsStreamReference(icon_.get());
        return reference ? reference->FilePath() : std::wstring();
    }
    long tag() {
        auto value = tag_.Load().try_as<Foundation::IPropertyValue>();
        UINT32 number = 0;
        if (!value || value->GetUInt32(&number) < 0) return -1;
        return static_cast<long>(number);
    }
    long KeptObjects() {
        auto* reference = AsStreamReference(icon_.get());
        long icon = reference ? reference->KeptObjects() : (icon_ ? 1 : 0);
        return 1 + (tag_.Load() ? 1 : 0) + icon;
    }
    HRESULT RaiseInvoked() {
        return invoked_.Raise(static_cast<IRadialControllerMenuItem*>(this), static_cast<IInspectable*>(nullptr)).first;
    }

    SIM_GETTER(IRadialControllerMenuItem, DisplayText, HSTRING, Fixed(text_))
    SIM_PROPERTY(IRadialControllerMenuItem, Tag, IInspectable*, tag_)
    SIM_EVENT(IRadialControllerMenuItem, Invoked, InvokedHandler, invoked_)

private:
    const std::wstring text_;
    const int knownIcon_;  // -1 for an image icon
    const ::winrt::com_ptr<Streams::IRandomAccessStreamReference> icon_;
    Property<::winrt::com_ptr<IInspectable>> tag_;
    EventSource<InvokedHandler> invoked_;
};

std::atomic<bool> selectionEchoes{true};
const ResetRegistration reset([] { selectionEchoes = true; });

MenuItem* AsMenuItem(IRadialControllerMenuItem* item) noexcept { return dynamic_cast<MenuItem*>(item); }

// The menu is its own Items vector: one object, two interfaces.
class Menu : public VectorObject<Menu, IRadialControllerMenuItem, IRadialControllerMenu> {
public:
    Menu() : VectorObject("IVector<RadialControllerMenuItem>") {}

    long SelectedIndex() {
        std::lock_guard guard(lock_);
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].get() == selected_) return static_cast<long>(i);
        return -1;
    }
    bool Holds(IRadialControllerMenuItem* item) {
        std::lock_guard guard(lock_);
        return std::any_of(items_.begin(), items_.end(), [item](auto& held) { return held.get() == item; });
    }
    // The user picks the item: the menu's selection and the system's tool.
    void Pick(IRadialControllerMenuItem* item) {
        {
            std::lock_guard guard(lock_);
            selected_ = item;
        }
        SelectDialTool(item);
    }

    // Removing the selected tool from the menu takes control from the app.
    HRESULT STDMETHODCALLTYPE Clear() noexcept override {
        const HRESULT hr = VectorObject::Clear();
        if (hr >= 0) UpdateDialControl();
        return hr;
    }

    // ---- IRadialControllerMenu ----
    HRESULT STDMETHODCALLTYPE get_Items(Collections::IVector<IRadialControllerMenuItem*>** value) noexcept override {
        SIM_FAULT("IRadialControllerMenu.get_Items");
        *value = this;
        AddRef();
        return S_OK;
    }
    SIM_PROPERTY(IRadialControllerMenu, IsEnabled, abi::boolean, enabled_)
    HRESULT STDMETHODCALLTYPE GetSelectedMenuItem(IRadialControllerMenuItem** result) noexcept override {
        SIM_FAULT("IRadialControllerMenu.GetSelectedMenuItem");
        std::lock_guard guard(lock_);
        *result = nullptr;
        for (auto& item : items_)
            if (item.get() == selected_) item.copy_to(result);
        return S_OK;
    }
    // The selection is remembered by identity only: an item removed from the
    // menu is no longer selected.
    // Selecting an item raises its Invoked event, as the system's menu does
    // (on a runtime thread; the selection returns once the handlers have run),
    // and makes it the system's tool (ControlAcquired, if the window is in front).
    HRESULT STDMETHODCALLTYPE SelectMenuItem(IRadialControllerMenuItem* item) noexcept override {
        SIM_FAULT("IRadialControllerMenu.SelectMenuItem");
        auto keep = ::winrt::copy_ptr(item);
        {
            std::lock_guard guard(lock_);
            selected_ = item;
        }
        if (auto* simulated = AsMenuItem(item); simulated && selectionEchoes)
            detail::RunOnRuntimeThread([&] { simulated->RaiseInvoked(); }, detail::Then::WaitUntilDone);
        SelectDialTool(item);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE TrySelectPreviouslySelectedMenuItem(abi::boolean* result) noexcept override {
        SIM_FAULT("IRadialControllerMenu.TrySelectPreviouslySelectedMenuItem");
        *result = 0;
        return S_OK;
    }

private:
    IRadialControllerMenuItem* selected_ = nullptr;  // identity only, never dereferenced
    Property<abi::boolean> enabled_{1};
};

class MenuItemStatics : public SimFactory<MenuItemStatics, IRadialControllerMenuItemStatics> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateFromIcon(HSTRING displayText, Streams::IRandomAccessStreamReference* icon,
                                             IRadialControllerMenuItem** result) noexcept override {
        SIM_FAULT("IRadialControllerMenuItemStatics.CreateFromIcon");
        if (!icon) return E_INVALIDARG;
        *result = MakeObject<MenuItem>(ToWide(displayText), -1, icon).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateFromKnownIcon(HSTRING displayText, INT32 value,
                                                  IRadialControllerMenuItem** result) noexcept override {
        SIM_FAULT("IRadialControllerMenuItemStatics.CreateFromKnownIcon");
        using Known = RadialControllerMenuKnownIcon;
        if (value < static_cast<INT32>(Known::Scroll) || value > static_cast<INT32>(Known::PenType)) return E_INVALIDARG;
        *result = MakeObject<MenuItem>(ToWide(displayText), value, nullptr).detach();
        return S_OK;
    }
};

const ClassRegistration registration(RadialControllerMenuItem::name,
                                     [] { return NewFactory<MenuItemStatics>(RadialControllerMenuItem::name); });

Menu* AsMenu(IRadialControllerMenu* menu) noexcept { return dynamic_cast<Menu*>(menu); }

::winrt::com_ptr<MenuItem> ItemAt(long controller, long index) {
    auto menu = RadialControllerMenuOf(controller);
    if (!menu || index < 0) return nullptr;
    auto items = AsMenu(menu.get())->Snapshot();
    if (index >= static_cast<long>(items.size())) return nullptr;
    return ::winrt::copy_ptr(AsMenuItem(items[index].get()));
}

}  // namespace

::winrt::com_ptr<IRadialControllerMenu> MakeRadialControllerMenu() {
    auto menu = MakeObject<Menu>();
    return Up<IRadialControllerMenu>(menu);
}

bool MenuHolds(IRadialControllerMenu* menu, IRadialControllerMenuItem* item) {
    return menu && item && AsMenu(menu)->Holds(item);
}

long ObjectsKeptByMenu(IRadialControllerMenu* menu) {
    long kept = 1;
    for (auto& item : AsMenu(menu)->Snapshot()) kept += AsMenuItem(item.get())->KeptObjects();
    return kept;
}

// ---- Control ----

long MenuItemCount(long controller) {
    auto menu = RadialControllerMenuOf(controller);
    return menu ? static_cast<long>(AsMenu(menu.get())->Snapshot().size()) : 0;
}

std::wstring MenuItemText(long controller, long index) {
    auto item = ItemAt(controller, index);
    return item ? item->text() : std::wstring();
}

int MenuItemKnownIcon(long controller, long index) {
    auto item = ItemAt(controller, index);
    return item ? item->knownIcon() : -1;
}

std::wstring MenuItemIconPath(long controller, long index) {
    auto item = ItemAt(controller, index);
    return item ? item->iconPath() : std::wstring();
}

long MenuItemTag(long controller, long index) {
    auto item = ItemAt(controller, index);
    return item ? item->tag() : -1;
}

long SelectedMenuItem(long controller) {
    auto menu = RadialControllerMenuOf(controller);
    return menu ? AsMenu(menu.get())->SelectedIndex() : -1;
}

void SetMenuSelectionEchoes(bool echoes) { selectionEchoes = echoes; }

HRESULT InvokeMenuItem(long controller, long index) {
    auto item = ItemAt(controller, index);
    if (!item) return E_BOUNDS;
    // The menu shows an app's items only while its window is in front.
    const HWND window = RadialControllerWindow(controller);
    if (!window || GetAncestor(window, GA_ROOT) != WindowInFront()) return kDialInputReachedNoApp;
    return detail::RunOnRuntimeThreadFor<HRESULT>([&] {
        detail::PassGate("RadialControllerMenuItem.Invoked");  // the event on its way
        const HRESULT hr = item->RaiseInvoked();
        AsMenu(RadialControllerMenuOf(controller).get())->Pick(item.get());
        return hr;
    });
}

}  // namespace sim
