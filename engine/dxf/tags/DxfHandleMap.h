#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/db/HandleIndex.h"

namespace cad {

// Handle -> (section, record) of a DXF document: the database's flat handle table pointing into
// a list of places, since a node per handle would cost a tenth of the file.
class DxfHandleMap {
public:
    void clear() {
        index_ = HandleIndex{};
        places_.assign(1, {0, 0});  // index 0 is the table's "none"
    }
    void reserve(std::size_t count) {
        index_.reserve(count);
        places_.reserve(count + 1);
    }
    // Adds the handle (never 0) unless it is there; true when added.
    bool try_emplace(std::uint64_t handle, std::size_t section, std::size_t record) {
        if (places_.empty()) places_.assign(1, {0, 0});
        if (index_.find(Handle(handle)) != HandleIndex::kNone) return false;
        index_.insert(Handle(handle), static_cast<std::uint32_t>(places_.size()));
        places_.emplace_back(static_cast<std::uint32_t>(section), static_cast<std::uint32_t>(record));
        return true;
    }
    bool contains(std::uint64_t handle) const { return index_.find(Handle(handle)) != HandleIndex::kNone; }
    // Where the handle is; false when nobody has it.
    bool find(std::uint64_t handle, std::size_t& section, std::size_t& record) const {
        const std::uint32_t at = index_.find(Handle(handle));
        if (at == HandleIndex::kNone) return false;
        section = places_[at].first;
        record = places_[at].second;
        return true;
    }

private:
    HandleIndex index_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> places_;
};

}  // namespace cad
