// The share record: its registrations, its end and the host's callback, and the
// process-wide list of live shares.
#include "ShareRecord.h"

#include "tavlet/Strings.h"

#include <atomic>
#include <map>
#include <utility>
#include <vector>

namespace tavlet::winapi {
namespace {

using thread::Dispatcher;

// Set by WinRTSharingTerminate and never reset: no host callback after it.
std::atomic<bool> sharingTerminated{false};
std::atomic<unsigned> terminations{0};

// Runs on the thread that made the share call, from its message loop (or at
// once when the share ends on that thread).
class CompletionNotifierTask final : public Dispatcher::Task {
public:
    CompletionNotifierTask(std::shared_ptr<Dispatcher> dispatcher, const ShareContent& content,
                           std::string targetApplicationName)
        : dispatcher_(std::move(dispatcher)),
          dataCompletedHandler_(content.data ? content.dataCompleted : nullptr),
          fileCompletedHandler_(content.fileCompleted),
          context_(content.context),
          data_(content.data),
          filePath_(content.filePath),
          targetApplicationName_(std::move(targetApplicationName)) {}

    void Run() override {
        if (sharingTerminated) return;
        // A host callback that throws is contained: the share is over either way.
        try {
            if (data_ && dataCompletedHandler_)
                std::exchange(dataCompletedHandler_, nullptr)(targetApplicationName_.c_str(), context_, data_);
            if (fileCompletedHandler_)
                std::exchange(fileCompletedHandler_, nullptr)(targetApplicationName_.c_str(), context_, filePath_.c_str());
        } catch (...) {
        }
    }

private:
    std::shared_ptr<Dispatcher> dispatcher_;
    ShareDataCompletedHandler dataCompletedHandler_;
    ShareFileCompletedHandler fileCompletedHandler_;
    void* context_;
    const void* data_;
    std::string filePath_;
    std::string targetApplicationName_;
};

struct LiveShares {
    std::mutex lock;
    std::multimap<HWND, std::weak_ptr<ShareRecord>> byWindow;
    // Registrations whose removal the runtime refused; retried by Terminate.
    std::vector<winrt::EventRegistration> refused;
};
LiveShares& liveShares() {
    static LiveShares* shares = new LiveShares();  // outlives records released at exit
    return *shares;
}

// Removes a registration outside every lock; a refusal is kept for a retry.
void RemoveOrKeepForRetry(winrt::EventRegistration registration) noexcept {
    if (registration.Reset() >= 0) return;
    try {
        auto& shares = liveShares();
        std::lock_guard guard(shares.lock);
        shares.refused.push_back(std::move(registration));
    } catch (...) {
        registration.Abandon();
    }
}

}  // namespace

ShareRecord::ShareRecord(HWND window, std::shared_ptr<Dispatcher> dispatcher, ShareContent content)
    : window_(window), dispatcher_(std::move(dispatcher)), content_(std::move(content)) {}

ShareRecord::~ShareRecord() {
    End();
    auto& shares = liveShares();
    std::lock_guard guard(shares.lock);
    for (auto [it, last] = shares.byWindow.equal_range(window_); it != last;) {
        it = it->second.expired() ? shares.byWindow.erase(it) : std::next(it);
    }
}

std::optional<ShareContent> ShareRecord::Content() const {
    std::lock_guard guard(lock_);
    if (ended_) return std::nullopt;
    return content_;
}

bool ShareRecord::Keep(ShareEvent event, winrt::EventRegistration registration) {
    winrt::EventRegistration earlier;
    {
        std::lock_guard guard(lock_);
        if (!ended_) {
            // Moved out first: assigning over a live registration would remove it under the lock.
            earlier = std::move(registrations_[static_cast<int>(event)]);
            registrations_[static_cast<int>(event)] = std::move(registration);
        }
    }
    // Ended meanwhile: the new registration goes now. A second one of the
    // same kind (DataRequested raised again) replaces the first.
    RemoveOrKeepForRetry(std::move(earlier));
    if (registration.Registered()) {
        RemoveOrKeepForRetry(std::move(registration));
        return false;
    }
    return true;
}

void ShareRecord::Remove(ShareEvent event) {
    winrt::EventRegistration own;
    {
        std::lock_guard guard(lock_);
        own = std::move(registrations_[static_cast<int>(event)]);
    }
    RemoveOrKeepForRetry(std::move(own));
}

void ShareRecord::TargetChosen(std::wstring applicationName) {
    std::lock_guard guard(lock_);
    if (ended_) return;
    targetApplicationName_ = std::move(applicationName);
    targetChosen_ = true;
}

bool ShareRecord::WasTargetChosen() const {
    std::lock_guard guard(lock_);
    return targetChosen_;
}

const void* ShareRecord::LeaseData(uint64_t* size) {
    std::lock_guard guard(lock_);
    *size = 0;
    if (ended_ || !content_.data) return nullptr;
    ++dataLeases_;
    *size = content_.dataSize;
    return content_.data;
}

void ShareRecord::ReturnData() {
    std::lock_guard guard(lock_);
    if (--dataLeases_ == 0) dataReturned_.notify_all();
}

void ShareRecord::End() noexcept {
    winrt::EventRegistration registrations[static_cast<int>(ShareEvent::Count)];
    std::shared_ptr<CompletionNotifierTask> task;
    std::shared_ptr<Dispatcher> dispatcher;
    ShareContent content;
    try {
        std::unique_lock guard(lock_);
        if (ended_) return;
        ended_ = true;
        // The host may free its bytes once told: a copy in progress finishes
        // first, and none starts after this.
        dataReturned_.wait(guard, [&] { return dataLeases_ == 0; });
        for (int i = 0; i < static_cast<int>(ShareEvent::Count); ++i) registrations[i] = std::move(registrations_[i]);
        content = std::move(content_);
        content_ = ShareContent{};
        dispatcher = std::move(dispatcher_);
        if (dispatcher && ((content.data && content.dataCompleted) || content.fileCompleted))
            task = std::make_shared<CompletionNotifierTask>(dispatcher, content, ToUtf8(targetApplicationName_));
    } catch (...) {
        return;
    }
    for (auto& registration : registrations) RemoveOrKeepForRetry(std::move(registration));
    content = ShareContent{};  // the provider and the file go before the host hears of the end
    if (task) {
        try {
            dispatcher->Post(task);
        } catch (...) {
        }
    }
}

void ShareRecord::Abandon() noexcept {
    {
        std::lock_guard guard(lock_);
        content_.dataCompleted = nullptr;
        content_.fileCompleted = nullptr;
    }
    End();
}

bool AddLiveShare(const std::shared_ptr<ShareRecord>& record, unsigned terminationsAtStart) {
    auto& shares = liveShares();
    std::lock_guard guard(shares.lock);
    if (terminations.load() != terminationsAtStart) return false;
    shares.byWindow.emplace(record->Window(), record);
    return true;
}

void EndDismissedShares(const std::shared_ptr<ShareRecord>& newest) {
    std::vector<std::shared_ptr<ShareRecord>> earlier;
    {
        auto& shares = liveShares();
        std::lock_guard guard(shares.lock);
        for (auto [it, last] = shares.byWindow.equal_range(newest->Window()); it != last; ++it) {
            if (auto record = it->second.lock(); record && record != newest) earlier.push_back(std::move(record));
        }
    }
    // A share with a chosen target is still being delivered: it lives beside the new one.
    for (auto& record : earlier)
        if (!record->WasTargetChosen()) record->End();
}

void TerminateSharing() noexcept {
    sharingTerminated = true;
    try {
        std::multimap<HWND, std::weak_ptr<ShareRecord>> records;
        std::vector<winrt::EventRegistration> refused;
        {
            auto& shares = liveShares();
            std::lock_guard guard(shares.lock);
            ++terminations;
            records.swap(shares.byWindow);
            refused.swap(shares.refused);
        }
        for (auto& entry : records)
            if (auto record = entry.second.lock()) record->End();
        for (auto& registration : refused) RemoveOrKeepForRetry(std::move(registration));
    } catch (...) {
    }
}

unsigned SharingTerminations() noexcept { return terminations.load(); }

}  // namespace tavlet::winapi
