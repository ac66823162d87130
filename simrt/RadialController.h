// What the simulated radial-controller classes share between their files.
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Interop.h"
#include "tavlet/winapi/winrt/abi/UI.Input.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace sim {

// Event registrations of one event: tokens are unique in the process and never 0.
template <typename Handler>
class EventSource {
public:
    HRESULT Add(Handler* handler, abi::EventRegistrationToken* token) {
        if (!handler || !token) return E_POINTER;
        std::lock_guard guard(lock_);
        token->value = NextToken();
        handlers_[token->value].copy_from(handler);
        return S_OK;
    }
    // An unknown token (0 included) is not an error, as on the system.
    HRESULT Remove(abi::EventRegistrationToken token) {
        std::lock_guard guard(lock_);
        handlers_.erase(token.value);
        return S_OK;
    }
    long Count() {
        std::lock_guard guard(lock_);
        return static_cast<long>(handlers_.size());
    }
    // Calls every handler outside the lock; the first failure is the result.
    template <typename Sender, typename Args>
    HRESULT Raise(Sender* sender, Args* args, long* called) {
        std::vector<::winrt::com_ptr<Handler>> handlers;
        {
            std::lock_guard guard(lock_);
            for (auto& entry : handlers_) handlers.push_back(entry.second);
        }
        HRESULT result = S_OK;
        for (auto& handler : handlers) {
            HRESULT hr = handler->Invoke(sender, args);
            if (called) ++*called;
            if (hr < 0 && result >= 0) result = hr;
        }
        return result;
    }

private:
    static int64_t NextToken() {
        static std::atomic<int64_t> next{0};
        return ++next;
    }
    std::mutex lock_;
    std::map<int64_t, ::winrt::com_ptr<Handler>> handlers_;
};

// Runs `body` on a new thread of the runtime (in the multithreaded apartment)
// or on the calling thread, and returns its result.
HRESULT RunOnRuntimeThread(bool otherThread, const std::function<HRESULT()>& body);

// A new, empty menu for a controller.
::winrt::com_ptr<abi::Windows::UI::Input::IRadialControllerMenu> MakeRadialControllerMenu();
// The menu and everything its items hold.
long ObjectsKeptByMenu(abi::Windows::UI::Input::IRadialControllerMenu* menu);
// The menu of a controller by number (0: the newest); null if there is none.
::winrt::com_ptr<abi::Windows::UI::Input::IRadialControllerMenu> RadialControllerMenuOf(long controller);
// The number of one of the simulated controllers, 0 for anything else.
long RadialControllerNumber(abi::Windows::UI::Input::IRadialController* controller);

}  // namespace sim
