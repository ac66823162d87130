// The COM context stand-in (test support). Where the platform cannot enter a
// captured COM context (Wine's IContextCallback::ContextCallback is a stub),
// tavlet.dll's import of ole32!CoGetObjectContext is redirected here and hands
// out contexts that behave like the system's. Only tavlet.dll's calls are
// redirected: the tests' and the simulated runtime's stay on the platform's.
#include "RuntimeThreads.h"
#include "SimObject.h"
#include "tavlet/winapi/winrt/base/ComObject.h"

#include <ctxtcall.h>
#include <objbase.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace sim {
namespace {

using CoGetObjectContextFunction = HRESULT(WINAPI*)(REFIID, void**);

// What tavlet.dll's import slot held before: the platform's function.
std::atomic<CoGetObjectContextFunction> platformCoGetObjectContext{nullptr};

// Whether the platform can run a callback in a context at all, found once.
enum class Decision { Undecided, Platform, StandIn };
std::atomic<Decision> decision{Decision::Undecided};

HRESULT WINAPI DoNothing(ComCallData*) { return S_OK; }

Decision DecideFor(IContextCallback* context) {
    Decision current = decision.load();
    if (current != Decision::Undecided) return current;
    // Entering the context one is in is the least a working implementation does.
    ComCallData data{};
    Decision found = SUCCEEDED(context->ContextCallback(DoNothing, &data,
                                                         abi::IID_ICallbackWithNoReentrancyToApplicationSTA, 5, nullptr))
                         ? Decision::Platform
                         : Decision::StandIn;
    decision.compare_exchange_strong(current, found);
    return decision.load();
}

// The last error as an HRESULT, never a success.
HRESULT LastError() noexcept {
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_UNEXPECTED;
}

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// A callback carried to another thread, with its result.
struct Call {
    PFNCONTEXTCALL callback;
    ComCallData* data;
    HRESULT result;
    void Run() noexcept { result = callback(data); }
};

// The window class is private, so any message id is free.
constexpr UINT kEnterMessage = WM_APP, kWorkMessage = WM_APP + 1;

LRESULT CALLBACK EntryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWorkMessage) (*reinterpret_cast<const std::function<void()>*>(lParam))();
    if (message != kEnterMessage) return DefWindowProcW(window, message, wParam, lParam);
    reinterpret_cast<Call*>(lParam)->Run();
    return 0;
}

}  // namespace

// The calling thread's message-only window, made the first time one of its
// contexts is captured (or the thread's loop is asked for). It goes with its thread.
HWND detail::ThreadEntryWindow() {
    static constexpr wchar_t kClassName[] = L"tavlet.simrt.ContextStandIn";
    const auto module = reinterpret_cast<HINSTANCE>(&__ImageBase);
    static const bool registered = [module] {
        WNDCLASSW description{};
        description.lpfnWndProc = EntryWindowProc;
        description.hInstance = module;
        description.lpszClassName = kClassName;
        return RegisterClassW(&description) != 0;
    }();
    thread_local HWND window = nullptr;
    if (registered && (!window || !IsWindow(window)))
        window = CreateWindowExW(0, kClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
    return window;
}

bool detail::RunThroughMessageLoop(HWND entry, const std::function<void()>& work) {
    if (GetWindowThreadProcessId(entry, nullptr) == GetCurrentThreadId()) return work(), true;
    return SendMessageW(entry, kWorkMessage, 0, reinterpret_cast<LPARAM>(&work)), IsWindow(entry);
}

namespace {

DWORD WINAPI RunInMultithreadedApartment(void* parameter) {
    auto& call = *static_cast<Call*>(parameter);
    HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(init)) {
        call.result = init;
        return 0;
    }
    call.Run();
    CoUninitialize();
    return 0;
}

// The context of one thread, captured on it.
class ContextStandIn final : public tavlet::winapi::winrt::ComObject<ContextStandIn, IContextCallback> {
public:
    static HRESULT Capture(::winrt::com_ptr<IContextCallback> platform, void** out) noexcept {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        if (HRESULT hr = CoGetApartmentType(&type, &qualifier); FAILED(hr)) return hr;
        const bool singleThreaded = type == APTTYPE_STA || type == APTTYPE_MAINSTA;
        HWND window = singleThreaded ? detail::ThreadEntryWindow() : nullptr;
        UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId()));
        if (!thread || (singleThreaded && !window)) return LastError();
        auto* standIn = new (std::nothrow) ContextStandIn(std::move(platform), std::move(thread), window);
        if (!standIn) return E_OUTOFMEMORY;
        *out = static_cast<IContextCallback*>(standIn);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE ContextCallback(PFNCONTEXTCALL callback, ComCallData* data, REFIID, int,
                                              IUnknown*) noexcept override {
        if (!callback) return E_INVALIDARG;
        APTTYPE caller{};
        APTTYPEQUALIFIER qualifier{};
        if (FAILED(CoGetApartmentType(&caller, &qualifier))) return CO_E_NOTINITIALIZED;
        if (GetCurrentThreadId() == threadId_) return callback(data);
        // Tests hold a caller here to act before it enters.
        sim::detail::PassGate("IContextCallback.ContextCallback");
        if (WaitForSingleObject(thread_.get(), 0) != WAIT_TIMEOUT) return RPC_E_DISCONNECTED;
        if (window_) {
            // As the system does for a single-threaded apartment: the caller
            // waits until the thread's message loop takes the call.
            // The result stays RPC_E_DISCONNECTED if the thread ends first.
            Call call{callback, data, RPC_E_DISCONNECTED};
            SendMessageW(window_, kEnterMessage, 0, reinterpret_cast<LPARAM>(&call));
            return call.result;
        }
        if (caller == APTTYPE_MTA) return callback(data);
        return RunOnHelper(callback, data);
    }

private:
    ContextStandIn(::winrt::com_ptr<IContextCallback> platform, UniqueHandle thread, HWND window) noexcept
        : platform_(std::move(platform)), threadId_(GetCurrentThreadId()), thread_(std::move(thread)),
          window_(window) {}

    // A multithreaded context entered from a single-threaded apartment: on a
    // short-lived thread of the multithreaded apartment.
    static HRESULT RunOnHelper(PFNCONTEXTCALL callback, ComCallData* data) noexcept {
        Call call{callback, data, E_UNEXPECTED};
        UniqueHandle helper(CreateThread(nullptr, 0, RunInMultithreadedApartment, &call, 0, nullptr));
        if (!helper) return LastError();
        // The apartment thread waits the way COM waits for an outgoing call,
        // taking calls sent to it meanwhile; the call lives on this stack, so
        // the helper is waited for however that wait ends.
        HANDLE handles[] = {helper.get()};
        DWORD index = 0;
        CoWaitForMultipleHandles(0, INFINITE, 1, handles, &index);
        WaitForSingleObject(helper.get(), INFINITE);
        return call.result;
    }

    // Keeps the platform's context alive: released, its address (the
    // context token the library compares) could be reused on another thread.
    ::winrt::com_ptr<IContextCallback> platform_;
    DWORD threadId_;
    UniqueHandle thread_;
    HWND window_;  // set for a single-threaded apartment
};

