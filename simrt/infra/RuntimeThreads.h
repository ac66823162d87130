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

// How the caller goes on while its work runs on a runtime thread.
enum class Then {
    GoOn,           // at once: work the runtime finishes "later" (completions, file loads, stream operations)
    PumpUntilDone,  // waits, pumping its messages (the work may need its apartment): a control call that
                    // makes the runtime act
    WaitUntilDone,  // waits without pumping: a runtime call that raises an event before it returns
    LeaveRunning,   // at once; long-lived work (the scripted user) that waiting for the runtime to go
                    // idle never waits for
};

// The one way to run work on a runtime thread. The pool of threads grows
// whenever every thread is busy (held at a gate, waiting to enter a host's
// apartment), so queued work never waits for blocked work. Work that is waited
// for runs inline when the caller is a runtime thread already; in
// calling-thread delivery mode all but long-lived work runs inline.
void RunOnRuntimeThread(std::function<void()> work, Then then);

// RunOnRuntimeThread(..., Then::PumpUntilDone) for work with a result.
template <typename T>
T RunOnRuntimeThreadFor(const std::function<T()>& work) {
    T result{};
    RunOnRuntimeThread([&] { result = work(); }, Then::PumpUntilDone);
    return result;
}

// The calling thread's message-only window (made on first use, gone with the
// thread): other threads run work on this thread through it.
HWND ThreadEntryWindow();
// Runs work on the entry window's thread from its message loop, the caller
// waiting (inline on that thread). False when the window went first.
bool RunThroughMessageLoop(HWND entry, const std::function<void()>& work);

// Whether Cancel raises Completed inside the call (else from a runtime thread).
bool CancelCompletesInline() noexcept;

// Waits for the gate at `point` when a test has armed it (the first line of
// every simulated member passes its member's gate).
void PassGate(std::string_view point) noexcept;

}  // namespace sim::detail
