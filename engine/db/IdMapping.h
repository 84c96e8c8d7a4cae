#pragma once
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/db/ObjectId.h"

namespace cad {

// Source id -> clone id, filled by a deep clone in the order the clones were made.
class IdMapping {
public:
    void add(ObjectId source, ObjectId clone) {
        if (index_.emplace(source, clone).second) pairs_.emplace_back(source, clone);
    }
    // The clone of `source`, or the null id when it was not cloned.
    ObjectId find(ObjectId source) const {
        auto it = index_.find(source);
        return it == index_.end() ? ObjectId{} : it->second;
    }
    // `id` translated when it was cloned, else unchanged.
    ObjectId translate(ObjectId id) const {
        ObjectId clone = find(id);
        return clone ? clone : id;
    }
    void reserve(std::size_t count) {
        pairs_.reserve(count);
        index_.reserve(count);
    }
    const std::vector<std::pair<ObjectId, ObjectId>>& pairs() const { return pairs_; }
    std::size_t size() const { return pairs_.size(); }

private:
    std::vector<std::pair<ObjectId, ObjectId>> pairs_;
    std::unordered_map<ObjectId, ObjectId> index_;
};

}  // namespace cad
