#pragma once
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "data/Hyperlinks.h"
#include "engine/api/Drawing.h"
#include "spaceblocks/Attributes.h"

// Defined by the report layer above this one.
class CHatch;
class CKorvaExceptions;
class CStoredProcedure;
class CXMLUtilities;
namespace cad {
class BlockReference;
class Database;
class Document;
class Entity;
}  // namespace cad

// A block reference other than a space block (furniture, equipment) standing inside a room.
class CAsset {
public:
    CAsset();
    // The asset a reference found inside a room stands for: its handle, block name (the dynamic
    // block's own name for an anonymous representation), insertion point in the current user
    // coordinate system and attribute values; known to be in its location.
    CAsset(const cad::BlockReference& reference, const std::string& blockIdentifier);
    ~CAsset();
    CAsset(const CAsset&) = delete;
    CAsset& operator=(const CAsset&) = delete;

    cad::ObjectId getObjectId() const { return objectId_; }
    void setObjectId(cad::ObjectId id) { objectId_ = id; }
    cad::Handle getHandle() const { return handle_; }
    void setHandle(cad::Handle handle) { handle_ = handle; }
    // Hexadecimal text as the host writes it; text that is no handle leaves the null handle.
    std::string getHandleText() const;
    void setHandle(const std::string& text);
    int getLocationID() const { return locationID_; }
    void setLocationID(int id) { locationID_ = id; }
    int getDrawingID() const { return drawingID_; }
    void setDrawingID(int id) { drawingID_ = id; }
    const std::string& getBlockIdentifier() const { return blockIdentifier_; }
    void setBlockIdentifier(std::string text) { blockIdentifier_ = std::move(text); }
    const std::string& getBlockDescription() const { return blockDescription_; }
    void setBlockDescription(std::string text) { blockDescription_ = std::move(text); }
    const std::string& getUniqueDescription() const { return uniqueDescription_; }
    void setUniqueDescription(std::string text) { uniqueDescription_ = std::move(text); }
    double getPointX() const { return pointX_; }
    void setPointX(double x) { pointX_ = x; }
    double getPointY() const { return pointY_; }
    void setPointY(double y) { pointY_ = y; }
    int getAssetExistsInLocation() const { return assetExistsInLocation_; }
    void setAssetExistsInLocation(int flag) { assetExistsInLocation_ = flag ? 1 : 0; }
    CAttributes* getAttributes() const { return attributes_.get(); }
    void setAttributes(std::unique_ptr<CAttributes> attributes) { attributes_ = std::move(attributes); }
    CHyperlinks* getHyperlinks() const { return hyperlinks_.get(); }
    void setHyperlinks(std::unique_ptr<CHyperlinks> hyperlinks) { hyperlinks_ = std::move(hyperlinks); }
    CHatch* getHatchSettings() const { return hatchSettings_.get(); }
    void setHatchSettings(std::unique_ptr<CHatch> hatch);

    // Every field, with deep copies of the attributes, hyperlinks and hatch settings.
    void copyTo(CAsset& target) const;

    // <asset> with locationID, handle, blockIdentifier, blockDescription, uniqueDescription,
    // pointX and pointY; the owned parts are not written.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    void deSerialize(const pugi::xml_node& node);

    // Writes the asset into the drawing: its layer on, its hatch (with the hyperlinks on the hatch
    // too), its hyperlinks and its attribute values by tag. Hatching failures go to `errors`.
    void applyToDWG(cad::Document& drawing, CKorvaExceptions& errors);

    // ---- the property database ----
    // Registers the asset ("__to_applyAssetToIPR"); unless the database answers that it is
    // excluded from the take-off, an asset known to be in its location registers its attributes.
    void applyToIPR(CStoredProcedure& procedure, int drawingID, int locationID, int timeout);
    // Sends the asset to the take-off table ("__to_tp_exportAsset").
    void exportTP(CStoredProcedure& procedure, int timeout, const std::string& exportParameters);

    // ---- hyperlinks: the same rules as for space blocks ----
    void hyperlinkEntity(cad::Entity& entity) const;
    // The reference and, on AutoCAD LT and AutoCAD, its attributes.
    void hyperlinkAsset(cad::BlockReference& reference) const;
    void hyperlinkHatch(cad::Database& db, cad::ObjectId hatchId) const;

    // ---- hatching ----
    // Hatches the box round everything the reference's definition holds; the hatch drawn.
    cad::ObjectId hatchAsset(cad::Document& drawing, cad::BlockReference& reference, CKorvaExceptions& errors);
    // `box` is in the definition's coordinates relative to its origin.
    cad::ObjectId hatchAssetArea(cad::Document& drawing, cad::BlockReference& reference, const cad::Extents3d& box,
                                 CKorvaExceptions& errors);

private:
    cad::ObjectId objectId_;
    cad::Handle handle_;
    int locationID_ = 0;
    int drawingID_ = 0;
    std::string blockIdentifier_;
    std::string blockDescription_;
    std::string uniqueDescription_;
    double pointX_ = 0.0;
    double pointY_ = 0.0;
    int assetExistsInLocation_ = 0;
    std::unique_ptr<CAttributes> attributes_;
    std::unique_ptr<CHyperlinks> hyperlinks_;
    std::unique_ptr<CHatch> hatchSettings_;
};
