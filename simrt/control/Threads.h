// Control of the simulated runtime's threads: where its side of a control
// call runs, pumping, background calls, gates and the scripted user.
#pragma once

#include "Export.h"

#include <windows.h>

#include <functional>
#include <string>

namespace sim {

// ---- Runtime threads, pumping and gates -------------------------------------
// As on Windows, the runtime side of a control call (events, completions,
// share UI steps, deferred-data requests, provider picks, file loads, stream
// operations) runs on the runtime's own threads (MTA), and the control call
// waits for it while pumping the calling thread's messages, as a host's
// message loop would. Calling-thread delivery runs it synchronously instead.
enum class Delivery { RuntimeThreads, CallingThread };
SIMRT_API void SetDelivery(Delivery delivery);  // Reset: RuntimeThreads
SIMRT_API bool IsRuntimeThread();
// Pumps the calling thread's messages until done() or the timeout; returns done().
SIMRT_API bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
SIMRT_API void PumpFor(DWORD ms);
// Pumps until every piece of runtime-thread work has ended (fire-and-forget
// completions included).
SIMRT_API bool WaitForRuntimeIdle(DWORD timeoutMs = 10000);

// A control call started on a runtime thread without waiting for it, so a test
// can act while it runs (or while it is held at a gate).
struct BackgroundCall;
SIMRT_API BackgroundCall* StartBackground(std::function<void()> work);
SIMRT_API bool FinishBackground(BackgroundCall* call, DWORD timeoutMs = 10000);  // pumps meanwhile
class Background {
public:
    explicit Background(std::function<void()> work) : call_(StartBackground(std::move(work))) {}
    ~Background() { Finish(); }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    bool Finish(DWORD timeoutMs = 10000) {
        if (call_ && FinishBackground(call_, timeoutMs)) call_ = nullptr;
        return call_ == nullptr;
    }

private:
    BackgroundCall* call_;
};

// Gates: the next thread that reaches `point` (a member as named for fault
// injection, e.g. "IDataWriter.WriteBytes", or "IContextCallback.ContextCallback")
// stops there until the test releases it. WaitUntilHeld pumps meanwhile.
SIMRT_API void HoldNext(const std::string& point);
SIMRT_API bool WaitUntilHeld(const std::string& point, DWORD timeoutMs = 10000);
SIMRT_API void Release(const std::string& point);
SIMRT_API void ReleaseAllGates();

// Canceling a simulated operation makes it Canceled at once and raises
// Completed afterwards from a runtime thread, as the system's operations do;
// with this on, Completed is raised inside Cancel instead (some system
// operations do that). Reset: off.
SIMRT_API void SetCancelCompletesInline(bool inlineCompletion);

// The scripted user: a run that names a script (environment variable
// TAVLET_SIM_SCRIPT = a file, or "default") is played from the first
// activation on, on a runtime thread of its own. True while it plays.
SIMRT_API bool ScriptedUserPlaying();

}  // namespace sim
