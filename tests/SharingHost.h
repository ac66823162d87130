// What the sharing tests share: a host window on the test's (UI) thread, its
// message loop, and callbacks that record what reached the host and where.
#pragma once

#include "RuntimeFixture.h"
#include "tavlet.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sharing_test {

// Dispatches what the thread's message loop has; the host's completions
// arrive this way.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps until done() or the timeout; true when done.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Pump();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > until) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Runs body on a runtime thread (multithreaded apartment) while the test's
// thread keeps its message loop going, as a UI thread does.
inline void OnRuntimeThread(const std::function<void()>& body) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        body();
        if (SUCCEEDED(init)) CoUninitialize();
        done = true;
    });
    PumpUntil([&] { return done.load(); }, std::chrono::seconds(30));
    worker.join();
}

// A top-level window of the host.
class HostWindow {
public:
    HostWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"tavlet host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    }
    ~HostWindow() {
        if (window_) DestroyWindow(window_);
        Pump();
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    operator HWND() const { return window_; }

private:
    HWND window_ = nullptr;
};

// One host callback as it arrived.
struct Completion {
    std::string target;
    void* context = nullptr;
    std::string pathOrEmpty;
    const void* data = nullptr;
    DWORD thread = 0;
};

class Completions {
public:
    static void TAVLET_CALL OnData(const char* target, void* context, const void* data) {
        auto* self = static_cast<Completions*>(context);
        std::lock_guard guard(self->lock_);
        self->calls_.push_back(Completion{target ? target : "<null>", context, {}, data, GetCurrentThreadId()});
    }
    static void TAVLET_CALL OnFile(const char* target, void* context, const char* path) {
        auto* self = static_cast<Completions*>(context);
        std::lock_guard guard(self->lock_);
        self->calls_.push_back(Completion{target ? target : "<null>", context, path ? path : "<null>", nullptr,
                                          GetCurrentThreadId()});
    }
    size_t count() {
        std::lock_guard guard(lock_);
        return calls_.size();
    }
    void clear() {
        std::lock_guard guard(lock_);
        calls_.clear();
    }
    Completion at(size_t i) {
        std::lock_guard guard(lock_);
        return calls_.at(i);
    }

private:
    std::mutex lock_;
    std::vector<Completion> calls_;
};

// The test executable's directory (where an unpackaged host's icons live).
inline std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L"\\/"));
}

// A file that exists for the life of the object.
class TempFile {
public:
    explicit TempFile(std::wstring path) : path_(std::move(path)) {
        auto slash = path_.find_last_of(L'\\');
        CreateDirectoryW(path_.substr(0, slash).c_str(), nullptr);
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, "\x89PNG", 4, &written, nullptr);
            CloseHandle(file);
        }
    }
    ~TempFile() { DeleteFileW(path_.c_str()); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace sharing_test
