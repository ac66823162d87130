#include "tavlet/thread/Dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using tavlet::thread::Dispatcher;
using tavlet::thread::dispatcherMessage;

constexpr char hookProperty[] = "tavlet.thread.Dispatcher";

std::atomic<int> liveTasks{0};

class CountedTask : public Dispatcher::Task {
public:
    CountedTask() { ++liveTasks; }
    ~CountedTask() override { --liveTasks; }
};

class FnTask : public CountedTask {
public:
    FnTask(std::function<void()> body, std::atomic<int>* destroyed) : body_(std::move(body)), destroyed_(destroyed) {}
    ~FnTask() override {
        if (destroyed_) ++*destroyed_;
    }
    void Run() override { body_(); }

private:
    std::function<void()> body_;
    std::atomic<int>* destroyed_;
};

std::shared_ptr<Dispatcher::Task> MakeTask(std::function<void()> body, std::atomic<int>* destroyed = nullptr) {
    return std::make_shared<FnTask>(std::move(body), destroyed);
}

void OnOtherThread(const std::function<void()>& body) { std::thread(body).join(); }

// Removes the wake-up messages queued for the window, so a test can count them
// and then deliver them one at a time.
std::vector<MSG> TakeWakeUps(HWND window) {
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageW(&msg, window, dispatcherMessage, dispatcherMessage, PM_NOREMOVE)) {
        PeekMessageW(&msg, window, dispatcherMessage, dispatcherMessage, PM_REMOVE);
        taken.push_back(msg);
    }
    return taken;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

WNDPROC StaticClassProcedure() {
    HWND probe = CreateWindowExW(0, L"Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(probe, GWLP_WNDPROC));
    DestroyWindow(probe);
    return proc;
}

class DispatcherTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(dispatcherMessage, 0u); }
    // Every task the queue or a drain held has been released.
    void TearDown() override { EXPECT_EQ(liveTasks, 0); }

    const DWORD owner = GetCurrentThreadId();
};

TEST_F(DispatcherTest, OwnerThreadPostsRunAtOnceWithoutWakeUp) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    ASSERT_NE(window, nullptr);

    EXPECT_FALSE(dispatcher->Post(nullptr));

    std::vector<std::string> trace;
    auto inner = MakeTask([&] { trace.push_back("inner"); });
    EXPECT_TRUE(dispatcher->Post(MakeTask([&] {
        trace.push_back("outer begins");
        EXPECT_TRUE(dispatcher->Post(inner));
        trace.push_back("outer ends");
    })));
    EXPECT_EQ(trace, (std::vector<std::string>{"outer begins", "inner", "outer ends"}));
    EXPECT_TRUE(TakeWakeUps(window).empty());

    // The owner's own post hands the task's failure back to it.
    EXPECT_THROW(dispatcher->Post(MakeTask([] { throw std::runtime_error("task"); })), std::runtime_error);
    EXPECT_TRUE(dispatcher->Post(MakeTask([] {})));
}

TEST_F(DispatcherTest, ForeignPostsShareOneWakeUpAndRunInOrderOnTheOwner) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    std::vector<int> order;
    std::atomic<int> wrongThread{0};
    OnOtherThread([&] {
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(dispatcher->Post(MakeTask([&, i] {
                if (GetCurrentThreadId() != owner) ++wrongThread;
                order.push_back(i);
                if (i == 1) throw std::runtime_error("swallowed by the drain");
            })));
        }
    });
    EXPECT_TRUE(order.empty());

    auto wakeUps = TakeWakeUps(window);
    ASSERT_EQ(wakeUps.size(), 1u);
    DispatchMessageW(&wakeUps[0]);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(wrongThread, 0);
    EXPECT_TRUE(TakeWakeUps(window).empty());
}

