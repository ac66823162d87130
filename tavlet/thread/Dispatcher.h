// Runs work on the thread that created the dispatcher: tasks posted from any
// thread are queued and drained when that thread's message loop dispatches a
// private message to a hidden message-only window. The library starts no
// thread; the host's own message loop does the pumping.
#pragma once

#include "Lockable.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace tavlet::thread {

// The process-wide wake-up message, registered when the library is loaded.
extern const UINT dispatcherMessage;

class Dispatcher : public Lockable<MutexLockImpl<std::mutex>> {
public:
    class Task {
    public:
        virtual ~Task() = default;
        virtual void Run() = 0;
    };

    // A dispatcher bound to the calling thread.
    static std::shared_ptr<Dispatcher> Create();

    ~Dispatcher() override;

    // True when the task was accepted: run at once (on the owner thread) or
    // queued; false for a null task or a stopped dispatcher. Any thread.
    bool Post(const std::shared_ptr<Task>& task);
    // Runs the queued tasks (the window procedure, on the owner thread).
    void RunPending();
    // Unhooks and destroys the hidden window.
    void Shutdown();
    // Stops for good: no task is accepted or run afterwards; queued ones are
    // released without running.
    void Terminate();

    HWND Window();  // the hidden window (for tests); null once shut down
    bool IsOwnerThread() const noexcept { return GetCurrentThreadId() == ownerThread_; }

private:
    Dispatcher();
    // Posts the wake-up message to the given window while the dispatcher lives.
    void Wake(HWND target);

    std::vector<std::shared_ptr<Task>> queue_;
    std::weak_ptr<Dispatcher> self_;
    // Written under the lock; read without it between tasks of a drain, which
    // may run while another thread terminates.
    std::atomic<bool> stopped_{false};
    // Set while a drain runs, so that a task that pumps messages does not start
    // a second drain inside the first.
    std::atomic<bool> running_{false};
    DWORD ownerThread_ = 0;
    HWND window_ = nullptr;
};

}  // namespace tavlet::thread
