#include "engine/geometry/PolylineGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/geometry/PolygonOps.h"

namespace cad {

PolylineGeometry PolylineGeometry::fromPoints(const std::vector<Point2d>& points, bool closed) {
    std::vector<BulgeVertex> v;
    v.reserve(points.size());
    for (const auto& p : points) v.push_back({p, 0.0});
    return {std::move(v), closed};
}

std::size_t PolylineGeometry::segmentCount() const {
    if (vertices_.size() < 2) return 0;
    return closed_ ? vertices_.size() : vertices_.size() - 1;
}

BulgeSegment PolylineGeometry::segment(std::size_t index) const {
    const auto& a = vertices_[index];
    const auto& b = vertices_[(index + 1) % vertices_.size()];
    return {a.point, b.point, a.bulge};
}

double PolylineGeometry::signedArea() const {
    if (vertices_.size() < 2) return 0.0;
    // Shoelace over the chords relative to the first vertex (keeps precision far from the
    // origin), plus the circular segments of the arcs.
    const Point2d& o = vertices_.front().point;
    double twice = 0.0;
    for (std::size_t i = 0; i < vertices_.size(); ++i) {
        Vector2d a = vertices_[i].point - o;
        Vector2d b = vertices_[(i + 1) % vertices_.size()].point - o;
        twice += a.cross(b);
    }
    double area = 0.5 * twice;
    for (std::size_t i = 0; i < segmentCount(); ++i) area += segment(i).signedSegmentArea();
    return area;
}

double PolylineGeometry::area() const { return std::abs(signedArea()); }

double PolylineGeometry::length() const {
    double len = 0.0;
    for (std::size_t i = 0; i < segmentCount(); ++i) len += segment(i).length();
    return len;
}

Extents2d PolylineGeometry::extents() const {
    Extents2d e;
    for (const auto& v : vertices_) e.addPoint(v.point);
    for (std::size_t i = 0; i < segmentCount(); ++i) e.addExtents(segment(i).extents());
    return e;
}

std::vector<Point2d> PolylineGeometry::flatten(double chordTolerance) const {
    std::vector<Point2d> out;
    flattenBulgeVertices(vertices_, closed_, chordTolerance, out);
    return out;
}

bool PolylineGeometry::contains(const Point2d& p) const {
    if (vertices_.size() < 2) return false;
    // The curve is the chord polygon plus one closed arc-and-chord loop per arc, so its
    // crossing parity is the chord polygon's parity flipped once per circular segment
    // that holds the point.
    std::vector<Point2d> ring;
    ring.reserve(vertices_.size());
    for (const auto& v : vertices_) ring.push_back(v.point);
    bool inside = pointInPolygon(ring, p);
    // An open polyline is closed by a straight chord, which adds no segment region.
    for (std::size_t i = 0; i < segmentCount(); ++i)
        if (segment(i).segmentRegionContains(p)) inside = !inside;
    return inside;
}

double PolylineGeometry::distanceTo(const Point2d& p) const {
    if (vertices_.size() == 1) return p.distanceTo(vertices_.front().point);
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < segmentCount(); ++i) best = std::min(best, segment(i).distanceTo(p));
    return best;
}

}  // namespace cad