TEST_F(DispatcherTest, ForeignPostDuringADrainRunsInALaterMessage) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    int lateRuns = 0;
    bool lateRanOnOwner = false;
    auto late = MakeTask([&] {
        ++lateRuns;
        lateRanOnOwner = GetCurrentThreadId() == owner;
    });
    OnOtherThread([&] {
        dispatcher->Post(MakeTask([&] {
            OnOtherThread([&] { EXPECT_TRUE(dispatcher->Post(late)); });
            EXPECT_EQ(lateRuns, 0);
        }));
    });

    auto first = TakeWakeUps(window);
    ASSERT_EQ(first.size(), 1u);
    DispatchMessageW(&first[0]);
    EXPECT_EQ(lateRuns, 0);

    // The late post found the queue empty and woke the owner; the drain woke it
    // again on its way out. Whichever comes first runs the task.
    auto later = TakeWakeUps(window);
    ASSERT_EQ(later.size(), 2u);
    for (auto& msg : later) DispatchMessageW(&msg);
    EXPECT_EQ(lateRuns, 1);
    EXPECT_TRUE(lateRanOnOwner);
}

TEST_F(DispatcherTest, TerminateRefusesTasksAndReleasesQueuedOnesUnrun) {
    // Terminated by the owner, and by another thread while the owner is idle.
    for (bool fromOwner : {true, false}) {
        SCOPED_TRACE(fromOwner ? "owner terminates" : "other thread terminates");
        auto dispatcher = Dispatcher::Create();
        HWND window = dispatcher->Window();
        std::atomic<int> runs{0}, destroyed{0};
        OnOtherThread([&] {
            for (int i = 0; i < 3; ++i) EXPECT_TRUE(dispatcher->Post(MakeTask([&] { ++runs; }, &destroyed)));
        });
        EXPECT_EQ(destroyed, 0);  // the queue holds the only references

        if (fromOwner) {
            dispatcher->Terminate();
        } else {
            OnOtherThread([&] { dispatcher->Terminate(); });
        }
        EXPECT_EQ(destroyed, 3);
        EXPECT_EQ(dispatcher->Window(), nullptr);

        std::atomic<int> refused{0};
        EXPECT_FALSE(dispatcher->Post(MakeTask([&] { ++runs; }, &refused)));
        OnOtherThread([&] { EXPECT_FALSE(dispatcher->Post(MakeTask([&] { ++runs; }, &refused))); });
        EXPECT_EQ(refused, 2);  // not kept either

        Pump();  // the pending wake-up, and the close request of a foreign terminate
        EXPECT_EQ(runs, 0);
        EXPECT_FALSE(IsWindow(window));
        dispatcher->Terminate();  // again: nothing left to do
    }
}

TEST_F(DispatcherTest, OtherMessagesReachTheStaticProcedureUnchanged) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    EXPECT_NE(GetPropA(window, hookProperty), nullptr);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)), StaticClassProcedure());

    EXPECT_TRUE(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"round trip")));
    wchar_t text[32] = {};
    EXPECT_EQ(SendMessageW(window, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)), 10);
    EXPECT_STREQ(text, L"round trip");
    EXPECT_EQ(GetWindowTextLengthW(window), 10);
}

TEST_F(DispatcherTest, ReleasedOnAnotherThreadLeavesNoWindowBehind) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    std::weak_ptr<Dispatcher> watch = dispatcher;
    std::atomic<int> runs{0}, destroyed{0};
    std::thread([&, last = std::move(dispatcher)]() mutable {
        EXPECT_TRUE(last->Post(MakeTask([&] { ++runs; }, &destroyed)));
        last.reset();
        EXPECT_EQ(destroyed, 1);  // dropped unrun, on this thread
    }).join();
    EXPECT_TRUE(watch.expired());  // the hook's weak reference keeps nothing alive

    // Unhooked at once; destroyed by the owner, which only handles the close
    // request when it pumps.
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetPropA(window, hookProperty), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)), StaticClassProcedure());
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(runs, 0);
}

