#pragma once
#include <optional>

#include "engine/geometry/Extents2d.h"
#include "engine/geometry/Extents3d.h"
#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// The x and y axes of the object coordinate system whose z axis is `normal`, by the DXF
// arbitrary-axis rule. A zero normal is taken as +Z.
void arbitraryAxes(const Vector3d& normal, Vector3d& xAxis, Vector3d& yAxis);

// Maps object coordinates of an entity with extrusion `normal` to world coordinates.
Matrix3d ocsToWorld(const Vector3d& normal);

// World extents of the corners of `box`, a box in the plane of `normal` at `elevation`.
Extents3d ocsBoxExtents(const Extents2d& box, const Vector3d& normal, double elevation);

// What a block reference stores about its placement. The insertion point is in the reference's
// object coordinate system, as DXF stores it; the rotation is in radians about that system's z.
struct BlockPlacement {
    Point3d insertionPoint;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double scaleZ = 1.0;
    double rotation = 0.0;
    Vector3d normal = Vector3d::zAxis();
    Point3d blockBasePoint;  // origin of the block definition
};

// Maps block-definition coordinates to world coordinates:
// OCS->world * move(insertion) * rotate(z) * scale * move(-base).
Matrix3d blockTransform(const BlockPlacement& placement);

// The placement whose blockTransform() is `transform` for a block with base point `basePoint`,
// e.g. after moving, rotating or mirroring a reference. Scale x comes out positive; a mirror
// shows as a negative y scale. Nothing comes back for transforms a reference cannot hold:
// singular, sheared, or with an x axis that leaves its plane.
std::optional<BlockPlacement> placementFromTransform(const Matrix3d& transform,
                                                     const Point3d& basePoint = Point3d::origin());

// Angle (radians, counter-clockwise, in [0, 2pi)) of a world direction as seen in the object
// coordinate system of `normal`: how rotations of texts and references are stored.
double angleInOcs(const Vector3d& worldDirection, const Vector3d& normal);

}  // namespace cad
