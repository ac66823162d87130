// How much cheaper it is to bring work back to the UI thread through a
// dispatcher than with one posted message per piece of work, and how many
// wake-up messages the owner's message loop sees per drained batch.
//
// Four producer threads post small tasks while the owner pumps; the same tasks
// are then delivered once more with one PostMessageW each. Run by hand:
//   scripts/wine-run build/bin/bench_dispatcher.exe [tasks per producer]
#include "tavlet/thread/Dispatcher.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace {

using tavlet::thread::Dispatcher;
using tavlet::thread::dispatcherMessage;
using Clock = std::chrono::steady_clock;

constexpr unsigned producers = 4;

// The unit of work in both runs: one heap object whose Run counts itself.
class CountingTask : public Dispatcher::Task {
public:
    explicit CountingTask(uint64_t* counter) : counter_(counter) {}
    void Run() override { ++*counter_; }

private:
    uint64_t* counter_;
};

struct Pumped {
    double seconds = 0;
    uint64_t wakeUps = 0;       // dispatcher messages dispatched
    uint64_t batches = 0;       // of those, the ones that ran at least one task
};

// Starts the producers together and pumps on this thread until every task ran.
template <typename Produce>
Pumped PumpWhileProducing(const uint64_t& ran, uint64_t total, Produce produce) {
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (unsigned p = 0; p < producers; ++p) {
        threads.emplace_back([&] {
            while (!go) std::this_thread::yield();
            produce();
        });
    }
    Pumped result;
    auto start = Clock::now();
    go = true;
    MSG msg;
    while (ran < total) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
            continue;
        }
        if (msg.message != dispatcherMessage) {
            DispatchMessageW(&msg);
            continue;
        }
        uint64_t before = ran;
        DispatchMessageW(&msg);
        ++result.wakeUps;
        if (ran != before) ++result.batches;
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (auto& thread : threads) thread.join();
    return result;
}

// The alternative: every task is its own posted message.
UINT perTaskMessage;
LRESULT CALLBACK PerTaskProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != perTaskMessage) return DefWindowProcW(window, message, wParam, lParam);
    auto* task = reinterpret_cast<CountingTask*>(lParam);
    task->Run();
    delete task;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const uint64_t perProducer = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 25000;
    const uint64_t total = perProducer * producers;

    // Streaming: producers and the owner run at the same time.
    auto dispatcher = Dispatcher::Create();
    uint64_t ran = 0;
    Pumped batched = PumpWhileProducing(ran, total, [&] {
        for (uint64_t i = 0; i < perProducer; ++i) dispatcher->Post(std::make_shared<CountingTask>(&ran));
    });

    perTaskMessage = RegisterWindowMessageA("net.tavlet.bench.pertask");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PerTaskProc;
    windowClass.lpszClassName = L"tavlet.bench.PerTask";
    RegisterClassW(&windowClass);
    HWND perTaskWindow = CreateWindowExW(0, windowClass.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                         nullptr, nullptr, nullptr);
    uint64_t ranPerTask = 0;
    Pumped single = PumpWhileProducing(ranPerTask, total, [&] {
        for (uint64_t i = 0; i < perProducer; ++i) {
            auto* task = new CountingTask(&ranPerTask);
            // A full message queue refuses posts; wait for the owner to catch up.
            while (!PostMessageW(perTaskWindow, perTaskMessage, 0, reinterpret_cast<LPARAM>(task))) Sleep(1);
        }
    });

    // Bursts: a producer posts while the owner is busy elsewhere, then the owner
    // looks at what is waiting in its queue.
    constexpr unsigned bursts = 100, burstSize = 50;
    uint64_t burstWakeUps = 0, burstRan = 0;
    for (unsigned b = 0; b < bursts; ++b) {
        std::thread([&] {
            for (unsigned i = 0; i < burstSize; ++i) dispatcher->Post(std::make_shared<CountingTask>(&burstRan));
        }).join();
        MSG msg;
        while (PeekMessageW(&msg, dispatcher->Window(), dispatcherMessage, dispatcherMessage, PM_REMOVE)) {
            ++burstWakeUps;
            DispatchMessageW(&msg);
        }
    }
    dispatcher->Terminate();
    DestroyWindow(perTaskWindow);

    const double batchedRate = total / batched.seconds, singleRate = total / single.seconds;
    std::printf("tasks: %u producers x %llu\n", producers, static_cast<unsigned long long>(perProducer));
    std::printf("dispatcher:             %10.0f tasks/s (%.3f s), %llu wake-ups, %llu batches\n", batchedRate,
                batched.seconds, static_cast<unsigned long long>(batched.wakeUps),
                static_cast<unsigned long long>(batched.batches));
    std::printf("one PostMessageW each:  %10.0f tasks/s (%.3f s)\n", singleRate, single.seconds);
    std::printf("throughput ratio (dispatcher / one message per task): %.1f  (target >= 5)\n",
                batchedRate / singleRate);
    std::printf("wake-up messages per batch, streaming:  %.2f  (%.0f tasks per batch)\n",
                batched.batches ? double(batched.wakeUps) / batched.batches : 0.0,
                batched.batches ? double(total) / batched.batches : 0.0);
    std::printf("wake-up messages per batch, bursts:     %.2f  (%u bursts of %u, %llu ran; target 1)\n",
                double(burstWakeUps) / bursts, bursts, burstSize, static_cast<unsigned long long>(burstRan));
    return 0;
}
