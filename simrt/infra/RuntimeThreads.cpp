// The runtime's threads, the control calls that run on them, and pumping the
// host's messages while waiting.
#include "RuntimeThreads.h"

#include <objbase.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace sim {
namespace {

thread_local bool runtimeThread = false;
std::atomic<Delivery> delivery{Delivery::RuntimeThreads};
std::atomic<bool> cancelInline{false};

// Work waiting for a thread, and the threads waiting for work. Kept for the
// life of the process: its threads outlive every test.
struct Pool {
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable quiet;
    struct Item {
        std::function<void()> work;
        bool counted;  // waiting for the runtime to go idle waits for it
    };
    std::deque<Item> queue;
    size_t waiting = 0;  // threads waiting for work
    size_t counted = 0;  // counted work items queued or running now
};
Pool& pool() {
    static Pool* p = new Pool();
    return *p;
}

void Worker() {
    runtimeThread = true;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // the runtime's threads are in the MTA
    auto& p = pool();
    std::unique_lock guard(p.lock);
    for (;;) {
        while (p.queue.empty()) {
            ++p.waiting;
            p.wake.wait(guard);
            --p.waiting;
        }
        auto item = std::move(p.queue.front());
        p.queue.pop_front();
        guard.unlock();
        try {
            item.work();
        } catch (...) {
        }
        item.work = nullptr;  // released on this thread, before the pool counts it done
        guard.lock();
        if (item.counted && --p.counted == 0) p.quiet.notify_all();
    }
}

// Queues work for a thread of the pool, adding one when every thread is busy.
void Queue(std::function<void()> work, bool counted) {
    auto& p = pool();
    std::lock_guard guard(p.lock);
    p.queue.push_back({std::move(work), counted});
    if (counted) ++p.counted;
    if (p.waiting >= p.queue.size()) {
        p.wake.notify_one();
    } else {
        std::thread(Worker).detach();
    }
}

// Pumps the calling thread's messages (sent and posted) until `done` or the
// timeout; a runtime thread waiting for the host's apartment is let in here.
// The messages posted before `done` held are handled before it returns, as a
// host's message loop would go on to handle them.
bool Pump(const std::function<bool()>& done, DWORD timeoutMs, HANDLE event = nullptr) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const bool finished = done();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (finished) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10));
        MsgWaitForMultipleObjectsEx(event ? 1 : 0, event ? &event : nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace

struct BackgroundCall {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~BackgroundCall() { CloseHandle(done); }
};

namespace detail {

bool OnRuntimeThread() noexcept { return runtimeThread; }

void RunOnRuntimeThread(std::function<void()> work, Then then) {
    const bool leave = then == Then::LeaveRunning;
    const bool wait = then == Then::PumpUntilDone || then == Then::WaitUntilDone;
    if ((!leave && delivery.load() == Delivery::CallingThread) || (wait && runtimeThread)) {
        work();
        return;
    }
    if (!wait) {
        Queue(std::move(work), !leave);
        return;
    }
    BackgroundCall* call = StartBackground(std::move(work));
    if (then == Then::PumpUntilDone) {
        FinishBackground(call, INFINITE);
    } else {
        WaitForSingleObject(call->done, INFINITE);
        delete call;
    }
}

}  // namespace detail

bool detail::CancelCompletesInline() noexcept { return cancelInline; }

void SetDelivery(Delivery mode) { delivery = mode; }
void SetCancelCompletesInline(bool inlineCompletion) { cancelInline = inlineCompletion; }

void detail::ResetRuntimeThreads() {
    ReleaseAllGates();
    WaitForRuntimeIdle();
    delivery = Delivery::RuntimeThreads;
    cancelInline = false;
}

bool IsRuntimeThread() { return runtimeThread; }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) { return Pump(done, timeoutMs); }

void PumpFor(DWORD ms) {
    Pump([] { return false; }, ms);
}

bool WaitForRuntimeIdle(DWORD timeoutMs) {
    auto quiet = [] {
        auto& p = pool();
        std::lock_guard guard(p.lock);
        return p.counted == 0;
    };
    if (runtimeThread) return quiet();
    return Pump(quiet, timeoutMs);
}

BackgroundCall* StartBackground(std::function<void()> work) {
    auto* call = new BackgroundCall();
    Queue(
        [call, work = std::move(work)] {
            work();
            SetEvent(call->done);
        },
        true);
    return call;
}

bool FinishBackground(BackgroundCall* call, DWORD timeoutMs) {
    if (!call) return true;
    bool finished = Pump([&] { return WaitForSingleObject(call->done, 0) == WAIT_OBJECT_0; }, timeoutMs, call->done);
    // A call that never ends keeps its record: the work still refers to it.
    if (finished) delete call;
    return finished;
}

}  // namespace sim
