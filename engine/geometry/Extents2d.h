#pragma once
#include <algorithm>
#include <limits>

#include "engine/geometry/Point2d.h"

namespace cad {

// Axis-aligned 2D box; empty when default-constructed.
class Extents2d {
public:
    Extents2d() = default;
    Extents2d(const Point2d& a, const Point2d& b) { addPoint(a); addPoint(b); }

    bool isEmpty() const { return min_.x > max_.x; }
    const Point2d& minPoint() const { return min_; }
    const Point2d& maxPoint() const { return max_; }
    double width() const { return isEmpty() ? 0.0 : max_.x - min_.x; }
    double height() const { return isEmpty() ? 0.0 : max_.y - min_.y; }
    Point2d center() const { return Point2d::midpoint(min_, max_); }

    void addPoint(const Point2d& p) {
        min_ = {std::min(min_.x, p.x), std::min(min_.y, p.y)};
        max_ = {std::max(max_.x, p.x), std::max(max_.y, p.y)};
    }
    void addExtents(const Extents2d& e) {
        if (e.isEmpty()) return;
        addPoint(e.min_);
        addPoint(e.max_);
    }
    void expandBy(double margin) {
        if (isEmpty()) return;
        min_ -= Vector2d{margin, margin};
        max_ += Vector2d{margin, margin};
    }

    bool contains(const Point2d& p, double tol = 0.0) const {
        return p.x >= min_.x - tol && p.x <= max_.x + tol && p.y >= min_.y - tol &&
               p.y <= max_.y + tol;
    }
    bool contains(const Extents2d& e, double tol = 0.0) const {
        return !e.isEmpty() && contains(e.min_, tol) && contains(e.max_, tol);
    }
    // Touching boxes intersect.
    bool intersects(const Extents2d& e, double tol = 0.0) const {
        return e.min_.x <= max_.x + tol && e.max_.x >= min_.x - tol && e.min_.y <= max_.y + tol &&
               e.max_.y >= min_.y - tol;
    }
    double area() const { return width() * height(); }
    bool isEqualTo(const Extents2d& e, double tol = kGeomTolerance) const {
        if (isEmpty() || e.isEmpty()) return isEmpty() == e.isEmpty();
        return min_.isEqualTo(e.min_, tol) && max_.isEqualTo(e.max_, tol);
    }

private:
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    Point2d min_{kInf, kInf};
    Point2d max_{-kInf, -kInf};
};

}  // namespace cad
