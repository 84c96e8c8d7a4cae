#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/api/Drawing.h"
#include "spaceblocks/Attribute.h"

namespace cad {
class BlockReference;
class Database;
}  // namespace cad

// The attribute values of one block reference and, for a space block, the formatting of its
// texts. Owns its attributes.
class CStoredProcedure;

class CAttributes {
  public:
    CAttributes() = default;
    virtual ~CAttributes() = default;
    CAttributes(const CAttributes&) = delete;
    CAttributes& operator=(const CAttributes&) = delete;

    // Without allowDuplicates an attribute whose tag is already present is dropped. True when added.
    bool add(std::unique_ptr<CAttribute> attribute, bool allowDuplicates = false);
    std::size_t getCount() const { return count_; }
    // Throws std::out_of_range past the end.
    CAttribute& getAt(std::size_t index) const { return *items_.at(index); }
    // First attribute with exactly this tag, or nullptr.
    CAttribute* getAtAttribute(const std::string& tag) const;
    // First space block attribute of the kind (CKorvaAttribute::kName ...), or nullptr.
    CAttribute* getAtAttribute(int kind) const;
    void deleteObjects();

    // ---- the property database ----
    // Appends the attributes the database holds for an asset ("[idr]..[getAssetAttributes]").
    void getAssetAttributes(CStoredProcedure& procedure, int drawingID, const std::string& handle, int timeout);
    // Registers every attribute of an asset, in order ("__to_applyAssetAttributeToIPR").
    void applyToIPR(CStoredProcedure& procedure, int drawingID, const std::string& handle, int timeout) const;

    double getTextHeight() const { return textHeight_; }
    void setTextHeight(double height) { textHeight_ = height; }
    double getWidthFactor() const { return widthFactor_; }
    void setWidthFactor(double factor) { widthFactor_ = factor; }
    // Degrees, in the user coordinate system.
    double getRotation() const { return rotation_; }
    void setRotation(double degrees) { rotation_ = degrees; }
    const cad::Point3d& getAreaPosition() const { return areaPosition_; }
    void setAreaPosition(const cad::Point3d& p) { areaPosition_ = p; }

    // Every attribute of the reference, as plain attributes.
    void extractAttributeValues(const cad::BlockReference& reference);
    // The NAME, AREA and AUX attributes (any letter case) and the formatting of the first one.
    void extractSpaceBlockAttributeValues(const cad::BlockReference& reference,
                                          const cad::Matrix3d& ucsToWcs);

    // Writes values and formatting, laid out around the anchor (the AREA text's position when
    // none is given). Does nothing for an entity that is not a block reference.
    void applyToDWG(cad::BlockReference& reference, const cad::Matrix3d& ucsToWcs,
                    const cad::Point3d* anchor = nullptr) const;
    void applyToDWG(cad::Database& db, cad::ObjectId referenceId, const cad::Matrix3d& ucsToWcs,
                    const cad::Point3d* anchor = nullptr) const;
    // Each attribute of the reference gets the value (and, when set, the layer) of the attribute
    // of `values` with the same tag; the others are left alone.
    static void applyToDWG(cad::BlockReference& reference, const CAttributes& values);

    // Deep copies without duplicates, and the text formatting; not the anchor.
    void copyAttributesTo(CAttributes& target) const;
    void copyKorvaAttributesTo(CAttributes& target) const;

    // Hides the reference's visible attributes and returns their ids, for setAttributesIDsVisible.
    static std::vector<cad::ObjectId> setAttributesIDsInvisible(cad::BlockReference& reference);
    static void setAttributesIDsVisible(cad::Database& db, const std::vector<cad::ObjectId>& ids);

  private:
    void copyFormattingTo(CAttributes& target) const;

    std::vector<std::unique_ptr<CAttribute>> items_;
    std::size_t count_ = 0;
    double textHeight_ = 250.0;
    double widthFactor_ = 1.0;
    double rotation_ = 0.0;
    cad::Point3d areaPosition_;
};
