// What the runtime's handlers of one share hold: the share's record while the
// share lives, nothing once it has ended. So a handler the runtime keeps
// (its removal refused, or a package a target still holds) keeps nothing of
// the share alive. Private to the sharing family.
#pragma once

#include <memory>
#include <mutex>
#include <utility>

namespace tavlet::winapi {

class ShareRecord;

class ShareLink {
public:
    explicit ShareLink(std::shared_ptr<ShareRecord> record) : record_(std::move(record)) {}

    // The record, or null once the share has ended.
    std::shared_ptr<ShareRecord> Record() const {
        std::lock_guard guard(lock_);
        return record_;
    }

    // The share has ended. Whoever ends it holds the record meanwhile, so it
    // is never destroyed here.
    void Cut() noexcept {
        std::shared_ptr<ShareRecord> released;
        std::lock_guard guard(lock_);
        released.swap(record_);
    }

private:
    mutable std::mutex lock_;
    std::shared_ptr<ShareRecord> record_;
};

}  // namespace tavlet::winapi
