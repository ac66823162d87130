// The radial controller's menu: built-in-icon items added at once, image-icon
// items queued and loaded one after another, and the host's Invoked callbacks.
#include "DialImpl.h"

#include "base/AbiNamespaces.h"
#include "base/ComObject.h"
#include "base/Errors.h"
#include "base/Guards.h"
#include "base/HString.h"
#include "base/OnCompleted.h"
#include "base/Runtime.h"
#include "abi/Foundation.h"
#include "abi/Storage.Streams.h"
#include "tavlet/Require.h"
#include "tavlet/Strings.h"

#include <atomic>
#include <utility>

namespace tavlet::winapi {
namespace {

using namespace Input;
using abi::EventRegistrationToken;
using ::winrt::check_hresult;
using ::winrt::com_ptr;
using winrt::GetActivationFactory;
using winrt::HStringReference;
using IVectorOfItems = Collections::IVector<IRadialControllerMenuItem*>;

// RadialControllerMenuKnownIcon.InkColor: every built-in-icon item uses it.
constexpr INT32 kKnownIconInkColor = static_cast<INT32>(Input::RadialControllerMenuKnownIcon::InkColor);
// After an addition the system selects the new item, and a dial typically
// reports that selection as an Invoked event; the first Invoked within this
// window is taken for that echo and swallowed.
constexpr double kInvokedSuppressSeconds = 4.0;


double Now() noexcept { return static_cast<double>(GetTickCount64()) / 1000.0; }

uint32_t TakeMenuItemId() noexcept { return ++dials.lastMenuItemId; }

// The item's Invoked handler: the host's callback for the item, if the dial is
// still current and the event is not the echo of an addition.
class InvokedHandler {
public:
    explicit InvokedHandler(std::weak_ptr<DialImpl> dial) : dial_(std::move(dial)) {}

