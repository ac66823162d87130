// The handle model: a public class names its host handle type by deriving from
// OpaqueRefT<Handle>. The handle is a value of the family's set of live
// handles (not the object's address); it carries no reference count and has
// exactly one owner.
//
// Every object of a family is live in that set from its construction until
// it is taken out: by its Dealloc, before its destructor runs, or else by its
// destructor (an object lent to a host callback, one the library owns). Every
// export resolves its handle through the set: a handle that is not live
// (deallocated, being deallocated, freed twice, never a handle, or another
// family's) is treated as null and never dereferenced. Handle values are
// never reused, so a stale handle never names a newer object.
#pragma once

#include "tavlet/Require.h"
#include "tavlet/winapi/LiveHandleSet.h"

#include <cstdint>
#include <memory>

namespace tavlet::winapi {

template <typename Handle>
class OpaqueRefT {
public:
    using handle_type = Handle;

    // The family's live handles; never destroyed, since a Dealloc may still
    // come during the process's exit.
    static LiveHandleSet& Live() noexcept {
        static LiveHandleSet& live = *new LiveHandleSet;
        return live;
    }

    Handle* HostHandle() const noexcept { return reinterpret_cast<Handle*>(handle_); }

protected:
    OpaqueRefT() : handle_(Live().Add(this)) {}
    OpaqueRefT(const OpaqueRefT&) = delete;
    OpaqueRefT& operator=(const OpaqueRefT&) = delete;
    ~OpaqueRefT() { Live().Take(handle_); }  // nothing when a Dealloc took it

private:
    const uintptr_t handle_;
};

// The handle of an object.
template <typename Object>
typename Object::handle_type* ToHandle(Object* object) noexcept {
    using Base = OpaqueRefT<typename Object::handle_type>;
    return static_cast<Base*>(object)->HostHandle();
}

// The object whose base the family's set holds, or null.
template <typename Object>
Object* ObjectFromBase(void* base) noexcept {
    using Base = OpaqueRefT<typename Object::handle_type>;
    return static_cast<Object*>(static_cast<Base*>(base));
}

// The live object behind a handle, or null for a handle that is not live.
template <typename Object>
Object* FromHandle(typename Object::handle_type* handle) noexcept {
    using Base = OpaqueRefT<typename Object::handle_type>;
    return ObjectFromBase<Object>(Base::Live().Find(reinterpret_cast<uintptr_t>(handle)));
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

// The Dealloc exports: the handle is taken out of the live set first, so only
// one of several Deallocs destroys the object, and no export reaches it while
// its destructor runs. Null, or any handle that is not live, does nothing.
template <typename Object>
void DeallocHandle(typename Object::handle_type* handle) noexcept {
    using Base = OpaqueRefT<typename Object::handle_type>;
    delete ObjectFromBase<Object>(Base::Live().Take(reinterpret_cast<uintptr_t>(handle)));
}

}  // namespace tavlet::winapi
