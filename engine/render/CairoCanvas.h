#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/render/Canvas.h"
#include "engine/render/GlyphCache.h"
#include "engine/render/InkGrid.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace cad {

// Draws on a cairo surface; device units are the surface's (pixels, or points for PDF and SVG).
//
// Primitives are batched: each goes into the latest open batch of its style (pen, fill colour, or
// font, size and colour), and every batch becomes one cairo operation, which is what makes large
// drawings cheap to draw, above all into a PDF. A primitive may only join a batch when no batch
// after it in another colour has ink under it (painting opaque ink of one colour commutes), so
// the picture is the one drawing them in order gives. What lies wholly off the page is dropped.
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
    std::optional<Extents2d> page() const override { return Extents2d({0, 0}, {pageWidth_, pageHeight_}); }

    // Draws what is still batched; error() and the surface see everything after it.
    void flush();
    // Empty while cairo is content; otherwise what went wrong.
    std::string error();
    // Cairo operations issued so far (one per batch drawn).
    std::size_t operationCount() const { return operations_; }

private:
    struct Batch;
    struct Key;

    // The open batch a primitive of `key` covering `footprint_` joins, made when there is none.
    Batch& batchFor(const Key& key);
    void emit(Batch& batch);
    // Records in the ink grid that `batch` now covers the primitive's footprint.
    void markInk(Batch& batch);
    void addPath(const DevicePath& path);
    void setColor(Rgb color);
    bool offPage(double x0, double y0, double x1, double y1) const;

    cairo_t* cr_;
    double pageWidth_ = 0, pageHeight_ = 0;
    InkGrid ink_;
    std::vector<std::unique_ptr<Batch>> open_;   // in drawing order
    std::vector<std::unique_ptr<Batch>> spare_;  // drawn, kept for their memory
    std::vector<CellBox> footprint_;             // of the primitive being added
    std::vector<PlacedGlyph> placed_;            // glyphs of the text being added
    std::size_t operations_ = 0;
};

}  // namespace cad
