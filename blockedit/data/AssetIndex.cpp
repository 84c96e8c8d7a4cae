#include "data/AssetIndex.h"

#include <algorithm>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "engine/api/Selection.h"

namespace {

constexpr const char* kFile = __FILE__;

// What a crossing selection can see: entities on layers that are neither off nor frozen.
bool onVisibleLayer(cad::Database& db, const cad::Entity& entity) {
    auto layer = db.open<cad::LayerTableRecord>(entity.layerId());
    return !layer || (!layer->isOff() && !layer->isFrozen());
}

}  // namespace

CAssetIndex::CAssetIndex(cad::Database& db) {
    korvaWrap(kFile, "CAssetIndex::CAssetIndex", [&] {
        auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId());
        if (!space) return;
        std::size_t position = 0;
        // Assets share a few definitions: each is measured once.
        cad::BlockExtentsCache definitions;
        for (cad::ObjectId id : space->liveEntityIds()) {
            ++position;
            auto reference = db.open<cad::BlockReference>(id);
            if (!reference) continue;
            // The selection filter "~ROOM-*" on the block name: space blocks are never assets.
            if (cad::wildcardMatch(reference->blockName(), "ROOM-*", true)) continue;
            if (!onVisibleLayer(db, *reference)) continue;
            cad::Extents3d extents;
            if (reference->getGeomExtents(extents, definitions) != cad::ErrorStatus::eOk) continue;
            const cad::Extents2d box(extents.minPoint().toPoint2d(), extents.maxPoint().toPoint2d());
            index_.insert(id.index(), box);
            order_[id.index()] = position;
        }
    });
}

std::vector<cad::ObjectId> CAssetIndex::crossingPolygon(const std::vector<cad::Point2d>& polygon) const {
    return korvaWrap(kFile, "CAssetIndex::crossingPolygon", [&] {
        std::vector<cad::ObjectId> hits;
        if (polygon.size() < 3) return hits;
        for (cad::SpatialIndex::Id id : index_.queryPolygonCandidates(polygon)) {
            const auto box = index_.boxOf(id);
            if (box && cad::boxCrossesPolygon(*box, polygon)) hits.emplace_back(static_cast<std::uint32_t>(id));
        }
        std::sort(hits.begin(), hits.end(), [&](cad::ObjectId a, cad::ObjectId b) {
            return order_.at(a.index()) < order_.at(b.index());
        });
        return hits;
    });
}
