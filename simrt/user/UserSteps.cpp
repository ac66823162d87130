// What the scripted user does: turns and presses the dial, invokes menu items,
// answers pin requests, and works the share UI as the user and a target do.
// Each step first waits for what it acts on and for the host to have pumped.
#include "ScriptedUser.h"
#include "SimRuntime.h"

#include <algorithm>
#include <cstdio>

namespace sim::detail {
namespace {

// Applications the share UI lists besides the host's own providers.
const std::vector<std::wstring> kInstalledTargets{L"Mail", L"Nearby sharing"};

// The script's thread has nothing to pump: it polls.
template <typename Ready>
bool WaitFor(Ready ready, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!ready()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(10);
    }
    return true;
}

// A message sent to the host's window comes back only once the window's
// thread takes sent messages (its message loop, or a wait that pumps), so
// whatever the host set up in one go — a dial and its handlers, a pin request
// and its completion handler — is complete by then.
bool HostPumped(HWND window, StepContext& step) {
    DWORD_PTR result = 0;
    if (!window || !IsWindow(window) ||
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, step.timeoutMs, &result))
        return true;
    step.failure = "the host's window did not pump messages";
    return false;
}

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr));
    return text;
}

std::string Quoted(const std::wstring& text) { return "\"" + Narrow(text) + "\""; }

bool Failed(StepContext& step, const std::string& what, HRESULT hr) {
    if (hr >= 0) return false;
    step.failure = what + " failed with " + Hex(hr);
    return true;
}

// ---- Dial ----

bool DialReady(StepContext& step) {
    if (!WaitFor([] { return RadialControllersCreated() > 0; }, step.timeoutMs)) {
        step.failure = "no dial was created";
        return false;
    }
    return HostPumped(RadialControllerWindow(0), step);
}

bool RaiseOnDial(StepContext& step, DialEvent event, const DialEventData& data, const std::string& what) {
    if (!DialReady(step)) return false;
    step.say(what);
    long called = 0;
    const std::string why = WhyDialInputReachesNoApp(event);
    HRESULT hr = RaiseDialEvent(event, data, 0, &called);
    if (hr == kDialInputReachedNoApp) {
        step.failure = "it reached no app: " + (why.empty() ? WhyDialInputReachesNoApp(event) : why);
        return false;
    }
    if (Failed(step, "the dial's handler", hr)) return false;
    if (called == 0) {
        step.failure = "the host has no handler for it";
        return false;
    }
    return true;
}

bool Rotate(StepContext& step) {
    DialEventData data;
    data.rotationDeltaInDegrees = step.number;
    data.hasContact = false;  // the dial on the desk, not on the screen
    char what[64];
    std::snprintf(what, sizeof what, "turns the dial by %g degrees", step.number);
    return RaiseOnDial(step, DialEvent::RotationChanged, data, what);
}

bool Press(StepContext& step) {
    DialEventData data;
    data.hasContact = false;
    return RaiseOnDial(step, DialEvent::ButtonPressed, data, "presses the dial");
}

