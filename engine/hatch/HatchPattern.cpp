#include "engine/hatch/HatchPattern.h"

#include <cmath>
#include <numbers>

#include "engine/hatch/HatchPatternLibrary.h"

namespace cad {

bool HatchPattern::isSolid() const { return patternNamesEqual(name, "SOLID"); }

HatchPattern HatchPattern::scaled(double factor) const {
    HatchPattern out = *this;
    for (auto& l : out.lines) {
        l.origin = {l.origin.x * factor, l.origin.y * factor};
        l.offset *= factor;
        for (auto& d : l.dashes) d *= factor;
    }
    return out;
}

std::vector<PlacedPatternLine> HatchPattern::placedLines(double angle, double scale) const {
    std::vector<PlacedPatternLine> out;
    out.reserve(lines.size());
    const double degPerRad = 180.0 / std::numbers::pi;
    for (const auto& l : lines) {
        PlacedPatternLine p;
        p.angleDegrees = l.angle + angle * degPerRad;
        p.basePoint = Point2d{0, 0} + l.origin.asVector().rotatedBy(angle) * scale;
        p.offset = l.offset.rotatedBy(p.angleDegrees / degPerRad) * scale;
        p.dashes.reserve(l.dashes.size());
        for (double d : l.dashes) p.dashes.push_back(d * scale);
        out.push_back(std::move(p));
    }
    return out;
}

}  // namespace cad
