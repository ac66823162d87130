// The handles of one family that are alive now. Every export looks its handle
// up here before touching the object, so a handle that was deallocated, was
// never one of the family's, or belongs to another family is only ever
// compared, never dereferenced.
//
// Lookups are the exports' hot path and take no lock: an open-addressing
// table read under a sequence count, retried when a change overlapped it.
// Changes (once per object) are serialised by a mutex. A table that is
// outgrown stays allocated until the set goes, so a lookup never reads freed
// memory; tables double, so together they take less than the current one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace tavlet::winapi {

class LiveHandleSet {
public:
    LiveHandleSet();
    ~LiveHandleSet();
    LiveHandleSet(const LiveHandleSet&) = delete;
    LiveHandleSet& operator=(const LiveHandleSet&) = delete;

    // A failed allocation is thrown as std::bad_alloc; the handle is then not live.
    void Add(const void* handle);
    void Remove(const void* handle) noexcept;

    bool Contains(const void* handle) const noexcept {
        const uintptr_t key = reinterpret_cast<uintptr_t>(handle);
        if (key <= kRemoved) return false;
        for (;;) {
            const uint64_t before = changes_.load(std::memory_order_acquire);
            if ((before & 1) == 0) {
                const bool found = table_.load(std::memory_order_acquire)->Find(key) != nullptr;
                std::atomic_thread_fence(std::memory_order_acquire);
                if (changes_.load(std::memory_order_relaxed) == before) return found;
            }
        }
    }

private:
    // Slot values: 0 empty, 1 a removed handle (probes go past it), else a handle.
    static constexpr uintptr_t kEmpty = 0, kRemoved = 1;

    struct Table {
        explicit Table(unsigned bits);
        // The key's slot, or null when the probe meets an empty slot first.
        const std::atomic<uintptr_t>* Find(uintptr_t key) const noexcept {
            for (size_t i = Home(key), n = 0; n <= mask; i = (i + 1) & mask, ++n) {
                const uintptr_t value = slots[i].load(std::memory_order_relaxed);
                if (value == key) return &slots[i];
                if (value == kEmpty) return nullptr;
            }
            return nullptr;
        }
        size_t Home(uintptr_t key) const noexcept { return size_t((key * 0x9E3779B97F4A7C15ull) >> shift); }

        const size_t mask;
        const unsigned shift;
        const std::unique_ptr<std::atomic<uintptr_t>[]> slots;
        std::unique_ptr<Table> outgrown;  // kept for lookups that still read it
    };

    // Writers, under lock_: bracket every change of the table's slots.
    void BeginChange() noexcept;
    void EndChange() noexcept;
    // Puts the key into its first free slot; true when that slot was empty.
    static bool Insert(Table& table, uintptr_t key) noexcept;

    std::mutex lock_;
    std::atomic<uint64_t> changes_{0};  // odd while a change is under way
    std::atomic<Table*> table_;
    size_t live_ = 0, used_ = 0;  // under lock_: handles, and handles plus removed slots
};

}  // namespace tavlet::winapi