// An item by index (digits) or by its text, once the menu has settled: the
// library swallows the Invoked event that selecting a new item echoes, so an
// invocation raced with an addition could be the one swallowed.
bool InvokeItem(StepContext& step) {
    const bool byIndex =
        std::all_of(step.text.begin(), step.text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    auto find = [&](long count) -> long {
        if (byIndex) {
            const long index = std::wcstol(step.text.c_str(), nullptr, 10);
            return index < count ? index : -1;
        }
        for (long i = 0; i < count; ++i)
            if (MenuItemText(0, i) == step.text) return i;
        return -1;
    };
    constexpr ULONGLONG kSettled = 300;  // ms without a new item
    long index = -1, seen = -1;
    ULONGLONG changed = 0;
    auto ready = [&] {
        const long count = MenuItemCount(0);
        const ULONGLONG now = GetTickCount64();
        if (count != seen) {
            seen = count;
            changed = now;
        }
        index = find(count);
        return index >= 0 && now - changed >= kSettled;
    };
    if (!WaitFor(ready, step.timeoutMs)) {
        step.failure = "the dial's menu has no item " + (byIndex ? Narrow(step.text) : Quoted(step.text));
        return false;
    }
    if (!HostPumped(RadialControllerWindow(0), step)) return false;
    step.say("picks " + Quoted(MenuItemText(0, index)) + " (index " + std::to_string(index) + ") in the dial's menu");
    const HRESULT hr = InvokeMenuItem(0, index);
    if (hr == kDialInputReachedNoApp) {
        step.failure = "the menu shows only the system's tools: the dial's window is not in front";
        return false;
    }
    return !Failed(step, "the item's handler", hr);
}

// The user clicks the dial's window (it must be shown), or the desktop.
bool FrontWindow(StepContext& step) {
    if (!DialReady(step)) return false;
    HWND window = GetAncestor(RadialControllerWindow(0), GA_ROOT);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    step.say("brings the window " + Quoted(title) + " to the front");
    if (SetWindowInFront(window)) return true;
    step.failure = "the window is not shown";
    return false;
}

bool FrontDesktop(StepContext& step) {
    step.say("clicks the desktop: Explorer's tools take the dial");
    return SetWindowInFront(nullptr);
}

bool SystemTool(StepContext& step) {
    step.say("picks one of the system's tools in the dial's menu");
    SelectSystemDialTool();
    return true;
}

bool OnScreen(StepContext& step) {
    step.say("puts the dial on the screen");
    SetDialOnScreen(true);
    return true;
}

bool OnDesk(StepContext& step) {
    step.say("puts the dial on the desk");
    SetDialOnScreen(false);
    return true;
}

// ---- Pin requests ----

HWND TileWindow(const std::wstring& tileId) {
    for (long i = SecondaryTileCount() - 1; i >= 0; --i) {
        auto tile = SecondaryTileAt(i);
        if (tile.tileId == tileId && tile.window) return tile.window;
    }
    return nullptr;
}

// A request that Windows refused shows no dialog: the user is told once.
long NextRefusedRequest() {
    static long told = -1;
    for (long i = told + 1, count = TileRequestCount(); i < count; ++i)
        if (TileRequestAt(i).refused < 0) return told = i;
    return -1;
}

bool AnswerPin(StepContext& step, bool confirm) {
    long index = -1, refused = -1;
    if (!WaitFor([&] { return (index = PendingTileRequest()) >= 0 || (refused = NextRefusedRequest()) >= 0; },
                 step.timeoutMs)) {
        step.failure = "no pin request is waiting";
        return false;
    }
    if (index < 0) {
        const auto request = TileRequestAt(refused);
        step.say("sees no dialog: Windows refused " + std::string(request.isDelete ? "unpinning" : "pinning") +
                 " tile " + Quoted(request.tileId) + " with " + Hex(request.refused) + " (" + request.refusedBecause +
                 ")");
        return true;
    }
    const auto request = TileRequestAt(index);
    if (HWND window = TileWindow(request.tileId)) {
        if (!HostPumped(window, step)) return false;
    } else {
        // No owner window to sync with: give the host a moment to register
        // its completion handler (a host that polls never does).
        WaitFor([&] { return TileRequestAt(index).hasHandler; }, std::min<DWORD>(step.timeoutMs, 1000));
    }
    step.say(std::string(confirm ? "confirms " : "declines ") + (request.isDelete ? "unpinning" : "pinning") +
             " tile " + Quoted(request.tileId));
    if (!CompleteTileRequest(index, confirm)) {
        step.failure = "the request ended before the answer";
        return false;
    }
    return true;
}

bool Confirm(StepContext& step) { return AnswerPin(step, true); }
bool Decline(StepContext& step) { return AnswerPin(step, false); }

// ---- Share UI ----

// Waits for an open share UI and for its window to pump. Null on failure.
HWND ShareUIShown(StepContext& step) {
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = OpenShareUIWindow()) != nullptr; }, step.timeoutMs)) {
        step.failure = "no share UI opened";
        return nullptr;
    }
    return HostPumped(window, step) ? window : nullptr;
}

// As the share UI opens it asks the host for the data and for its share
// providers. Null on failure.
HWND OpenShareUI(StepContext& step) {
    HWND window = ShareUIShown(step);
    if (!window) return nullptr;
    if (!ShareUIPackage(window).requested && Failed(step, "DataRequested", ShareUIRequestData(window))) return nullptr;
    if (ShareUIPackage(window).failed) {
        step.failure = "the share UI reports that sharing failed: the package has no title (Windows requires one)";
        return nullptr;
    }
    if (Failed(step, "ShareProvidersRequested", ShareUIRequestProviders(window, kInstalledTargets))) return nullptr;
    return window;
}

bool Offers(const SharedPackage& package, const wchar_t* format) {
    return std::find(package.formats.begin(), package.formats.end(), format) != package.formats.end();
}

