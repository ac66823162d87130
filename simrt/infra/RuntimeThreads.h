// The simulated runtime's own threads. On Windows the runtime raises events,
// completes operations and asks for deferred data on threads of its own (in
// the multithreaded apartment), never on the host's; so does the simulation,
// unless a test asks for calling-thread delivery.
#pragma once

#include "SimRuntime.h"

#include <functional>

namespace sim::detail {

// Releases the gates, waits for the runtime's threads to go quiet and restores
// the default delivery (part of Reset).
void ResetRuntimeThreads();

// True on one of the runtime's threads.
bool OnRuntimeThread() noexcept;

// Runs long-lived work (the scripted user) on a runtime thread of its own,
// outside the pool, so that waiting for the runtime to go idle never waits
// for it.
void StartDedicatedThread(std::function<void()> work);

// Queues work for a runtime thread and returns at once. A thread is added to
// the pool whenever every thread is busy (held at a gate, waiting to enter a
// host's apartment), so queued work never waits for blocked work.
void Post(std::function<void()> work);

// Runs work where the runtime would and returns when it has run: on a runtime
// thread (the caller's messages are pumped meanwhile, since the work may need
// the caller's apartment), or inline on a runtime thread or in calling-thread
// delivery mode.
void Deliver(const std::function<void()>& work);

// Runs work on a runtime thread and waits for it without pumping (a runtime
// call that raises an event before it returns); inline where Deliver would be.
void RunAndWait(const std::function<void()>& work);

// Queues work for a runtime thread, or runs it now in calling-thread delivery
// mode: the completion of an operation that the runtime finishes "later".
void PostOrRun(std::function<void()> work);

template <typename T>
T DeliverResult(const std::function<T()>& work) {
    T result{};
    Deliver([&] { result = work(); });
    return result;
}

// Whether Cancel raises Completed inside the call (else from a runtime thread).
bool CancelCompletesInline() noexcept;

// Waits for the gate at `point` when a test has armed it (the first line of
// every simulated member passes its member's gate).
void PassGate(std::string_view point) noexcept;

}  // namespace sim::detail
