#pragma once
#include <algorithm>
#include <limits>

#include "engine/geometry/Point3d.h"

namespace cad {

class Matrix3d;

// Axis-aligned box. A default-constructed box is empty: adding the first point makes it that point.
class Extents3d {
public:
    Extents3d() = default;
    Extents3d(const Point3d& a, const Point3d& b) { addPoint(a); addPoint(b); }

    bool isEmpty() const { return min_.x > max_.x; }
    const Point3d& minPoint() const { return min_; }
    const Point3d& maxPoint() const { return max_; }
    Point3d center() const {
        return {(min_.x + max_.x) * 0.5, (min_.y + max_.y) * 0.5, (min_.z + max_.z) * 0.5};
    }

    void reset() { *this = Extents3d{}; }
    void addPoint(const Point3d& p) {
        min_ = {std::min(min_.x, p.x), std::min(min_.y, p.y), std::min(min_.z, p.z)};
        max_ = {std::max(max_.x, p.x), std::max(max_.y, p.y), std::max(max_.z, p.z)};
    }
    void addExtents(const Extents3d& e) {
        if (e.isEmpty()) return;
        addPoint(e.min_);
        addPoint(e.max_);
    }
    // Grows the box by `margin` on every side; no effect on an empty box.
    void expandBy(double margin) {
        if (isEmpty()) return;
        min_ -= Vector3d{margin, margin, margin};
        max_ += Vector3d{margin, margin, margin};
    }
    // Box of the transformed corners (still axis-aligned, so it may grow under rotation).
    void transformBy(const Matrix3d& m);

    bool contains(const Point3d& p, double tol = kGeomTolerance) const {
        return !isEmpty() && p.x >= min_.x - tol && p.x <= max_.x + tol && p.y >= min_.y - tol &&
               p.y <= max_.y + tol && p.z >= min_.z - tol && p.z <= max_.z + tol;
    }
    bool contains(const Extents3d& e, double tol = kGeomTolerance) const {
        return !e.isEmpty() && contains(e.min_, tol) && contains(e.max_, tol);
    }
    // Touching boxes intersect.
    bool intersects(const Extents3d& e, double tol = kGeomTolerance) const {
        if (isEmpty() || e.isEmpty()) return false;
        return e.min_.x <= max_.x + tol && e.max_.x >= min_.x - tol && e.min_.y <= max_.y + tol &&
               e.max_.y >= min_.y - tol && e.min_.z <= max_.z + tol && e.max_.z >= min_.z - tol;
    }
    bool isEqualTo(const Extents3d& e, double tol = kGeomTolerance) const {
        if (isEmpty() || e.isEmpty()) return isEmpty() == e.isEmpty();
        return min_.isEqualTo(e.min_, tol) && max_.isEqualTo(e.max_, tol);
    }

private:
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    Point3d min_{kInf, kInf, kInf};
    Point3d max_{-kInf, -kInf, -kInf};
};

}  // namespace cad
