// One share from a window: what the host gave, the handlers registered for it
// and the host's completion callback. Private to the sharing family.
#pragma once

#include "tavlet.h"

#include "tavlet/winapi/winrt/base/AbiNamespaces.h"
#include "tavlet/winapi/winrt/base/ComPtr.h"
#include "tavlet/winapi/winrt/base/EventRegistration.h"
#include "ShareLink.h"
#include "tavlet/winapi/winrt/abi/DataTransfer.h"
#include "tavlet/winapi/winrt/abi/Storage.h"
#include "tavlet/thread/Dispatcher.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace tavlet::winapi {


// What the host gave one share call.
struct ShareContent {
    std::wstring title, description, text;
    const void* data = nullptr;  // the host's bytes (data share), read only when a target asks
    uint64_t dataSize = 0;
    ::winrt::com_ptr<Storage::IStorageFile> file;  // file share
    std::string filePath;                                          // UTF-8, as the host gave it
    ShareDataCompletedHandler dataCompleted = nullptr;
    ShareFileCompletedHandler fileCompleted = nullptr;
    void* context = nullptr;
    // The host's runtime provider when the share offers one (may be empty).
    ::winrt::com_ptr<DataTransfer::IShareProvider> provider;
    bool offersProvider = false;
};

// The events a share registers for, one handler each.
enum class ShareEvent {
    DataRequested,
    TargetApplicationChosen,
    ShareCompleted,
    ShareCanceled,
    ShareProvidersRequested,
    Count
};

// A share lives from its call until ShareCompleted, ShareCanceled, the
// window's next share (when its UI was dismissed and no target reads its
// data), a failure in one of its handlers or WinRTSharingTerminate, whichever
// ends it first. Ending is final: every
// handler of an ended share does nothing, even one that the runtime refused to
// remove; the record then holds neither the host's content nor the window's
// manager, and its handlers no longer hold the record. Owned by its handlers
// through its ShareLink.
class ShareRecord {
public:
    ShareRecord(HWND window, std::shared_ptr<thread::Dispatcher> dispatcher, ShareContent content);
    ShareRecord(const ShareRecord&) = delete;
    ShareRecord& operator=(const ShareRecord&) = delete;
    ~ShareRecord();

    // What its handlers hold; the record lets it go when the share ends.
    static std::shared_ptr<ShareLink> Start(HWND window, std::shared_ptr<thread::Dispatcher> dispatcher,
                                            ShareContent content);

    HWND Window() const noexcept { return window_; }

    // True once per event, for the handler that is to act on it: the share
    // lives and, for the manager's events, is still the window's newest.
    bool Answer(ShareEvent event);
    // The content while the share lives (handlers read it), else nothing.
    std::optional<ShareContent> Content() const;
    // Keeps a handler's registration; false (and the registration is removed
    // at once) when the share has ended meanwhile.
    bool Keep(ShareEvent event, winrt::EventRegistration registration);
    // A handler removes its own registration after its one run.
    void Remove(ShareEvent event);
    void TargetChosen(std::wstring applicationName);
    // A target reads the share's data (a delivery lives from its request to
    // its hand-over or failure).
    void DeliveryStarted();
    void DeliveryEnded();
    // A target was chosen or is reading the data: the window's next share
    // does not end this one.
    bool IsDelivering() const;
    // The window's next share has started: this one (being delivered) goes
    // on, but answers none of the manager's events any more.
    void Supersede() noexcept;

    // The host's bytes for one piece of a copy, or null once the share has
    // ended. The share does not end (and so does not tell the host) before
    // ReturnData.
    const void* LeaseData(uint64_t* size);
    void ReturnData();

    // Ends the share: the registrations go, the content is released, a copy
    // of the bytes in progress is waited for, and the host's callback is
    // posted last, so that the host may start a share from inside it. Returns
    // only when no piece of a copy is in progress, also when another thread
    // is ending the share.
    void End() noexcept;
    // Ends a share that failed to start: the host is never called back for it.
    void Abandon() noexcept;

private:
    const HWND window_;
    std::weak_ptr<ShareLink> link_;  // set by Start, before any handler exists
    mutable std::mutex lock_;  // guards what follows; never held across a runtime call or a host callback
    std::condition_variable dataReturned_;
    std::shared_ptr<thread::Dispatcher> dispatcher_;
    ShareContent content_;
    winrt::EventRegistration registrations_[static_cast<int>(ShareEvent::Count)];
    bool answered_[static_cast<int>(ShareEvent::Count)] = {};
    std::wstring targetApplicationName_;
    bool targetChosen_ = false;
    int deliveries_ = 0;
    bool superseded_ = false;
    bool ended_ = false;
    int dataLeases_ = 0;
};

// Every live share, for the window's next share and for WinRTSharingTerminate.
// A record that fails to register does not end the shares it would replace.
bool AddLiveShare(const std::shared_ptr<ShareRecord>& record, unsigned terminations);
// Ends the window's earlier shares whose UI was dismissed (no target chosen
// nor reading); those being delivered answer none of the manager's events any more.
void EndDismissedShares(const std::shared_ptr<ShareRecord>& newest);
// WinRTSharingTerminate: no callback from now on; every live share ends;
// removals the runtime refused earlier are tried again. Returns when no copy
// of the host's bytes is in progress, after every earlier termination.
void TerminateSharing() noexcept;
// How many times sharing was terminated: a file lookup started before a
// termination does nothing when it completes after it.
unsigned SharingTerminations() noexcept;

}  // namespace tavlet::winapi
