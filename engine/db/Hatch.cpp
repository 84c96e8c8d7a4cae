#include "engine/db/Hatch.h"

#include <cmath>
#include <numbers>

#include "engine/db/Arc.h"
#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"
#include "engine/db/Line.h"
#include "engine/db/PlanarTransform.h"
#include "engine/db/Polyline.h"
#include "engine/db/SymbolName.h"
#include "engine/geometry/BlockTransform.h"
#include "engine/hatch/HatchPatternLibrary.h"

namespace cad {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double sweepOf(double start, double end) {
    double sweep = std::fmod(end - start, kTwoPi);
    if (sweep < 0) sweep += kTwoPi;
    if (sweep < 1e-12 && std::fabs(end - start) > 1e-12) sweep = kTwoPi;
    return sweep == 0.0 ? kTwoPi : sweep;
}

// Clockwise edge arcs store their angles mirrored; these give the real ones.
double realAngle(const HatchEdge& e, double stored) { return e.counterClockwise ? stored : -stored; }
double storedAngle(const HatchEdge& e, double real) { return e.counterClockwise ? real : -real; }

Point2d ellipsePoint(const HatchEdge& e, double t) {
    Vector2d minor{-e.majorAxis.y * e.radius, e.majorAxis.x * e.radius};
    return {e.center.x + std::cos(t) * e.majorAxis.x + std::sin(t) * minor.x,
            e.center.y + std::cos(t) * e.majorAxis.y + std::sin(t) * minor.y};
}

void appendEdge(const HatchEdge& e, std::vector<BulgeVertex>& out) {
    switch (e.type) {
        case HatchEdge::Type::Line: out.push_back({e.start, 0.0}); break;
        case HatchEdge::Type::CircularArc: {
            double sweep = sweepOf(e.startAngle, e.endAngle);
            double a0 = realAngle(e, e.startAngle);
            double dir = e.counterClockwise ? 1.0 : -1.0;
            // A full circle is two half arcs: one bulge cannot describe it.
            int pieces = sweep > std::numbers::pi + 1e-9 ? 2 : 1;
            for (int i = 0; i < pieces; ++i) {
                double a = a0 + dir * sweep * i / pieces;
                out.push_back({{e.center.x + e.radius * std::cos(a), e.center.y + e.radius * std::sin(a)},
                               dir * std::tan(sweep / pieces / 4.0)});
            }
            break;
        }
        case HatchEdge::Type::EllipticArc: {
            // The edge's angles are true angles from the major axis; points go by parameter.
            auto parameter = [&](double angle) {
                return std::atan2(std::sin(angle), e.radius * std::cos(angle));
            };
            const bool full = sweepOf(e.startAngle, e.endAngle) >= kTwoPi - 1e-12;
            const double s0 = parameter(e.startAngle);
            double sweep = full ? kTwoPi : sweepOf(s0, parameter(e.endAngle));
            double t0 = realAngle(e, s0);
            double dir = e.counterClockwise ? 1.0 : -1.0;
            int pieces = std::max(4, static_cast<int>(std::ceil(sweep / kTwoPi * 64)));
            for (int i = 0; i < pieces; ++i) out.push_back({ellipsePoint(e, t0 + dir * sweep * i / pieces), 0.0});
            break;
        }
        case HatchEdge::Type::Spline: {
            const auto& pts = e.fitPoints.empty() ? e.controlPoints : e.fitPoints;
            for (std::size_t i = 0; i + 1 < pts.size(); ++i) out.push_back({pts[i], 0.0});
            if (pts.size() == 1) out.push_back({pts[0], 0.0});
            break;
        }
    }
}
}  // namespace

PolylineGeometry HatchLoop::toPolyline() const {
    if (isPolyline()) return PolylineGeometry(vertices, true);
    std::vector<BulgeVertex> points;
    for (const HatchEdge& e : edges) appendEdge(e, points);
    return PolylineGeometry(std::move(points), true);
}

void Hatch::remapIds(const IdMapping& mapping) {
    Entity::remapIds(mapping);
    for (HatchLoop& loop : loops_)
        for (ObjectId& id : loop.sourceIds) id = mapping.translate(id);
}

