#pragma once
#include <cmath>

#include "engine/geometry/Tolerance.h"
#include "engine/geometry/Vector2d.h"

namespace cad {

struct Vector3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr Vector3d() = default;
    constexpr Vector3d(double xv, double yv, double zv) : x(xv), y(yv), z(zv) {}
    constexpr explicit Vector3d(const Vector2d& v, double zv = 0.0) : x(v.x), y(v.y), z(zv) {}

    static constexpr Vector3d xAxis() { return {1, 0, 0}; }
    static constexpr Vector3d yAxis() { return {0, 1, 0}; }
    static constexpr Vector3d zAxis() { return {0, 0, 1}; }

    constexpr Vector3d operator+(const Vector3d& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vector3d operator-(const Vector3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vector3d operator-() const { return {-x, -y, -z}; }
    constexpr Vector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    constexpr Vector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    constexpr Vector3d& operator+=(const Vector3d& o) { x += o.x; y += o.y; z += o.z; return *this; }
    constexpr Vector3d& operator-=(const Vector3d& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    constexpr Vector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }

    constexpr double dot(const Vector3d& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr Vector3d cross(const Vector3d& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    double length() const { return std::sqrt(x * x + y * y + z * z); }
    constexpr double lengthSqrd() const { return x * x + y * y + z * z; }
    // Unit vector; the zero vector stays zero.
    Vector3d normal() const {
        double len = length();
        return len > 0.0 ? Vector3d{x / len, y / len, z / len} : Vector3d{};
    }
    constexpr Vector2d toVector2d() const { return {x, y}; }
    bool isZeroLength(double tol = kGeomTolerance) const { return length() <= tol; }
    bool isEqualTo(const Vector3d& o, double tol = kGeomTolerance) const {
        return (*this - o).length() <= tol;
    }
    bool isParallelTo(const Vector3d& o, double tol = kGeomTolerance) const {
        return normal().cross(o.normal()).length() <= tol;
    }
    constexpr bool operator==(const Vector3d&) const = default;
};

constexpr Vector3d operator*(double s, const Vector3d& v) { return v * s; }

}  // namespace cad
