#pragma once
#include "engine/db/Circle.h"

namespace cad {

// A circular arc, counter-clockwise about its normal from the start to the end angle (radians,
// in the object coordinate system).
class Arc : public Circle {
public:
    Arc() : Circle("ARC") {}
    Arc(const Point3d& center, double radius, double startAngle, double endAngle);
    ObjectKind kind() const override { return ObjectKind::Arc; }
    std::string_view className() const override { return "AcDbArc"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Arc>(*this); }

    double startAngle() const { return start_; }
    void setStartAngle(double radians) { assign(start_, radians); }
    double endAngle() const { return end_; }
    void setEndAngle(double radians) { assign(end_, radians); }
    // Included angle in (0, 2 pi].
    double totalAngle() const;
    double length() const { return radius_ * totalAngle(); }
    Point3d startPoint() const;  // world
    Point3d endPoint() const;    // world

    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    double start_ = 0.0, end_ = 0.0;
};

}  // namespace cad
