#include "ComContext.h"

#include "Errors.h"

#include <objbase.h>


namespace tavlet::winapi::winrt {
namespace {

// Runs on the context's thread; nothing may unwind back into COM.
HRESULT STDMETHODCALLTYPE RunWork(ComCallData* data) {
    try {
        (*static_cast<const std::function<void()>*>(data->pUserDefined))();
        return S_OK;
    } catch (...) {
        return tavlet::CurrentExceptionToHresult(tavlet::FailureReader::Host);
    }
}

}  // namespace

ComContext ComContext::Current() {
    ComContext result;
    result.context_.capture(CoGetObjectContext);
    ::winrt::check_hresult(CoGetContextToken(&result.token_));
    return result;
}

bool ComContext::IsCurrent() const noexcept {
    ULONG_PTR token = 0;
    return context_ && SUCCEEDED(CoGetContextToken(&token)) && token == token_;
}

void ComContext::RunOrDrop(const std::function<void()>& work) const noexcept {
    // Entering the context we are already in would only add a round trip (and
    // some systems do not implement the switch at all), so run inline.
    if (IsCurrent()) {
        try {
            work();
        } catch (...) {
        }
        return;
    }
    if (context_) Enter(work);
}

HRESULT ComContext::Enter(const std::function<void()>& work) const noexcept {
    ComCallData data{};
    data.pUserDefined = const_cast<std::function<void()>*>(&work);
    // Method index 5 with this interface id is the documented way to enter a
    // context without re-entering an application single-threaded apartment.
    return context_->ContextCallback(RunWork, &data, abi::IID_ICallbackWithNoReentrancyToApplicationSTA, 5, nullptr);
}

}  // namespace tavlet::winapi::winrt
