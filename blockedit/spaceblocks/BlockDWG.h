#pragma once
#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "engine/api/Drawing.h"
#include "spaceblocks/Attributes.h"
#include "spaceblocks/Block.h"

// Owned parts of a record that belong to the higher layers: held here, defined there.
class CAssetIndex;
class CAssets;
class CHatch;
class CKorvaExceptions;
class CXMLUtilities;
namespace cad {
class BlockReference;
class Database;
class Document;
class Entity;
}  // namespace cad

// A space block as it stands in the drawing: a block reference whose XData record holds the
// measured area and perimeter and the descriptive fields of the space.
class CBlockDWG : public CBlock {
  public:
    static constexpr const char* kNotSet = "<Not Set>";
    static constexpr const char* kNoXData = "No X Data";

    // An empty record with the initialise defaults.
    CBlockDWG();
    // The record of a block reference: its XData (under "ADE", else "AECXDATA"), attributes and
    // hyperlinks.
    CBlockDWG(const cad::BlockReference& reference, cad::Database& db);
    ~CBlockDWG() override;

    void initialise();
    // Parses the record's items; unknown items are ignored.
    void readXData(const cad::XDataChain& chain, cad::Database& db);
    // Writes the record onto the entity when it is a block reference.
    void writeXData(cad::Entity& entity);
    // The XData chain writeXData sets (with the application name it would register).
    cad::XDataChain buildXData() const;

    cad::ObjectId getObjectId() const { return objectId_; }
    void setObjectId(cad::ObjectId id) { objectId_ = id; }
    cad::Handle getAcDbHandle() const { return acDbHandle_; }
    void setHandle(cad::Handle handle);
    // Hexadecimal text; text that is no handle leaves the numeric form null.
    void setHandle(const std::string& handle);
    const std::string& getBlockName() const { return blockName_; }
    void setBlockName(std::string name) { blockName_ = std::move(name); }
    const std::string& getXDataAppName() const { return xDataAppName_; }
    void setXDataAppName(std::string name) { xDataAppName_ = std::move(name); }
    int getZoomAfterApply() const { return zoomAfterApply_; }
    void setZoomAfterApply(int flag) { zoomAfterApply_ = flag; }
    double getZoomBorder() const { return zoomBorder_; }
    void setZoomBorder(double border) { zoomBorder_ = border; }
    int getColorIndex() const { return colorIndex_; }
    void setColorIndex(int index) { colorIndex_ = index; }
    int getLineWeight() const { return lineWeight_; }
    void setLineWeight(int weight) { lineWeight_ = weight; }
    const std::string& getLayer() const { return layer_; }
    void setLayer(std::string layer) { layer_ = std::move(layer); }
    CAttributes* getAttributes() const { return attributes_.get(); }
    void setAttributes(std::unique_ptr<CAttributes> attributes) { attributes_ = std::move(attributes); }
    CHatch* getHatchSettings() const { return hatchSettings_.get(); }
    void setHatchSettings(std::unique_ptr<CHatch> hatch);
    CAssets* getAssets() const { return assets_.get(); }
    void setAssets(std::unique_ptr<CAssets> assets);

    // "sq.m."/"sq.ft.", "m."/"ft.", "cu.m."/"cu.ft." by units (imperial only for 1).
    std::string areaUnitText() const;
    std::string lengthUnitText() const;
    std::string volumeUnitText() const;

    // ---- handle lists ----
    // Each comma-terminated token that names an object of the database.
    void setHandlesToAdd(const std::string& text, cad::Database& db);
    void setHandlesToMinus(const std::string& text, cad::Database& db);
    // The handles of those ids that open as polylines.
    void setHandlesToAdd(const std::vector<cad::ObjectId>& ids, cad::Database& db);
    void setHandlesToMinus(const std::vector<cad::ObjectId>& ids, cad::Database& db);
    std::string getHandlesToAddAsString() const;
    std::string getHandlesToMinusAsString() const;
    const std::vector<cad::Handle>& getHandlesToAdd() const { return handlesToAdd_; }
    const std::vector<cad::Handle>& getHandlesToMinus() const { return handlesToMinus_; }
    // Index access; std::invalid_argument outside the list.
    cad::Handle getHandleToAddAt(std::size_t index) const;
    cad::Handle getHandleToMinusAt(std::size_t index) const;
    std::size_t getHandlesToAddLength() const { return handlesToAdd_.size(); }
    std::size_t getHandlesToMinusLength() const { return handlesToMinus_.size(); }
    void removeHandleToAddAt(std::size_t index);
    void removeHandleToMinusAt(std::size_t index);

    // Area and perimeter to square feet and feet (newUnits non-zero) or back.
    void convertUnits(int newUnits);
    // Renames the reference's block definition to blockName.
    void updateBlockIdentifier(cad::Entity& entity);
    // Writes the record back into the drawing under the document's lock; failures of single steps
    // that must not stop the caller's loop go to `errors`.
    void applyToDWG(cad::Document& drawing, CKorvaExceptions& errors);
    // Deep copy: the target owns copies of the collections.
    void copyInto(CBlockDWG& target) const;

    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    void deSerialize(const pugi::xml_node& node);

