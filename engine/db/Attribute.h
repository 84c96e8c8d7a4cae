#pragma once
#include "engine/db/AttributeText.h"

namespace cad {

class AttributeDefinition;

// The value of an attribute on a block reference, owned by the reference.
class Attribute : public AttributeText {
public:
    Attribute() : AttributeText("ATTRIB") {}
    ObjectKind kind() const override { return ObjectKind::Attribute; }
    std::string_view className() const override { return "AcDbAttribute"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Attribute>(*this); }

    // Takes tag, flags, text properties, default value and multi-line part from a definition,
    // placed by the reference's block transform.
    void setAttributeFromBlock(const AttributeDefinition& definition, const Matrix3d& blockTransform);

    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    void takeMultilinePart(const AttributeDefinition& definition);
};

}  // namespace cad
