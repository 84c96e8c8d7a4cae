#include "engine/geometry/BlockTransform.h"

#include <cmath>
#include <numbers>

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
    // Nearly every entity of a plan lies in the world plane.
    if (normal.x == 0.0 && normal.y == 0.0 && normal.z > 0.0) return Matrix3d{};
    Vector3d n = normal.normal();
    if (n.isZeroLength(0.0)) n = Vector3d::zAxis();
    Vector3d ax, ay;
    arbitraryAxes(n, ax, ay);
    return Matrix3d::fromColumns(ax, ay, n, Point3d::origin());
}

Extents3d ocsBoxExtents(const Extents2d& box, const Vector3d& normal, double elevation) {
    const Matrix3d toWorld = ocsToWorld(normal);
    const Point2d& lo = box.minPoint();
    const Point2d& hi = box.maxPoint();
    Extents3d extents;
    for (const Point2d& c : {lo, Point2d{hi.x, lo.y}, hi, Point2d{lo.x, hi.y}})
        extents.addPoint(toWorld * Point3d(c, elevation));
    return extents;
}

Matrix3d blockTransform(const BlockPlacement& p) {
    // In the world plane, the product below written out: drawing takes one per block copy. Its
    // sums run in the product's order, from +0, so that the result is the same to the bit.
    if (p.normal.x == 0.0 && p.normal.y == 0.0 && p.normal.z > 0.0) {
        double c = 1.0, s = 0.0, zz = 1.0;
        if (p.rotation != 0.0) {
            c = std::cos(p.rotation);
            s = std::sin(p.rotation);
            zz = (1.0 - c) + c;
        }
        const double lin[3][3] = {{c * p.scaleX + 0.0, -s * p.scaleY + 0.0, 0.0},
                                  {s * p.scaleX + 0.0, c * p.scaleY + 0.0, 0.0},
                                  {0.0, 0.0, zz * p.scaleZ + 0.0}};
        const double base[3] = {-p.blockBasePoint.x, -p.blockBasePoint.y, -p.blockBasePoint.z};
        const double at[3] = {p.insertionPoint.x, p.insertionPoint.y, p.insertionPoint.z};
        Matrix3d m;
        for (int i = 0; i < 3; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k) {
                m.setEntry(i, k, lin[i][k]);
                sum += lin[i][k] * base[k];
            }
            m.setEntry(i, 3, sum + at[i]);
        }
        return m;
    }
    return ocsToWorld(p.normal) * Matrix3d::translation(p.insertionPoint.asVector()) *
           Matrix3d::rotation(p.rotation, Vector3d::zAxis()) *
           Matrix3d::scaling(p.scaleX, p.scaleY, p.scaleZ) *
           Matrix3d::translation(-p.blockBasePoint.asVector());
}

std::optional<BlockPlacement> placementFromTransform(const Matrix3d& transform,
                                                     const Point3d& basePoint) {
    Vector3d x = transform.xAxisImage(), y = transform.yAxisImage(), z = transform.zAxisImage();
    double sx = x.length(), sz = z.length();
    if (sx == 0.0 || sz == 0.0 || y.isZeroLength(0.0)) return std::nullopt;
    const double tol = 1e-9;
    BlockPlacement p;
    p.blockBasePoint = basePoint;
    p.normal = z / sz;
    Vector3d ox, oy;
    arbitraryAxes(p.normal, ox, oy);
    // Both in-plane axes must stay in the plane perpendicular to the normal.
    if (std::abs(x.dot(p.normal)) > tol * sx || std::abs(y.dot(p.normal)) > tol * y.length())
        return std::nullopt;
    p.rotation = std::atan2(x.dot(oy), x.dot(ox));
    if (p.rotation < 0) p.rotation += 2.0 * std::numbers::pi;
    // y seen in the rotated frame: (0, sy) unless sheared.
    Vector2d yo{y.dot(ox), y.dot(oy)};
    Vector2d yr = yo.rotatedBy(-p.rotation);
    if (std::abs(yr.x) > tol * yo.length()) return std::nullopt;
    p.scaleX = sx;
    p.scaleY = yr.y;
    p.scaleZ = sz;
    Point3d insertionWorld = transform.transformPoint(basePoint);
    Vector3d w = insertionWorld.asVector();
    p.insertionPoint = {w.dot(ox), w.dot(oy), w.dot(p.normal)};
    return p;
}

double angleInOcs(const Vector3d& worldDirection, const Vector3d& normal) {
    Vector3d ox, oy;
    arbitraryAxes(normal, ox, oy);
    double a = std::atan2(worldDirection.dot(oy), worldDirection.dot(ox));
    return a < 0 ? a + 2.0 * std::numbers::pi : a;
}

}  // namespace cad
