#pragma once
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/db/ObjectId.h"
#include "engine/geometry/Extents2d.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/SpatialIndex.h"

namespace cad {

class Database;
class Entity;

// An entity as picking and selection see it: its outline in world x,y (arcs flattened) and its box.
struct EntityShape {
    std::vector<Point2d> path;
    bool closed = false;
    Extents2d box;
};

// The outline of an entity; texts, references and other entities are taken by their extents box.
// Nothing for entities without geometry.
std::optional<EntityShape> entityShape(const Entity& entity);

// Picks and selects the entities of one block (model space by default) that can be selected: not
// erased, not on a layer that is off or frozen. Results come in draw order.
class EntitySelector {
public:
    explicit EntitySelector(Database& database, ObjectId block = {});

    std::vector<ObjectId> all() const { return order_; }
    // Entities lying wholly inside the window.
    std::vector<ObjectId> window(const Point2d& a, const Point2d& b) const;
    // Entities inside or crossing the window.
    std::vector<ObjectId> crossing(const Point2d& a, const Point2d& b) const;
    std::vector<ObjectId> crossingPolygon(const std::vector<Point2d>& polygon) const;
    std::vector<ObjectId> windowPolygon(const std::vector<Point2d>& polygon) const;
    // The entity whose outline passes nearest the point, within the distance; between equally near
    // ones the topmost in draw order.
    std::optional<ObjectId> pick(const Point2d& point, double distance) const;
    // The pick distance for this drawing: half a percent of the extents' diagonal.
    double pickDistance() const;

private:
    std::vector<ObjectId> inOrder(std::vector<SpatialIndex::Id> ids) const;

    std::vector<ObjectId> order_;
    std::unordered_map<std::uint32_t, std::size_t> position_;  // id index -> place in order_
    std::unordered_map<std::uint32_t, EntityShape> shapes_;
    SpatialIndex index_;
    Extents2d extents_;
};

}  // namespace cad
