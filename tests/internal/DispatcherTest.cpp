// The owner thread's dispatcher: posts run on the owner, in order, once; ending
// it releases every task unrun and leaves no window.
#include "SimRuntime.h"
#include "tavlet/thread/Dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using tavlet::thread::Dispatcher;
using tavlet::thread::dispatcherMessage;

std::atomic<int> liveTasks{0};

// A task that runs `body` and counts its release in `destroyed` (and in liveTasks while it lives).
struct FnTask : Dispatcher::Task {
    FnTask(std::function<void()> f, std::atomic<int>* d) : body(std::move(f)), destroyed(d) { ++liveTasks; }
    ~FnTask() override { --liveTasks; if (destroyed) ++*destroyed; }
    void Run() override { body(); }
    std::function<void()> body;
    std::atomic<int>* destroyed;
};
std::shared_ptr<Dispatcher::Task> MakeTask(std::function<void()> body, std::atomic<int>* destroyed = nullptr) {
    return std::make_shared<FnTask>(std::move(body), destroyed);
}

void OnOtherThread(const std::function<void()>& body) { std::thread(body).join(); }

// Delivers the wake-up messages queued for the window so far (not those their
// tasks post) and counts them.
size_t DeliverWakeUps(HWND window) {
    std::vector<MSG> taken;
    for (MSG msg; PeekMessageW(&msg, window, dispatcherMessage, dispatcherMessage, PM_REMOVE);) taken.push_back(msg);
    for (auto& msg : taken) DispatchMessageW(&msg);
    return taken.size();
}

class DispatcherTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(liveTasks, 0); }  // every task the queue or a drain held is released

    const DWORD owner = GetCurrentThreadId();
};

TEST_F(DispatcherTest, Posts_RunOnTheOwnerAtOnceOrInOneDrainPerWakeUp) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(dispatcher->Post(nullptr));
    // Other messages reach the "Static" procedure, and its answers come back.
    EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0), DLGC_STATIC);

    // On the owner: at once, a nested post too, without a wake-up; a failure goes back to the poster.
    std::vector<std::string> trace;
    EXPECT_TRUE(dispatcher->Post(MakeTask([&] {
        trace.push_back("outer begins");
        EXPECT_TRUE(dispatcher->Post(MakeTask([&] { trace.push_back("inner"); })));
        trace.push_back("outer ends");
    })));
    EXPECT_EQ(trace, (std::vector<std::string>{"outer begins", "inner", "outer ends"}));
    EXPECT_THROW(dispatcher->Post(MakeTask([] { throw std::runtime_error("task"); })), std::runtime_error);
    EXPECT_EQ(DeliverWakeUps(window), 0u);

    // From another thread: three posts, one wake-up, one drain in order; a failing task is swallowed.
    trace.clear();
    auto onOwner = [&](const char* name) { return GetCurrentThreadId() == owner ? name : "wrong thread"; };
    OnOtherThread([&] {
        for (const char* name : {"0", "1", "2"}) {
            EXPECT_TRUE(dispatcher->Post(MakeTask([&, name] {
                trace.push_back(onOwner(name));
                if (name[0] == '1') throw std::runtime_error("swallowed by the drain");
            })));
        }
    });
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(DeliverWakeUps(window), 1u);
    EXPECT_EQ(trace, (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(DeliverWakeUps(window), 0u);

    // From another thread during a drain: in a later message.
    trace.clear();
    OnOtherThread([&] {
        EXPECT_TRUE(dispatcher->Post(MakeTask([&] {
            OnOtherThread([&] { EXPECT_TRUE(dispatcher->Post(MakeTask([&] { trace.push_back(onOwner("late")); }))); });
            trace.push_back("drain");
        })));
    });
    EXPECT_EQ(DeliverWakeUps(window), 1u);
    EXPECT_EQ(trace, (std::vector<std::string>{"drain"}));
    // The late post found the queue empty and woke the owner; the drain woke it
    // again on its way out. Whichever comes first runs the task.
    EXPECT_EQ(DeliverWakeUps(window), 2u);
    EXPECT_EQ(trace, (std::vector<std::string>{"drain", "late"}));

    // A task that terminates the dispatcher: the rest of its drain is released unrun.
    trace.clear();
    OnOtherThread([&] {
        for (const char* name : {"terminates", "after"}) {
            EXPECT_TRUE(dispatcher->Post(MakeTask([&, name] {
                trace.push_back(name);
                if (name[0] == 't') dispatcher->Terminate();
            })));
        }
    });
    sim::PumpFor(0);
    EXPECT_EQ(trace, (std::vector<std::string>{"terminates"}));
}

HHOOK refuseHook = nullptr;
LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
    return code == HCBT_CREATEWND ? 1 : CallNextHookEx(refuseHook, code, wParam, lParam);  // 1 cancels the creation
}