    HRESULT operator()(IRadialControllerMenuItem* sender, IInspectable*) {
        if (!sender) return S_OK;
        const MenuItemKey key(sender);  // made (and released) outside the lock
        auto dial = dial_.lock();
        if (!dial) return S_OK;
        DialMenuItemHandler callback = nullptr;
        {
            std::lock_guard guard(dials.stateLock);
            if (dials.current != dial) return S_OK;
            if (!dials.invokedSwallowed && dials.invokedSuppressUntil >= 0) {
                if (dials.invokedSuppressUntil > Now()) {
                    dials.invokedSwallowed = true;
                    return S_OK;
                }
                dials.invokedSuppressUntil = -1.0;
            }
            auto found = dial->itemHandlers.find(key);
            if (found != dial->itemHandlers.end()) callback = found->second;
        }
        // On the runtime's thread, with no lock held.
        if (callback) callback();
        return S_OK;
    }

private:
    std::weak_ptr<DialImpl> dial_;
};

// The item's record in the dial's itemHandlers; `replace` overwrites an
// existing one. The map's nodes are made and freed outside the lock: a key
// holds a reference to the item, and taking or dropping one calls the runtime.
void RecordCallback(DialImpl& dial, IRadialControllerMenuItem* item, DialMenuItemHandler handler, bool replace) {
    std::map<MenuItemKey, DialMenuItemHandler> entry;
    entry.emplace(MenuItemKey(item), handler);
    std::lock_guard guard(dials.stateLock);
    auto found = dial.itemHandlers.find(entry.begin()->first);
    if (found == dial.itemHandlers.end()) {
        dial.itemHandlers.merge(entry);
    } else if (replace) {
        found->second = handler;
    }
}

void ForgetCallback(DialImpl& dial, IRadialControllerMenuItem* item) {
    const MenuItemKey key(item);
    std::map<MenuItemKey, DialMenuItemHandler>::node_type node;
    std::lock_guard guard(dials.stateLock);
    node = dial.itemHandlers.extract(key);
}

// The common tail of both kinds of item. A failing call ends it there; the
// steps before stay done, except that an item the menu refused leaves no
// record behind.
//
// The callback is recorded before the item is appended and recorded again if
// a ClearMenu took it meanwhile, while WinRTDialClearMenu takes the records
// before it clears the menu: so whatever the interleaving with a clear on
// another thread, an item that ends up in the menu has its callback. (A clear
// that overlaps the addition may leave a record for an item it removed; that
// record only keeps the item until the next clear or the dial's end.)
void AddMenuItem(DialImpl& dial, const com_ptr<IRadialControllerMenuItem>& item, DialMenuItemHandler handler,
                 uint32_t id) {
    using InvokedEvent = Foundation::TypedEventHandler<IRadialControllerMenuItem*, IInspectable*>;
    auto invoked = winrt::MakeFreeThreadedDelegate<InvokedEvent>(InvokedHandler(dial.self));
    EventRegistrationToken token{};
    check_hresult(item->add_Invoked(invoked.get(), &token));

    com_ptr<IRadialControllerMenu> menu;
    check_hresult(dial.controller->get_Menu(menu.put()));
    com_ptr<IVectorOfItems> items;
    check_hresult(menu->get_Items(items.put()));
    RecordCallback(dial, item.get(), handler, true);
    if (HRESULT hr = items->Append(item.get()); hr < 0) {
        ForgetCallback(dial, item.get());
        ::winrt::throw_hresult(hr);
    }
    RecordCallback(dial, item.get(), handler, false);  // again, if a clear took it meanwhile

    {
        std::lock_guard guard(dials.stateLock);
        dials.invokedSwallowed = false;
        dials.invokedSuppressUntil = Now() + kInvokedSuppressSeconds;
    }

    check_hresult(menu->SelectMenuItem(item.get()));

    com_ptr<IInspectable> tag;
    check_hresult(GetActivationFactory<Foundation::PropertyValue, Foundation::IPropertyValueStatics>()->CreateUInt32(
        id, tag.put()));
    check_hresult(item->put_Tag(tag.get()));
}

// Adds the item of a loaded icon, then starts the next load of the chain.
void AddLoadedIconItem(DialImpl& dial, const PendingIconMenuItem& record, const com_ptr<Storage::IStorageFile>& file) {
    if (!LockCurrentDial(dial.self)) return;  // replaced meanwhile: it gets nothing
    com_ptr<Streams::IRandomAccessStreamReference> icon;
    check_hresult(
        GetActivationFactory<Streams::RandomAccessStreamReference, Streams::IRandomAccessStreamReferenceStatics>()
            ->CreateFromFile(file.get(), icon.put()));
    com_ptr<IRadialControllerMenuItem> item;
    check_hresult(GetActivationFactory<RadialControllerMenuItem, IRadialControllerMenuItemStatics>()
                      ->CreateFromIcon(HStringReference(record.displayText), icon.get(), item.put()));
    AddMenuItem(dial, item, record.handler, record.id);
    CommitPendingMenuAdditions(dial);
}

com_ptr<IVectorOfItems> MenuItems(DialImpl& dial) {
    com_ptr<IRadialControllerMenu> menu;
    check_hresult(dial.controller->get_Menu(menu.put()));
    com_ptr<IVectorOfItems> items;
    check_hresult(menu->get_Items(items.put()));
    return items;
}

}  // namespace

uint32_t MenuItemCount(DialImpl& dial) {
    if (!dial.controller) return 0;
    UINT32 size = 0;
    check_hresult(MenuItems(dial)->get_Size(&size));
    return size;
}

void ClearMenu(DialImpl& dial) {
    auto items = MenuItems(dial);
    // The records go before the menu is cleared (see AddMenuItem). Taken out
    // under the lock, released after it: releasing an item calls the runtime.
    std::map<MenuItemKey, DialMenuItemHandler> handlers;
    std::list<PendingIconMenuItem> pending;
    {
        std::lock_guard guard(dials.stateLock);
        handlers.swap(dial.itemHandlers);
        pending.swap(dial.pendingIconItems);
    }
    if (HRESULT hr = items->Clear(); hr < 0) {
        // Refused: nothing is forgotten. Records made meanwhile are newer.
        {
            std::lock_guard guard(dials.stateLock);
            dial.itemHandlers.merge(handlers);
            dial.pendingIconItems.splice(dial.pendingIconItems.begin(), pending);
        }
        ::winrt::throw_hresult(hr);
    }
}

void AppendKnownMenuItem(DialImpl& dial, const std::wstring& displayText, DialMenuItemHandler handler, uint32_t* id) {
    // The id is used up even if a later step fails.
    const uint32_t itemId = TakeMenuItemId();
    *id = itemId;
    com_ptr<IRadialControllerMenuItem> item;
    check_hresult(GetActivationFactory<RadialControllerMenuItem, IRadialControllerMenuItemStatics>()
                      ->CreateFromKnownIcon(HStringReference(displayText), kKnownIconInkColor, item.put()));
    AddMenuItem(dial, item, handler, itemId);
}

void AppendIconMenuItem(DialImpl& dial, std::wstring iconPath, std::wstring displayText, DialMenuItemHandler handler,
                        uint32_t* id) {
    const uint32_t itemId = TakeMenuItemId();
    *id = itemId;
    PendingIconMenuItem record{std::move(iconPath), std::move(displayText), handler, itemId};
    std::lock_guard guard(dials.stateLock);
    dial.pendingIconItems.push_back(std::move(record));
}

// Starts loading the first queued icon item and returns at once. Each
// completed load commits again, so the queue reaches the menu in order.
void CommitPendingMenuAdditions(DialImpl& dial) {
    PendingIconMenuItem record;
    {
        std::lock_guard guard(dials.stateLock);
        if (dial.pendingIconItems.empty()) return;
        record = std::move(dial.pendingIconItems.front());
        dial.pendingIconItems.pop_front();
    }
    // From here on the record lives only in its completion; a failure to start
    // the load loses it.
    com_ptr<Foundation::IAsyncOperation<Storage::IStorageFile*>> operation;
    check_hresult(GetActivationFactory<Storage::StorageFile, Storage::IStorageFileStatics>()->GetFileFromPathAsync(
        HStringReference(record.iconPath), operation.put()));
    // Continues on the thread on which the runtime completes the load, holding
    // the dial weakly: a dial destroyed meanwhile gets nothing. A failed or
    // canceled load stops the chain; the records still queued wait for the
    // next commit.
    winrt::OnCompleted<Storage::IStorageFile*>(
        operation, winrt::OnRuntimeThread<std::weak_ptr<DialImpl>>{dial.self},
        [record = std::move(record)](DialImpl& current, com_ptr<Storage::IStorageFile> file) {
            AddLoadedIconItem(current, record, file);
        },
        winrt::DropFailure);
}

}  // namespace tavlet::winapi

