#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/api/Drawing.h"
#include "spaceblocks/Block.h"

class CHatch;
class CStoredProcedure;
class CXMLUtilities;
namespace cad {
class BlockReference;
class Database;
class Document;
}  // namespace cad

// The ordered collection of block records a whole-drawing operation works on. Owns its records.
class CBlocks {
public:
    static constexpr const char* kLevelFloor = "f";
    static constexpr const char* kMarkerLegend = "MARKER-LEGEND";
    static constexpr const char* kMarkerPie = "MARKER-PIECHART";
    static constexpr const char* kGrossArea = "ROOM-GROSS_AREA";

    // Builds the record of a marker reference (legend or pie chart marker).
    using MarkerFactory = std::function<std::unique_ptr<CBlock>(const cad::BlockReference&, cad::Database&)>;
    // A selection of the whole drawing: RTNORM and the entities when something was found.
    using Selector = int (*)(cad::Database&, std::vector<cad::ObjectId>&);

    CBlocks() = default;
    virtual ~CBlocks();
    CBlocks(const CBlocks&) = delete;
    CBlocks& operator=(const CBlocks&) = delete;

    // ---- selections ("X" mode: every block reference of the drawing's layouts) ----
    static int getKorvaBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set);   // "ROOM-*"
    static int getAcadBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set);    // every reference
    static int getLegendBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set);  // "MARKER-LEGEND"
    static int getPieBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set);     // "MARKER-PIECHART"

    // ---- gathering ----
    // The space blocks of the drawing: with level code "f" rooms and the floor, else buildings
    // and the site. withAssets lets each room collect the assets inside its outline.
    // A refused lock of the drawing gathers nothing.
    void getKorvaDWGBlocks_SS(cad::Document& drawing, bool withAssets, const std::string& levelCode);
    // The same over every block reference of model space except the markers.
    void getKorvaDWGBlocks_I(cad::Document& drawing, bool withAssets, const std::string& levelCode);
    // Every block reference as a plain drawing record.
    void getAcadBlocks(cad::Document& drawing);
    // The marker references whose definition is `markerName`, found by `select`, each made
    // into a record by `make`.
    void getMarkerBlocks_SS(cad::Document& drawing, Selector select, const std::string& markerName,
                            const MarkerFactory& make);
    void getLegendBlock_SS(cad::Document& drawing, const MarkerFactory& make);
    void getPieBlock_SS(cad::Document& drawing, const MarkerFactory& make);

    // The "NAME=" item of the reference's "AECXDATA" record, without its key; empty without one.
    static std::string readNameFromXData(const cad::BlockReference& reference);

    // ---- the property database ----
    // Appends one database-side record per child of parentID ("__to_getBlocksFromIPR"); rooms get
    // their assets from the database when loadAssets is set.
    void getIPRBlocks(CStoredProcedure& procedure, int drawingID, int parentID, bool loadAssets);
    // Appends one drawing-side space block per row of "__gr_getCategoryBlocks": handle, name,
    // code, area, the texts its attributes are to show, its hyperlinks, and a copy of the hatch.
    void getCategoryDWGBlocks(CStoredProcedure& procedure, int timeout, int categoryID, const CHatch* hatch);

    // ---- the list ----
    void addBlock(std::unique_ptr<CBlock> record);
    int getCount() const { return count_; }
    std::size_t getLength() const { return list_.size(); }
    // std::invalid_argument outside the list.
    CBlock& getAt(std::size_t index) const;
    // The first record whose handle text is exactly `handle`, or nullptr.
    CBlock* getAt(const std::string& handle) const;
    CBlock* getByCode(const std::string& code) const;
    // Stores the record at the index and deletes the one it replaces; nothing outside the list.
    void replaceAt(std::size_t index, std::unique_ptr<CBlock> record);
    // Deletes one record as the kind its blockType names.
    static void deleteObject(std::unique_ptr<CBlock> record);
    void deleteObjects();

    // Selection sort on the handles read as hexadecimal; equal handles keep their order.
    void sortBlocksByHandle(bool ascending);
    // Zooms the view to the outlines of all drawing records, each widened by the border. An empty
    // collection leaves the view alone. A refused lock raises the drawing-lock error.
    void zoomToBlocks(cad::Document& drawing, double border);

    // <korvaBlocks> with each drawing record's <korvaBlock>, in list order.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    // Appends one drawing record per <korvaBlock> child; each gets its own copy of `hatch`.
    void deSerialize(const pugi::xml_node& node, const CHatch* hatch = nullptr);

private:
    void gatherKorvaBlocks(cad::Database& db, const std::vector<cad::ObjectId>& candidates, bool withAssets,
                           const std::string& levelCode);

    std::vector<std::unique_ptr<CBlock>> list_;
    int count_ = 0;
};
