#pragma once
#include <vector>

#include "engine/geometry/Extents2d.h"
#include "engine/geometry/Point2d.h"

namespace cad {

// Polygons here are rings of points with an implied closing edge from the last to the first.

// Counter-clockwise positive.
double signedArea(const std::vector<Point2d>& ring);

// Even-odd inside test; points exactly on an edge may go either way.
bool pointInPolygon(const std::vector<Point2d>& ring, const Point2d& p);

// Closed segments ab and cd share a point (touching and collinear overlap included).
bool segmentsIntersect(const Point2d& a, const Point2d& b, const Point2d& c, const Point2d& d);

// Crossing selection: the path (a polyline, or a ring when `pathClosed`) has an edge that
// touches the polygon's boundary, a vertex inside the polygon, or, closed, encloses the polygon.
bool pathCrossesPolygon(const std::vector<Point2d>& path, bool pathClosed,
                        const std::vector<Point2d>& polygon);

// Window selection: every vertex of the path is inside the polygon and no edge crosses its
// boundary.
bool pathInsidePolygon(const std::vector<Point2d>& path, bool pathClosed,
                       const std::vector<Point2d>& polygon);

// The box (as a rectangle) and the polygon share a point.
bool boxCrossesPolygon(const Extents2d& box, const std::vector<Point2d>& polygon);

Extents2d extentsOf(const std::vector<Point2d>& points);

}  // namespace cad
