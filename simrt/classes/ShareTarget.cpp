// A share whose target was chosen goes on with that target when the window's
// share UI opens again: the target asks for the bitmap and completes the share.
#include "ShareSessions.h"

#include <chrono>

namespace sim {
namespace {

// The oldest share of the window still being delivered to its target; the
// step runs where the runtime delivers, on a copy (its bitmap state is kept).
template <typename Step>
HRESULT WithDelivering(HWND window, Step step) {
    Session copy;
    {
        auto& s = sharing();
        std::lock_guard guard(s.lock);
        auto found = s.delivering.find(window);
        if (found == s.delivering.end()) return E_ILLEGAL_METHOD_CALL;
        copy = found->second;
    }
    HRESULT result = detail::RunOnRuntimeThreadFor<HRESULT>([&] { return step(copy); });
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    for (auto [it, last] = s.delivering.equal_range(window); it != last; ++it)
        if (it->second.package == copy.package) it->second.bitmap = copy.bitmap;
    return result;
}

}  // namespace

// A target asking for the deferred bitmap waits for it, as a real one does:
// data set and the deferral (if one was taken) completed, until the deadline.
// A deferral released without completing, or no data, fails the request.
HRESULT RequestBitmap(const Session& session, const std::shared_ptr<ProviderRequestState>& state) {
    auto provider = session.package ? ProviderOf(session.package.get(), L"Bitmap") : nullptr;
    if (!provider) return E_ILLEGAL_METHOD_CALL;
    {
        auto request = NewDataProviderRequest(L"Bitmap", state);
        if (HRESULT hr = provider->Invoke(request.get()); hr < 0) return hr;
    }
    std::unique_lock guard(state->lock);
    const bool ended = state->changed.wait_until(guard, state->deadline, [&] {
        return state->deferralCompleted || state->liveDeferrals == 0;
    });
    if (!ended) {
        state->expired = true;
        state->data = nullptr;
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    }
    const bool finished = state->deferrals == 0 || state->deferralCompleted;
    return finished && state->data ? S_OK : E_FAIL;
}

void BitmapBytes(ProviderRequestState& state, std::string* bytes) {
    ::winrt::com_ptr<IInspectable> data;
    {
        std::lock_guard guard(state.lock);
        data = state.data;
    }
    if (data) ReadStreamBytes(data.get(), bytes, nullptr);
}

long ShareTargetsDelivering(HWND window) {
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    return static_cast<long>(s.delivering.count(window));
}

HRESULT ShareTargetRequestBitmap(HWND window) {
    return WithDelivering(window, [&](Session& session) -> HRESULT {
        session.bitmap = std::make_shared<ProviderRequestState>();
        return RequestBitmap(session, session.bitmap);
    });
}

HRESULT ShareTargetComplete(HWND window) {
    Session done;
    HRESULT result = WithDelivering(window, [&](Session& session) -> HRESULT {
        done = session;
        if (!session.package || !IsShareCompletedInterfacePresent()) return S_OK;
        return RaiseShareCompleted(session.package.get());
    });
    if (result == E_ILLEGAL_METHOD_CALL && !done.package) return result;
    auto& s = sharing();
    std::lock_guard guard(s.lock);
    for (auto [it, last] = s.delivering.equal_range(window); it != last; ++it) {
        if (it->second.package == done.package) {
            s.delivering.erase(it);
            break;
        }
    }
    return result;
}

std::string ShareTargetBitmapBytes(HWND window) {
    std::string bytes;
    WithDelivering(window, [&](Session& session) -> HRESULT {
        if (session.bitmap) BitmapBytes(*session.bitmap, &bytes);
        return S_OK;
    });
    return bytes;
}

}  // namespace sim
