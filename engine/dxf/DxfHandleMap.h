#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cad {

// Handle -> (section, record) of a DXF document, as one flat open-addressing table: a large
// drawing has hundreds of thousands of handles, and a node each would cost a tenth of the file.
class DxfHandleMap {
public:
    void clear() {
        slots_.clear();
        count_ = 0;
    }
    void reserve(std::size_t count) {
        std::size_t wanted = 64;
        while (wanted / 4 * 3 < count) wanted *= 2;
        if (wanted > slots_.size()) rehash(wanted);
    }
    // Adds the handle (never 0) unless it is there; true when added.
    bool try_emplace(std::uint64_t handle, std::size_t section, std::size_t record) {
        if (count_ + 1 > slots_.size() / 4 * 3) rehash(slots_.empty() ? 64 : slots_.size() * 2);
        Slot& slot = probe(handle);
        if (slot.handle == handle) return false;
        slot = {handle, static_cast<std::uint32_t>(section), static_cast<std::uint32_t>(record)};
        ++count_;
        return true;
    }
    bool contains(std::uint64_t handle) const { return slotOf(handle) != nullptr; }
    // Where the handle is; false when nobody has it.
    bool find(std::uint64_t handle, std::size_t& section, std::size_t& record) const {
        const Slot* slot = slotOf(handle);
        if (!slot) return false;
        section = slot->section;
        record = slot->record;
        return true;
    }
    std::size_t size() const { return count_; }

private:
    struct Slot {
        std::uint64_t handle = 0;
        std::uint32_t section = 0, record = 0;
    };
    static std::size_t hash(std::uint64_t h) {
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return static_cast<std::size_t>(h);
    }
    Slot& probe(std::uint64_t handle) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash(handle) & mask;
        while (slots_[i].handle != 0 && slots_[i].handle != handle) i = (i + 1) & mask;
        return slots_[i];
    }
    const Slot* slotOf(std::uint64_t handle) const {
        if (slots_.empty() || handle == 0) return nullptr;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash(handle) & mask;; i = (i + 1) & mask) {
            if (slots_[i].handle == handle) return &slots_[i];
            if (slots_[i].handle == 0) return nullptr;
        }
    }
    void rehash(std::size_t size) {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(size, Slot{});
        for (const Slot& s : old)
            if (s.handle != 0) probe(s.handle) = s;
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

}  // namespace cad
