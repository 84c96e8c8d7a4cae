#pragma once
#include <cmath>

#include "engine/geometry/Tolerance.h"

namespace cad {

struct Vector2d {
    double x = 0.0;
    double y = 0.0;

    constexpr Vector2d() = default;
    constexpr Vector2d(double xv, double yv) : x(xv), y(yv) {}

    constexpr Vector2d operator+(const Vector2d& o) const { return {x + o.x, y + o.y}; }
    constexpr Vector2d operator-(const Vector2d& o) const { return {x - o.x, y - o.y}; }
    constexpr Vector2d operator-() const { return {-x, -y}; }
    constexpr Vector2d operator*(double s) const { return {x * s, y * s}; }
    constexpr Vector2d operator/(double s) const { return {x / s, y / s}; }
    constexpr Vector2d& operator+=(const Vector2d& o) { x += o.x; y += o.y; return *this; }
    constexpr Vector2d& operator-=(const Vector2d& o) { x -= o.x; y -= o.y; return *this; }
    constexpr Vector2d& operator*=(double s) { x *= s; y *= s; return *this; }

    constexpr double dot(const Vector2d& o) const { return x * o.x + y * o.y; }
    // z of the 3D cross product: positive when o is counter-clockwise from this.
    constexpr double cross(const Vector2d& o) const { return x * o.y - y * o.x; }
    double length() const { return std::hypot(x, y); }
    constexpr double lengthSqrd() const { return x * x + y * y; }
    // Unit vector; the zero vector stays zero.
    Vector2d normal() const {
        double len = length();
        return len > 0.0 ? Vector2d{x / len, y / len} : Vector2d{};
    }
    // Rotated 90 degrees counter-clockwise.
    constexpr Vector2d perpendicular() const { return {-y, x}; }
    double angle() const { return std::atan2(y, x); }
    Vector2d rotatedBy(double radians) const {
        double c = std::cos(radians), s = std::sin(radians);
        return {x * c - y * s, x * s + y * c};
    }
    bool isZeroLength(double tol = kGeomTolerance) const { return length() <= tol; }
    bool isEqualTo(const Vector2d& o, double tol = kGeomTolerance) const {
        return (*this - o).length() <= tol;
    }
    constexpr bool operator==(const Vector2d&) const = default;
};

constexpr Vector2d operator*(double s, const Vector2d& v) { return v * s; }

}  // namespace cad