void Hatch::setPattern(PatternType type, std::string name) {
    patternType_ = type;
    solid_ = symbolNamesEqual(name, "SOLID");
    patternName_ = std::move(name);
    lines_.clear();
    touch();
}

void Hatch::appendLoop(int type, std::vector<BulgeVertex> vertices) {
    HatchLoop loop;
    loop.type = type | HatchLoop::kPolyline;
    loop.vertices = std::move(vertices);
    appendLoop(std::move(loop));
}

ErrorStatus Hatch::appendLoop(int type, const std::vector<ObjectId>& curves) {
    if (!database() || curves.empty()) return ErrorStatus::eInvalidInput;
    Matrix3d toHatch = ocsToWorld(normal_).inverse();
    auto inPlane = [&](const Point3d& world) { return (toHatch * world).toPoint2d(); };
    HatchLoop loop;
    loop.type = type;
    loop.sourceIds = curves;
    for (ObjectId id : curves) {
        const DbObject* obj = database()->objectAt(id);
        if (!obj || obj->isErased()) return ErrorStatus::eWasErased;
        if (const auto* pl = dynamic_cast<const Polyline*>(obj)) {
            if (!pl->normal().isParallelTo(normal_) || pl->numVerts() < 2) return ErrorStatus::eInvalidInput;
            bool sameSense = pl->normal().dot(normal_) > 0;
            if (curves.size() == 1 && pl->isClosed() && sameSense) {
                loop.type |= HatchLoop::kPolyline;
                for (std::size_t i = 0; i < pl->numVerts(); ++i)
                    loop.vertices.push_back({inPlane(pl->pointAt3d(i)), pl->bulgeAt(i)});
                continue;
            }
            PolylineGeometry geom = pl->geometry();
            Matrix3d plToWorld = ocsToWorld(pl->normal());
            for (std::size_t s = 0; s < geom.segmentCount(); ++s) {
                BulgeSegment seg = geom.segment(s);
                HatchEdge edge;
                Point2d a = inPlane(plToWorld * Point3d(seg.start, pl->elevation()));
                Point2d b = inPlane(plToWorld * Point3d(seg.end, pl->elevation()));
                if (!seg.isArc()) {
                    edge.start = a;
                    edge.end = b;
                } else {
                    Point2d c = inPlane(plToWorld * Point3d(seg.center(), pl->elevation()));
                    bool ccw = (seg.bulge > 0) == sameSense;
                    edge.type = HatchEdge::Type::CircularArc;
                    edge.center = c;
                    edge.radius = seg.radius();
                    edge.counterClockwise = ccw;
                    edge.startAngle = storedAngle(edge, std::atan2(a.y - c.y, a.x - c.x));
                    edge.endAngle = storedAngle(edge, std::atan2(b.y - c.y, b.x - c.x));
                }
                loop.edges.push_back(std::move(edge));
            }
        } else if (const auto* arc = dynamic_cast<const Arc*>(obj)) {
            if (!arc->normal().isParallelTo(normal_)) return ErrorStatus::eInvalidInput;
            HatchEdge edge;
            edge.type = HatchEdge::Type::CircularArc;
            edge.center = inPlane(arc->centerWcs());
            edge.radius = arc->radius();
            edge.counterClockwise = arc->normal().dot(normal_) > 0;
            Point2d a = inPlane(arc->startPoint()), b = inPlane(arc->endPoint());
            edge.startAngle = storedAngle(edge, std::atan2(a.y - edge.center.y, a.x - edge.center.x));
            edge.endAngle = storedAngle(edge, std::atan2(b.y - edge.center.y, b.x - edge.center.x));
            loop.edges.push_back(std::move(edge));
        } else if (const auto* circle = dynamic_cast<const Circle*>(obj)) {
            if (!circle->normal().isParallelTo(normal_)) return ErrorStatus::eInvalidInput;
            HatchEdge edge;
            edge.type = HatchEdge::Type::CircularArc;
            edge.center = inPlane(circle->centerWcs());
            edge.radius = circle->radius();
            edge.startAngle = 0.0;
            edge.endAngle = kTwoPi;
            loop.edges.push_back(std::move(edge));
        } else if (const auto* line = dynamic_cast<const Line*>(obj)) {
            HatchEdge edge;
            edge.start = inPlane(line->startPoint());
            edge.end = inPlane(line->endPoint());
            loop.edges.push_back(std::move(edge));
        } else {
            return ErrorStatus::eWrongObjectType;
        }
    }
    if (!associative_) loop.sourceIds.clear();
    appendLoop(std::move(loop));
    return ErrorStatus::eOk;
}

