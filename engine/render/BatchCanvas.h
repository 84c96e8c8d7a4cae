#pragma once
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/render/Canvas.h"
#include "engine/render/CanvasTarget.h"
#include "engine/render/GlyphCache.h"
#include "engine/render/InkGrid.h"

namespace cad {

// Draws on a target (a cairo surface, a PDF); device units are the target's (pixels, or points
// for PDF and SVG).
//
// Primitives are batched: each goes into the latest open batch of its style (pen, fill colour, or
// font, size and colour), and every batch becomes one operation of the target, which is what makes
// large drawings cheap to draw, above all into a PDF. A primitive may only join a batch when no
// batch after it in another colour has ink under it (painting opaque ink of one colour commutes),
// so the picture is the one drawing them in order gives. What lies wholly off the page is dropped.
//
// The target draws on a thread of its own, in the order the batches were made, while the painter
// goes on with the next ones: the target's share (rasterising, or writing and compressing a PDF)
// is most of the time a large drawing takes.
class BatchCanvas : public Canvas {
public:
    // `target` must outlive the canvas.
    explicit BatchCanvas(CanvasTarget& target);
    ~BatchCanvas() override;
    BatchCanvas(const BatchCanvas&) = delete;
    BatchCanvas& operator=(const BatchCanvas&) = delete;

    void paintBackground(Rgb color);
    void stroke(const DevicePath& path, const Pen& pen) override;
    void fill(const DevicePath& path, Rgb color) override;
    void dot(const Point2d& at, double diameter, Rgb color) override;
    void text(const FontFace& face, std::string_view utf8, double advance, const Affine2d& glyphToDevice,
              Rgb color) override;
    void pushClip(const DevicePath& path) override;
    void popClip() override;
    std::optional<Extents2d> page() const override { return Extents2d({0, 0}, {pageWidth_, pageHeight_}); }
    // Parts where the target makes them (a PDF); a part batches apart and draws on a thread of its own.
    std::unique_ptr<Canvas> startPart() override;
    void appendPart(std::unique_ptr<Canvas> part) override;

    // Hands over what is still batched.
    void flush();
    // Waits until the target has drawn everything so far; empty while it is content, otherwise
    // what went wrong. Rethrows what the target threw.
    std::string error();
    // Target operations issued so far (one per batch drawn).
    std::size_t operationCount() const { return operations_; }

private:
    struct Batch;
    struct Key;
    // Work for the target's thread: a batch to draw, or a change of state between batches.
    struct Command {
        enum class Kind { Draw, Background, PushClip, PopClip, AppendPart } kind = Kind::Draw;
        std::unique_ptr<Batch> batch;
        Rgb color;
        DevicePath clip;
        std::unique_ptr<CanvasTarget> part;
    };

    // A part's canvas, drawing on a target of its own.
    explicit BatchCanvas(std::unique_ptr<CanvasTarget> part);

    // The open batch a primitive of `key` covering `footprint_` and adding `adding` points, dots or
    // glyphs joins, made when there is none.
    Batch& batchFor(const Key& key, std::size_t adding);
    // Spare batches are kept apart by what their room holds: glyphs (1), or points and dots (0).
    static std::size_t shelf(CanvasBatch::Kind kind) { return kind == CanvasBatch::Kind::Glyphs ? 1 : 0; }
    // Records in the ink grid that `batch` now covers the primitive's footprint.
    void markInk(Batch& batch);
    bool offPage(double x0, double y0, double x1, double y1) const;
    // Hands work to the target's thread (or does it here when there is none).
    void post(Command command);
    void drain();
    void work();
    void execute(Command& command);

    std::unique_ptr<CanvasTarget> ownTarget_;  // a part's, which the part canvas hands on
    CanvasTarget& target_;
    double pageWidth_ = 0, pageHeight_ = 0;
    InkGrid ink_;
    std::vector<std::unique_ptr<Batch>> open_;   // in drawing order
    std::vector<std::unique_ptr<Batch>> spare_[2];  // drawn, kept for their memory, by shelf
    std::vector<CellBox> footprint_;             // of the primitive being added
    std::vector<PlacedGlyph> placed_;            // glyphs of the text being added
    std::size_t operations_ = 0;

    // Shared with the target's thread, under mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;  // work posted, or the end
    std::condition_variable room_;  // work done
    std::deque<Command> queue_;
    std::vector<std::unique_ptr<Batch>> drawn_;  // back from the target's thread, for spare_
    std::exception_ptr failure_;                 // what the target threw; nothing is drawn after it
    bool busy_ = false;
    bool stop_ = false;
    std::thread worker_;  // last: started once the rest is in place
};

}  // namespace cad
