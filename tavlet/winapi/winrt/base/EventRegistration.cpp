// Removals the runtime refused when their registration was assigned over or
// destroyed: kept, with what removes them, until a retry succeeds.
#include "EventRegistration.h"

#include <mutex>
#include <vector>

namespace tavlet::winapi::winrt {
namespace {

struct RefusedRemovals {
    std::mutex lock;  // guards the list only; removals run outside it
    std::vector<EventRegistration> waiting;
};
RefusedRemovals& refusedRemovals() {
    static auto* removals = new RefusedRemovals();  // never destroyed: a registration may go at exit
    return *removals;
}

}  // namespace

void EventRegistration::KeepForRetry(EventRegistration&& refused) noexcept {
    auto& removals = refusedRemovals();
    try {
        std::lock_guard guard(removals.lock);
        removals.waiting.push_back(std::move(refused));
    } catch (...) {
        refused.Abandon();  // no memory to remember it: the runtime keeps the handler
    }
}

void EventRegistration::RetryRefused() noexcept {
    std::vector<EventRegistration> retried;
    {
        auto& removals = refusedRemovals();
        std::lock_guard guard(removals.lock);
        retried.swap(removals.waiting);
    }
    // Destroying each asks the runtime again; a new refusal is kept again.
}

}  // namespace tavlet::winapi::winrt