    // Zooms the view to the entity's outline extents widened by zoomBorder.
    void zoomToBlock(cad::Document& drawing, const cad::Entity& entity) const;

    // ---- hatching ----
    // Hatches the reference's outline (the first polyline of its definition) with the added
    // areas as further loops and the subtracted ones as holes. Failures that must not stop a
    // loop over many blocks go to `errors`; hatchId is the hatch drawn (null when none).
    void hatchBlock(cad::Document& drawing, cad::BlockReference& reference, cad::ObjectId& hatchId,
                    CKorvaExceptions& errors);
    void hatchObject(cad::Document& drawing, cad::BlockReference& reference, cad::ObjectId boundaryId,
                     const std::vector<cad::ObjectId>& noHatchIds, const std::vector<cad::ObjectId>& additionalIds,
                     cad::ObjectId& hatchId, CKorvaExceptions& errors);

    // ---- deleting ----
    // Puts the entities of the reference's definition (its attribute definitions aside) back into
    // the reference's owner where the reference showed them, erases the reference, and erases the
    // definition when nothing uses it any more.
    void deleteBlock(cad::Document& drawing);
    // Erases the definition when no live reference uses it; true when it was erased.
    static bool deleteBlockDefinition(cad::Database& db, cad::ObjectId blockId);
    // ---- hyperlinks ----
    // Replaces the entity's hyperlinks by this block's.
    void hyperlinkEntity(cad::Entity& entity) const;
    // The reference (and, on AutoCAD and AutoCAD LT, its attributes); with fromDefinition every
    // entity of the definition and every attribute instead.
    void hyperlinkBlock(cad::BlockReference& reference, bool fromDefinition) const;
    void hyperlinkHatch(cad::Database& db, cad::ObjectId hatchId) const;

    // ---- attributes ----
    void updateAttributes(cad::Database& db, const cad::Matrix3d& ucsToWcs,
                          const cad::Point3d* anchor = nullptr);
    void copyFormatting(CBlockDWG& target) const;

    // ---- area and perimeter ----
    double calcAddArea(cad::Database& db);
    double calcSubArea(cad::Database& db);
    double calcAddAreaPerimeters(cad::Database& db);
    double calcSubAreaPerimeters(cad::Database& db);
    void recalculateArea(cad::Database& db);
    void recalculatePerimeter(cad::Database& db);
    static int convertHandlesToObjectIds(const std::vector<cad::Handle>& handles, cad::Database& db,
                                         std::vector<cad::ObjectId>& ids);
    // Shows the listed polylines in green (added) or red (subtracted) with heavy lines, or gives
    // them back the reference's colour and line weight.
    void highlightAreasAdded(cad::Document& drawing, bool highlight, bool announce);
    void highlightAreasSubtracted(cad::Document& drawing, bool highlight, bool announce);

  private:
    enum class Measure { Area, Perimeter };
    double walkList(std::vector<cad::Handle>& list, cad::Database& db, Measure measure);
    void highlightList(std::vector<cad::Handle>& list, cad::Database& db, bool highlight, int colour);
    void setHandlesFromText(std::vector<cad::Handle>& list, const std::string& text, cad::Database& db);
    void setHandlesFromIds(std::vector<cad::Handle>& list, const std::vector<cad::ObjectId>& ids,
                           cad::Database& db);

    cad::ObjectId objectId_;
    cad::Handle acDbHandle_;
    std::string blockName_;
    std::string xDataAppName_;
    std::vector<cad::Handle> handlesToMinus_;
    std::vector<cad::Handle> handlesToAdd_;
    std::unique_ptr<CHatch> hatchSettings_;
    std::unique_ptr<CAttributes> attributes_;
    std::unique_ptr<CAssets> assets_;
    int zoomAfterApply_ = 0;
    double zoomBorder_ = 0.0;
    int colorIndex_ = 256;
    int lineWeight_ = -1;
    std::string layer_;
};

// The four kinds differ only in their type code and default block name.
class CBlockDWGRoom : public CBlockDWG {
  public:
    CBlockDWGRoom();
    CBlockDWGRoom(const cad::BlockReference& reference, cad::Database& db);
    // withAssets: also collects the assets standing inside the outline, through `index` when
    // given (one index serves a whole gathering), else through an index built for this room.
    CBlockDWGRoom(const cad::BlockReference& reference, cad::Database& db, bool withAssets,
                  const CAssetIndex* index = nullptr);
};

class CBlockDWGFloor : public CBlockDWG {
  public:
    CBlockDWGFloor();
    CBlockDWGFloor(const cad::BlockReference& reference, cad::Database& db);
};

class CBlockDWGBuilding : public CBlockDWG {
  public:
    CBlockDWGBuilding();
    CBlockDWGBuilding(const cad::BlockReference& reference, cad::Database& db);
};

class CBlockDWGSite : public CBlockDWG {
  public:
    CBlockDWGSite();
    CBlockDWGSite(const cad::BlockReference& reference, cad::Database& db);
};
