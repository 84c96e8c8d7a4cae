#pragma once
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "engine/api/Drawing.h"

namespace cad {
class Database;
}

// The block references of a drawing's model space that can stand in a room (every reference
// whose block name does not match "ROOM-*"), indexed by their extents so that finding the assets
// of one room visits only the references near its outline. Build one per gathering: a room's
// crossing-polygon selection then costs a tree query instead of a walk over the drawing.
class CAssetIndex {
public:
    explicit CAssetIndex(cad::Database& db);

    // References inside or crossing the polygon (world x,y, implicitly closed), in drawing order.
    std::vector<cad::ObjectId> crossingPolygon(const std::vector<cad::Point2d>& polygon) const;
    std::size_t size() const { return index_.size(); }

private:
    cad::SpatialIndex index_;
    std::unordered_map<std::uint32_t, std::size_t> order_;  // id index -> position in model space
};
