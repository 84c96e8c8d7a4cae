#pragma once
#include "engine/db/Text.h"

namespace cad {

// What an attribute and its definition share: the tag and the attribute flags.
class AttributeText : public Text {
public:
    const std::string& tag() const { return tag_; }
    // Tags hold no blanks: eInvalidInput for an empty tag or one with a space.
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

protected:
    explicit AttributeText(const char* dxfName) : Text(dxfName) {}
    // Tag, flags (less `dropped`), field length and lock from another attribute or definition.
    void takeAttributePart(const AttributeText& from, int dropped) {
        tag_ = from.tag_;
        flags_ = from.flags_ & ~dropped;
        fieldLength_ = from.fieldLength_;
        lockPosition_ = from.lockPosition_;
    }

private:
    void setBit(int bit, bool on) { setAttributeFlags(on ? flags_ | bit : flags_ & ~bit); }
    std::string tag_;
    int flags_ = 0, fieldLength_ = 0;
    bool lockPosition_ = false;
};

}  // namespace cad
