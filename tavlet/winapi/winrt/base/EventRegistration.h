// One handler registered on one runtime event: removed when reset, assigned
// over or destroyed. A removal the runtime refuses is never dropped: Reset
// keeps it for the owner to retry, and assignment and destruction hand it to
// a process-wide list that RetryRefused tries again (the handler itself must
// then find nothing to do: the runtime may still call it).
#pragma once

#include "ComPtr.h"

#include <functional>
#include <utility>

namespace tavlet::winapi::winrt {

class EventRegistration {
public:
    using Remover = std::function<HRESULT(abi::EventRegistrationToken)>;

    EventRegistration() = default;
    EventRegistration(Remover remove, abi::EventRegistrationToken token) noexcept
        : remove_(std::move(remove)), token_(token) {}
    EventRegistration(EventRegistration&& other) noexcept
        : remove_(std::move(other.remove_)), token_(std::exchange(other.token_, {})) {}
    EventRegistration& operator=(EventRegistration&& other) noexcept {
        if (this != &other) {
            EventRegistration replaced(std::move(*this));  // removed, or kept for a retry, as it goes
            remove_ = std::move(other.remove_);
            token_ = std::exchange(other.token_, {});
        }
        return *this;
    }
    ~EventRegistration() {
        if (Reset() < 0) KeepForRetry(std::move(*this));
    }

    // Registers `handler` with `add` on `source` and keeps what removes it.
    template <typename Source, typename Handler>
    static EventRegistration Add(const ::winrt::com_ptr<Source>& source,
                                 HRESULT (STDMETHODCALLTYPE Source::*add)(Handler*, abi::EventRegistrationToken*),
                                 HRESULT (STDMETHODCALLTYPE Source::*remove)(abi::EventRegistrationToken),
                                 Handler* handler) {
        abi::EventRegistrationToken token{};
        ::winrt::check_hresult(((*source).*add)(handler, &token));
        return EventRegistration([source, remove](abi::EventRegistrationToken t) { return ((*source).*remove)(t); },
                                 token);
    }

    // True while the handler may still be registered (never removed, or the
    // runtime refused the removal).
    bool Registered() const noexcept { return token_.value != 0; }

    // Asks the runtime to remove the handler. On success the registration
    // lets go of its source; on failure it keeps both for a later Reset and
    // returns the runtime's code.
    HRESULT Reset() noexcept {
        if (!Registered()) return S_OK;
        HRESULT hr = E_FAIL;
        try {
            hr = remove_(token_);
        } catch (...) {
        }
        if (hr < 0) return hr;
        token_ = {};
        remove_ = nullptr;
        return S_OK;
    }

    // Drops a registration without asking the runtime (the source is gone
    // for good, or belongs to the runtime for the life of the process).
    void Abandon() noexcept {
        token_ = {};
        remove_ = nullptr;
    }

    // Tries again every removal refused at assignment or destruction; those
    // refused again stay for the next retry.
    static void RetryRefused() noexcept;

private:
    static void KeepForRetry(EventRegistration&& refused) noexcept;

    Remover remove_;
    abi::EventRegistrationToken token_{};
};

}  // namespace tavlet::winapi::winrt
