#include "engine/geometry/BlockTransform.h"

#include <cmath>

namespace cad {

void arbitraryAxes(const Vector3d& normal, Vector3d& xAxis, Vector3d& yAxis) {
    Vector3d n = normal.normal();
    if (n.isZeroLength(0.0)) n = Vector3d::zAxis();
    constexpr double kLimit = 1.0 / 64.0;
    if (std::abs(n.x) < kLimit && std::abs(n.y) < kLimit)
        xAxis = Vector3d::yAxis().cross(n).normal();
    else
        xAxis = Vector3d::zAxis().cross(n).normal();
    yAxis = n.cross(xAxis).normal();
}

Matrix3d ocsToWorld(const Vector3d& normal) {
    Vector3d n = normal.normal();
    if (n.isZeroLength(0.0)) n = Vector3d::zAxis();
    Vector3d ax, ay;
    arbitraryAxes(n, ax, ay);
    return Matrix3d::fromColumns(ax, ay, n, Point3d::origin());
}

Matrix3d blockTransform(const BlockPlacement& p) {
    return ocsToWorld(p.normal) * Matrix3d::translation(p.insertionPoint.asVector()) *
           Matrix3d::rotation(p.rotation, Vector3d::zAxis()) *
           Matrix3d::scaling(p.scaleX, p.scaleY, p.scaleZ) *
           Matrix3d::translation(-p.blockBasePoint.asVector());
}

}  // namespace cad
