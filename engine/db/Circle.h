#pragma once
#include "engine/db/Entity.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// A circle. The centre is in the object coordinate system of the normal, as DXF stores it;
// centerWcs() gives it in world coordinates.
class Circle : public Entity {
public:
    Circle() : Entity("CIRCLE") {}
    Circle(const Point3d& center, double radius) : Entity("CIRCLE"), center_(center), radius_(radius) {}
    ObjectKind kind() const override { return ObjectKind::Circle; }
    std::string_view className() const override { return "AcDbCircle"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Circle>(*this); }

    const Point3d& center() const { return center_; }
    void setCenter(const Point3d& p) { assign(center_, p); }
    Point3d centerWcs() const;
    double radius() const { return radius_; }
    void setRadius(double r) { assign(radius_, r); }
    const Vector3d& normal() const { return normal_; }
    void setNormal(const Vector3d& n) { assign(normal_, n); }
    double thickness() const { return thickness_; }
    void setThickness(double t) { assign(thickness_, t); }
    double area() const;
    double circumference() const;

    // Non-uniform scaling would make an ellipse: eNotApplicable, nothing changed.
    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

protected:
    explicit Circle(const char* dxfName) : Entity(dxfName) {}
    Point3d center_;
    double radius_ = 0.0;
    Vector3d normal_ = Vector3d::zAxis();
    double thickness_ = 0.0;
};

}  // namespace cad
