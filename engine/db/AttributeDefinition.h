#pragma once
#include "engine/db/Text.h"

namespace cad {

// The template of an attribute inside a block definition; its text is the default value.
class AttributeDefinition : public Text {
public:
    AttributeDefinition() : Text("ATTDEF") {}
    ObjectKind kind() const override { return ObjectKind::AttributeDefinition; }
    std::string_view className() const override { return "AcDbAttributeDefinition"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<AttributeDefinition>(*this); }

    const std::string& tag() const { return tag_; }
    // Tags hold no blanks: eInvalidInput for an empty tag or one with a space.
    ErrorStatus setTag(std::string tag);
    const std::string& prompt() const { return prompt_; }
    void setPrompt(std::string prompt) { assign(prompt_, std::move(prompt)); }

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

    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    void setBit(int bit, bool on) { setAttributeFlags(on ? flags_ | bit : flags_ & ~bit); }
    std::string tag_, prompt_;
    int flags_ = 0, fieldLength_ = 0;
    bool lockPosition_ = false;
};

}  // namespace cad
