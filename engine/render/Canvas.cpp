#include "engine/render/Canvas.h"

#include <stdexcept>

#include "engine/render/FontLibrary.h"

namespace cad {

void Canvas::appendPart(std::unique_ptr<Canvas>) { throw std::logic_error("this canvas makes no parts"); }

void BoundsCanvas::add(const DevicePath& path) {
    for (const DevicePath::Run& run : path.runs)
        for (const Point2d& p : run.points) bounds_.addPoint(p);
}

void BoundsCanvas::stroke(const DevicePath& path, const Pen&) { add(path); }

void BoundsCanvas::fill(const DevicePath& path, Rgb) { add(path); }

void BoundsCanvas::dot(const Point2d& at, double, Rgb) { bounds_.addPoint(at); }

void BoundsCanvas::text(const FontFace& face, std::string_view utf8, double advance, const Affine2d& glyphToDevice,
                        Rgb) {
    if (utf8.empty()) return;
    for (const Point2d& corner : {Point2d(0, -face.descent), Point2d(advance, -face.descent),
                                  Point2d(advance, face.ascent), Point2d(0, face.ascent)})
        bounds_.addPoint(glyphToDevice.apply(corner));
}

}  // namespace cad
