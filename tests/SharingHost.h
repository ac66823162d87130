// What the sharing tests share: a host window on the test's (UI) thread, its
// message loop, and callbacks that record what reached the host and where.
#pragma once

#include "RuntimeFixture.h"
#include "tavlet.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace sharing_test {

// Dispatches what the thread's message loop has; the host's completions arrive this way.
inline void Pump() {
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
}

inline bool PumpUntil(const std::function<bool()>& done) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (Pump(); !done(); Pump()) {
        if (std::chrono::steady_clock::now() > until) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// A runtime thread (multithreaded apartment) running body.
inline std::thread RuntimeThread(std::function<void()> body) {
    return std::thread([body = std::move(body)] {
        HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        body();
        if (SUCCEEDED(init)) CoUninitialize();
    });
}

// Runs body on a runtime thread (or, without COM, on a thread that never
// initialised it) while this thread first leaves its messages alone for a
// while, then pumps until the thread ends. True when the thread was still
// running after that while: it was waiting for this thread's message loop.
inline bool WaitedForTheLoop(const std::function<void()>& body, bool withCom = true) {
    std::atomic<bool> done{false};
    auto run = [&] {
        body();
        done = true;
    };
    std::thread thread = withCom ? RuntimeThread(run) : std::thread(run);
    Sleep(200);
    const bool waited = !done;
    PumpUntil([&] { return done.load(); });
    thread.join();
    return waited;
}

struct HostWindow {
    ~HostWindow() {
        DestroyWindow(window);
        Pump();
    }
    operator HWND() const { return window; }
    HWND window = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
};

// Every host callback as it arrived; the context is the recorder itself.
struct Completion {
    std::string target, path;
    const void* data;
    DWORD thread;
};
struct Completions {
    static void TAVLET_CALL OnData(const char* target, void* self, const void* data) {
        static_cast<Completions*>(self)->Add({Text(target), {}, data, GetCurrentThreadId()});
    }
    static void TAVLET_CALL OnFile(const char* target, void* self, const char* path) {
        static_cast<Completions*>(self)->Add({Text(target), Text(path), nullptr, GetCurrentThreadId()});
    }
    static std::string Text(const char* text) { return text ? text : "<null>"; }
    void Add(Completion call) {
        std::lock_guard guard(lock);
        calls.push_back(std::move(call));
    }
    size_t count() {
        std::lock_guard guard(lock);
        return calls.size();
    }
    Completion at(size_t i) {
        std::lock_guard guard(lock);
        return calls.at(i);
    }

    std::mutex lock;
    std::vector<Completion> calls;
};

// A file in Assets beside the executable (where an unpackaged host's icons
// live) for the life of the object; its name is unique to the process.
struct AssetFile {
    explicit AssetFile(const wchar_t* suffix) : name(std::to_wstring(GetCurrentProcessId()) + suffix) {
        wchar_t executable[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, executable, MAX_PATH);
        path = executable;
        path = path.substr(0, path.find_last_of(L"\\/")) + L"\\Assets";
        CreateDirectoryW(path.c_str(), nullptr);
        path += L"\\" + name;
        CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    ~AssetFile() { DeleteFileW(path.c_str()); }
    std::wstring name, path;
};

}  // namespace sharing_test
