#pragma once
#include "engine/db/Entity.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

class Line : public Entity {
public:
    Line() : Entity("LINE") {}
    Line(const Point3d& start, const Point3d& end) : Entity("LINE"), start_(start), end_(end) {}
    ObjectKind kind() const override { return ObjectKind::Line; }
    std::string_view className() const override { return "AcDbLine"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Line>(*this); }

    // World coordinates.
    const Point3d& startPoint() const { return start_; }
    void setStartPoint(const Point3d& p) { assign(start_, p); }
    const Point3d& endPoint() const { return end_; }
    void setEndPoint(const Point3d& p) { assign(end_, p); }
    const Vector3d& normal() const { return normal_; }
    void setNormal(const Vector3d& n) { assign(normal_, n); }
    double thickness() const { return thickness_; }
    void setThickness(double t) { assign(thickness_, t); }
    double length() const { return start_.distanceTo(end_); }

    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    Point3d start_, end_;
    Vector3d normal_ = Vector3d::zAxis();
    double thickness_ = 0.0;
};

}  // namespace cad