TEST_F(DispatcherTest, EndingReleasesQueuedTasksUnrunAndLeavesNoWindow) {
    enum End { OwnerTerminates, OtherThreadTerminates, ReleasedOnOtherThread, NeverHadAWindow };
    for (End end : {OwnerTerminates, OtherThreadTerminates, ReleasedOnOtherThread, NeverHadAWindow}) {
        SCOPED_TRACE(end);
        if (end == NeverHadAWindow) refuseHook = SetWindowsHookExW(WH_CBT, RefuseWindows, nullptr, owner);
        auto dispatcher = Dispatcher::Create();
        if (refuseHook) UnhookWindowsHookEx(std::exchange(refuseHook, nullptr));
        HWND window = dispatcher->Window();
        EXPECT_EQ(window == nullptr, end == NeverHadAWindow);
        std::weak_ptr<Dispatcher> watch = dispatcher;
        std::atomic<int> runs{0}, destroyed{0}, refused{0};
        OnOtherThread([&] {
            for (int i = 0; i < 3; ++i) EXPECT_TRUE(dispatcher->Post(MakeTask([&] { ++runs; }, &destroyed)));
        });
        if (!window) sim::PumpFor(0);  // nothing can deliver them
        EXPECT_EQ(destroyed, 0);  // the queue holds the only references
        if (end == OtherThreadTerminates) {
            OnOtherThread([&] { dispatcher->Terminate(); });
        } else if (end == ReleasedOnOtherThread) {
            std::thread([last = std::move(dispatcher)]() mutable { last.reset(); }).join();
            EXPECT_TRUE(watch.expired());  // the hook's weak reference keeps nothing alive
            // Unhooked at once; destroyed by the owner, which handles the close request when it pumps.
            ASSERT_TRUE(IsWindow(window));
            EXPECT_EQ(GetPropA(window, "tavlet.thread.Dispatcher"), nullptr);
            EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), GetClassLongPtrW(window, GCLP_WNDPROC));
        } else {
            dispatcher->Terminate();
        }
        EXPECT_EQ(destroyed, 3);
        if (dispatcher) {
            EXPECT_EQ(dispatcher->Window(), nullptr);
            EXPECT_FALSE(dispatcher->Post(MakeTask([&] { ++runs; }, &refused)));
            OnOtherThread([&] { EXPECT_FALSE(dispatcher->Post(MakeTask([&] { ++runs; }, &refused))); });
            EXPECT_EQ(refused, 2);  // not kept either
        }
        sim::PumpFor(0);  // the pending wake-up, and the close request of a foreign tear-down
        EXPECT_EQ(runs, 0);
        EXPECT_FALSE(window && IsWindow(window));
        if (dispatcher) dispatcher->Terminate();  // again: nothing left to do
    }
}

TEST_F(DispatcherTest, TerminatedByAnotherThreadWhileBusyReleasesEveryTaskOnce) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    std::atomic<int> accepted{0}, runs{0}, destroyed{0}, wrongThread{0};
    std::vector<std::thread> threads;
    for (int p = 0; p < 2; ++p) {
        threads.emplace_back([&] {
            auto task = [&] { wrongThread += GetCurrentThreadId() != owner, ++runs; };
            while (dispatcher->Post(MakeTask(task, &destroyed))) ++accepted;
        });
    }
    threads.emplace_back([&] {
        while (runs < 20000) Sleep(1);
        dispatcher->Terminate();
    });
    EXPECT_TRUE(sim::PumpUntil([&] { return !IsWindow(window) && !dispatcher->Window(); }, 30000));
    for (auto& thread : threads) thread.join();
    sim::PumpFor(0);
    EXPECT_EQ(wrongThread, 0);
    EXPECT_LE(runs, accepted);
    // Run or dropped, each released once; and the one refused task per producer.
    EXPECT_EQ(destroyed, accepted + 2);
}

}  // namespace
