#pragma once
#include <vector>

#include "engine/geometry/Extents2d.h"
#include "engine/geometry/Point2d.h"

namespace cad {

// One segment of a bulge polyline: a line when the bulge is 0, otherwise a circular arc whose
// bulge is tan(included angle / 4); a positive bulge turns counter-clockwise from start to end.
struct BulgeSegment {
    Point2d start;
    Point2d end;
    double bulge = 0.0;

    bool isArc() const;
    double chordLength() const { return start.distanceTo(end); }
    // Signed included angle (positive counter-clockwise); 0 for lines.
    double includedAngle() const;
    double radius() const;
    Point2d center() const;
    double length() const;
    // Signed area between the arc and its chord: positive when the arc turns counter-clockwise
    // (it lies to the right of the chord). Added to the chord polygon's area it gives the area
    // of the polyline.
    double signedSegmentArea() const;
    Extents2d extents() const;
    // Appends the points after `start` up to and including `end`, so that no point of the arc
    // is further than `chordTolerance` from the chords.
    void flattenInto(std::vector<Point2d>& out, double chordTolerance) const;
    // True when p lies strictly inside the region between arc and chord (always false for lines).
    bool segmentRegionContains(const Point2d& p) const;
    Point2d closestPointTo(const Point2d& p) const;
    double distanceTo(const Point2d& p) const { return p.distanceTo(closestPointTo(p)); }
};

// The bulge of the arc from `startAngle` counter-clockwise to `endAngle` (radians).
double bulgeFromArc(double startAngle, double endAngle);

// Extents of the arc of a circle from `startAngle` counter-clockwise to `endAngle` (radians);
// equal angles mean the full circle.
Extents2d arcExtents(const Point2d& center, double radius, double startAngle, double endAngle);

}  // namespace cad
