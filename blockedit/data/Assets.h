#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "data/Asset.h"
#include "engine/api/Drawing.h"

class CAssetIndex;
class CHatch;
class CKorvaExceptions;
class CStoredProcedure;
class CXMLUtilities;
namespace cad {
class Document;
class Polyline;
}

// The assets of one room or one report category, in order. Owns its assets.
class CAssets {
public:
    CAssets() = default;
    ~CAssets();
    CAssets(const CAssets&) = delete;
    CAssets& operator=(const CAssets&) = delete;

    void add(std::unique_ptr<CAsset> asset);
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside the collection.
    CAsset& getAt(std::size_t index) const;
    // The first asset whose handle text is exactly `handle`, or nullptr.
    CAsset* getAtAsset(const std::string& handle) const;
    // Appends deep copies to the target.
    void copyTo(CAssets& target) const;
    void deleteObjects();

    // <assets> with one <asset> per asset.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    // Appends one asset per <asset> child; each gets its own copy of `hatch` when one is given.
    void deSerialize(const pugi::xml_node& node, const CHatch* hatch = nullptr);

    // Writes every asset into the drawing; hatching failures are collected, not thrown.
    void applyToDWG(cad::Document& drawing, CKorvaExceptions& errors);

    // ---- the property database ----
    // Registers every asset whose ",<block name>," does not occur in `exclusions`.
    void applyToIPR(CStoredProcedure& procedure, int drawingID, int locationID, int timeout,
                    const std::string& exclusions = {});
    void exportTP(CStoredProcedure& procedure, int timeout, const std::string& exportParameters);
    // Appends the assets the database holds for the room ("[idr]..[getLocationAssets]"), each with
    // its attributes.
    void getLocationAssets(CStoredProcedure& procedure, int locationID, int timeout);
    // Appends the assets of a report category ("__gr_getCategoryAssets") with their hyperlinks,
    // each with its own copy of `hatch` when one is given.
    void getCategoryAssets(CStoredProcedure& procedure, int timeout, int categoryID, const CHatch* hatch);

    // The crossing polygon of a room outline drawn in its block definition and standing at
    // `referencePoint` (no rotation or scale): each vertex and the reference point in the current
    // UCS, added; a vertex equal to the one before it is left out.
    static std::vector<cad::Point2d> outlinePolygon(const cad::Point3d& referencePoint, const cad::Polyline& outline);
    // Appends the assets standing inside or across the outline: every block reference found by
    // the index except those whose block name occurs anywhere in `exclusions`. Anonymous
    // references count under the dynamic block they show; other anonymous ones are skipped.
    void getPolylineAssets(const cad::Point3d& referencePoint, const cad::Polyline& outline, cad::Database& db,
                           const CAssetIndex& index, const std::string& exclusions = {});
    // Hides the attributes of every block reference inside or across the outline; their ids are
    // appended to `hidden` so that they can be shown again.
    static void setPolylineAssetAttributesInvisible(const cad::Point3d& referencePoint, const cad::Polyline& outline,
                                                    cad::Database& db, const CAssetIndex& index,
                                                    std::vector<cad::ObjectId>& hidden);

private:
    std::vector<std::unique_ptr<CAsset>> items_;
};
