// IVector<T*> over references to runtime objects, for the simulated classes
// that are or hand out such a vector.
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// The vector members of a simulated object whose interfaces are IVector<T*>
// and `Others`. `name` prefixes the members' fault-injection names
// ("IVector<ShareProvider>" gives "IVector<ShareProvider>.GetAt").
template <typename Derived, typename T, typename... Others>
class VectorObject : public SimObject<Derived, abi::Windows::Foundation::Collections::IVector<T*>, Others...> {
public:
    using Item = ::winrt::com_ptr<T>;

    explicit VectorObject(const char* name) : name_(name) {}

    std::vector<Item> Snapshot() {
        std::lock_guard guard(lock_);
        return items_;
    }

    HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, T** item) noexcept override {
        SIM_FAULT(Member(".GetAt"));
        std::lock_guard guard(lock_);
        if (index >= items_.size()) return E_BOUNDS;
        items_[index].copy_to(item);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) noexcept override {
        SIM_FAULT(Member(".get_Size"));
        std::lock_guard guard(lock_);
        *size = static_cast<UINT32>(items_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetView(abi::Windows::Foundation::Collections::IVectorView<T*>** view) noexcept override {
        SIM_FAULT(Member(".GetView"));
        if (view) *view = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IndexOf(T* value, UINT32* index, abi::boolean* found) noexcept override {
        SIM_FAULT(Member(".IndexOf"));
        std::lock_guard guard(lock_);
        auto at = std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.get() == value; });
        *found = at != items_.end();
        *index = *found ? static_cast<UINT32>(at - items_.begin()) : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetAt(UINT32 index, T* item) noexcept override {
        SIM_FAULT(Member(".SetAt"));
        return Edit([&](std::vector<Item>& items) {
            if (index >= items.size()) return E_BOUNDS;
            items[index] = ::winrt::copy_ptr(item);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE InsertAt(UINT32 index, T* item) noexcept override {
        SIM_FAULT(Member(".InsertAt"));
        return Edit([&](std::vector<Item>& items) {
            if (index > items.size()) return E_BOUNDS;
            items.insert(items.begin() + index, ::winrt::copy_ptr(item));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE RemoveAt(UINT32 index) noexcept override {
        SIM_FAULT(Member(".RemoveAt"));
        return Edit([&](std::vector<Item>& items) {
            if (index >= items.size()) return E_BOUNDS;
            items.erase(items.begin() + index);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Append(T* item) noexcept override {
        SIM_FAULT(Member(".Append"));
        if (!item) return E_INVALIDARG;
        return Edit([&](std::vector<Item>& items) {
            items.push_back(::winrt::copy_ptr(item));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE RemoveAtEnd() noexcept override {
        SIM_FAULT(Member(".RemoveAtEnd"));
        return Edit([&](std::vector<Item>& items) {
            if (items.empty()) return E_BOUNDS;
            items.pop_back();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Clear() noexcept override {
        SIM_FAULT(Member(".Clear"));
        return Edit([&](std::vector<Item>& items) {
            items.clear();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE GetMany(UINT32 start, UINT32 capacity, T** value, UINT32* actual) noexcept override {
        SIM_FAULT(Member(".GetMany"));
        std::lock_guard guard(lock_);
        *actual = 0;
        for (UINT32 i = start; i < items_.size() && *actual < capacity; ++i) items_[i].copy_to(&value[(*actual)++]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReplaceAll(UINT32 count, T** value) noexcept override {
        SIM_FAULT(Member(".ReplaceAll"));
        return Edit([&](std::vector<Item>& items) {
            items.clear();
            for (UINT32 i = 0; i < count; ++i) items.push_back(::winrt::copy_ptr(value[i]));
            return S_OK;
        });
    }

protected:
    // Guards the items and whatever the derived class keeps beside them.
    std::mutex lock_;
    std::vector<Item> items_;

private:
    std::string Member(const char* member) const { return std::string(name_) + member; }

    // Changes the items under the lock; items dropped are released after it.
    template <typename Change>
    HRESULT Edit(Change change) {
        std::vector<Item> before;
        std::lock_guard guard(lock_);
        before = items_;
        return change(items_);
    }

    const char* name_;
};

// A vector object and nothing else.
template <typename T>
class Vector : public VectorObject<Vector<T>, T> {
public:
    using VectorObject<Vector<T>, T>::VectorObject;
};

}  // namespace sim
