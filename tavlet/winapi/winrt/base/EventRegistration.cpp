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
    std::vector<EventRegistration> retried, others;
    try {
        auto& removals = refusedRemovals();
        std::lock_guard guard(removals.lock);
        // Reserved first, so that no registration is lost half-way; those of a
        // source that is not agile stay in the list for their own thread.
        retried.reserve(removals.waiting.size());
        others.reserve(removals.waiting.size());
        for (auto& refused : removals.waiting)
            (refused.RemovableHere() ? retried : others).push_back(std::move(refused));
        removals.waiting.swap(others);
    } catch (...) {
        return;  // no memory: all wait for the next retry
    }
    // Destroying each asks the runtime again; a new refusal is kept again.
}

}  // namespace tavlet::winapi::winrt
