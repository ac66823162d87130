// The gates that hold a thread at a member until a test releases it.
#include "RuntimeThreads.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace sim {
namespace {

// One gate: armed by a test, then holding the first thread that reaches its
// point until the test releases it.
struct Gate {
    bool released = false;
};
struct Gates {
    std::mutex lock;
    std::condition_variable changed;
    std::map<std::string, std::shared_ptr<Gate>, std::less<>> armed;
    std::map<std::string, std::shared_ptr<Gate>, std::less<>> held;
    std::atomic<long> armedCount{0};
};
Gates& gates() {
    static Gates* g = new Gates();
    return *g;
}

}  // namespace

void detail::PassGate(std::string_view point) noexcept {
    auto& g = gates();
    if (g.armedCount.load() == 0) return;
    std::unique_lock guard(g.lock);
    auto found = g.armed.find(point);
    if (found == g.armed.end()) return;
    auto gate = found->second;
    g.armed.erase(found);
    --g.armedCount;
    g.held[std::string(point)] = gate;
    g.changed.notify_all();
    g.changed.wait(guard, [&] { return gate->released; });
}

void HoldNext(const std::string& point) {
    auto& g = gates();
    std::lock_guard guard(g.lock);
    if (g.armed.emplace(point, std::make_shared<Gate>()).second) ++g.armedCount;
}

bool WaitUntilHeld(const std::string& point, DWORD timeoutMs) {
    auto& g = gates();
    auto held = [&] {
        std::lock_guard guard(g.lock);
        return g.held.count(point) != 0;
    };
    return PumpUntil(held, timeoutMs);
}

void Release(const std::string& point) {
    auto& g = gates();
    std::lock_guard guard(g.lock);
    if (auto found = g.held.find(point); found != g.held.end()) {
        found->second->released = true;
        g.held.erase(found);
    } else if (g.armed.erase(point)) {
        --g.armedCount;
    }
    g.changed.notify_all();
}

void ReleaseAllGates() {
    auto& g = gates();
    std::lock_guard guard(g.lock);
    for (auto& [point, gate] : g.held) gate->released = true;
    g.held.clear();
    g.armedCount -= static_cast<long>(g.armed.size());
    g.armed.clear();
    g.changed.notify_all();
}

}  // namespace sim
