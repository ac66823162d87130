// The scripted user: reads the script the run names, checks every line, and
// plays it on a runtime thread of its own, saying each action on stderr as
// "[user] ..." so that it reads between the host's own output.
#include "ScriptedUser.h"
#include "RuntimeThreads.h"

#include <atomic>
#include <cstdlib>

namespace sim::detail {
namespace {

// The default script walks the sample host's flows once, in their order.
constexpr char kDefaultScript[] = R"(# The default user: the sample host's flows, in their order.
window front
dial rotate 15
dial press
menu invoke Brush
pin confirm
share target Mail
share target Mail
share provider
)";

constexpr DWORD kDefaultTimeoutMs = 10000;

std::atomic<bool> playing{false};

void Say(const std::string& line) {
    const std::string text = "[user] " + line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// One checked line: a step with its argument, or a new timeout (step null).
struct Line {
    int number = 0;
    std::string text;
    const UserStep* step = nullptr;
    StepContext context;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

// The step a line names: the longest verb that the line starts with as whole words.
const UserStep* Match(const std::string& line, std::string& argument) {
    const UserStep* found = nullptr;
    for (auto& step : UserSteps()) {
        const std::string verb = step.verb;
        if (line.compare(0, verb.size(), verb) != 0) continue;
        if (line.size() > verb.size() && line[verb.size()] != ' ' && line[verb.size()] != '\t') continue;
        if (!found || verb.size() > std::string(found->verb).size()) found = &step;
    }
    if (found) argument = Trim(line.substr(std::string(found->verb).size()));
    return found;
}

// Every line is checked before the user does anything: a script with a
// mistake is reported whole and not played.
bool Parse(const std::string& script, std::vector<Line>& lines) {
    bool ok = true;
    size_t start = 0;
    for (int number = 1; start <= script.size(); ++number) {
        size_t end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        std::string text = script.substr(start, end - start);
        start = end + 1;
        text = Trim(text.substr(0, text.find('#')));
        if (text.empty()) continue;
        Line line;
        line.number = number;
        line.text = text;
        std::string argument;
        bool valid;
        if (text.compare(0, 8, "timeout ") == 0) {
            valid = ParseNumber(Trim(text.substr(8)), line.context.number) && line.context.number >= 0;
        } else if ((line.step = Match(text, argument))) {
            using Argument = UserStep::Argument;
            line.context.text = Widen(argument);
            switch (line.step->argument) {
            case Argument::None: valid = argument.empty(); break;
            case Argument::Number: valid = ParseNumber(argument, line.context.number); break;
            case Argument::Text: valid = !argument.empty(); break;
            default: valid = true; break;
            }
        } else {
            valid = false;
        }
        if (!valid) {
            Say("line " + std::to_string(number) + ": cannot read \"" + text + "\"");
            ok = false;
        }
        lines.push_back(std::move(line));
    }
    return ok;
}

bool ReadScript(const std::wstring& name, std::string& script) {
    if (name == L"default") {
        script = kDefaultScript;
        return true;
    }
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) script.append(buffer, read);
    CloseHandle(file);
    return true;
}

void Play(std::vector<Line> lines) {
    DWORD timeoutMs = kDefaultTimeoutMs;
    int steps = 0, failed = 0;
    for (auto& line : lines) {
        if (!line.step) {
            timeoutMs = static_cast<DWORD>(line.context.number);
            continue;
        }
        ++steps;
        line.context.timeoutMs = timeoutMs;
        line.context.say = Say;
        if (!line.step->act(line.context)) {
            ++failed;
            Say("line " + std::to_string(line.number) + " (" + line.text + "): " + line.context.failure +
                "; going on");
        }
    }
    Say("script done: " + std::to_string(steps) + " steps, " + std::to_string(failed) + " failed");
    playing = false;
}

}  // namespace

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

void Notice(const std::string& line) {
    if (playing) Say(line);
}

void StartScriptedUser() {
    static std::atomic<bool> started{false};
    if (started.exchange(true)) return;
    wchar_t name[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"TAVLET_SIM_SCRIPT", name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::string script;
    if (!ReadScript(name, script)) {
        Say("cannot read the script " + Narrow(name));
        return;
    }
    std::vector<Line> lines;
    if (!Parse(script, lines)) {
        Say("the script " + Narrow(name) + " is not played");
        return;
    }
    playing = true;
    RunOnRuntimeThread([lines = std::move(lines)]() mutable { Play(std::move(lines)); }, Then::LeaveRunning);
}

}  // namespace sim::detail

bool sim::ScriptedUserPlaying() { return sim::detail::playing; }
