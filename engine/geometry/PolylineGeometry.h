#pragma once
#include <cstddef>
#include <vector>

#include "engine/geometry/BulgeSegment.h"
#include "engine/geometry/Extents2d.h"
#include "engine/geometry/Point2d.h"

namespace cad {

struct BulgeVertex {
    Point2d point;
    double bulge = 0.0;  // of the segment that starts at this vertex
    friend bool operator==(const BulgeVertex&, const BulgeVertex&) = default;
};

// What PolylineGeometry::flatten gives for `vertices` (each with a point and a bulge), appended
// to `out`: for vertices kept elsewhere, without copying them.
template <class Vertices>
void flattenBulgeVertices(const Vertices& vertices, bool closed, double chordTolerance, std::vector<Point2d>& out) {
    const std::size_t n = vertices.size();
    if (n == 0) return;
    const std::size_t first = out.size();
    out.push_back(vertices[0].point);
    const std::size_t segments = n < 2 ? 0 : (closed ? n : n - 1);
    for (std::size_t i = 0; i < segments; ++i)
        BulgeSegment{vertices[i].point, vertices[(i + 1) % n].point, vertices[i].bulge}.flattenInto(out, chordTolerance);
    if (closed && out.size() > first + 1) out.pop_back();  // the closing segment ended at the start
}

// Measures of a 2D polyline with bulge arcs, in its own plane.
class PolylineGeometry {
public:
    PolylineGeometry() = default;
    PolylineGeometry(std::vector<BulgeVertex> vertices, bool closed)
        : vertices_(std::move(vertices)), closed_(closed) {}
    static PolylineGeometry fromPoints(const std::vector<Point2d>& points, bool closed);

    const std::vector<BulgeVertex>& vertices() const { return vertices_; }
    bool isClosed() const { return closed_; }
    // A closed polyline has a segment from its last vertex back to the first.
    std::size_t segmentCount() const;
    BulgeSegment segment(std::size_t index) const;

    // Counter-clockwise positive. An open polyline is measured as if closed by a straight line,
    // which is what area queries on open curves give.
    double signedArea() const;
    double area() const;
    // Along the arcs; includes the closing segment of a closed polyline.
    double length() const;
    Extents2d extents() const;
    // Points along the polyline, arcs split so that no point of an arc is further than
    // `chordTolerance` from the result. A closed polyline gives its ring without repeating the
    // first point; an open one ends at its last vertex.
    std::vector<Point2d> flatten(double chordTolerance) const;
    // Even-odd inside test of the closed outline, exact for arcs; boundary points are undefined.
    bool contains(const Point2d& p) const;
    // Shortest distance from p to the polyline's segments (infinite when it has none).
    double distanceTo(const Point2d& p) const;

private:
    std::vector<BulgeVertex> vertices_;
    bool closed_ = false;
};

}  // namespace cad
