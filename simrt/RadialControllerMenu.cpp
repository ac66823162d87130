// Windows.UI.Input.RadialControllerMenu (with its Items vector) and
// RadialControllerMenuItem (statics CreateFromKnownIcon and CreateFromIcon,
// Tag, Invoked).
#include "RadialController.h"
#include "Storage.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"

#include <algorithm>

// The runtime's answer for an index outside a vector.
#ifndef E_BOUNDS
#define E_BOUNDS ((HRESULT)0x8000000BL)
#endif

namespace sim {
namespace {

using namespace abi::Windows::UI::Input;
using abi::EventRegistrationToken;
using abi::Windows::Foundation::IPropertyValue;
using abi::Windows::Foundation::TypedEventHandler;
using abi::Windows::Foundation::Collections::IVector;
using abi::Windows::Foundation::Collections::IVectorView;
using abi::Windows::Storage::Streams::IRandomAccessStreamReference;
using ItemPtr = ::winrt::com_ptr<IRadialControllerMenuItem>;


class MenuItem : public SimObject<MenuItem, IRadialControllerMenuItem> {
public:
    MenuItem(std::wstring text, int knownIcon, IRandomAccessStreamReference* icon)
        : text_(std::move(text)), knownIcon_(knownIcon), icon_(::winrt::copy_ptr(icon)) {}

    const std::wstring& text() const noexcept { return text_; }
    int knownIcon() const noexcept { return knownIcon_; }
    std::wstring iconPath() const {
        auto* reference = AsStreamReference(icon_.get());
        return reference ? reference->FilePath() : std::wstring();
    }
    long tag() {
        std::lock_guard guard(lock_);
        auto value = tag_.try_as<IPropertyValue>();
        UINT32 number = 0;
        if (!value || value->GetUInt32(&number) < 0) return -1;
        return static_cast<long>(number);
    }
    long KeptObjects() {
        std::lock_guard guard(lock_);
        auto* reference = AsStreamReference(icon_.get());
        long icon = reference ? reference->KeptObjects() : (icon_ ? 1 : 0);
        return 1 + (tag_ ? 1 : 0) + icon;
    }
    HRESULT RaiseInvoked() { return invoked_.Raise(static_cast<IRadialControllerMenuItem*>(this), static_cast<IInspectable*>(nullptr), nullptr); }

