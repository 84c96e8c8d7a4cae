#pragma once
#include <memory>
#include <optional>
#include <string_view>

#include "engine/geometry/Extents2d.h"
#include "engine/render/RenderTypes.h"

namespace cad {

struct FontFace;

// Where the painter's primitives go, in device coordinates: a cairo surface, or a box that only
// measures what would be drawn.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void stroke(const DevicePath& path, const Pen& pen) = 0;
    // Even-odd fill of every run of the path, so that inner rings are holes.
    virtual void fill(const DevicePath& path, Rgb color) = 0;
    // A round spot of `diameter` device units.
    virtual void dot(const Point2d& at, double diameter, Rgb color) = 0;
    // UTF-8 text on its baseline from (0, 0), in glyph space where one unit is one em and y points
    // up; `glyphToDevice` places it.
    virtual void text(const FontFace& face, std::string_view utf8, double advance, const Affine2d& glyphToDevice,
                      Rgb color) = 0;
    // Drawing is limited to the inside of the path until the matching popClip.
    virtual void pushClip(const DevicePath& path) = 0;
    virtual void popClip() = 0;
    // The device box drawn on; nothing when there is no edge (measuring).
    virtual std::optional<Extents2d> page() const { return std::nullopt; }
    // A canvas of the same page for drawing a later part on another thread meanwhile; nothing
    // where that cannot be done. Dropped, what it drew is lost.
    virtual std::unique_ptr<Canvas> startPart() { return nullptr; }
    // Shows what `part` (from startPart here) drew after everything drawn here so far.
    virtual void appendPart(std::unique_ptr<Canvas> part);
};

// Measures the device-space box of everything drawn (clips are ignored).
class BoundsCanvas : public Canvas {
public:
    void stroke(const DevicePath& path, const Pen& pen) override;
    void fill(const DevicePath& path, Rgb color) override;
    void dot(const Point2d& at, double diameter, Rgb color) override;
    void text(const FontFace& face, std::string_view utf8, double advance, const Affine2d& glyphToDevice,
              Rgb color) override;
    void pushClip(const DevicePath&) override {}
    void popClip() override {}

    const Extents2d& bounds() const { return bounds_; }

private:
    void add(const DevicePath& path);
    Extents2d bounds_;
};

}  // namespace cad
