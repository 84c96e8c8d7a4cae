#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/render/RenderTypes.h"

namespace cad {

struct FontFace;

// A glyph placed on the page: its index in the font, where its origin lands (device units), and
// the character it stands for, so that a PDF's texts can be searched and copied.
struct CanvasGlyph {
    std::uint32_t index = 0;  // fonts number their glyphs in 16 bits
    char32_t character = 0;
    double x = 0.0, y = 0.0;
};

// Primitives of one style, drawn as one operation.
struct CanvasBatch {
    enum class Kind { Stroke, FillEvenOdd, FillConvex, Glyphs } kind = Kind::Stroke;
    Rgb color;
    Pen pen;                          // strokes
    const FontFace* face = nullptr;   // glyphs
    double linear[4] = {0, 0, 0, 0};  // glyphs: em, y up, to device (xx, yx, xy, yy), without the offset
    std::vector<Point2d> points;
    std::vector<std::pair<std::size_t, bool>> runs;  // first point, closed
    std::vector<std::array<double, 3>> dots;         // x, y, radius
    std::vector<CanvasGlyph> glyphs;
};

// What a canvas's batches are drawn on: a cairo surface, or a PDF written here. Used from one
// thread at a time, which need not be the one that made it.
class CanvasTarget {
public:
    virtual ~CanvasTarget() = default;
    // The page in device units.
    virtual double width() const = 0;
    virtual double height() const = 0;
    virtual void draw(const CanvasBatch& batch) = 0;
    virtual void paintBackground(Rgb color) = 0;
    // Drawing is limited to the inside of the path (even-odd) until the matching popClip.
    virtual void pushClip(const DevicePath& path) = 0;
    virtual void popClip() = 0;
    // Empty while all is well; otherwise what went wrong.
    virtual std::string error() = 0;
    // A target of the same page for drawing a later part on another thread meanwhile; nothing
    // where drawing happens in place (a raster has one set of pixels).
    virtual std::unique_ptr<CanvasTarget> makePart() { return nullptr; }
    // Puts everything drawn on `part` (made by makePart, drawn to the end) after what is drawn here.
    virtual void appendPart(CanvasTarget&) { throw std::logic_error("this target makes no parts"); }
};

}  // namespace cad