TEST_F(DispatcherTest, TerminatedByAnotherThreadWhileBusyReleasesEveryTaskOnce) {
    auto dispatcher = Dispatcher::Create();
    HWND window = dispatcher->Window();
    std::atomic<int> accepted{0}, runs{0}, destroyed{0}, wrongThread{0};
    std::vector<std::thread> threads;
    for (int p = 0; p < 2; ++p) {
        threads.emplace_back([&] {
            while (dispatcher->Post(MakeTask([&] {
                if (GetCurrentThreadId() != owner) ++wrongThread;
                ++runs;
            }, &destroyed))) {
                ++accepted;
            }
        });
    }
    threads.emplace_back([&] {
        while (runs < 20000) Sleep(1);
        dispatcher->Terminate();
    });
    // Pump until every producer has been refused and the window has closed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((IsWindow(window) || dispatcher->Window()) && std::chrono::steady_clock::now() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    for (auto& thread : threads) thread.join();
    Pump();

    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(wrongThread, 0);
    EXPECT_LE(runs, accepted);
    // Run or dropped, each released once; and the one refused task per producer.
    EXPECT_EQ(destroyed, accepted + 2);
}

HHOOK failCreation = nullptr;
LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) return 1;  // cancels the creation
    return CallNextHookEx(failCreation, code, wParam, lParam);
}

TEST_F(DispatcherTest, WithoutAWindowForeignTasksWaitUntilTerminate) {
    failCreation = SetWindowsHookExW(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(failCreation, nullptr);
    auto dispatcher = Dispatcher::Create();
    UnhookWindowsHookEx(failCreation);
    ASSERT_EQ(dispatcher->Window(), nullptr);

    int ownerRuns = 0;
    EXPECT_TRUE(dispatcher->Post(MakeTask([&] { ++ownerRuns; })));
    EXPECT_EQ(ownerRuns, 1);

    std::atomic<int> runs{0}, destroyed{0};
    OnOtherThread([&] { EXPECT_TRUE(dispatcher->Post(MakeTask([&] { ++runs; }, &destroyed))); });
    Pump();
    EXPECT_EQ(destroyed, 0);
    dispatcher->Terminate();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(runs, 0);
}

// Four producers post while the owner pumps: each task checks that it runs on
// the owner and directly after its producer's previous one, which also proves
// that none is lost or run twice.
class SequencedTask : public CountedTask {
public:
    struct Book {
        DWORD owner;
        std::vector<uint32_t> next;
        uint64_t ran = 0, wrongThread = 0, outOfOrder = 0;
    };
    SequencedTask(Book* book, uint32_t producer, uint32_t sequence) : book_(book), producer_(producer), sequence_(sequence) {}
    void Run() override {
        if (GetCurrentThreadId() != book_->owner) ++book_->wrongThread;
        if (book_->next[producer_] != sequence_) ++book_->outOfOrder;
        book_->next[producer_] = sequence_ + 1;
        ++book_->ran;
    }

private:
    Book* book_;
    uint32_t producer_, sequence_;
};

TEST_F(DispatcherTest, StressEveryTaskRunsOnceInPerThreadOrder) {
    constexpr uint32_t producers = 4, posts = 250000;
    auto dispatcher = Dispatcher::Create();
    SequencedTask::Book book{owner, std::vector<uint32_t>(producers, 0)};
    std::atomic<uint64_t> refused{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (uint32_t p = 0; p < producers; ++p) {
        threads.emplace_back([&, p] {
            while (!go) std::this_thread::yield();
            for (uint32_t i = 0; i < posts; ++i) {
                if (!dispatcher->Post(std::make_shared<SequencedTask>(&book, p, i))) ++refused;
            }
        });
    }
    go = true;
    const uint64_t total = uint64_t(producers) * posts;
    // A message at a time, so a dispatcher that keeps waking itself still ends
    // the test at the deadline.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    MSG msg;
    while (book.ran < total && std::chrono::steady_clock::now() < deadline) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    for (auto& thread : threads) thread.join();

    EXPECT_EQ(refused, 0u);
    EXPECT_EQ(book.ran, total);
    EXPECT_EQ(book.wrongThread, 0u);
    EXPECT_EQ(book.outOfOrder, 0u);
    EXPECT_EQ(book.next, std::vector<uint32_t>(producers, posts));
    EXPECT_EQ(liveTasks, 0);  // the queue holds nothing more
}

}  // namespace
