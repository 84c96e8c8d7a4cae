#pragma once
#include "engine/geometry/Vector2d.h"

namespace cad {

struct Point2d {
    double x = 0.0;
    double y = 0.0;

    constexpr Point2d() = default;
    constexpr Point2d(double xv, double yv) : x(xv), y(yv) {}

    constexpr Point2d operator+(const Vector2d& v) const { return {x + v.x, y + v.y}; }
    constexpr Point2d operator-(const Vector2d& v) const { return {x - v.x, y - v.y}; }
    constexpr Vector2d operator-(const Point2d& p) const { return {x - p.x, y - p.y}; }
    constexpr Point2d& operator+=(const Vector2d& v) { x += v.x; y += v.y; return *this; }
    constexpr Point2d& operator-=(const Vector2d& v) { x -= v.x; y -= v.y; return *this; }

    constexpr Vector2d asVector() const { return {x, y}; }
    double distanceTo(const Point2d& p) const { return (*this - p).length(); }
    bool isEqualTo(const Point2d& p, double tol = kGeomTolerance) const {
        return distanceTo(p) <= tol;
    }
    static constexpr Point2d midpoint(const Point2d& a, const Point2d& b) {
        return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
    }
    constexpr bool operator==(const Point2d&) const = default;
};

}  // namespace cad
