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
                std::exchange(fileCompletedHandler_, nullptr)(targetApplicationName_.c_str(), context_,
                                                              filePath_.c_str());
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

// Tries the refused removals again on the thread that made the share call,
// the window's thread: the window's manager is not agile, so its
// registrations refused elsewhere wait there. Holds the dispatcher until it
// has run, so that it is not dropped unrun with the dispatcher's last
// reference on another thread.
class RetryOnWindowThreadTask final : public Dispatcher::Task {
public:
    explicit RetryOnWindowThreadTask(std::shared_ptr<Dispatcher> dispatcher) : dispatcher_(std::move(dispatcher)) {}
    void Run() override { winrt::EventRegistration::RetryRefused(); }

private:
    std::shared_ptr<Dispatcher> dispatcher_;
};

// The manager's registrations refused off the window's thread (never even
// tried there) wait in the list of refused removals: the window's thread
// tries them again, from its message loop, before any callback posted after
// this. A dispatcher that cannot run the task leaves them waiting for the
// next share's end, or WinRTSharingTerminate, on that thread.
void RetryOnWindowThread(const std::shared_ptr<Dispatcher>& dispatcher) noexcept {
    if (!dispatcher || dispatcher->IsOwnerThread()) return;
    try {
        dispatcher->Post(std::make_shared<RetryOnWindowThreadTask>(dispatcher));
    } catch (...) {
    }
}

struct LiveShares {
    std::mutex lock;
    std::multimap<HWND, std::weak_ptr<ShareRecord>> byWindow;
    // Terminations that have returned (they return in the order they began).
    std::condition_variable terminationDone;
    unsigned terminationsDone = 0;
};
LiveShares& liveShares() {
    static LiveShares* shares = new LiveShares();  // outlives records released at exit
    return *shares;
}

}  // namespace

ShareRecord::ShareRecord(HWND window, std::shared_ptr<Dispatcher> dispatcher, ShareContent content)
    : window_(window), dispatcher_(std::move(dispatcher)), content_(std::move(content)) {}

std::shared_ptr<ShareLink> ShareRecord::Start(HWND window, std::shared_ptr<Dispatcher> dispatcher,
                                              ShareContent content) {
    auto record = std::make_shared<ShareRecord>(window, std::move(dispatcher), std::move(content));
    auto link = std::make_shared<ShareLink>(record);
    record->link_ = link;
    return link;
}

ShareRecord::~ShareRecord() {
    End();
    auto& shares = liveShares();
    std::lock_guard guard(shares.lock);
    for (auto [it, last] = shares.byWindow.equal_range(window_); it != last;) {
        it = it->second.expired() ? shares.byWindow.erase(it) : std::next(it);
    }
}

bool ShareRecord::Answer(ShareEvent event) {
    std::lock_guard guard(lock_);
    auto& answered = answered_[static_cast<int>(event)];
    const bool managerEvent = event != ShareEvent::ShareCompleted && event != ShareEvent::ShareCanceled;
    if (ended_ || answered || (superseded_ && managerEvent)) return false;
    answered = true;
    return true;
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
    // Ended meanwhile: the new registration goes now (a refusal is kept for
    // a retry as it goes), and so does one it replaces.
    return !registration.Registered();
}

void ShareRecord::Remove(ShareEvent event) {
    winrt::EventRegistration own;
    std::shared_ptr<Dispatcher> dispatcher;
    {
        std::lock_guard guard(lock_);
        own = std::move(registrations_[static_cast<int>(event)]);
        dispatcher = dispatcher_;
    }
    // Removed here, outside the lock; a refusal is kept for a retry, on the
    // window's thread for the manager's events.
    if (own.RemoveOrKeep() < 0) RetryOnWindowThread(dispatcher);
}

void ShareRecord::TargetChosen(std::wstring applicationName) {
    std::lock_guard guard(lock_);
    if (ended_) return;
    targetApplicationName_ = std::move(applicationName);
    targetChosen_ = true;
}

void ShareRecord::DeliveryStarted() {
    std::lock_guard guard(lock_);
    ++deliveries_;
}

void ShareRecord::DeliveryEnded() {
    std::lock_guard guard(lock_);
    --deliveries_;
}

bool ShareRecord::IsDelivering() const {
    std::lock_guard guard(lock_);
    return targetChosen_ || deliveries_ > 0;
}

void ShareRecord::Supersede() noexcept {
    winrt::EventRegistration managerEvents[3];
    std::lock_guard guard(lock_);
    superseded_ = true;
    int i = 0;
    for (auto event :
         {ShareEvent::DataRequested, ShareEvent::TargetApplicationChosen, ShareEvent::ShareProvidersRequested})
        managerEvents[i++] = std::move(registrations_[static_cast<int>(event)]);
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
        const bool endedBefore = std::exchange(ended_, true);
        // The host may free its bytes once told (or once Terminate returns):
        // the piece of a copy in progress finishes first, and none starts
        // after this.
        dataReturned_.wait(guard, [&] { return dataLeases_ == 0; });
        if (endedBefore) return;
        for (int i = 0; i < static_cast<int>(ShareEvent::Count); ++i) registrations[i] = std::move(registrations_[i]);
        content = std::move(content_);
        content_ = ShareContent{};
        dispatcher = std::move(dispatcher_);
        if (dispatcher && ((content.data && content.dataCompleted) || content.fileCompleted))
            task = std::make_shared<CompletionNotifierTask>(dispatcher, content, ToUtf8(targetApplicationName_));
    } catch (...) {
        return;
    }
    // The handlers the runtime may still hold let go of the record.
    if (auto link = link_.lock()) link->Cut();
    // Each registration is removed on its own; refusals are kept, and those
    // refused earlier are tried again (the manager's on the window's thread).
    for (auto& registration : registrations) registration = {};
    winrt::EventRegistration::RetryRefused();
    RetryOnWindowThread(dispatcher);
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
    // A share with a chosen target, or whose target reads its data, is still
    // being delivered: it lives beside the new one, which alone answers the
    // manager's events from now on.
    for (auto& record : earlier) {
        if (record->IsDelivering()) {
            record->Supersede();
        } else {
            record->End();
        }
    }
}

void TerminateSharing() noexcept {
    sharingTerminated = true;
    auto& shares = liveShares();
    unsigned mine = 0;
    std::multimap<HWND, std::weak_ptr<ShareRecord>> records;
    {
        std::lock_guard guard(shares.lock);
        mine = ++terminations;
        records.swap(shares.byWindow);
    }
    // Each End returns once no copy of that share's bytes is in progress.
    for (auto& entry : records)
        if (auto record = entry.second.lock()) record->End();
    records.clear();
    winrt::EventRegistration::RetryRefused();
    // An earlier termination may still be ending the shares it took: this one
    // returns after it, so that no copy is in progress when either returns.
    std::unique_lock guard(shares.lock);
    shares.terminationDone.wait(guard, [&] { return shares.terminationsDone == mine - 1; });
    shares.terminationsDone = mine;
    shares.terminationDone.notify_all();
}

unsigned SharingTerminations() noexcept { return terminations.load(); }

}  // namespace tavlet::winapi
