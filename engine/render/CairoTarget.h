#pragma once
#include "engine/render/CanvasTarget.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace cad {

// Batches drawn with cairo on a surface (pixels, or points for SVG).
class CairoTarget : public CanvasTarget {
public:
    explicit CairoTarget(cairo_surface_t* surface);
    ~CairoTarget() override;
    CairoTarget(const CairoTarget&) = delete;
    CairoTarget& operator=(const CairoTarget&) = delete;

    double width() const override { return width_; }
    double height() const override { return height_; }
    void draw(const CanvasBatch& batch) override;
    void paintBackground(Rgb color) override;
    void pushClip(const DevicePath& path) override;
    void popClip() override;
    std::string error() override;

private:
    void setColor(Rgb color);

    cairo_t* cr_;
    double width_ = 0, height_ = 0;
};

}  // namespace cad
