// Runtime-class properties of the simulated objects: a field and the get_/put_
// members over it.
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Base.h"

#include <mutex>
#include <string>
#include <utility>

namespace sim {

// From a field to an out-parameter of its ABI type, and back.
inline void CopyOut(const std::wstring& from, HSTRING* to) { *to = MakeHString(from); }
inline void CopyOut(bool from, abi::boolean* to) { *to = from ? 1 : 0; }
template <typename I>
void CopyOut(const ::winrt::com_ptr<I>& from, I** to) {
    from.copy_to(to);
}
template <typename T>
void CopyOut(const T& from, T* to) {
    *to = from;
}
inline void CopyIn(HSTRING from, std::wstring& to) { to = ToWide(from); }
inline void CopyIn(abi::boolean from, bool& to) { to = from != 0; }
template <typename I>
void CopyIn(I* from, ::winrt::com_ptr<I>& to) {
    to = ::winrt::copy_ptr(from);
}
template <typename T>
void CopyIn(const T& from, T& to) {
    to = from;
}

// A property that may change: its value under its own lock.
template <typename T>
class Property {
public:
    Property() = default;
    explicit Property(T value) : value_(std::move(value)) {}

    T Load() const {
        std::lock_guard guard(lock_);
        return value_;
    }
    // The value replaced is released after the lock.
    void Store(T value) {
        std::lock_guard guard(lock_);
        std::swap(value_, value);
    }
    template <typename V>
    HRESULT Get(V* value) const {
        if (!value) return E_POINTER;
        std::lock_guard guard(lock_);
        CopyOut(value_, value);
        return S_OK;
    }
    template <typename V>
    HRESULT Put(V value) {
        T incoming{};
        CopyIn(value, incoming);
        Store(std::move(incoming));
        return S_OK;
    }

private:
    mutable std::mutex lock_;
    T value_{};
};

// A value that does not change once the object is made, read like a property.
template <typename T>
struct FixedValue {
    const T& value;
    template <typename V>
    HRESULT Get(V* out) const {
        if (!out) return E_POINTER;
        CopyOut(value, out);
        return S_OK;
    }
};
template <typename T>
FixedValue<T> Fixed(const T& value) {
    return FixedValue<T>{value};
}

// get_Name (and put_Name) of `Interface` over `property` (a Property, or a
// Fixed value for a read-only one).
#define SIM_GETTER(Interface, Name, Type, property)                          \
    HRESULT STDMETHODCALLTYPE get_##Name(Type* value) noexcept override {    \
        SIM_FAULT(#Interface ".get_" #Name);                                 \
        return property.Get(value);                                          \
    }
#define SIM_PROPERTY(Interface, Name, Type, property)                        \
    SIM_GETTER(Interface, Name, Type, property)                              \
    HRESULT STDMETHODCALLTYPE put_##Name(Type value) noexcept override {     \
        SIM_FAULT(#Interface ".put_" #Name);                                 \
        return property.Put(value);                                          \
    }

}  // namespace sim