    HRESULT STDMETHODCALLTYPE get_DisplayText(HSTRING* value) noexcept override {
        SIM_FAULT("IRadialControllerMenuItem.get_DisplayText");
        *value = MakeHString(text_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Tag(IInspectable** value) noexcept override {
        SIM_FAULT("IRadialControllerMenuItem.get_Tag");
        std::lock_guard guard(lock_);
        tag_.copy_to(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Tag(IInspectable* value) noexcept override {
        SIM_FAULT("IRadialControllerMenuItem.put_Tag");
        auto tag = ::winrt::copy_ptr(value);
        std::lock_guard guard(lock_);
        std::swap(tag_, tag);  // the old tag is released after the lock
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE add_Invoked(TypedEventHandler<IRadialControllerMenuItem*, IInspectable*>* handler,
                                          EventRegistrationToken* token) noexcept override {
        SIM_FAULT("IRadialControllerMenuItem.add_Invoked");
        return invoked_.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_Invoked(EventRegistrationToken token) noexcept override {
        SIM_FAULT("IRadialControllerMenuItem.remove_Invoked");
        return invoked_.Remove(token);
    }

private:
    const std::wstring text_;
    const int knownIcon_;  // -1 for an image icon
    const ::winrt::com_ptr<IRandomAccessStreamReference> icon_;
    std::mutex lock_;
    ::winrt::com_ptr<IInspectable> tag_;
    EventSource<TypedEventHandler<IRadialControllerMenuItem*, IInspectable*>> invoked_;
};

MenuItem* AsMenuItem(IRadialControllerMenuItem* item) noexcept { return dynamic_cast<MenuItem*>(item); }

// The menu is its own Items vector: one object, two interfaces.
class Menu : public SimObject<Menu, IRadialControllerMenu, IVector<IRadialControllerMenuItem*>> {
public:
    std::vector<ItemPtr> Snapshot() {
        std::lock_guard guard(lock_);
        return items_;
    }
    long SelectedIndex() {
        std::lock_guard guard(lock_);
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].get() == selected_) return static_cast<long>(i);
        return -1;
    }

    // ---- IRadialControllerMenu ----
    HRESULT STDMETHODCALLTYPE get_Items(IVector<IRadialControllerMenuItem*>** value) noexcept override {
        SIM_FAULT("IRadialControllerMenu.get_Items");
        *value = this;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsEnabled(abi::boolean* value) noexcept override {
        SIM_FAULT("IRadialControllerMenu.get_IsEnabled");
        std::lock_guard guard(lock_);
        *value = enabled_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_IsEnabled(abi::boolean value) noexcept override {
        SIM_FAULT("IRadialControllerMenu.put_IsEnabled");
        std::lock_guard guard(lock_);
        enabled_ = value;
        return S_OK;
    }
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
    HRESULT STDMETHODCALLTYPE SelectMenuItem(IRadialControllerMenuItem* item) noexcept override {
        SIM_FAULT("IRadialControllerMenu.SelectMenuItem");
        std::lock_guard guard(lock_);
        selected_ = item;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE TrySelectPreviouslySelectedMenuItem(abi::boolean* result) noexcept override {
        SIM_FAULT("IRadialControllerMenu.TrySelectPreviouslySelectedMenuItem");
        *result = 0;
        return S_OK;
    }

    // ---- IVector<RadialControllerMenuItem> ----
    HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IRadialControllerMenuItem** item) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.GetAt");
        std::lock_guard guard(lock_);
        if (index >= items_.size()) return E_BOUNDS;
        items_[index].copy_to(item);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.get_Size");
        std::lock_guard guard(lock_);
        *size = static_cast<UINT32>(items_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetView(IVectorView<IRadialControllerMenuItem*>** view) noexcept override {
        *view = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IndexOf(IRadialControllerMenuItem* value, UINT32* index, abi::boolean* found) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.IndexOf");
        std::lock_guard guard(lock_);
        auto at = std::find_if(items_.begin(), items_.end(), [&](const ItemPtr& item) { return item.get() == value; });
        *found = at != items_.end();
        *index = *found ? static_cast<UINT32>(at - items_.begin()) : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetAt(UINT32 index, IRadialControllerMenuItem* item) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.SetAt");
        return Edit([&](std::vector<ItemPtr>& items) {
            if (index >= items.size()) return E_BOUNDS;
            items[index] = ::winrt::copy_ptr(item);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE InsertAt(UINT32 index, IRadialControllerMenuItem* item) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.InsertAt");
        return Edit([&](std::vector<ItemPtr>& items) {
            if (index > items.size()) return E_BOUNDS;
            items.insert(items.begin() + index, ::winrt::copy_ptr(item));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE RemoveAt(UINT32 index) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.RemoveAt");
        return Edit([&](std::vector<ItemPtr>& items) {
            if (index >= items.size()) return E_BOUNDS;
            items.erase(items.begin() + index);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Append(IRadialControllerMenuItem* item) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.Append");
        if (!item) return E_INVALIDARG;
        return Edit([&](std::vector<ItemPtr>& items) {
            items.push_back(::winrt::copy_ptr(item));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE RemoveAtEnd() noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.RemoveAtEnd");
        return Edit([&](std::vector<ItemPtr>& items) {
            if (items.empty()) return E_BOUNDS;
            items.pop_back();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Clear() noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.Clear");
        return Edit([&](std::vector<ItemPtr>& items) {
            items.clear();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE GetMany(UINT32 start, UINT32 capacity, IRadialControllerMenuItem** value, UINT32* actual) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.GetMany");
        std::lock_guard guard(lock_);
        *actual = 0;
        for (UINT32 i = start; i < items_.size() && *actual < capacity; ++i) items_[i].copy_to(&value[(*actual)++]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReplaceAll(UINT32 count, IRadialControllerMenuItem** value) noexcept override {
        SIM_FAULT("IVector<RadialControllerMenuItem>.ReplaceAll");
        return Edit([&](std::vector<ItemPtr>& items) {
            items.clear();
            for (UINT32 i = 0; i < count; ++i) items.push_back(::winrt::copy_ptr(value[i]));
            return S_OK;
        });
    }

private:
    // Changes the items under the lock; items dropped are released after it.
    template <typename Change>
    HRESULT Edit(Change change) {
        std::vector<ItemPtr> before;
        std::lock_guard guard(lock_);
        before = items_;
        return change(items_);
    }

    std::mutex lock_;
    std::vector<ItemPtr> items_;
    IRadialControllerMenuItem* selected_ = nullptr;  // identity only, never dereferenced
    abi::boolean enabled_ = 1;
};

class MenuItemStatics : public SimFactory<MenuItemStatics, IRadialControllerMenuItemStatics> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateFromIcon(HSTRING displayText, IRandomAccessStreamReference* icon,
                                             IRadialControllerMenuItem** result) noexcept override {
        SIM_FAULT("IRadialControllerMenuItemStatics.CreateFromIcon");
        if (!icon) return E_INVALIDARG;
        *result = MakeObject<MenuItem>(ToWide(displayText), -1, icon).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateFromKnownIcon(HSTRING displayText, INT32 value,
                                                  IRadialControllerMenuItem** result) noexcept override {
        SIM_FAULT("IRadialControllerMenuItemStatics.CreateFromKnownIcon");
        // RadialControllerMenuKnownIcon runs from Scroll (0) to NextPreviousTrack (8).
        if (value < 0 || value > 8) return E_INVALIDARG;
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
    return ::winrt::copy_ptr<IRadialControllerMenu>(menu.get());
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

HRESULT InvokeMenuItem(long controller, long index, bool onOtherThread) {
    auto item = ItemAt(controller, index);
    if (!item) return E_BOUNDS;
    return RunOnRuntimeThread(onOtherThread, [&] { return item->RaiseInvoked(); });
}

}  // namespace sim
