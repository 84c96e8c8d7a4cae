#include "engine/geometry/CoordinateSystem.h"

namespace cad {

CoordinateSystem::CoordinateSystem(const Point3d& origin, const Vector3d& xDirection,
                                   const Vector3d& yDirection)
    : origin_(origin) {
    Vector3d x = xDirection.normal();
    Vector3d z = x.cross(yDirection).normal();
    if (x.isZeroLength(0.0) || z.isZeroLength(0.0)) {
        valid_ = false;
        return;
    }
    x_ = x;
    z_ = z;
    y_ = z.cross(x).normal();
}

bool CoordinateSystem::isWorld(double tol) const {
    return origin_.isEqualTo(Point3d::origin(), tol) && x_.isEqualTo(Vector3d::xAxis(), tol) &&
           y_.isEqualTo(Vector3d::yAxis(), tol);
}

Point3d CoordinateSystem::toWorld(const Point3d& p) const {
    return origin_ + x_ * p.x + y_ * p.y + z_ * p.z;
}

Point3d CoordinateSystem::fromWorld(const Point3d& p) const {
    Vector3d d = p - origin_;
    return {d.dot(x_), d.dot(y_), d.dot(z_)};
}

Vector3d CoordinateSystem::toWorld(const Vector3d& v) const { return x_ * v.x + y_ * v.y + z_ * v.z; }

Vector3d CoordinateSystem::fromWorld(const Vector3d& v) const {
    return {v.dot(x_), v.dot(y_), v.dot(z_)};
}

Matrix3d CoordinateSystem::toWorldMatrix() const {
    return Matrix3d::fromColumns(x_, y_, z_, origin_);
}

Matrix3d CoordinateSystem::fromWorldMatrix() const {
    // Orthonormal axes: the inverse rotation is the transpose.
    Matrix3d m = Matrix3d::fromColumns(x_, y_, z_, Point3d::origin()).transpose();
    return m * Matrix3d::translation(-origin_.asVector());
}

}  // namespace cad
