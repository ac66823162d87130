#include "Dispatcher.h"

#include "SpinLock.h"

#include <mutex>
#include <utility>

namespace tavlet::thread {

// Registered by name, so every dispatcher of the process (and every copy of the
// library loaded into it) shares one message id.
const UINT dispatcherMessage = RegisterWindowMessageA("net.tavlet.thread.dispatcher");

namespace {

constexpr char kHookProperty[] = "tavlet.thread.Dispatcher";

// What the hidden window carries: the procedure it had before it was hooked, so
// every other message still reaches the "Static" class, and a weak reference,
// so the window never keeps its dispatcher alive.
struct WindowHook {
    WNDPROC previous;
    std::weak_ptr<Dispatcher> dispatcher;
};

// The last reference to a dispatcher may go on any thread, and its Shutdown then
// frees the hook while the owner thread's window procedure may be reading it.
// Both sides hold this lock only around the property and the hook themselves;
// no task and no other window procedure runs under it.
SpinLock hookLock;

LRESULT CALLBACK DispatcherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    try {
        bool hooked = false;
        WNDPROC previous = nullptr;
        std::shared_ptr<Dispatcher> dispatcher;
        if (window) {
            std::lock_guard guard(hookLock);
            if (auto* hook = static_cast<WindowHook*>(GetPropA(window, kHookProperty))) {
                hooked = true;
                previous = hook->previous;
                if (message == dispatcherMessage) dispatcher = hook->dispatcher.lock();
            }
        }
        if (message != dispatcherMessage) {
            result = hooked ? CallWindowProcW(previous, window, message, wParam, lParam)
                            : DefWindowProcW(window, message, wParam, lParam);
        } else if (dispatcher) {
            // The strong reference keeps the dispatcher alive through the drain;
            // if it is the last one, the dispatcher goes here, on its own thread.
            dispatcher->RunPending();
        }
    } catch (...) {
        // A window procedure must not unwind into the system's dispatch code.
    }
    return result;
}

}  // namespace

Dispatcher::Dispatcher() : ownerThread_(GetCurrentThreadId()) {}

std::shared_ptr<Dispatcher> Dispatcher::Create() {
    // Not make_shared: the weak references held by the hook and the wake-up path
    // must not keep the dispatcher's memory alive after its last owner goes.
    std::shared_ptr<Dispatcher> dispatcher(new Dispatcher());
    dispatcher->self_ = dispatcher;

    // A message-only window is invisible, never enumerated and receives no
    // broadcasts; "Static" is a system class, so nothing is registered.
    HWND window = CreateWindowExW(0, L"Static", nullptr, WS_DISABLED, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
    dispatcher->window_ = window;
    // Without a window, owner-thread posts still run at once; the others wait
    // in the queue until Terminate or the destructor drops them.
    if (!window) return dispatcher;

    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DispatcherWindowProc)));
    auto hook = std::make_unique<WindowHook>(WindowHook{previous, dispatcher->self_});
    std::lock_guard guard(hookLock);
    if (SetPropA(window, kHookProperty, hook.get())) hook.release();
    return dispatcher;
}

Dispatcher::~Dispatcher() {
    Shutdown();
    // Tasks still queued are dropped unrun; their destructors run here, on
    // whichever thread let the dispatcher go.
    queue_.clear();
    self_.reset();
}

bool Dispatcher::Post(const std::shared_ptr<Task>& task) {
    if (!task) return false;
    bool runHere = false;
    bool wake = false;
    HWND target;
    {
        std::lock_guard guard(Lock());
        target = window_;
        if (stopped_) return false;
        if (GetCurrentThreadId() == ownerThread_) {
            runHere = true;
        } else {
            wake = queue_.empty();
            queue_.push_back(task);
        }
    }
    if (runHere) {
        // At once and outside the lock: a task may post again (it then runs
        // nested) and its exception is the caller's.
        task->Run();
        return true;
    }
    // Only the post that finds the queue empty wakes the owner: one message
    // drains everything queued before it is handled.
    if (wake) Wake(target);
    return true;
}

void Dispatcher::Wake(HWND target) {
    // With no window this is a thread message to the poster's own queue, which
    // no window procedure handles: the tasks wait for Terminate or the destructor.
    // The result is not tested: a window already gone has nothing to drain.
    if (auto alive = self_.lock()) PostMessageW(target, dispatcherMessage, 0, 0);
}

void Dispatcher::RunPending() {
    // A task that pumps messages must not start a second drain under the first.
    if (running_.exchange(true)) return;
    struct Restore {
        std::atomic<bool>& flag;
        ~Restore() { flag = false; }
    } restore{running_};

    // The whole queue under one lock; the tasks run without it, so posters never
    // wait for a task.
    std::vector<std::shared_ptr<Task>> batch;
    {
        std::lock_guard guard(Lock());
        batch.swap(queue_);
    }
    for (auto& task : batch) {
        if (stopped_) break;  // a task may terminate the dispatcher
        try {
            task->Run();
        } catch (...) {
            // One failing task does not cost the others their run.
        }
        task.reset();
    }

    bool more;
    HWND target;
    {
        std::lock_guard guard(Lock());
        more = !queue_.empty();
        target = window_;
    }
    // Posts made during the drain found the queue empty and sent their own
    // message, which may already have been handled (by a nested pump, finding
    // nothing). Waking again costs at most one empty message and never strands
    // a task.
    if (more && !stopped_) Wake(target);
    // Tasks skipped because the dispatcher stopped are released here, unrun.
}

void Dispatcher::Shutdown() {
    if (!window_) return;
    HWND target = std::exchange(window_, nullptr);

    WindowHook* hook;
    {
        std::lock_guard guard(hookLock);
        hook = static_cast<WindowHook*>(GetPropA(target, kHookProperty));
        if (hook) {
            // Back on the class's own procedure before the property goes, so no
            // message meets a hooked window without its hook.
            SetWindowLongPtrW(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous));
            RemovePropA(target, kHookProperty);
        }
    }
    delete hook;

    // A window can be destroyed only by its own thread. From any other thread it
    // is asked to close: the "Static" procedure destroys it when the owner next
    // pumps, and SendNotifyMessageW does not wait for that.
    if (GetCurrentThreadId() == ownerThread_) {
        DestroyWindow(target);
    } else {
        SendNotifyMessageW(target, WM_CLOSE, 0, 0);
    }
}

void Dispatcher::Terminate() {
    std::vector<std::shared_ptr<Task>> dropped;
    {
        std::lock_guard guard(Lock());
        stopped_ = true;
        Shutdown();
        dropped.swap(queue_);
    }
    // The dropping pass of a drain with stopped set, done here rather than
    // through RunPending: called from inside a task, or while the owner is
    // draining, RunPending would return at once and leave the queue to the
    // destructor. A drain in progress stops before its next task. The tasks are
    // released outside the lock, so their destructors may post (and be refused).
}

HWND Dispatcher::Window() {
    std::lock_guard guard(Lock());
    return window_;
}

}  // namespace tavlet::thread
