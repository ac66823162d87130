// The handles of one family that are alive now. Every export looks its handle
// up here before touching the object, so a handle that was deallocated, was
// never one of the family's, or belongs to another family is only ever
// compared, never dereferenced. Lookups share the lock; they are the exports'
// hot path, while additions and removals come once per object.
#pragma once

#include <windows.h>

#include <unordered_set>

namespace tavlet::winapi {

class LiveHandleSet {
public:
    LiveHandleSet() = default;
    LiveHandleSet(const LiveHandleSet&) = delete;
    LiveHandleSet& operator=(const LiveHandleSet&) = delete;

    // A failed allocation is thrown as std::bad_alloc; the handle is then not live.
    void Add(const void* handle) {
        AcquireSRWLockExclusive(&lock_);
        try {
            handles_.insert(handle);
        } catch (...) {
            ReleaseSRWLockExclusive(&lock_);
            throw;
        }
        ReleaseSRWLockExclusive(&lock_);
    }

    void Remove(const void* handle) noexcept {
        AcquireSRWLockExclusive(&lock_);
        handles_.erase(handle);
        ReleaseSRWLockExclusive(&lock_);
    }

    bool Contains(const void* handle) const noexcept {
        AcquireSRWLockShared(&lock_);
        const bool live = handles_.find(handle) != handles_.end();
        ReleaseSRWLockShared(&lock_);
        return live;
    }

private:
    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    std::unordered_set<const void*> handles_;
};

}  // namespace tavlet::winapi
