#pragma once
#include <string>

#include "engine/render/Canvas.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace cad {

// Draws on a cairo surface; device units are the surface's (pixels, or points for PDF and SVG).
class CairoCanvas : public Canvas {
public:
    explicit CairoCanvas(cairo_surface_t* surface);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    void paintBackground(Rgb color);
    void stroke(const DevicePath& path, const Pen& pen) override;
    void fill(const DevicePath& path, Rgb color) override;
    void dot(const Point2d& at, double diameter, Rgb color) override;
    void text(const FontFace& face, std::string_view utf8, double advance, const Affine2d& glyphToDevice,
              Rgb color) override;
    void pushClip(const DevicePath& path) override;
    void popClip() override;

    // Draws what is still batched; error() and the surface see everything after it.
    void flush();
    // Empty while cairo is content; otherwise what went wrong.
    std::string error();

private:
    void addPath(const DevicePath& path);
    void setColor(Rgb color);

    cairo_t* cr_;
    // Consecutive strokes with the same pen go out as one path: far fewer operators in a PDF.
    Pen pending_;
    bool hasPending_ = false;
};

}  // namespace cad