HRESULT WINAPI StandInCoGetObjectContext(REFIID iid, void** out) {
    if (HRESULT injected = detail::InjectedFault("CoGetObjectContext"); FAILED(injected)) {
        if (out) *out = nullptr;
        return injected;
    }
    HRESULT hr = platformCoGetObjectContext.load()(iid, out);
    if (FAILED(hr) || iid != abi::guid_v<IContextCallback>) return hr;
    ::winrt::com_ptr<IContextCallback> platform;
    platform.attach(static_cast<IContextCallback*>(*out));
    if (DecideFor(platform.get()) == Decision::Platform) {
        *out = platform.detach();
        return S_OK;
    }
    *out = nullptr;
    return ContextStandIn::Capture(std::move(platform), out);
}

// The import-address-table slot through which a module calls an imported
// function, found by the names of the DLL and the function.
void** ImportSlot(HMODULE module, const char* dllName, const char* functionName) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return nullptr;
    for (auto* imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); imports->Name;
         ++imports) {
        if (_stricmp(reinterpret_cast<const char*>(base + imports->Name), dllName) != 0 ||
            !imports->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imports->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imports->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), functionName) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

// Never destroyed: nothing of the simulated runtime runs at the end of the
// process, when its other threads may have been stopped holding any lock.
std::mutex& installLock = *new std::mutex();

void** LibrarySlot(const char* dllName = "ole32.dll", const char* functionName = "CoGetObjectContext") {
    HMODULE library = GetModuleHandleW(L"tavlet.dll");
    return library ? ImportSlot(library, dllName, functionName) : nullptr;
}

void* Exchange(void** slot, void* replacement) {
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return nullptr;
    void* previous = InterlockedExchangePointer(slot, replacement);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return previous;
}

}  // namespace

bool InstallContextStandIn() {
    detail::InstallPackageIdentity();
    std::lock_guard guard(installLock);
    void** slot = LibrarySlot();
    if (!slot) return false;
    auto* replacement = reinterpret_cast<void*>(&StandInCoGetObjectContext);
    if (*slot == replacement) return true;
    platformCoGetObjectContext = reinterpret_cast<CoGetObjectContextFunction>(*slot);
    return Exchange(slot, replacement) != nullptr;
}

void* ReplaceLibraryImport(const char* dllName, const char* functionName, void* replacement) {
    std::lock_guard guard(installLock);
    void** slot = LibrarySlot(dllName, functionName);
    return slot ? Exchange(slot, replacement) : nullptr;
}

void* detail::ReplaceProgramImport(const char* dllName, const char* functionName, void* replacement) {
    std::lock_guard guard(installLock);
    void** slot = ImportSlot(GetModuleHandleW(nullptr), dllName, functionName);
    return slot ? Exchange(slot, replacement) : nullptr;
}

bool ContextStandInActive() {
    {
        std::lock_guard guard(installLock);
        void** slot = LibrarySlot();
        if (!slot || *slot != reinterpret_cast<void*>(&StandInCoGetObjectContext)) return false;
    }
    if (decision.load() == Decision::Undecided) {
        // Nothing captured yet: the platform is asked on a thread of its own.
        std::thread([] {
            if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
            {
                ::winrt::com_ptr<IContextCallback> context;
                if (SUCCEEDED(platformCoGetObjectContext.load()(abi::guid_v<IContextCallback>, context.put_void())))
                    DecideFor(context.get());
            }
            CoUninitialize();
        }).join();
    }
    return decision.load() == Decision::StandIn;
}

}  // namespace sim
