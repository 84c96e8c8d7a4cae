#pragma once
#include <vector>

#include "engine/db/DbObject.h"

namespace cad {

// The draw order of one block: entities are drawn in ascending order of their sort key; an entity
// not listed uses its own handle as key. Lives in the block's extension dictionary under
// "ACAD_SORTENTS".
class SortentsTable : public DbObject {
public:
    struct Entry {
        ObjectId entity;
        Handle sortKey;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    SortentsTable() : DbObject("SORTENTSTABLE") {}
    ObjectKind kind() const override { return ObjectKind::SortentsTable; }
    std::string_view className() const override { return "AcDbSortentsTable"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<SortentsTable>(*this); }
    void remapIds(const IdMapping& mapping) override;

    ObjectId blockId() const { return block_; }
    void setBlockId(ObjectId id) { assign(block_, id); }
    // Listed pairs as stored (erased entities included; writers skip them).
    const std::vector<Entry>& entries() const { return entries_; }
    void setEntries(std::vector<Entry> entries) { assign(entries_, std::move(entries)); }

    Handle sortKeyOf(ObjectId entity) const;
    // The block's live entities, first drawn first; equal keys keep the block's order.
    std::vector<ObjectId> drawOrder() const;
    // Puts the entities beneath everything else (drawn first), keeping their relative order.
    ErrorStatus moveToBottom(const std::vector<ObjectId>& entities);
    // Puts them above everything else (drawn last).
    ErrorStatus moveToTop(const std::vector<ObjectId>& entities);

private:
    ErrorStatus reorder(const std::vector<ObjectId>& entities, bool toBottom);

    ObjectId block_;
    std::vector<Entry> entries_;
};

}  // namespace cad
