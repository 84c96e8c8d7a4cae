#include "engine/geometry/BulgeSegment.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cad {

namespace {
// Below this a bulge is a straight line for every practical drawing unit.
constexpr double kMinBulge = 1e-12;
constexpr int kMaxArcPoints = 4096;
}  // namespace

bool BulgeSegment::isArc() const {
    return std::abs(bulge) > kMinBulge && !start.isEqualTo(end, 0.0);
}

double BulgeSegment::includedAngle() const { return isArc() ? 4.0 * std::atan(bulge) : 0.0; }

double BulgeSegment::radius() const {
    if (!isArc()) return 0.0;
    double b = std::abs(bulge);
    return chordLength() * (1.0 + b * b) / (4.0 * b);
}

Point2d BulgeSegment::center() const {
    if (!isArc()) return Point2d::midpoint(start, end);
    // Distance from the chord midpoint to the centre along the chord's left normal, which is
    // c(1 - b^2) / 4b; the unnormalised perpendicular has length c.
    Vector2d chord = end - start;
    return Point2d::midpoint(start, end) + chord.perpendicular() * ((1.0 - bulge * bulge) / (4.0 * bulge));
}

double BulgeSegment::length() const {
    if (!isArc()) return chordLength();
    return radius() * std::abs(includedAngle());
}

double BulgeSegment::signedSegmentArea() const {
    if (!isArc()) return 0.0;
    double r = radius();
    double theta = std::abs(includedAngle());
    double area = 0.5 * r * r * (theta - std::sin(theta));
    return bulge > 0 ? area : -area;
}

Extents2d BulgeSegment::extents() const {
    Extents2d e(start, end);
    if (!isArc()) return e;
    Point2d c = center();
    double r = radius();
    double theta = includedAngle();
    double a0 = std::atan2(start.y - c.y, start.x - c.x);
    constexpr double twoPi = 2.0 * std::numbers::pi;
    // An axis-extreme point (angle k * 90 degrees) belongs to the arc when it lies within the
    // sweep measured from the start in the arc's own direction.
    for (int k = 0; k < 4; ++k) {
        double phi = k * std::numbers::pi / 2.0;
        double sweep = theta > 0 ? phi - a0 : a0 - phi;
        sweep = std::fmod(sweep, twoPi);
        if (sweep < 0) sweep += twoPi;
        if (sweep <= std::abs(theta)) e.addPoint({c.x + r * std::cos(phi), c.y + r * std::sin(phi)});
    }
    return e;
}

void BulgeSegment::flattenInto(std::vector<Point2d>& out, double chordTolerance) const {
    if (!isArc()) {
        out.push_back(end);
        return;
    }
    double r = radius();
    double theta = includedAngle();
    double tol = chordTolerance > 0 ? chordTolerance : r * 1e-3;
    // Sagitta of a chord spanning angle d is r(1 - cos(d/2)).
    double step = tol >= r ? std::numbers::pi / 2 : 2.0 * std::acos(1.0 - tol / r);
    int n = static_cast<int>(std::ceil(std::abs(theta) / std::max(step, 1e-9)));
    n = std::clamp(n, 1, kMaxArcPoints);
    Point2d c = center();
    double a0 = std::atan2(start.y - c.y, start.x - c.x);
    for (int i = 1; i < n; ++i) {
        double a = a0 + theta * i / n;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    out.push_back(end);
}

bool BulgeSegment::segmentRegionContains(const Point2d& p) const {
    if (!isArc()) return false;
    Point2d c = center();
    double r = radius();
    if ((p - c).lengthSqrd() >= r * r) return false;
    // The region is the disc cut by the chord, on the side where the arc lies: to the right of
    // the chord for a positive bulge.
    double side = (end - start).cross(p - start);
    return bulge > 0 ? side < 0 : side > 0;
}

Point2d BulgeSegment::closestPointTo(const Point2d& p) const {
    if (!isArc()) {
        Vector2d d = end - start;
        double len2 = d.lengthSqrd();
        if (len2 == 0.0) return start;
        double t = std::clamp((p - start).dot(d) / len2, 0.0, 1.0);
        return start + d * t;
    }
    Point2d c = center();
    double r = radius();
    double theta = includedAngle();
    Vector2d v = p - c;
    if (!v.isZeroLength(0.0)) {
        // On the arc when the direction to p falls within the sweep.
        double a0 = std::atan2(start.y - c.y, start.x - c.x);
        double sweep = theta > 0 ? v.angle() - a0 : a0 - v.angle();
        sweep = std::fmod(sweep, 2.0 * std::numbers::pi);
        if (sweep < 0) sweep += 2.0 * std::numbers::pi;
        if (sweep <= std::abs(theta)) return c + v.normal() * r;
    }
    return p.distanceTo(start) <= p.distanceTo(end) ? start : end;
}

double bulgeFromArc(double startAngle, double endAngle) {
    double sweep = std::fmod(endAngle - startAngle, 2.0 * std::numbers::pi);
    if (sweep < 0) sweep += 2.0 * std::numbers::pi;
    return std::tan(sweep / 4.0);
}

Extents2d arcExtents(const Point2d& center, double radius, double startAngle, double endAngle) {
    constexpr double twoPi = 2.0 * std::numbers::pi;
    double sweep = std::fmod(endAngle - startAngle, twoPi);
    if (sweep < 0) sweep += twoPi;
    if (sweep == 0.0) sweep = twoPi;
    auto at = [&](double a) { return Point2d{center.x + radius * std::cos(a), center.y + radius * std::sin(a)}; };
    Extents2d e(at(startAngle), at(startAngle + sweep));
    for (int k = 0; k < 4; ++k) {
        double phi = k * std::numbers::pi / 2.0;
        double d = std::fmod(phi - startAngle, twoPi);
        if (d < 0) d += twoPi;
        if (d <= sweep) e.addPoint(at(phi));
    }
    return e;
}

}  // namespace cad
