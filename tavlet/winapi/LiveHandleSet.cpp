#include "LiveHandleSet.h"

#include <new>

namespace tavlet::winapi {
namespace {
// Serials of every family's handles; 0 is never one, so no handle is null.
constexpr uint64_t kSerialLimit = uint64_t(1) << (64 - 24);
std::atomic<uint64_t> lastSerial{0};

uint64_t TakeSerial() {
    const uint64_t serial = lastSerial.fetch_add(1, std::memory_order_relaxed) + 1;
    if (serial >= kSerialLimit) throw std::bad_alloc();
    return serial;
}

}  // namespace

LiveHandleSet::~LiveHandleSet() {
    for (auto& segment : segments_) delete[] segment.load();
}

uintptr_t LiveHandleSet::UniqueValue() { return uintptr_t(TakeSerial()) << kIndexBits; }

uintptr_t LiveHandleSet::Add(void* object) {
    const uint64_t serial = TakeSerial();
    std::lock_guard guard(lock_);
    size_t index = firstFree_;
    Slot* slot = nullptr;
    if (index != ~size_t(0)) {
        slot = const_cast<Slot*>(SlotAt(index));
        firstFree_ = slot->nextFree;
    } else {
        index = used_;
        if (index > kIndexMask) throw std::bad_alloc();
        const unsigned segment = SegmentOf(index);
        Slot* slots = segments_[segment].load(std::memory_order_relaxed);
        if (!slots) {
            slots = new Slot[size_t(1) << (segment + kFirstBits)];
            segments_[segment].store(slots, std::memory_order_release);
        }
        slot = &slots[OffsetIn(index, segment)];
        ++used_;
    }
    const uintptr_t handle = (uintptr_t(serial) << kIndexBits) | index;
    // The object first: a lookup that finds the handle finds its object.
    slot->object.store(object, std::memory_order_release);
    slot->handle.store(handle, std::memory_order_release);
    return handle;
}

void* LiveHandleSet::Take(uintptr_t handle) noexcept {
    auto* slot = const_cast<Slot*>(SlotAt(handle & kIndexMask));
    if (!slot || handle == kFree) return nullptr;
    uintptr_t expected = handle;
    if (!slot->handle.compare_exchange_strong(expected, kFree, std::memory_order_acq_rel)) return nullptr;
    void* object = slot->object.load(std::memory_order_relaxed);
    std::lock_guard guard(lock_);
    slot->nextFree = firstFree_;
    firstFree_ = handle & kIndexMask;
    return object;
}

}  // namespace tavlet::winapi
