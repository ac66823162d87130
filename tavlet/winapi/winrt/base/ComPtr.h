// winrt::com_ptr: the one owning reference to a COM interface. No family code
// calls AddRef or Release by hand.
#pragma once

#include "tavlet/winapi/winrt/abi/Base.h"

#include <cstddef>
#include <utility>

namespace winrt {

[[noreturn]] void throw_hresult(HRESULT hr);

inline void check_hresult(HRESULT hr) {
    if (hr < 0) throw_hresult(hr);
}

template <typename T>
class com_ptr {
public:
    using type = T;

    com_ptr() noexcept = default;
    com_ptr(std::nullptr_t) noexcept {}
    com_ptr(const com_ptr& other) noexcept : ptr_(other.ptr_) { AddRefIfSet(); }
    com_ptr(com_ptr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ~com_ptr() { ReleaseIfSet(); }

    com_ptr& operator=(const com_ptr& other) noexcept {
        copy_from(other.ptr_);
        return *this;
    }
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) {
            ReleaseIfSet();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    com_ptr& operator=(std::nullptr_t) noexcept {
        ReleaseIfSet();
        return *this;
    }

    explicit operator bool() const noexcept { return ptr_ != nullptr; }
    T* operator->() const noexcept { return ptr_; }
    T& operator*() const noexcept { return *ptr_; }
    T* get() const noexcept { return ptr_; }

    // For out-parameters: releases what is held and hands out the slot.
    T** put() noexcept {
        ReleaseIfSet();
        return &ptr_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    // Fills this reference from a call that ends in (REFIID, void**), the
    // interface id being this reference's: a function, or a method of an
    // object. A failure is thrown; try_capture returns it instead.
    template <typename Function, typename... Args>
    void capture(Function function, Args&&... args) {
        check_hresult(try_capture(function, std::forward<Args>(args)...));
    }
    template <typename Object, typename Method, typename... Args>
    void capture(const com_ptr<Object>& object, Method method, Args&&... args) {
        check_hresult(try_capture(object, method, std::forward<Args>(args)...));
    }
    template <typename Function, typename... Args>
    HRESULT try_capture(Function function, Args&&... args) noexcept {
        return function(std::forward<Args>(args)..., abi::guid_v<T>, put_void());
    }
    template <typename Object, typename Method, typename... Args>
    HRESULT try_capture(const com_ptr<Object>& object, Method method, Args&&... args) noexcept {
        return (object.get()->*method)(std::forward<Args>(args)..., abi::guid_v<T>, put_void());
    }

    void attach(T* value) noexcept {
        ReleaseIfSet();
        ptr_ = value;
    }
    T* detach() noexcept { return std::exchange(ptr_, nullptr); }
    void copy_from(T* value) noexcept {
        if (ptr_ == value) return;
        if (value) value->AddRef();
        ReleaseIfSet();
        ptr_ = value;
    }
    void copy_to(T** out) const noexcept {
        AddRefIfSet();
        *out = ptr_;
    }

    // QueryInterface; a failure is thrown (E_NOINTERFACE as hresult_no_interface).
    template <typename U>
    com_ptr<U> as() const {
        com_ptr<U> result;
        check_hresult(ptr_->QueryInterface(abi::guid_v<U>, result.put_void()));
        return result;
    }
    // QueryInterface; a failure gives an empty reference.
    template <typename U>
    com_ptr<U> try_as() const noexcept {
        com_ptr<U> result;
        if (ptr_) ptr_->QueryInterface(abi::guid_v<U>, result.put_void());
        return result;
    }

    friend bool operator==(const com_ptr& a, const com_ptr& b) noexcept { return a.ptr_ == b.ptr_; }
    friend bool operator==(const com_ptr& a, std::nullptr_t) noexcept { return a.ptr_ == nullptr; }

private:
    void AddRefIfSet() const noexcept {
        if (ptr_) ptr_->AddRef();
    }
    void ReleaseIfSet() noexcept {
        if (auto p = std::exchange(ptr_, nullptr)) p->Release();
    }

    T* ptr_ = nullptr;
};

// Takes ownership of a reference that the caller already holds.
template <typename T>
com_ptr<T> attach_ptr(T* value) noexcept {
    com_ptr<T> result;
    result.attach(value);
    return result;
}

// Adds a reference to a borrowed pointer.
template <typename T>
com_ptr<T> copy_ptr(T* value) noexcept {
    com_ptr<T> result;
    result.copy_from(value);
    return result;
}

}  // namespace winrt
