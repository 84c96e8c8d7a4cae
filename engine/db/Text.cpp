#include "engine/db/Text.h"

#include <cmath>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/IdMapping.h"
#include "engine/db/PlanarTransform.h"
#include "engine/geometry/BlockTransform.h"

namespace cad {

const Text::Uncommon& Text::uncommon() const {
    static const Uncommon kDefault;
    return uncommon_.orDefault(kDefault);
}

void Text::remapIds(const IdMapping& mapping) {
    Entity::remapIds(mapping);
    style_ = mapping.translate(style_);
}

ErrorStatus Text::transformBy(const Matrix3d& transform) {
    PlanarTransform t(normal(), transform);
    Vector3d along{std::cos(rotation_), std::sin(rotation_), 0};
    Vector3d up{-std::sin(rotation_), std::cos(rotation_), 0};
    Vector3d newAlong = t.applyVector(along), newUp = t.applyVector(up);
    double xScale = newAlong.length(), yScale = newUp.length();
    if (xScale == 0.0 || yScale == 0.0) return ErrorStatus::eInvalidInput;
    // Field by field, so that a transformation that moves nothing (an identity, a UCS there and
    // back) leaves the text unmodified.
    assign(position_, t.apply(position_));
    assign(alignment_, t.apply(alignment_));
    assign(rotation_, std::atan2(newAlong.y, newAlong.x));
    assign(height_, height_ * yScale);
    assign(widthFactor_, widthFactor_ * (xScale / yScale));
    setThickness(thickness() * transform.transformVector(normal()).length());
    setNormal(t.newNormal());
    return ErrorStatus::eOk;
}

ErrorStatus Text::getGeomExtents(Extents3d& extents) const {
    double width = 0.6 * height_ * widthFactor_ * static_cast<double>(text_.size());
    Point3d anchor = position_;
    double left = 0.0, bottom = 0.0;
    if (!isDefaultAlignment()) {
        anchor = alignment_;
        switch (horizontal_) {
            case HorizontalMode::Center:
            case HorizontalMode::Middle: left = -width / 2; break;
            case HorizontalMode::Right: left = -width; break;
            case HorizontalMode::Aligned:
            case HorizontalMode::Fit:
                anchor = position_;
                width = position_.distanceTo(alignment_);
                break;
            case HorizontalMode::Left: break;
        }
        if (horizontal_ == HorizontalMode::Middle || vertical_ == VerticalMode::Middle) bottom = -height_ / 2;
        else if (vertical_ == VerticalMode::Top) bottom = -height_;
    }
    extents = Extents3d();
    const Vector3d& n = normal();
    if (n.x == 0.0 && n.y == 0.0 && n.z > 0.0) {
        const double c = std::cos(rotation_), s = std::sin(rotation_);
        for (double x : {left, left + width})
            for (double y : {bottom, bottom + height_})
                extents.addPoint({anchor.x + c * x - s * y, anchor.y + s * x + c * y, anchor.z});
        return ErrorStatus::eOk;
    }
    Matrix3d place = ocsToWorld(n) * Matrix3d::translation(anchor.asVector()) *
                     Matrix3d::rotation(rotation_, Vector3d::zAxis());
    for (double x : {left, left + width})
        for (double y : {bottom, bottom + height_}) extents.addPoint(place * Point3d(x, y, 0));
    return ErrorStatus::eOk;
}

namespace {
bool isValidTag(const std::string& tag) { return !tag.empty() && tag.find(' ') == std::string::npos; }
}  // namespace

ErrorStatus AttributeText::setTag(std::string tag) {
    if (!isValidTag(tag)) return ErrorStatus::eInvalidInput;
    assign(tag_, std::move(tag));
    return ErrorStatus::eOk;
}

ErrorStatus Attribute::getGeomExtents(Extents3d& extents) const {
    if (isInvisible()) return ErrorStatus::eNotApplicable;
    return Text::getGeomExtents(extents);
}

void Attribute::setAttributeFromBlock(const AttributeDefinition& def, const Matrix3d& blockTransform) {
    setPropertiesFrom(def);
    takeAttributePart(def, AttributeFlags::kConstant);
    setTextString(def.textString());
    setPosition(def.position());
    setAlignmentPoint(def.alignmentPoint());
    setHeight(def.height());
    setRotation(def.rotation());
    setWidthFactor(def.widthFactor());
    setOblique(def.oblique());
    setTextStyle(def.textStyle());
    setHorizontalMode(def.horizontalMode());
    setVerticalMode(def.verticalMode());
    setGenerationFlags(def.generationFlags());
    setNormal(def.normal());
    setThickness(def.thickness());
    transformBy(blockTransform);
}

}  // namespace cad
