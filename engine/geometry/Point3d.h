#pragma once
#include "engine/geometry/Point2d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

struct Point3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr Point3d() = default;
    constexpr Point3d(double xv, double yv, double zv = 0.0) : x(xv), y(yv), z(zv) {}
    constexpr explicit Point3d(const Point2d& p, double zv = 0.0) : x(p.x), y(p.y), z(zv) {}

    static constexpr Point3d origin() { return {0, 0, 0}; }

    constexpr Point3d operator+(const Vector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    constexpr Point3d operator-(const Vector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    constexpr Vector3d operator-(const Point3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    constexpr Point3d& operator+=(const Vector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    constexpr Point3d& operator-=(const Vector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }

    constexpr Vector3d asVector() const { return {x, y, z}; }
    constexpr Point2d toPoint2d() const { return {x, y}; }
    double distanceTo(const Point3d& p) const { return (*this - p).length(); }
    bool isEqualTo(const Point3d& p, double tol = kGeomTolerance) const {
        return distanceTo(p) <= tol;
    }
    constexpr bool operator==(const Point3d&) const = default;
};

}  // namespace cad
