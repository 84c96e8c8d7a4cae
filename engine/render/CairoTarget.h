#pragma once
#include <memory>

#include "engine/render/CanvasTarget.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace cad {

// Batches drawn with cairo on a surface (pixels, or points for SVG).
class CairoTarget : public CanvasTarget {
public:
    explicit CairoTarget(cairo_surface_t* surface);

    double width() const override { return width_; }
    double height() const override { return height_; }
    void draw(const CanvasBatch& batch) override;
    void paintBackground(Rgb color) override;
    void pushClip(const DevicePath& path) override;
    void popClip() override;
    std::string error() override;

private:
    void setColor(Rgb color);

    cairo_t* cr() const { return context_.get(); }

    std::unique_ptr<cairo_t, void (*)(cairo_t*)> context_;
    double width_ = 0, height_ = 0;
};

}  // namespace cad