// The chosen target takes what the package holds: an image it asks for (and
// waits for, as the host renders it on demand), files, or the text.
bool TargetReceives(StepContext& step, HWND window, const std::string& target) {
    const auto package = ShareUIPackage(window);
    if (Offers(package, L"Bitmap")) {
        step.say(target + " asks for the image");
        if (Failed(step, "the image's request", ShareUIRequestBitmap(window))) return false;
        step.say(target + " receives the image (" + std::to_string(ShareUIBitmapBytes(window).size()) + " bytes)");
    } else if (!package.storageItems.empty()) {
        for (auto& path : package.storageItems) step.say(target + " receives the file " + Quoted(path));
    } else if (package.hasText) {
        step.say(target + " receives the text " + Quoted(package.text));
    }
    return true;
}

bool ShareToTarget(StepContext& step) {
    HWND window = OpenShareUI(step);
    if (!window) return false;
    step.say("chooses " + Quoted(step.text) + " in the share UI");
    if (Failed(step, "TargetApplicationChosen", ShareUIChooseTarget(window, step.text))) return false;
    if (!TargetReceives(step, window, Narrow(step.text))) return false;
    step.say(Narrow(step.text) + " completes the share");
    return !Failed(step, "ShareCompleted", ShareUIComplete(window));
}

// Without a title: the first listed provider that is not an installed application.
bool PickProvider(StepContext& step) {
    HWND window = OpenShareUI(step);
    if (!window) return false;
    const auto titles = ShareUIProviderTitles(window);
    auto chosen = std::find_if(titles.begin(), titles.end(), [&](const std::wstring& title) {
        if (!step.text.empty()) return title == step.text;
        return std::find(kInstalledTargets.begin(), kInstalledTargets.end(), title) == kInstalledTargets.end();
    });
    if (chosen == titles.end()) {
        step.failure = "no share provider " + (step.text.empty() ? std::string("of the host") : Quoted(step.text)) +
                       " is listed (listed:";
        for (auto& title : titles) step.failure += " " + Quoted(title);
        step.failure += ")";
        return false;
    }
    step.say("picks the share provider " + Quoted(*chosen));
    const long reported = ShareProviderOperationsReported();
    if (Failed(step, "the provider's handler", ShareUIPickProvider(window, *chosen))) return false;
    // The provider has the data now; the share UI goes away.
    ShareUIDismiss(window);
    if (ShareProviderOperationsReported() == reported) {
        step.failure = "the provider did not report completion";
        return false;
    }
    step.say(Narrow(*chosen) + " reported completion; the share UI closes");
    return true;
}

// The user closes the open share UI without sharing, in one of two ways.
bool CloseShareUI(StepContext& step, const char* action, void (*close)(HWND)) {
    HWND window = ShareUIShown(step);
    if (!window) return false;
    step.say(action);
    close(window);
    return true;
}
bool Dismiss(StepContext& step) { return CloseShareUI(step, "dismisses the share UI", ShareUIDismiss); }
bool CopyLink(StepContext& step) {
    return CloseShareUI(step, "copies the link; the share UI closes, and the host hears neither completion nor cancel",
                        ShareUICopyLink);
}

bool Pause(StepContext& step) {
    Sleep(static_cast<DWORD>(std::clamp(step.number, 0.0, 600000.0)));
    return true;
}

}  // namespace

const std::vector<UserStep>& UserSteps() {
    using Argument = UserStep::Argument;
    static const auto* steps = new std::vector<UserStep>{  // never destroyed (nothing runs at process end)
        {"dial rotate", Argument::Number, Rotate},
        {"dial press", Argument::None, Press},
        {"menu invoke", Argument::Text, InvokeItem},
        {"menu system tool", Argument::None, SystemTool},
        {"window front", Argument::None, FrontWindow},
        {"window desktop", Argument::None, FrontDesktop},
        {"dial on screen", Argument::None, OnScreen},
        {"dial on desk", Argument::None, OnDesk},
        {"pin confirm", Argument::None, Confirm},
        {"pin decline", Argument::None, Decline},
        {"share target", Argument::Text, ShareToTarget},
        {"share provider", Argument::OptionalText, PickProvider},
        {"share dismiss", Argument::None, Dismiss},
        {"share copy link", Argument::None, CopyLink},
        {"wait", Argument::Number, Pause},
    };
    return *steps;
}

}  // namespace sim::detail
