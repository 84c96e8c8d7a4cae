#pragma once
#include <cstdint>
#include <vector>

#include "engine/db/Handle.h"

namespace cad {

// Handle -> object table index, as a flat open-addressing table: a drawing has hundreds of
// thousands of handles, and a node per entry would cost more than the objects' own data.
// Entries are never removed (handles are not reused).
class HandleIndex {
public:
    static constexpr std::uint32_t kNone = 0;

    // The index stored for `handle`, or kNone.
    std::uint32_t find(Handle handle) const {
        if (slots_.empty() || handle.isNull()) return kNone;
        for (std::size_t i = hash(handle.value()) & mask_;; i = (i + 1) & mask_) {
            const Slot& s = slots_[i];
            if (s.handle() == handle.value()) return s.index;
            if (s.empty()) return kNone;
        }
    }
    // Stores `index` for a handle not yet present (the null handle is never stored).
    void insert(Handle handle, std::uint32_t index) {
        if (count_ + 1 > slots_.size() / 4 * 3) grow();
        place(handle.value(), index);
        ++count_;
    }
    std::size_t size() const { return count_; }
    // Room for `count` entries without growing: a reader knows roughly how many are coming.
    void reserve(std::size_t count) {
        std::size_t wanted = 1024;
        while (wanted / 4 * 3 < count) wanted *= 2;
        if (wanted > slots_.size()) rehash(wanted);
    }

private:
    // Twelve bytes rather than sixteen: the handle in two halves keeps the slot 4-aligned.
    struct Slot {
        std::uint32_t low = 0, high = 0;
        std::uint32_t index = kNone;
        std::uint64_t handle() const { return (std::uint64_t{high} << 32) | low; }
        bool empty() const { return (low | high) == 0; }
    };
    static_assert(sizeof(Slot) == 12);
    // Four handles in a row share one run of slots: files number their records in order, so
    // neighbours in the file mostly share a cache line. Longer runs collide as whole runs and push
    // each other along: with sixteen, a campus of 325,000 handles took 13 probes a look-up.
    static std::size_t hash(std::uint64_t h) {
        std::uint64_t group = h >> 2;
        group ^= group >> 33;
        group *= 0xff51afd7ed558ccdULL;
        group ^= group >> 33;
        return static_cast<std::size_t>((group << 2) | (h & 3));
    }
    void place(std::uint64_t handle, std::uint32_t index) {
        std::size_t i = hash(handle) & mask_;
        while (!slots_[i].empty()) i = (i + 1) & mask_;
        slots_[i] = {static_cast<std::uint32_t>(handle), static_cast<std::uint32_t>(handle >> 32), index};
    }
    void grow() { rehash(slots_.empty() ? 1024 : slots_.size() * 2); }
    void rehash(std::size_t size) {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(size, Slot{});
        mask_ = slots_.size() - 1;
        for (const Slot& s : old)
            if (!s.empty()) place(s.handle(), s.index);
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
};

}  // namespace cad
