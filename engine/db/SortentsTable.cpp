#include "engine/db/SortentsTable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"

namespace cad {

void SortentsTable::remapIds(const IdMapping& mapping) {
    DbObject::remapIds(mapping);
    block_ = mapping.translate(block_);
    for (Entry& e : entries_) e.entity = mapping.translate(e.entity);
}

Handle SortentsTable::sortKeyOf(ObjectId entity) const {
    for (const Entry& e : entries_)
        if (e.entity == entity) return e.sortKey;
    return database() ? database()->handleOf(entity) : Handle{};
}

std::vector<ObjectId> SortentsTable::drawOrder() const {
    std::vector<ObjectId> order;
    if (!database()) return order;
    const auto* block = dynamic_cast<const BlockTableRecord*>(database()->objectAt(block_));
    if (!block) return order;
    std::unordered_map<ObjectId, Handle> keys;
    keys.reserve(entries_.size());
    for (const Entry& e : entries_) keys.emplace(e.entity, e.sortKey);
    std::vector<std::pair<Handle, ObjectId>> keyed;
    for (ObjectId id : block->liveEntityIds()) {
        auto it = keys.find(id);
        keyed.emplace_back(it != keys.end() ? it->second : database()->handleOf(id), id);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    order.reserve(keyed.size());
    for (const auto& k : keyed) order.push_back(k.second);
    return order;
}

ErrorStatus SortentsTable::reorder(const std::vector<ObjectId>& entities, bool toBottom) {
    if (!database()) return ErrorStatus::eNotApplicable;
    std::vector<ObjectId> order = drawOrder();
    std::unordered_set<ObjectId> moving(entities.begin(), entities.end());
    {
        std::unordered_set<ObjectId> present(order.begin(), order.end());
        for (ObjectId id : entities)
            if (!present.count(id)) return ErrorStatus::eInvalidInput;
    }
    std::unordered_map<ObjectId, Handle> listed;
    listed.reserve(entries_.size());
    for (const Entry& e : entries_) listed.emplace(e.entity, e.sortKey);
    std::vector<Handle> keys;
    keys.reserve(order.size());
    for (ObjectId id : order) {
        auto it = listed.find(id);
        keys.push_back(it != listed.end() ? it->second : database()->handleOf(id));
    }
    std::sort(keys.begin(), keys.end());

    std::vector<ObjectId> moved, rest;
    for (ObjectId id : order) (moving.count(id) ? moved : rest).push_back(id);
    std::vector<ObjectId> next;
    next.reserve(order.size());
    if (toBottom) {
        next = moved;
        next.insert(next.end(), rest.begin(), rest.end());
    } else {
        next = rest;
        next.insert(next.end(), moved.begin(), moved.end());
    }

    // Hand the existing keys out again in the new order; list only keys that differ from the
    // entity's own handle. Erased entities keep their pairs so that unerasing restores them.
    std::vector<Entry> entries;
    for (const Entry& e : entries_) {
        const DbObject* obj = database()->objectAt(e.entity);
        if (obj && obj->isErased()) entries.push_back(e);
    }
    for (std::size_t i = 0; i < next.size(); ++i)
        if (keys[i] != database()->handleOf(next[i])) entries.push_back({next[i], keys[i]});
    entries_ = std::move(entries);
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus SortentsTable::moveToBottom(const std::vector<ObjectId>& entities) { return reorder(entities, true); }
ErrorStatus SortentsTable::moveToTop(const std::vector<ObjectId>& entities) { return reorder(entities, false); }

}  // namespace cad
