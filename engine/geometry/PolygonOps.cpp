#include "engine/geometry/PolygonOps.h"

#include <algorithm>
#include <cstddef>

namespace cad {

double signedArea(const std::vector<Point2d>& ring) {
    if (ring.size() < 3) return 0.0;
    const Point2d& o = ring.front();
    double twice = 0.0;
    for (std::size_t i = 1; i + 1 < ring.size(); ++i) twice += (ring[i] - o).cross(ring[i + 1] - o);
    return 0.5 * twice;
}

bool pointInPolygon(const std::vector<Point2d>& ring, const Point2d& p) {
    bool inside = false;
    const std::size_t n = ring.size();
    if (n < 3) return false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point2d& a = ring[i];
        const Point2d& b = ring[j];
        // Half-open in y so that a ray through a vertex counts it once.
        if ((a.y > p.y) != (b.y > p.y)) {
            double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x) inside = !inside;
        }
    }
    return inside;
}

namespace {

double orient(const Point2d& a, const Point2d& b, const Point2d& c) { return (b - a).cross(c - a); }

bool onSegment(const Point2d& a, const Point2d& b, const Point2d& p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

int sign(double v) { return (v > 0) - (v < 0); }

bool anyEdgeIntersects(const std::vector<Point2d>& path, bool pathClosed,
                       const std::vector<Point2d>& polygon) {
    const std::size_t n = path.size(), m = polygon.size();
    if (n == 0 || m < 2) return false;
    const std::size_t pathEdges = n == 1 ? 1 : (pathClosed ? n : n - 1);
    Extents2d polyBox = extentsOf(polygon);
    for (std::size_t i = 0; i < pathEdges; ++i) {
        const Point2d& a = path[i];
        const Point2d& b = path[(i + 1) % n];
        if (!Extents2d(a, b).intersects(polyBox)) continue;
        for (std::size_t j = 0; j < m; ++j)
            if (segmentsIntersect(a, b, polygon[j], polygon[(j + 1) % m])) return true;
    }
    return false;
}

}  // namespace

bool segmentsIntersect(const Point2d& a, const Point2d& b, const Point2d& c, const Point2d& d) {
    int d1 = sign(orient(c, d, a)), d2 = sign(orient(c, d, b));
    int d3 = sign(orient(a, b, c)), d4 = sign(orient(a, b, d));
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    if (d1 == 0 && onSegment(c, d, a)) return true;
    if (d2 == 0 && onSegment(c, d, b)) return true;
    if (d3 == 0 && onSegment(a, b, c)) return true;
    if (d4 == 0 && onSegment(a, b, d)) return true;
    return false;
}

bool pathCrossesPolygon(const std::vector<Point2d>& path, bool pathClosed,
                        const std::vector<Point2d>& polygon) {
    if (path.empty() || polygon.size() < 3) return false;
    if (pointInPolygon(polygon, path.front())) return true;
    if (anyEdgeIntersects(path, pathClosed, polygon)) return true;
    // No boundary contact and the path starts outside: only a closed path around the whole
    // polygon is left.
    return pathClosed && path.size() >= 3 && pointInPolygon(path, polygon.front());
}

bool pathInsidePolygon(const std::vector<Point2d>& path, bool pathClosed,
                       const std::vector<Point2d>& polygon) {
    if (path.empty() || polygon.size() < 3) return false;
    if (!pointInPolygon(polygon, path.front())) return false;
    return !anyEdgeIntersects(path, pathClosed, polygon);
}

bool boxCrossesPolygon(const Extents2d& box, const std::vector<Point2d>& polygon) {
    if (box.isEmpty()) return false;
    const Point2d& lo = box.minPoint();
    const Point2d& hi = box.maxPoint();
    std::vector<Point2d> rect{lo, {hi.x, lo.y}, hi, {lo.x, hi.y}};
    return pathCrossesPolygon(rect, true, polygon);
}

Extents2d extentsOf(const std::vector<Point2d>& points) {
    Extents2d e;
    for (const auto& p : points) e.addPoint(p);
    return e;
}

}  // namespace cad
