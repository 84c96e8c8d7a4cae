#pragma once
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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
//
// Cairo draws on a thread of its own, in the order the batches were made, while the painter goes
// on with the next ones: cairo's share (a PDF's number printing and compression, a picture's
// rasterising) is most of the time a large drawing takes.
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
    // Work for cairo's thread: a batch to draw, or a change of state between batches.
    struct Command {
        enum class Kind { Draw, Background, PushClip, PopClip } kind = Kind::Draw;
        std::unique_ptr<Batch> batch;
        Rgb color;
        DevicePath clip;
    };

    // The open batch a primitive of `key` covering `footprint_` joins, made when there is none.
    Batch& batchFor(const Key& key);
    // Hands work to cairo's thread (or does it here when there is none).
    void post(Command command);
    // Returns once cairo has done everything posted.
    void drain();
    void work();
    void execute(Command& command);
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

    // Shared with cairo's thread, under mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;   // work posted, or the end
    std::condition_variable room_;   // work done
    std::deque<Command> queue_;
    std::vector<std::unique_ptr<Batch>> drawn_;  // back from cairo's thread, for spare_
    bool busy_ = false;
    bool stop_ = false;
    std::thread cairoThread_;  // last: started once the rest is in place
};

}  // namespace cad
