#pragma once
#include <memory>
#include <string>

#include "engine/api/Drawing.h"

// One attribute value as read from or written to a block reference.
class CStoredProcedure;

class CAttribute {
  public:
    CAttribute() = default;
    // Registers the attribute of the asset `handle` ("__to_applyAssetAttributeToIPR").
    void applyToIPR(CStoredProcedure& procedure, int drawingID, const std::string& handle, int timeout) const;
    CAttribute(std::string tag, std::string value, std::string layer = {}, int exists = 0)
        : tag_(std::move(tag)), value_(std::move(value)), layer_(std::move(layer)), exists_(exists) {}
    virtual ~CAttribute() = default;

    const std::string& getTag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }
    const std::string& getValue() const { return value_; }
    void setValue(std::string value) { value_ = std::move(value); }
    const std::string& getLayer() const { return layer_; }
    void setLayer(std::string layer) { layer_ = std::move(layer); }
    int getExists() const { return exists_; }
    void setExists(int exists) { exists_ = exists; }
    cad::ObjectId getObjectId() const { return objectId_; }
    void setObjectId(cad::ObjectId id) { objectId_ = id; }

    // Tag, value and the exists flag (and the kind of a space block attribute); not the layer.
    virtual std::unique_ptr<CAttribute> clone() const;

  protected:
    CAttribute(const CAttribute&) = default;
    CAttribute& operator=(const CAttribute&) = default;

  private:
    std::string tag_;
    std::string value_;
    std::string layer_;
    int exists_ = 0;
    cad::ObjectId objectId_;
};
