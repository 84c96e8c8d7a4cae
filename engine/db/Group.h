#pragma once
#include <string>
#include <vector>

#include "engine/db/DbObject.h"

namespace cad {

// A named or unnamed selection of entities, an entry of the ACAD_GROUP dictionary.
class Group : public DbObject {
public:
    Group() : DbObject("GROUP") {}
    ObjectKind kind() const override { return ObjectKind::Group; }
    std::string_view className() const override { return "AcDbGroup"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Group>(*this); }
    void remapIds(const IdMapping& mapping) override;

    const std::string& description() const { return description_; }
    void setDescription(std::string text) { assign(description_, std::move(text)); }
    bool isAnonymous() const { return anonymous_; }
    void setAnonymous(bool on) { assign(anonymous_, on); }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool on) { assign(selectable_, on); }
    // Members as stored, erased ones included (writers skip them).
    const std::vector<ObjectId>& entityIds() const { return members_; }
    void setEntityIds(std::vector<ObjectId> ids) { assign(members_, std::move(ids)); }
    void append(ObjectId id) { members_.push_back(id); touch(); }

private:
    std::string description_;
    std::vector<ObjectId> members_;
    bool anonymous_ = false, selectable_ = true;
};

}  // namespace cad
