// The registrations of one simulated event: every add_/remove_ pair of the
// simulated runtime keeps its handlers here and raises them from here.
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Base.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace sim {

// Tokens are unique in the process and never 0, as the system's are.
inline int64_t NextEventToken() noexcept {
    static std::atomic<int64_t> last{0};
    return ++last;
}

// What the handlers of one raise answered.
struct Raised {
    long called = 0;
    HRESULT first = S_OK;  // the first failing handler's HRESULT
    HRESULT last = S_OK;   // the last failing handler's HRESULT
};

template <typename Handler>
class EventSource {
public:
    // A null handler is refused as the system refuses it; a null token is a bad out-parameter.
    HRESULT Add(Handler* handler, abi::EventRegistrationToken* token) {
        if (!token) return E_POINTER;
        if (!handler) return E_INVALIDARG;
        std::lock_guard guard(lock_);
        token->value = NextEventToken();
        handlers_[token->value].copy_from(handler);
        return S_OK;
    }
    // An unknown token (0 included) is not an error, as on the system. The
    // handler is released after the lock.
    HRESULT Remove(abi::EventRegistrationToken token) {
        ::winrt::com_ptr<Handler> gone;
        std::lock_guard guard(lock_);
        if (auto found = handlers_.find(token.value); found != handlers_.end()) {
            gone = std::move(found->second);
            handlers_.erase(found);
        }
        return S_OK;
    }
    long Count() {
        std::lock_guard guard(lock_);
        return static_cast<long>(handlers_.size());
    }
    // Calls every handler on the calling thread, outside the lock, over a copy
    // of the list (a handler may remove itself or others).
    template <typename Sender, typename Args>
    Raised Raise(Sender* sender, Args* args) {
        std::vector<::winrt::com_ptr<Handler>> handlers;
        {
            std::lock_guard guard(lock_);
            for (auto& entry : handlers_) handlers.push_back(entry.second);
        }
        Raised raised;
        for (auto& handler : handlers) {
            HRESULT hr = handler->Invoke(sender, args);
            ++raised.called;
            if (hr >= 0) continue;
            if (raised.first >= 0) raised.first = hr;
            raised.last = hr;
        }
        return raised;
    }

private:
    std::mutex lock_;
    std::map<int64_t, ::winrt::com_ptr<Handler>> handlers_;
};

// The add_ and remove_ members of an event kept in `source`; `Interface` and
// `Event` name them for the fault-injection hook. `check` (an HRESULT) is
// what the source answers before acting, for a source that refuses some callers.
#define SIM_EVENT_CHECKED(Interface, Event, Handler, source, check)                                   \
    HRESULT STDMETHODCALLTYPE add_##Event(Handler* handler, ::abi::EventRegistrationToken* token) noexcept override { \
        SIM_FAULT(#Interface ".add_" #Event);                                                         \
        if (HRESULT refused = (check); FAILED(refused)) return refused;                               \
        return source.Add(handler, token);                                                            \
    }                                                                                                 \
    HRESULT STDMETHODCALLTYPE remove_##Event(::abi::EventRegistrationToken token) noexcept override { \
        SIM_FAULT(#Interface ".remove_" #Event);                                                      \
        if (HRESULT refused = (check); FAILED(refused)) return refused;                               \
        return source.Remove(token);                                                                  \
    }
#define SIM_EVENT(Interface, Event, Handler, source) SIM_EVENT_CHECKED(Interface, Event, Handler, source, S_OK)

}  // namespace sim
