#pragma once
#include <string>
#include <vector>

#include "engine/geometry/Point2d.h"
#include "engine/geometry/Vector2d.h"

namespace cad {

// One line family of a pattern as a .pat file gives it: the family's angle in degrees, a point
// of its first line, the offset from one line to the next in the line's own frame (x along the
// line, which shifts the dashes, y across it, which is the spacing), and the dash list
// (positive dash, negative gap, zero dot). No dashes means a continuous line.
struct HatchPatternLine {
    double angle = 0.0;
    Point2d origin;
    Vector2d offset;
    std::vector<double> dashes;
};

// The same family placed in the hatch plane for a given pattern angle and scale, the form a
// DXF HATCH stores: angle in degrees including the pattern angle, base point rotated and
// scaled, offset rotated into the plane and scaled, dashes scaled.
struct PlacedPatternLine {
    double angleDegrees = 0.0;
    Point2d basePoint;
    Vector2d offset;
    std::vector<double> dashes;
};

struct HatchPattern {
    std::string name;
    std::string description;
    std::vector<HatchPatternLine> lines;

    // SOLID is a fill, whatever lines a file gives it.
    bool isSolid() const;
    // Lengths multiplied by `factor` (e.g. 25.4 for a metric drawing); angles unchanged.
    HatchPattern scaled(double factor) const;
    // `angle` in radians.
    std::vector<PlacedPatternLine> placedLines(double angle, double scale) const;
};

}  // namespace cad
