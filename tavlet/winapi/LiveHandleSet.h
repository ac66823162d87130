// The handles of one family that are alive now, and the objects they name.
// Every export looks its handle up here before touching an object, so a
// handle that was deallocated, was never one of the family's, or belongs to
// another family is only ever compared, never dereferenced.
//
// A handle is a slot of the family's table and a serial number taken from
// one counter for the whole process: (serial << kIndexBits) | slot. A slot is
// reused, a serial never is, so a freed handle stays stale however many
// objects come after it, and no two families ever hand out the same value.
//
// Lookups are the exports' hot path and take no lock: the slot's handle is
// read before and after its object. Slots live in segments that double in
// size and are never moved or freed while the set exists. Adding and taking
// out (once per object) hand slots back and forth under a mutex; taking out
// is one compare-and-swap, so of two threads that take the same handle only
// one gets its object.
#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace tavlet::winapi {

class LiveHandleSet {
public:
    LiveHandleSet() = default;
    ~LiveHandleSet();
    LiveHandleSet(const LiveHandleSet&) = delete;
    LiveHandleSet& operator=(const LiveHandleSet&) = delete;

    // Makes the object live under a handle value never handed out before. A
    // failed allocation, or a family with 2^24 live handles, throws std::bad_alloc.
    uintptr_t Add(void* object);
    // A value of the handles' kind that no set ever hands out (a serial of its
    // own, slot 0): for a family that keeps its one live object itself.
    static uintptr_t UniqueValue();
    // Takes the handle out and returns its object: null when it was not live,
    // also for all but one of several threads taking it at once.
    void* Take(uintptr_t handle) noexcept;

    // The live object behind a handle, or null.
    void* Find(uintptr_t handle) const noexcept {
        const Slot* slot = SlotAt(handle & kIndexMask);
        if (!slot || handle == kFree || slot->handle.load(std::memory_order_acquire) != handle) return nullptr;
        void* object = slot->object.load(std::memory_order_acquire);
        // Taken out (and perhaps reused) meanwhile: the object read may be another's.
        return slot->handle.load(std::memory_order_relaxed) == handle ? object : nullptr;
    }

private:
    static constexpr unsigned kIndexBits = 24, kFirstBits = 4, kSegments = kIndexBits - kFirstBits + 1;
    static constexpr uintptr_t kIndexMask = (uintptr_t(1) << kIndexBits) - 1, kFree = 0;

    struct Slot {
        std::atomic<uintptr_t> handle{kFree};
        std::atomic<void*> object{nullptr};
        size_t nextFree = 0;  // under lock_, while free
    };

    // Segment k holds the 16 << k slots from index (16 << k) - 16 on.
    static unsigned SegmentOf(size_t index) noexcept { return std::bit_width(index + (1u << kFirstBits)) - kFirstBits - 1; }
    static size_t OffsetIn(size_t index, unsigned segment) noexcept {
        return index + (1u << kFirstBits) - (size_t(1) << (segment + kFirstBits));
    }
    const Slot* SlotAt(size_t index) const noexcept {
        const unsigned segment = SegmentOf(index);
        if (segment >= kSegments) return nullptr;
        const Slot* slots = segments_[segment].load(std::memory_order_acquire);
        return slots ? &slots[OffsetIn(index, segment)] : nullptr;
    }

    std::atomic<Slot*> segments_[kSegments] = {};
    std::mutex lock_;
    size_t used_ = 0;                           // under lock_: slots ever handed out
    size_t firstFree_ = ~size_t(0);             // under lock_: a free slot, or none
};

}  // namespace tavlet::winapi
