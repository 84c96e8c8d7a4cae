#pragma once
#include <vector>

#include "engine/db/Entity.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// A paper-space window onto model space. Number 1 is the sheet itself.
class Viewport : public Entity {
public:
    Viewport() : Entity("VIEWPORT") {}
    ObjectKind kind() const override { return ObjectKind::Viewport; }
    std::string_view className() const override { return "AcDbViewport"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Viewport>(*this); }
    void remapIds(const IdMapping& mapping) override;

    // Paper-space centre and size.
    const Point3d& centerPoint() const { return center_; }
    void setCenterPoint(const Point3d& p) { assign(center_, p); }
    double width() const { return width_; }
    void setWidth(double w) { assign(width_, w); }
    double height() const { return height_; }
    void setHeight(double h) { assign(height_, h); }
    // 68: 0 off, > 0 on (stack order), -1 on but off screen.
    int status() const { return status_; }
    void setStatus(int status) { assign(status_, static_cast<std::int16_t>(status)); }
    // 69.
    int number() const { return number_; }
    void setNumber(int number) { assign(number_, static_cast<std::int16_t>(number)); }
    bool isOn() const { return status_ != 0; }
    // 90.
    int statusFlags() const { return flags_; }
    void setStatusFlags(int flags) { assign(flags_, flags); }

    // The model-space view shown.
    const Point2d& viewCenter() const { return viewCenter_; }
    void setViewCenter(const Point2d& p) { assign(viewCenter_, p); }
    double viewHeight() const { return viewHeight_; }
    void setViewHeight(double h) { assign(viewHeight_, h); }
    const Point3d& viewTarget() const { return target_; }
    void setViewTarget(const Point3d& p) { assign(target_, p); }
    const Vector3d& viewDirection() const { return direction_; }
    void setViewDirection(const Vector3d& v) { assign(direction_, v); }
    double twistAngle() const { return twist_; }
    void setTwistAngle(double radians) { assign(twist_, radians); }
    double lensLength() const { return lens_; }
    void setLensLength(double l) { assign(lens_, l); }
    // Paper units per model unit.
    double customScale() const { return viewHeight_ != 0.0 ? height_ / viewHeight_ : 1.0; }

    // Layers frozen in this viewport only.
    const std::vector<ObjectId>& frozenLayers() const { return frozen_; }
    bool isLayerFrozen(ObjectId layer) const;
    void freezeLayers(const std::vector<ObjectId>& layers);
    void thawLayers(const std::vector<ObjectId>& layers);
    void setFrozenLayers(std::vector<ObjectId> layers) { assign(frozen_, std::move(layers)); }

    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    Point3d center_;
    Point2d viewCenter_;
    Point3d target_;
    Vector3d direction_ = Vector3d::zAxis();
    std::vector<ObjectId> frozen_;
    double width_ = 0.0, height_ = 0.0, viewHeight_ = 1.0, twist_ = 0.0, lens_ = 50.0;
    int flags_ = 0;
    std::int16_t status_ = 1, number_ = 2;
};

}  // namespace cad
