// The handle model: a public class names its host handle type by deriving from
// OpaqueRefT<Handle>. The handle is the object's own address, reinterpreted;
// it carries no reference count and has exactly one owner.
#pragma once

#include "tavlet/Require.h"

#include <memory>

namespace tavlet::winapi {

template <typename Handle>
class OpaqueRefT {
public:
    using handle_type = Handle;
};

template <typename Object>
Object* FromHandle(typename Object::handle_type* handle) noexcept {
    return reinterpret_cast<Object*>(handle);
}

// The object behind an export's handle argument; a null handle is refused.
template <typename Object>
Object* ObjectOf(typename Object::handle_type* handle) {
    tavlet::require(handle != nullptr);
    return FromHandle<Object>(handle);
}

template <typename Object>
typename Object::handle_type* ToHandle(Object* object) noexcept {
    return reinterpret_cast<typename Object::handle_type*>(object);
}

// Hands a new object to the host: stored through `out`, owned by the host from
// then on, ended by the class's Dealloc export.
template <typename Object>
void HandOver(std::unique_ptr<Object> object, typename Object::handle_type** out) {
    tavlet::require(object != nullptr);
    *out = ToHandle(object.release());
}

// The Alloc exports: null stored first, then a new implementation object.
template <typename Impl, typename Object = typename Impl::public_type>
void AllocHandle(typename Object::handle_type** out) {
    tavlet::require(out != nullptr);
    *out = nullptr;
    HandOver<Object>(std::make_unique<Impl>(), out);
}

// The Dealloc exports: null does nothing, anything else is destroyed once.
template <typename Object>
void DeallocHandle(typename Object::handle_type* handle) noexcept {
    delete FromHandle<Object>(handle);
}

}  // namespace tavlet::winapi
