// The handle model: a public class names its host handle type by deriving from
// OpaqueRefT<Handle>. The handle is the object's own address, reinterpreted;
// it carries no reference count and has exactly one owner.
//
// Every object of a family records its address in the family's set of live
// handles for exactly its lifetime (an object lent to a host callback
// included), and every export resolves its handle through that set: a handle
// that is not live (deallocated, freed twice, never a handle, or another
// family's) is treated as null and never dereferenced. A freed handle whose
// address a new object of the same family has taken names that new object.
#pragma once

#include "tavlet/Require.h"
#include "tavlet/winapi/LiveHandleSet.h"

#include <memory>

namespace tavlet::winapi {

template <typename Handle>
class OpaqueRefT {
public:
    using handle_type = Handle;

    // The family's live handles. Never destroyed: a Dealloc may still come
    // at the end of the process, from another DLL's detach.
    static LiveHandleSet& Live() noexcept {
        static LiveHandleSet& live = *new LiveHandleSet();
        return live;
    }

protected:
    OpaqueRefT() { Live().Add(this); }
    OpaqueRefT(const OpaqueRefT&) = delete;
    OpaqueRefT& operator=(const OpaqueRefT&) = delete;
    ~OpaqueRefT() { Live().Remove(this); }
};

// The handle of an object; its address, through the family's base.
template <typename Object>
typename Object::handle_type* ToHandle(Object* object) noexcept {
    using Base = OpaqueRefT<typename Object::handle_type>;
    return reinterpret_cast<typename Object::handle_type*>(static_cast<Base*>(object));
}

// The live object behind a handle, or null for a handle that is not live.
template <typename Object>
Object* FromHandle(typename Object::handle_type* handle) noexcept {
    using Base = OpaqueRefT<typename Object::handle_type>;
    auto* base = reinterpret_cast<Base*>(handle);
    if (!base || !Base::Live().Contains(base)) return nullptr;
    return static_cast<Object*>(base);
}

// The object behind an export's handle argument; a handle that is not live
// is refused like null.
template <typename Object>
Object* ObjectOf(typename Object::handle_type* handle) {
    Object* object = FromHandle<Object>(handle);
    tavlet::require(object != nullptr);
    return object;
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

// The Dealloc exports: a live handle is destroyed once; null or any handle
// that is not live does nothing.
template <typename Object>
void DeallocHandle(typename Object::handle_type* handle) noexcept {
    delete FromHandle<Object>(handle);
}

}  // namespace tavlet::winapi
