// The scripted user: a run of a host program names a script
// (TAVLET_SIM_SCRIPT=FILE, or "default"), and the simulated runtime plays the
// user from it on a runtime thread of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace sim::detail {

// Starts the scripted user when the run names a script; once per process (the
// first activation calls it).
void StartScriptedUser();

// One step of a script as its action sees it.
struct StepContext {
    std::wstring text;  // the argument
    double number = 0;  // the argument, for numeric steps
    DWORD timeoutMs = 0;
    std::function<void(const std::string&)> say;  // what the user does, said as it does it
    std::string failure;                          // why the step failed
};

// One action of the user, as a script line names it ("dial rotate 15"): it
// waits (up to the step's timeout) for what it acts on, then acts.
struct UserStep {
    enum class Argument { None, Number, Text, OptionalText };
    const char* verb;
    Argument argument;
    bool (*act)(StepContext& step);
};
const std::vector<UserStep>& UserSteps();

// What the user notices without acting (a change Windows does not show), said
// like an action while a script plays; nothing otherwise.
void Notice(const std::string& line);

// UTF-16 to UTF-8 and back, for scripts and the user's log.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace sim::detail
