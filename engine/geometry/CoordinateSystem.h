#pragma once
#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// A right-handed orthonormal coordinate system given by an origin and its x and y directions,
// expressed in world coordinates; the user coordinate system is one of these.
class CoordinateSystem {
public:
    CoordinateSystem() = default;  // the world system
    // The y direction is made perpendicular to x in the plane they span. Axes that are zero or
    // parallel leave the system invalid (isValid() false) and it then acts as the world system.
    CoordinateSystem(const Point3d& origin, const Vector3d& xDirection, const Vector3d& yDirection);

    static CoordinateSystem world() { return {}; }

    bool isValid() const { return valid_; }
    bool isWorld(double tol = kGeomTolerance) const;
    const Point3d& origin() const { return origin_; }
    const Vector3d& xAxis() const { return x_; }
    const Vector3d& yAxis() const { return y_; }
    const Vector3d& zAxis() const { return z_; }

    Point3d toWorld(const Point3d& p) const;
    Point3d fromWorld(const Point3d& p) const;
    // Displacements ignore the origin.
    Vector3d toWorld(const Vector3d& v) const;
    Vector3d fromWorld(const Vector3d& v) const;

    Matrix3d toWorldMatrix() const;
    Matrix3d fromWorldMatrix() const;

private:
    Point3d origin_;
    Vector3d x_ = Vector3d::xAxis();
    Vector3d y_ = Vector3d::yAxis();
    Vector3d z_ = Vector3d::zAxis();
    bool valid_ = true;
};

using Ucs = CoordinateSystem;

}  // namespace cad
