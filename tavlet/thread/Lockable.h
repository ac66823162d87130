// Gives a class one lock of its own.
#pragma once

#include <mutex>

namespace tavlet::thread {

template <typename Mutex>
class MutexLockImpl {
public:
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

private:
    Mutex mutex_;
};

template <typename LockImpl>
class Lockable {
public:
    virtual ~Lockable() = default;

protected:
    LockImpl& Lock() noexcept { return lock_; }

private:
    LockImpl lock_;
};

}  // namespace tavlet::thread