using namespace tavlet::winapi;
using tavlet::ToWideString;

namespace {

// The menu exports that answer through a pointer: without a dial they succeed
// and touch nothing, so the pointer is checked only once there is a dial.
template <typename Body>
HRESULT WithDialAndOut(_WinRTDial* handle, const uint32_t* out, Body&& body) {
    return WithDial(handle, [&](DialImpl& dial) {
        tavlet::require(out != nullptr);
        body(dial);
    });
}

}  // namespace

extern "C" {

HRESULT TAVLET_CALL WinRTDialGetNumberOfMenuItems(_WinRTDial* handle, uint32_t* count) {
    return WithDialAndOut(handle, count, [&](DialImpl& dial) { *count = MenuItemCount(dial); });
}

HRESULT TAVLET_CALL WinRTDialClearMenu(_WinRTDial* handle) {
    return WithDial(handle, ClearMenu);
}

HRESULT TAVLET_CALL WinRTDialAppendKnownMenuItem(_WinRTDial* handle, const void* /*reserved*/,
                                                 const wchar_t* displayText, DialMenuItemHandler handler,
                                                 uint32_t* id) {
    return WithDialAndOut(handle, id, [&](DialImpl& dial) {
        AppendKnownMenuItem(dial, ToWideString(displayText), handler, id);
    });
}

HRESULT TAVLET_CALL WinRTDialAppendIconMenuItem(_WinRTDial* handle, const wchar_t* iconPath,
                                                const wchar_t* displayText, DialMenuItemHandler handler,
                                                uint32_t* id) {
    return WithDialAndOut(handle, id, [&](DialImpl& dial) {
        AppendIconMenuItem(dial, ToWideString(iconPath), ToWideString(displayText), handler, id);
    });
}

HRESULT TAVLET_CALL WinRTDialCommitPendingMenuAdditions(_WinRTDial* handle) {
    return WithDial(handle, CommitPendingMenuAdditions);
}

}  // extern "C"
