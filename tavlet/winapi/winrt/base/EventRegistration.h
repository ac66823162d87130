// One handler registered on one runtime event: removed when reset, assigned
// over or destroyed. A removal the runtime refuses is never dropped: Reset
// keeps it for the owner to retry, and assignment and destruction hand it to
// a process-wide list that RetryRefused tries again (the handler itself must
// then find nothing to do: the runtime may still call it). The event of a
// source that is not agile is removed only on the thread that registered it;
// elsewhere the removal waits as a refused one does.
#pragma once

#include "ComPtr.h"

#include <windows.h>

#include <functional>
#include <utility>

namespace tavlet::winapi::winrt {

class EventRegistration {
public:
    using Remover = std::function<HRESULT(abi::EventRegistrationToken)>;
    // Where the source may be called: on any thread, or (not agile) only on
    // the thread that registered.
    enum class Affinity { AnyThread, ThisThreadOnly };

    EventRegistration() = default;
    EventRegistration(Remover remove, abi::EventRegistrationToken token) noexcept
        : remove_(std::move(remove)), token_(token) {}
    EventRegistration(EventRegistration&& other) noexcept
        : remove_(std::move(other.remove_)),
          token_(std::exchange(other.token_, {})),
          thread_(std::exchange(other.thread_, 0)) {}
    EventRegistration& operator=(EventRegistration&& other) noexcept {
        if (this != &other) {
            EventRegistration replaced(std::move(*this));  // removed, or kept for a retry, as it goes
            remove_ = std::move(other.remove_);
            token_ = std::exchange(other.token_, {});
            thread_ = std::exchange(other.thread_, 0);
        }
        return *this;
    }
    ~EventRegistration() { RemoveOrKeep(); }

    // Registers `handler` with `add` on `source` and keeps what removes it.
    template <typename Source, typename Handler>
    static EventRegistration Add(const ::winrt::com_ptr<Source>& source,
                                 HRESULT (STDMETHODCALLTYPE Source::*add)(Handler*, abi::EventRegistrationToken*),
                                 HRESULT (STDMETHODCALLTYPE Source::*remove)(abi::EventRegistrationToken),
                                 Handler* handler, Affinity affinity = Affinity::AnyThread) {
        abi::EventRegistrationToken token{};
        ::winrt::check_hresult(((*source).*add)(handler, &token));
        EventRegistration registration(
            [source, remove](abi::EventRegistrationToken t) { return ((*source).*remove)(t); }, token);
        if (affinity == Affinity::ThisThreadOnly) registration.thread_ = GetCurrentThreadId();
        return registration;
    }

    // True while the handler may still be registered (never removed, or the
    // runtime refused the removal).
    bool Registered() const noexcept { return token_.value != 0; }

    // Asks the runtime to remove the handler. On success the registration
    // lets go of its source; on failure it keeps both for a later Reset and
    // returns the runtime's code. A source that is not agile is not called
    // off its thread: RPC_E_WRONG_THREAD, as it would answer.
    HRESULT Reset() noexcept {
        if (!Registered()) return S_OK;
        if (!RemovableHere()) return RPC_E_WRONG_THREAD;
        HRESULT hr = E_FAIL;
        try {
            hr = remove_(token_);
        } catch (...) {
        }
        if (hr < 0) return hr;
        Abandon();
        return S_OK;
    }

    // Removes the handler now or, refused, hands it to the list that
    // RetryRefused tries again. Returns the runtime's answer.
    HRESULT RemoveOrKeep() noexcept {
        const HRESULT hr = Reset();
        if (hr < 0) KeepForRetry(std::move(*this));
        return hr;
    }

    // Drops a registration without asking the runtime (the source is gone
    // for good, or belongs to the runtime for the life of the process).
    void Abandon() noexcept {
        token_ = {};
        remove_ = nullptr;
        thread_ = 0;
    }

    // Tries again every removal refused at assignment or destruction that
    // the calling thread may make; those refused again, and those of another
    // thread's source, stay for the next retry.
    static void RetryRefused() noexcept;

private:
    bool RemovableHere() const noexcept { return !thread_ || thread_ == GetCurrentThreadId(); }

    static void KeepForRetry(EventRegistration&& refused) noexcept;

    Remover remove_;
    abi::EventRegistrationToken token_{};
    DWORD thread_ = 0;  // the only thread that may remove it, or 0 for any
};

}  // namespace tavlet::winapi::winrt
