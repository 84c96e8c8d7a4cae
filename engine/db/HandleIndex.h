#pragma once
#include <cstdint>
#include <vector>

#include "engine/db/Handle.h"

namespace cad {

// Handle -> object table index. Files number their objects from 1 up with few gaps, so most
// handles index an array directly: four bytes a handle, written in order as a file is read. Those
// far above what the array covers (a drawing whose handles start high, or jump) go to a flat
// open-addressing table. Entries are never removed (handles are not reused).
class HandleIndex {
public:
    static constexpr std::uint32_t kNone = 0;

    // The index stored for `handle`, or kNone.
    std::uint32_t find(Handle handle) const {
        const std::uint64_t h = handle.value();
        if (h < dense_.size()) return dense_[h];
        return sparse_.empty() ? kNone : findSparse(h);
    }
    // Stores `index` (not kNone) for a handle not yet present (the null handle is never stored).
    void insert(Handle handle, std::uint32_t index) {
        const std::uint64_t h = handle.value();
        if (h >= dense_.size() && h < denseLimit()) growDense(h);
        if (h < dense_.size()) dense_[h] = index;
        else placeSparse(h, index);
        ++count_;
    }
    std::size_t size() const { return count_; }
    // Room for about `count` entries without moving them: a reader knows roughly how many are
    // coming. Nothing is written until used.
    void reserve(std::size_t count) { dense_.reserve(count + 1); }

private:
    // The array covers handles up to four times the entries stored (and a few thousand at first):
    // no more than sixteen bytes an entry, as the table's slots cost.
    std::uint64_t denseLimit() const { return 4 * std::uint64_t{count_} + 4096; }
    void growDense(std::uint64_t handle) {
        std::size_t size = dense_.empty() ? 1024 : dense_.size();
        while (size <= handle) size *= 2;
        dense_.resize(size, kNone);
        // Entries the array now covers leave the table.
        std::vector<Slot> old = std::move(sparse_);
        sparse_.clear();
        sparseCount_ = 0;
        for (const Slot& s : old)
            if (!s.empty()) {
                if (s.handle() < dense_.size()) dense_[s.handle()] = s.index;
                else placeSparse(s.handle(), s.index);
            }
    }

    // Twelve bytes rather than sixteen: the handle in two halves keeps the slot 4-aligned.
    struct Slot {
        std::uint32_t low = 0, high = 0;
        std::uint32_t index = kNone;
        std::uint64_t handle() const { return (std::uint64_t{high} << 32) | low; }
        bool empty() const { return (low | high) == 0; }
    };
    static_assert(sizeof(Slot) == 12);
    // Four handles in a row share one run of slots: neighbours in a file mostly share a cache
    // line. Longer runs collide as whole runs and push each other along.
    static std::size_t hash(std::uint64_t h) {
        std::uint64_t group = h >> 2;
        group ^= group >> 33;
        group *= 0xff51afd7ed558ccdULL;
        group ^= group >> 33;
        return static_cast<std::size_t>((group << 2) | (h & 3));
    }
    std::uint32_t findSparse(std::uint64_t h) const {
        for (std::size_t i = hash(h) & mask_;; i = (i + 1) & mask_) {
            const Slot& s = sparse_[i];
            if (s.handle() == h) return s.index;
            if (s.empty()) return kNone;
        }
    }
    void placeSparse(std::uint64_t handle, std::uint32_t index) {
        if (sparseCount_ + 1 > sparse_.size() / 4 * 3) rehash(sparse_.empty() ? 1024 : sparse_.size() * 2);
        std::size_t i = hash(handle) & mask_;
        while (!sparse_[i].empty()) i = (i + 1) & mask_;
        sparse_[i] = {static_cast<std::uint32_t>(handle), static_cast<std::uint32_t>(handle >> 32), index};
        ++sparseCount_;
    }
    void rehash(std::size_t size) {
        std::vector<Slot> old = std::move(sparse_);
        sparse_.assign(size, Slot{});
        mask_ = size - 1;
        sparseCount_ = 0;
        for (const Slot& s : old)
            if (!s.empty()) placeSparse(s.handle(), s.index);
    }

    std::vector<std::uint32_t> dense_;
    std::vector<Slot> sparse_;
    std::size_t mask_ = 0;
    std::size_t sparseCount_ = 0;
    std::size_t count_ = 0;
};

}  // namespace cad
