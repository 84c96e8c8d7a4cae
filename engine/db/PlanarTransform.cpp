#include "engine/db/PlanarTransform.h"

#include <algorithm>
#include <cmath>

#include "engine/geometry/BlockTransform.h"

namespace cad {

PlanarTransform::PlanarTransform(const Vector3d& normal, const Matrix3d& transform) {
    Matrix3d oldToWorld = ocsToWorld(normal);
    Vector3d ox, oy;
    arbitraryAxes(normal, ox, oy);
    Vector3d tx = transform.transformVector(ox), ty = transform.transformVector(oy);
    newNormal_ = tx.cross(ty).normal();
    if (newNormal_.isZeroLength(0.0)) newNormal_ = normal.normal();
    map_ = ocsToWorld(newNormal_).inverse() * transform * oldToWorld;
    scaleX_ = tx.length();
    scaleY_ = ty.length();
    skew_ = std::fabs(tx.normal().dot(ty.normal()));
}

double PlanarTransform::applyAngle(double angle) const {
    Vector3d d = applyVector({std::cos(angle), std::sin(angle), 0.0});
    return std::atan2(d.y, d.x);
}

bool PlanarTransform::isUniform() const {
    return skew_ <= 1e-9 &&
           std::fabs(scaleX_ - scaleY_) <= 1e-9 * std::max(1.0, std::max(scaleX_, scaleY_));
}

}  // namespace cad
