#pragma once
#include "engine/db/Text.h"

namespace cad {

class AttributeDefinition;

// The value of an attribute on a block reference, owned by the reference.
class Attribute : public Text {
public:
    Attribute() : Text("ATTRIB") {}
    ObjectKind kind() const override { return ObjectKind::Attribute; }
    std::string_view className() const override { return "AcDbAttribute"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Attribute>(*this); }

    const std::string& tag() const { return tag_; }
    ErrorStatus setTag(std::string tag);

    int attributeFlags() const { return flags_; }
    void setAttributeFlags(int flags) { assign(flags_, flags); }
    bool isInvisible() const { return flags_ & AttributeFlags::kInvisible; }
    void setInvisible(bool on) { setBit(AttributeFlags::kInvisible, on); }
    bool isConstant() const { return flags_ & AttributeFlags::kConstant; }
    void setConstant(bool on) { setBit(AttributeFlags::kConstant, on); }
    bool isVerifiable() const { return flags_ & AttributeFlags::kVerify; }
    void setVerifiable(bool on) { setBit(AttributeFlags::kVerify, on); }
    bool isPreset() const { return flags_ & AttributeFlags::kPreset; }
    void setPreset(bool on) { setBit(AttributeFlags::kPreset, on); }
    int fieldLength() const { return fieldLength_; }
    void setFieldLength(int length) { assign(fieldLength_, length); }
    bool lockPosition() const { return lockPosition_; }
    void setLockPosition(bool on) { assign(lockPosition_, on); }

    // Takes tag, flags, text properties and default value from a definition, placed by the
    // reference's block transform.
    void setAttributeFromBlock(const AttributeDefinition& definition, const Matrix3d& blockTransform);

    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    void setBit(int bit, bool on) { setAttributeFlags(on ? flags_ | bit : flags_ & ~bit); }
    std::string tag_;
    int flags_ = 0, fieldLength_ = 0;
    bool lockPosition_ = false;
};

}  // namespace cad
