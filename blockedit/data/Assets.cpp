#include "data/Assets.h"

#include <stdexcept>

#include "core/KorvaWrap.h"
#include "data/AssetIndex.h"
#include "engine/api/Drawing.h"
#include "host/AcadUtilities.h"
#include "logging/XMLUtilities.h"
#include "reports/Hatch.h"

namespace {

constexpr const char* kFile = __FILE__;

// The world polygon a crossing selection over the UCS points covers.
std::vector<cad::Point2d> toWorld(const std::vector<cad::Point2d>& userPoints) {
    std::vector<cad::Point2d> world;
    world.reserve(userPoints.size());
    for (const cad::Point2d& p : userPoints)
        world.push_back(CAcadUtilities::convertUCSToWCS(cad::Point3d(p)).toPoint2d());
    return world;
}

}  // namespace

CAssets::~CAssets() = default;

void CAssets::add(std::unique_ptr<CAsset> asset) {
    korvaWrap(kFile, "CAssets::add", [&] {
        if (asset) items_.push_back(std::move(asset));
    });
}

CAsset& CAssets::getAt(std::size_t index) const {
    return korvaWrap(kFile, "CAssets::getAt", [&]() -> CAsset& {
        if (index >= items_.size())
            throw std::invalid_argument("asset index " + std::to_string(index) + " outside a collection of " +
                                        std::to_string(items_.size()));
        return *items_[index];
    });
}

CAsset* CAssets::getAtAsset(const std::string& handle) const {
    return korvaWrap(kFile, "CAssets::getAtAsset", [&]() -> CAsset* {
        for (const auto& asset : items_)
            if (asset->getHandleText() == handle) return asset.get();
        return nullptr;
    });
}

void CAssets::copyTo(CAssets& target) const {
    korvaWrap(kFile, "CAssets::copyTo", [&] {
        for (const auto& asset : items_) {
            auto copy = std::make_unique<CAsset>();
            asset->copyTo(*copy);
            target.items_.push_back(std::move(copy));
        }
    });
}

void CAssets::deleteObjects() {
    korvaWrap(kFile, "CAssets::deleteObjects", [&] { items_.clear(); });
}

pugi::xml_node CAssets::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CAssets::serialize", [&] {
        pugi::xml_node node = factory.createNode("assets", namespaceURI);
        for (const auto& asset : items_) CXMLUtilities::appendChild(node, asset->serialize(factory, namespaceURI));
        return node;
    });
}

void CAssets::deSerialize(const pugi::xml_node& node, const CHatch* hatch) {
    korvaWrap(kFile, "CAssets::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "asset") continue;
            auto asset = std::make_unique<CAsset>();
            asset->deSerialize(child);
            if (hatch) asset->setHatchSettings(hatch->clone());
            items_.push_back(std::move(asset));
        }
    });
}

void CAssets::applyToDWG(cad::Document& drawing, CKorvaExceptions& errors) {
    korvaWrap(kFile, "CAssets::applyToDWG", [&] {
        for (const auto& asset : items_) asset->applyToDWG(drawing, errors);
    });
}

std::vector<cad::Point2d> CAssets::outlinePolygon(const cad::Point3d& referencePoint, const cad::Polyline& outline) {
    return korvaWrap(kFile, "CAssets::outlinePolygon", [&] {
        const cad::Point3d offset = CAcadUtilities::convertWCSToUCS(referencePoint);
        std::vector<cad::Point2d> points;
        points.reserve(outline.numVerts());
        for (std::size_t i = 0; i < outline.numVerts(); ++i) {
            const cad::Point3d vertex = CAcadUtilities::convertWCSToUCS(outline.pointAt3d(i));
            const cad::Point2d point(vertex.x + offset.x, vertex.y + offset.y);
            if (!points.empty() && points.back() == point) continue;
            points.push_back(point);
        }
        return points;
    });
}

void CAssets::getPolylineAssets(const cad::Point3d& referencePoint, const cad::Polyline& outline, cad::Database& db,
                                const CAssetIndex& index, const std::string& exclusions) {
    korvaWrap(kFile, "CAssets::getPolylineAssets", [&] {
        const auto polygon = toWorld(outlinePolygon(referencePoint, outline));
        for (cad::ObjectId id : index.crossingPolygon(polygon)) {
            auto reference = db.open<cad::BlockReference>(id);
            if (!reference || reference->className() != "AcDbBlockReference") continue;
            std::string name = reference->blockName();
            if (name.rfind("*U", 0) == 0) {
                // An anonymous representation counts under the dynamic block it was made from.
                name = reference->effectiveName();
                if (name.empty() || name.rfind("*U", 0) == 0) continue;
            }
            auto asset = std::make_unique<CAsset>(*reference, name);
            if (!exclusions.empty() && exclusions.find(name) != std::string::npos) continue;
            items_.push_back(std::move(asset));
        }
    });
}

void CAssets::setPolylineAssetAttributesInvisible(const cad::Point3d& referencePoint, const cad::Polyline& outline,
                                                  cad::Database& db, const CAssetIndex& index,
                                                  std::vector<cad::ObjectId>& hidden) {
    korvaWrap(kFile, "CAssets::setPolylineAssetAttributesInvisible", [&] {
        const auto polygon = toWorld(outlinePolygon(referencePoint, outline));
        for (cad::ObjectId id : index.crossingPolygon(polygon)) {
            auto reference = db.open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
            if (!reference) continue;
            const auto ids = CAttributes::setAttributesIDsInvisible(*reference);
            hidden.insert(hidden.end(), ids.begin(), ids.end());
        }
    });
}