ErrorStatus Hatch::removeLoopAt(std::size_t index) {
    if (index >= loops_.size()) return ErrorStatus::eInvalidInput;
    loops_.erase(loops_.begin() + static_cast<std::ptrdiff_t>(index));
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Hatch::getPattern(HatchPattern& pattern, double& angle, double& scale) const {
    pattern = HatchPattern{};
    pattern.name = patternName_;
    angle = patternAngle_;
    scale = patternScale_;
    if (solid_) return ErrorStatus::eOk;
    if (patternType_ == PatternType::UserDefined) {
        if (patternSpace_ <= 0.0) return ErrorStatus::eInvalidInput;
        pattern.lines.push_back({0.0, {0, 0}, {0, patternSpace_}, {}});
        if (patternDouble_) pattern.lines.push_back({90.0, {0, 0}, {0, patternSpace_}, {}});
        scale = 1.0;
        return ErrorStatus::eOk;
    }
    if (patternType_ == PatternType::Predefined && database()) {
        if (const HatchPattern* known = database()->hatchPatterns().find(patternName_)) {
            pattern = *known;
            return ErrorStatus::eOk;
        }
    }
    if (lines_.empty()) return ErrorStatus::eKeyNotFound;
    // Stored lines are already placed: use them as they are.
    constexpr double kDegrees = 180.0 / std::numbers::pi;
    for (const HatchDefinitionLine& line : lines_) {
        Vector2d local = line.offset.rotatedBy(-line.angle);
        pattern.lines.push_back({line.angle * kDegrees, line.basePoint, local, line.dashes});
    }
    angle = 0.0;
    scale = 1.0;
    return ErrorStatus::eOk;
}

ErrorStatus Hatch::evaluateHatch(HatchEvaluation* result) const {
    HatchPattern pattern;
    double angle = 0.0, scale = 1.0;
    if (ErrorStatus es = getPattern(pattern, angle, scale); es != ErrorStatus::eOk) return es;
    bool onlyOuter = style_ == Style::Ignore;
    if (onlyOuter) {
        onlyOuter = false;
        for (const HatchLoop& loop : loops_)
            onlyOuter |= (loop.type & (HatchLoop::kExternal | HatchLoop::kOutermost)) != 0;
    }
    std::vector<PolylineGeometry> rings;
    for (const HatchLoop& loop : loops_) {
        if (onlyOuter && !(loop.type & (HatchLoop::kExternal | HatchLoop::kOutermost))) continue;
        rings.push_back(loop.toPolyline());
    }
    HatchEvaluation evaluation = HatchEvaluator().evaluate(rings, pattern, angle, scale);
    ErrorStatus es = evaluation.status;
    if (result) *result = std::move(evaluation);
    return es;
}

ErrorStatus Hatch::computeDefinitionLines() {
    if (solid_) {
        lines_.clear();
        touch();
        return ErrorStatus::eOk;
    }
    if (patternType_ == PatternType::Custom && !lines_.empty()) return ErrorStatus::eOk;
    HatchPattern pattern;
    double angle = 0.0, scale = 1.0;
    if (ErrorStatus es = getPattern(pattern, angle, scale); es != ErrorStatus::eOk) return es;
    if (patternType_ == PatternType::UserDefined) angle = patternAngle_;
    std::vector<HatchDefinitionLine> lines;
    constexpr double kRadians = std::numbers::pi / 180.0;
    for (const PlacedPatternLine& placed : pattern.placedLines(angle, scale))
        lines.push_back({placed.angleDegrees * kRadians, placed.basePoint, placed.offset, placed.dashes});
    lines_ = std::move(lines);
    touch();
    return ErrorStatus::eOk;
}

double Hatch::area() const {
    std::vector<PolylineGeometry> rings;
    for (const HatchLoop& loop : loops_) rings.push_back(loop.toPolyline());
    double total = 0.0;
    for (std::size_t i = 0; i < rings.size(); ++i) {
        if (rings[i].vertices().empty()) continue;
        int depth = 0;
        for (std::size_t j = 0; j < rings.size(); ++j)
            if (j != i && rings[j].contains(rings[i].vertices().front().point)) ++depth;
        total += (depth % 2 == 0 ? 1.0 : -1.0) * rings[i].area();
    }
    return total;
}

ErrorStatus Hatch::transformBy(const Matrix3d& transform) {
    PlanarTransform t(normal_, transform);
    bool hasArcs = false;
    for (const HatchLoop& loop : loops_) {
        for (const BulgeVertex& v : loop.vertices) hasArcs |= v.bulge != 0.0;
        for (const HatchEdge& e : loop.edges) hasArcs |= e.type != HatchEdge::Type::Line;
    }
    if (hasArcs && !t.isUniform()) return ErrorStatus::eNotApplicable;
    auto map = [&](const Point2d& p) { return t.apply(Point3d(p, elevation_)).toPoint2d(); };
    auto mapVector = [&](const Vector2d& v) { return t.applyVector(Vector3d(v)).toVector2d(); };
    double scale = std::sqrt(t.scaleX() * t.scaleY());
    for (HatchLoop& loop : loops_) {
        for (BulgeVertex& v : loop.vertices) v.point = map(v.point);
        for (HatchEdge& e : loop.edges) {
            switch (e.type) {
                case HatchEdge::Type::Line:
                    e.start = map(e.start);
                    e.end = map(e.end);
                    break;
                case HatchEdge::Type::CircularArc:
                case HatchEdge::Type::EllipticArc: {
                    bool full = sweepOf(e.startAngle, e.endAngle) >= kTwoPi - 1e-12;
                    double a0 = t.applyAngle(realAngle(e, e.startAngle));
                    double a1 = t.applyAngle(realAngle(e, e.endAngle));
                    if (e.type == HatchEdge::Type::CircularArc) {
                        e.radius *= t.scaleX();
                        e.startAngle = storedAngle(e, a0);
                        e.endAngle = full ? e.startAngle + kTwoPi : storedAngle(e, a1);
                    } else {
                        // Parameters of an ellipse follow its major axis: keep them.
                        e.majorAxis = mapVector(e.majorAxis);
                    }
                    e.center = map(e.center);
                    break;
                }
                case HatchEdge::Type::Spline:
                    for (Point2d& p : e.controlPoints) p = map(p);
                    for (Point2d& p : e.fitPoints) p = map(p);
                    e.startTangent = mapVector(e.startTangent);
                    e.endTangent = mapVector(e.endTangent);
                    break;
            }
        }
    }
    for (HatchDefinitionLine& line : lines_) {
        line.angle = t.applyAngle(line.angle);
        line.basePoint = map(line.basePoint);
        line.offset = mapVector(line.offset);
        for (double& d : line.dashes) d *= scale;
    }
    for (Point2d& p : seeds_) p = map(p);
    patternAngle_ = t.applyAngle(patternAngle_);
    patternScale_ *= scale;
    patternSpace_ *= scale;
    Point3d origin = t.apply(Point3d(0, 0, elevation_));
    elevation_ = origin.z;
    normal_ = t.newNormal();
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Hatch::getGeomExtents(Extents3d& extents) const {
    Extents2d box;
    for (const HatchLoop& loop : loops_) box.addExtents(loop.toPolyline().extents());
    if (box.isEmpty()) return ErrorStatus::eInvalidInput;
    extents = ocsBoxExtents(box, normal_, elevation_);
    return ErrorStatus::eOk;
}

}  // namespace cad
