#pragma once
#include "engine/db/SymbolTable.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// A tiled model-space view (VPORT); "*Active" is the current one. Only what zooming needs is
// modelled; the rest stays in extraTags.
class ViewportTableRecord : public SymbolTableRecord {
public:
    explicit ViewportTableRecord(std::string_view name = {}) : SymbolTableRecord("VPORT", name) {}
    ObjectKind kind() const override { return ObjectKind::ViewportTableRecord; }
    std::string_view className() const override { return "AcDbViewportTableRecord"; }
    TableKind tableKind() const override { return TableKind::Viewport; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<ViewportTableRecord>(*this); }

    const Point2d& lowerLeft() const { return lowerLeft_; }
    void setLowerLeft(const Point2d& p) { assign(lowerLeft_, p); }
    const Point2d& upperRight() const { return upperRight_; }
    void setUpperRight(const Point2d& p) { assign(upperRight_, p); }
    const Point2d& centerPoint() const { return center_; }
    void setCenterPoint(const Point2d& p) { assign(center_, p); }
    double height() const { return height_; }
    void setHeight(double h) { assign(height_, h); }
    double aspectRatio() const { return aspect_; }
    void setAspectRatio(double r) { assign(aspect_, r); }
    double width() const { return height_ * aspect_; }
    const Vector3d& viewDirection() const { return direction_; }
    void setViewDirection(const Vector3d& v) { assign(direction_, v); }
    const Point3d& target() const { return target_; }
    void setTarget(const Point3d& p) { assign(target_, p); }

private:
    Point2d lowerLeft_{0, 0}, upperRight_{1, 1}, center_{0, 0};
    double height_ = 1000.0, aspect_ = 1.5;
    Vector3d direction_ = Vector3d::zAxis();
    Point3d target_;
};

}  // namespace cad
