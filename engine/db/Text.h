#pragma once
#include <span>
#include <string>

#include "engine/db/DeepCopyPtr.h"
#include "engine/db/Entity.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// Single-line text. Positions are in the object coordinate system of the normal. With left/
// baseline alignment only position() counts; otherwise alignmentPoint() is the authoritative
// anchor (and for aligned and fit texts the end of the baseline).
class Text : public Entity {
public:
    enum class HorizontalMode : std::uint8_t { Left = 0, Center = 1, Right = 2, Aligned = 3, Middle = 4, Fit = 5 };
    enum class VerticalMode : std::uint8_t { Baseline = 0, Bottom = 1, Middle = 2, Top = 3 };

    Text() : Entity("TEXT") {}
    ObjectKind kind() const override { return ObjectKind::Text; }
    std::string_view className() const override { return "AcDbText"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Text>(*this); }
    void remapIds(const IdMapping& mapping) override;

    const std::string& textString() const { return text_; }
    // A multi-line attribute read from a file also keeps its text in the multi-line part it was
    // read with (from group code 101 on); that copy, which is what other programs show, follows.
    void setTextString(std::string text);
    // The multi-line part kept as read (from its 101 tag on); empty when there is none.
    std::span<const RawTag> multilinePart() const;
    const Point3d& position() const { return position_; }
    void setPosition(const Point3d& p) { assign(position_, p); }
    const Point3d& alignmentPoint() const { return alignment_; }
    void setAlignmentPoint(const Point3d& p) { assign(alignment_, p); }
    bool isDefaultAlignment() const {
        return horizontal_ == HorizontalMode::Left && vertical_ == VerticalMode::Baseline;
    }
    double height() const { return height_; }
    void setHeight(double h) { assign(height_, h); }
    // Radians.
    double rotation() const { return rotation_; }
    void setRotation(double radians) { assign(rotation_, radians); }
    double widthFactor() const { return widthFactor_; }
    void setWidthFactor(double f) { assign(widthFactor_, f); }
    double oblique() const { return uncommon().oblique; }
    void setOblique(double radians) {
        if (radians != oblique()) assign(uncommon_.make().oblique, radians);
    }
    ObjectId textStyle() const { return style_; }
    void setTextStyle(ObjectId style) { assign(style_, style); }
    HorizontalMode horizontalMode() const { return horizontal_; }
    void setHorizontalMode(HorizontalMode m) { assign(horizontal_, m); }
    VerticalMode verticalMode() const { return vertical_; }
    void setVerticalMode(VerticalMode m) { assign(vertical_, m); }
    // 71: 2 backward, 4 upside down.
    int generationFlags() const { return generation_; }
    void setGenerationFlags(int flags) { assign(generation_, flags); }
    const Vector3d& normal() const { return uncommon().normal; }
    void setNormal(const Vector3d& n) {
        if (n != normal()) assign(uncommon_.make().normal, n);
    }
    double thickness() const { return uncommon().thickness; }
    void setThickness(double t) {
        if (t != thickness()) assign(uncommon_.make().thickness, t);
    }

    ErrorStatus transformBy(const Matrix3d& transform) override;
    // Estimated from the character count (no font metrics): a box of 0.6 height per character
    // times the width factor, placed by the alignment.
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

protected:
    explicit Text(const char* dxfName) : Entity(dxfName) {}

private:
    // What most texts leave at the default, apart so that they do not pay for it: a drawing
    // holds a hundred thousand attributes.
    struct Uncommon {
        Vector3d normal = Vector3d::zAxis();
        double oblique = 0.0, thickness = 0.0;
    };
    const Uncommon& uncommon() const;
    // Where the multi-line part stands in the extra tags: [first, end), empty when there is none.
    std::pair<std::size_t, std::size_t> multilineRange() const;
    void transformMultilinePart(const Matrix3d& transform, double xScale, double yScale);

    ObjectId style_;
    HorizontalMode horizontal_ = HorizontalMode::Left;
    VerticalMode vertical_ = VerticalMode::Baseline;
    std::uint8_t generation_ = 0;
    std::string text_;
    Point3d position_, alignment_;
    double height_ = 2.5, rotation_ = 0.0, widthFactor_ = 1.0;
    DeepCopyPtr<Uncommon> uncommon_;
};

// Attribute flags shared by definitions and attributes (70).
struct AttributeFlags {
    static constexpr int kInvisible = 1, kConstant = 2, kVerify = 4, kPreset = 8;
};

}  // namespace cad
