#pragma once
#include <optional>
#include <vector>

#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/PolylineGeometry.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// A bulge polyline as a drawing stores it: 2D vertices in the object coordinate system of
// `normal`, lifted to `elevation` along it.
struct PlanarPolyline {
    PolylineGeometry shape;
    double elevation = 0.0;
    Vector3d normal = Vector3d::zAxis();

    Point3d vertexInWorld(std::size_t index) const;
};

struct TransformedPolyline {
    PlanarPolyline polyline;
    double lengthScale = 1.0;  // how much lengths grew: multiply widths by it
};

// Applies a 3D transform. The result gets the normal the transformed plane faces (a mirror in
// the plane turns it to -Z, as mirrored entities are stored) and keeps its bulges. Nothing
// comes back when the transform would not keep the polyline planar-and-circular: a singular
// transform, or, when there are arcs, a scaling that differs within the plane.
std::optional<TransformedPolyline> transformPlanarPolyline(const PlanarPolyline& polyline,
                                                           const Matrix3d& transform);

}  // namespace cad
