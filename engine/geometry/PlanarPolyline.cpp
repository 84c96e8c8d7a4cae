#include "engine/geometry/PlanarPolyline.h"

#include <cmath>

#include "engine/geometry/BlockTransform.h"

namespace cad {

Point3d PlanarPolyline::vertexInWorld(std::size_t index) const {
    const Point2d& p = shape.vertices()[index].point;
    return ocsToWorld(normal).transformPoint({p.x, p.y, elevation});
}

std::optional<TransformedPolyline> transformPlanarPolyline(const PlanarPolyline& polyline,
                                                           const Matrix3d& transform) {
    Matrix3d toWorld = ocsToWorld(polyline.normal);
    Vector3d ax = transform.transformVector(toWorld.xAxisImage());
    Vector3d ay = transform.transformVector(toWorld.yAxisImage());
    double lx = ax.length(), ly = ay.length();
    Vector3d n = ax.cross(ay);
    if (n.isZeroLength(1e-12 * std::max(1.0, lx * ly))) return std::nullopt;
    bool hasArcs = false;
    for (const auto& v : polyline.shape.vertices()) hasArcs = hasArcs || v.bulge != 0.0;
    // Circles stay circles only under a similarity of the plane.
    bool similar = std::abs(lx - ly) <= 1e-9 * std::max(lx, ly) &&
                   std::abs(ax.dot(ay)) <= 1e-9 * lx * ly;
    if (hasArcs && !similar) return std::nullopt;

    TransformedPolyline out;
    out.lengthScale = similar ? lx : std::sqrt(lx * ly);
    out.polyline.normal = n.normal();
    Matrix3d fromWorld = ocsToWorld(out.polyline.normal).inverse();
    std::vector<BulgeVertex> vertices;
    vertices.reserve(polyline.shape.vertices().size());
    double elevation = 0.0;
    for (std::size_t i = 0; i < polyline.shape.vertices().size(); ++i) {
        Point3d p = fromWorld.transformPoint(transform.transformPoint(polyline.vertexInWorld(i)));
        vertices.push_back({p.toPoint2d(), polyline.shape.vertices()[i].bulge});
        elevation = p.z;
    }
    if (vertices.empty()) {
        Point3d o = fromWorld.transformPoint(
            transform.transformPoint(toWorld.transformPoint({0, 0, polyline.elevation})));
        elevation = o.z;
    }
    out.polyline.elevation = elevation;
    out.polyline.shape = PolylineGeometry(std::move(vertices), polyline.shape.isClosed());
    return out;
}

}  // namespace cad
