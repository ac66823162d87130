#include "LiveHandleSet.h"

#include <vector>

namespace tavlet::winapi {
namespace {
constexpr unsigned kFirstBits = 4;  // 16 slots
}  // namespace

LiveHandleSet::Table::Table(unsigned bits)
    : mask((size_t(1) << bits) - 1), shift(64 - bits), slots(new std::atomic<uintptr_t>[size_t(1) << bits]) {
    for (size_t i = 0; i <= mask; ++i) slots[i].store(kEmpty, std::memory_order_relaxed);
}

LiveHandleSet::LiveHandleSet() : table_(new Table(kFirstBits)) {}

LiveHandleSet::~LiveHandleSet() { delete table_.load(); }

void LiveHandleSet::BeginChange() noexcept {
    changes_.store(changes_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
}

void LiveHandleSet::EndChange() noexcept {
    changes_.store(changes_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

bool LiveHandleSet::Insert(Table& table, uintptr_t key) noexcept {
    for (size_t i = table.Home(key);; i = (i + 1) & table.mask) {
        const uintptr_t value = table.slots[i].load(std::memory_order_relaxed);
        if (value == kEmpty || value == kRemoved) {
            table.slots[i].store(key, std::memory_order_relaxed);
            return value == kEmpty;
        }
    }
}

void LiveHandleSet::Add(const void* handle) {
    const uintptr_t key = reinterpret_cast<uintptr_t>(handle);
    std::lock_guard guard(lock_);
    Table* table = table_.load(std::memory_order_relaxed);
    // A quarter of the slots stays empty, so every probe ends. When the
    // handles and removed slots would take more, the live handles move to a
    // table where they take at most half: a larger one, or this one rebuilt.
    if ((used_ + 1) * 4 > (table->mask + 1) * 3) {
        unsigned bits = kFirstBits;
        while ((size_t(1) << bits) < (live_ + 1) * 2) ++bits;
        std::vector<uintptr_t> handles;  // allocated before anything changes
        handles.reserve(live_);
        for (size_t i = 0; i <= table->mask; ++i) {
            const uintptr_t value = table->slots[i].load(std::memory_order_relaxed);
            if (value != kEmpty && value != kRemoved) handles.push_back(value);
        }
        if ((size_t(1) << bits) > table->mask + 1) {
            auto larger = std::make_unique<Table>(bits);
            for (uintptr_t value : handles) Insert(*larger, value);
            larger->outgrown.reset(table);
            table = larger.release();
            // Lookups still reading the outgrown table see it unchanged.
            table_.store(table, std::memory_order_release);
        } else {
            BeginChange();
            for (size_t i = 0; i <= table->mask; ++i) table->slots[i].store(kEmpty, std::memory_order_relaxed);
            for (uintptr_t value : handles) Insert(*table, value);
            EndChange();
        }
        used_ = live_;
    }
    BeginChange();
    const bool tookEmpty = Insert(*table, key);
    EndChange();
    ++live_;
    if (tookEmpty) ++used_;
}

void LiveHandleSet::Remove(const void* handle) noexcept {
    const uintptr_t key = reinterpret_cast<uintptr_t>(handle);
    if (key <= kRemoved) return;
    std::lock_guard guard(lock_);
    auto* slot = const_cast<std::atomic<uintptr_t>*>(table_.load(std::memory_order_relaxed)->Find(key));
    if (!slot) return;
    BeginChange();
    slot->store(kRemoved, std::memory_order_relaxed);
    EndChange();
    --live_;
}

}  // namespace tavlet::winapi
