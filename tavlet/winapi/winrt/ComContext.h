// A COM context captured on one thread and entered later from the thread on
// which the runtime reports something: the asynchronous boolean handle's
// completion, the share provider's callback and the continuations of the
// sharing family's asynchronous steps.
#pragma once

#include "ComPtr.h"

#include <functional>
#include <memory>

namespace tavlet::winapi::winrt {

class ComContext {
public:
    // The calling thread's object context; a failure (no COM on this thread)
    // is thrown with its HRESULT.
    static ComContext Current();

    ComContext() = default;

    // True when the calling thread is in this context already.
    bool IsCurrent() const noexcept;

    // Runs work in this context and returns when it has run. Inline when the
    // caller is already there; otherwise through IContextCallback, which
    // blocks the caller until the context's thread has run it. A failure to
    // enter, or one thrown by the work on the other side, is thrown here with
    // its HRESULT.
    void Run(const std::function<void()>& work) const;

    // The same for work that contains its own failures, from a caller that has
    // no one to report a failed entry to: the work is then simply not run.
    void RunOrDrop(const std::function<void()>& work) const noexcept;

    // Continues work for an object that may go meanwhile (a handle released, a
    // callback replaced): the weak reference is resolved only once inside this
    // context, so whatever ended the object before the context was entered
    // also ends the work. Failures to enter, and of the work, are dropped.
    template <typename T, typename Work>
    void RunFor(const std::weak_ptr<T>& weak, Work&& work) const noexcept {
        RunOrDrop([&]() noexcept {
            try {
                if (auto strong = weak.lock()) work(*strong);
            } catch (...) {
            }
        });
    }

private:
    // Enters the context from another one; the work's failure becomes the
    // result.
    HRESULT Enter(const std::function<void()>& work) const noexcept;

    ::winrt::com_ptr<IContextCallback> context_;
    // CoGetContextToken of the capturing thread: the identity of the context.
    // It stays valid while context_ holds the context object alive.
    ULONG_PTR token_ = 0;
};

}  // namespace tavlet::winapi::winrt
