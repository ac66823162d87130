// A COM context captured on one thread and entered later from the thread on
// which the runtime reports something: the asynchronous boolean handle's
// completion, the share provider's callback and the continuations of the
// sharing family's asynchronous steps.
#pragma once

#include "ComPtr.h"

#include <functional>

namespace tavlet::winapi::winrt {

class ComContext {
public:
    // The calling thread's object context; a failure (no COM on this thread)
    // is thrown with its HRESULT.
    static ComContext Current();

    ComContext() = default;

    // True when the calling thread is in this context already.
    bool IsCurrent() const noexcept;

    // Runs work in this context and returns when it has run: inline when the
    // caller is already there, otherwise through IContextCallback, which
    // blocks the caller until the context's thread has run it. The callers
    // are the runtime's threads, which have no one to report to: a failure to
    // enter the context, and one of the work, are dropped.
    void RunOrDrop(const std::function<void()>& work) const noexcept;

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
