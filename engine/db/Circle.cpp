#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/db/Arc.h"
#include "engine/db/PlanarTransform.h"
#include "engine/geometry/BlockTransform.h"

namespace cad {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double normalisedAngle(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}
}  // namespace

Point3d Circle::centerWcs() const { return ocsToWorld(normal_) * center_; }
double Circle::area() const { return std::numbers::pi * radius_ * radius_; }
double Circle::circumference() const { return 2.0 * std::numbers::pi * radius_; }

ErrorStatus Circle::transformBy(const Matrix3d& transform) {
    PlanarTransform t(normal_, transform);
    if (!t.isUniform()) return ErrorStatus::eNotApplicable;
    assign(center_, t.apply(center_));
    assign(radius_, radius_ * t.scaleX());
    assign(thickness_, thickness_ * transform.transformVector(normal_).length());
    assign(normal_, t.newNormal());
    return ErrorStatus::eOk;
}

ErrorStatus Circle::getGeomExtents(Extents3d& extents) const {
    Point3d c = centerWcs();
    Vector3d n = normal_.normal();
    if (n.isZeroLength(0.0)) n = Vector3d::zAxis();
    Vector3d half{radius_ * std::sqrt(std::max(0.0, 1 - n.x * n.x)),
                  radius_ * std::sqrt(std::max(0.0, 1 - n.y * n.y)),
                  radius_ * std::sqrt(std::max(0.0, 1 - n.z * n.z))};
    extents = Extents3d(c - half, c + half);
    return ErrorStatus::eOk;
}

Arc::Arc(const Point3d& center, double radius, double startAngle, double endAngle)
    : Circle("ARC"), start_(startAngle), end_(endAngle) {
    center_ = center;
    radius_ = radius;
}

double Arc::totalAngle() const {
    double sweep = normalisedAngle(end_ - start_);
    return sweep == 0.0 ? kTwoPi : sweep;
}

Point3d Arc::startPoint() const {
    return ocsToWorld(normal_) * (center_ + Vector3d{radius_ * std::cos(start_), radius_ * std::sin(start_), 0});
}

Point3d Arc::endPoint() const {
    return ocsToWorld(normal_) * (center_ + Vector3d{radius_ * std::cos(end_), radius_ * std::sin(end_), 0});
}

ErrorStatus Arc::transformBy(const Matrix3d& transform) {
    PlanarTransform t(normal_, transform);
    if (!t.isUniform()) return ErrorStatus::eNotApplicable;
    double sweep = totalAngle();
    double start = t.applyAngle(start_);
    assign(center_, t.apply(center_));
    assign(radius_, radius_ * t.scaleX());
    assign(thickness_, thickness_ * transform.transformVector(normal_).length());
    assign(normal_, t.newNormal());
    assign(start_, normalisedAngle(start));
    assign(end_, normalisedAngle(start + sweep));
    return ErrorStatus::eOk;
}

ErrorStatus Arc::getGeomExtents(Extents3d& extents) const {
    Matrix3d toWorld = ocsToWorld(normal_);
    auto at = [&](double a) {
        return toWorld * (center_ + Vector3d{radius_ * std::cos(a), radius_ * std::sin(a), 0});
    };
    extents = Extents3d(at(start_), at(start_ + totalAngle()));
    double sweep = totalAngle();
    double first = std::ceil(start_ / (std::numbers::pi / 2)) * (std::numbers::pi / 2);
    for (double a = first; a < start_ + sweep; a += std::numbers::pi / 2) extents.addPoint(at(a));
    return ErrorStatus::eOk;
}

}  // namespace cad
