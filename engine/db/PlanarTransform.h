#pragma once
#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// Moves a planar entity (points in the coordinate system of its normal) through a world
// transform: gives the new normal and maps old object coordinates to new ones. The sense of
// rotation about the new normal is kept, so bulges and arc directions stay as they are.
class PlanarTransform {
public:
    PlanarTransform(const Vector3d& normal, const Matrix3d& transform);

    const Vector3d& newNormal() const { return newNormal_; }
    // Object coordinates before -> object coordinates after.
    Point3d apply(const Point3d& ocsPoint) const { return map_ * ocsPoint; }
    Vector3d applyVector(const Vector3d& ocsVector) const { return map_ * ocsVector; }
    // Angle (radians) in the new system of the old direction at `angle`.
    double applyAngle(double angle) const;
    // Length factor along the old x and y directions.
    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }
    // Equal factors and no shear: circles stay circles.
    bool isUniform() const;

private:
    Vector3d newNormal_;
    Matrix3d map_;
    double scaleX_ = 1.0, scaleY_ = 1.0, skew_ = 0.0;
};

}  // namespace cad
