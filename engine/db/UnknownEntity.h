#pragma once
#include <string>
#include <vector>

#include "engine/db/Entity.h"

namespace cad {

// An entity of a kind the engine does not model, kept with its full tag body so that it is
// written back unchanged. Sub-entities that follow it in a file (VERTEX ... SEQEND of an old
// polyline) are its children.
class UnknownEntity : public Entity {
public:
    explicit UnknownEntity(std::string_view dxfName, std::string_view className = {})
        : Entity(""), className_(className) {
        setDxfName(dxfName);
    }
    ObjectKind kind() const override { return ObjectKind::UnknownEntity; }
    std::string_view className() const override { return className_; }
    void setClassName(std::string name) { assign(className_, std::move(name)); }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<UnknownEntity>(*this); }
    void remapIds(const IdMapping& mapping) override;
    void collectOwned(std::vector<ObjectId>& out) const override;

    RawTagList tags;
    std::vector<ObjectId> children;

private:
    std::string className_;
};

}  // namespace cad
