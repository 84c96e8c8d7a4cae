#include "engine/editor/EntitySelector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/db/Arc.h"
#include "engine/db/Circle.h"
#include "engine/db/Database.h"
#include "engine/db/Entity.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Line.h"
#include "engine/db/ObjectPtr.h"
#include "engine/db/Polyline.h"
#include "engine/geometry/PolygonOps.h"

namespace cad {

namespace {

constexpr int kCircleSegments = 64;

std::vector<Point2d> arcPoints(const Point3d& center, double radius, double start, double sweep) {
    std::vector<Point2d> points;
    int steps = std::max(2, static_cast<int>(std::ceil(kCircleSegments * sweep / (2 * std::numbers::pi))));
    for (int i = 0; i <= steps; ++i) {
        double a = start + sweep * i / steps;
        points.push_back({center.x + radius * std::cos(a), center.y + radius * std::sin(a)});
    }
    return points;
}

double distanceToSegment(const Point2d& p, const Point2d& a, const Point2d& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    double cx = a.x + t * dx - p.x, cy = a.y + t * dy - p.y;
    return std::sqrt(cx * cx + cy * cy);
}

double distanceToShape(const Point2d& p, const EntityShape& shape) {
    const auto& path = shape.path;
    if (path.size() == 1) return distanceToSegment(p, path[0], path[0]);
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i + 1 < path.size(); ++i) best = std::min(best, distanceToSegment(p, path[i], path[i + 1]));
    if (shape.closed && path.size() > 2) best = std::min(best, distanceToSegment(p, path.back(), path.front()));
    return best;
}

std::vector<Point2d> rectangle(const Point2d& a, const Point2d& b) {
    return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::min(a.y, b.y)},
            {std::max(a.x, b.x), std::max(a.y, b.y)}, {std::min(a.x, b.x), std::max(a.y, b.y)}};
}

}  // namespace

std::optional<EntityShape> entityShape(const Entity& entity) {
    EntityShape shape;
    if (auto* line = dynamic_cast<const Line*>(&entity)) {
        shape.path = {line->startPoint().toPoint2d(), line->endPoint().toPoint2d()};
    } else if (auto* arc = dynamic_cast<const Arc*>(&entity)) {
        shape.path = arcPoints(arc->centerWcs(), arc->radius(), arc->startAngle(), arc->totalAngle());
    } else if (auto* circle = dynamic_cast<const Circle*>(&entity)) {
        shape.path = arcPoints(circle->centerWcs(), circle->radius(), 0, 2 * std::numbers::pi);
        shape.path.pop_back();
        shape.closed = true;
    } else if (auto* pline = dynamic_cast<const Polyline*>(&entity)) {
        if (pline->numVerts() == 0) return std::nullopt;
        auto flat = pline->geometry().flatten(1e-3 * std::max(1.0, pline->geometry().extents().width()));
        // The flattened outline lies in the polyline's plane; tilted ones are taken by their vertices.
        bool planar = pline->normal().isEqualTo(Vector3d::zAxis());
        if (planar) {
            shape.path = std::move(flat);
        } else {
            for (std::size_t i = 0; i < pline->numVerts(); ++i) shape.path.push_back(pline->pointAt3d(i).toPoint2d());
        }
        shape.closed = pline->isClosed();
    } else {
        Extents3d extents;
        if (entity.getGeomExtents(extents) != ErrorStatus::eOk || extents.isEmpty()) return std::nullopt;
        shape.path = rectangle(extents.minPoint().toPoint2d(), extents.maxPoint().toPoint2d());
        shape.closed = true;
    }
    if (shape.path.empty()) return std::nullopt;
    shape.box = extentsOf(shape.path);
    return shape;
}

EntitySelector::EntitySelector(Database& database, ObjectId block) {
    if (block.isNull()) block = database.modelSpaceId();
    for (ObjectId id : database.drawOrder(block)) {
        auto entity = database.open<Entity>(id);
        if (!entity) continue;
        auto layer = database.open<LayerTableRecord>(entity->layerId());
        if (layer && (layer->isOff() || layer->isFrozen())) continue;
        auto shape = entityShape(*entity);
        position_[id.index()] = order_.size();
        order_.push_back(id);
        if (!shape) continue;
        index_.insert(id.index(), shape->box);
        extents_.addExtents(shape->box);
        shapes_.emplace(id.index(), std::move(*shape));
    }
}

std::vector<ObjectId> EntitySelector::inOrder(std::vector<SpatialIndex::Id> ids) const {
    std::sort(ids.begin(), ids.end(), [&](auto a, auto b) {
        return position_.at(static_cast<std::uint32_t>(a)) < position_.at(static_cast<std::uint32_t>(b));
    });
    std::vector<ObjectId> result;
    for (auto id : ids) result.emplace_back(static_cast<std::uint32_t>(id));
    return result;
}

std::vector<ObjectId> EntitySelector::window(const Point2d& a, const Point2d& b) const {
    return inOrder(index_.queryInside(Extents2d(a, b)));
}

std::vector<ObjectId> EntitySelector::crossing(const Point2d& a, const Point2d& b) const {
    return crossingPolygon(rectangle(a, b));
}

std::vector<ObjectId> EntitySelector::crossingPolygon(const std::vector<Point2d>& polygon) const {
    std::vector<SpatialIndex::Id> hits;
    for (auto id : index_.queryPolygonCandidates(polygon)) {
        const EntityShape& s = shapes_.at(static_cast<std::uint32_t>(id));
        // Outlines are curves, not areas: one that only surrounds the polygon does not cross it.
        std::vector<Point2d> edges = s.path;
        if (s.closed) edges.push_back(s.path.front());
        if (pathCrossesPolygon(edges, false, polygon)) hits.push_back(id);
    }
    return inOrder(std::move(hits));
}

std::vector<ObjectId> EntitySelector::windowPolygon(const std::vector<Point2d>& polygon) const {
    std::vector<SpatialIndex::Id> hits;
    for (auto id : index_.queryInside(extentsOf(polygon))) {
        const EntityShape& s = shapes_.at(static_cast<std::uint32_t>(id));
        if (pathInsidePolygon(s.path, s.closed, polygon)) hits.push_back(id);
    }
    return inOrder(std::move(hits));
}

std::optional<ObjectId> EntitySelector::pick(const Point2d& point, double distance) const {
    Extents2d box(point, point);
    box.expandBy(distance);
    std::optional<SpatialIndex::Id> best;
    double bestDistance = 0;
    for (auto id : index_.queryBox(box)) {
        double d = distanceToShape(point, shapes_.at(static_cast<std::uint32_t>(id)));
        if (d > distance) continue;
        bool better = !best || d < bestDistance - 1e-12 ||
                      (std::abs(d - bestDistance) <= 1e-12 &&
                       position_.at(static_cast<std::uint32_t>(id)) > position_.at(static_cast<std::uint32_t>(*best)));
        if (better) {
            best = id;
            bestDistance = d;
        }
    }
    if (!best) return std::nullopt;
    return ObjectId(static_cast<std::uint32_t>(*best));
}

double EntitySelector::pickDistance() const {
    if (extents_.isEmpty()) return 1e-6;
    double diagonal = std::hypot(extents_.width(), extents_.height());
    return std::max(1e-6, diagonal * 0.005);
}

}  // namespace cad
