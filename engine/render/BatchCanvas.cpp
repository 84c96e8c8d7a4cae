#include "engine/render/BatchCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <system_error>

#include "engine/render/FontLibrary.h"

namespace cad {

namespace {

// Open batches at most; the oldest is drawn when another is needed.
constexpr std::size_t kMaxOpen = 32;
// Work waiting for the target's thread at most: enough to keep it busy, little memory.
constexpr std::size_t kMaxQueued = 8;
// An even-odd fill joins a batch only when it overlaps nothing there, checked against each of its
// fills: so many at most.
constexpr std::size_t kMaxEvenOddFills = 64;
// Points, dots and glyphs a batch takes at most: beyond this one operation saves nothing more,
// while the target's working memory for it (and, in pictures, the area it scans) keeps growing.
// Batches are reused and keep the room they once needed, and up to kMaxOpen + kMaxQueued of them
// are alive at once: at 8192 they held 20 MB more on a large plan, all of it fresh pages. A
// primitive that would take a batch past this starts another, so that its room stays within it.
constexpr std::size_t kMaxBatchSize = 2048;

bool finite(const Point2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Twice the signed area of a ring.
double signedArea(const std::vector<Point2d>& ring) {
    double a = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        a += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
    return a;
}

// A ring whose turns all go one way (collinear points allowed).
bool isConvex(const std::vector<Point2d>& ring) {
    const std::size_t n = ring.size();
    if (n < 3) return false;
    int sign = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Point2d& a = ring[i];
        const Point2d& b = ring[(i + 1) % n];
        const Point2d& c = ring[(i + 2) % n];
        const double cross = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
        if (cross == 0) continue;
        const int s = cross > 0 ? 1 : -1;
        if (sign != 0 && s != sign) return false;
        sign = s;
    }
    // A star also turns one way at every corner; its angles then add up to more than a full turn.
    double turning = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Point2d& a = ring[i];
        const Point2d& b = ring[(i + 1) % n];
        const Point2d& c = ring[(i + 2) % n];
        turning += std::atan2((b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x),
                              (b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y));
    }
    return sign != 0 && std::fabs(turning) < 2 * std::numbers::pi + 1e-6;
}

}  // namespace

struct BatchCanvas::Key {
    using Kind = CanvasBatch::Kind;
    Kind kind = Kind::Stroke;
    Rgb color;
    const Pen* pen = nullptr;
    const FontFace* face = nullptr;
    double linear[4] = {0, 0, 0, 0};
};

struct BatchCanvas::Batch : CanvasBatch {
    std::uint32_t number = 0;           // in the ink grid
    std::vector<CellBox> evenOddCells;  // of each even-odd fill

    bool matches(const Key& key) const {
        if (key.kind != kind || !(key.color == color)) return false;
        switch (kind) {
            case Kind::Stroke:
                return pen.width == key.pen->width && pen.dashes == key.pen->dashes &&
                       pen.dashOffset == key.pen->dashOffset;
            case Kind::Glyphs:
                return face == key.face && std::equal(linear, linear + 4, key.linear);
            default: return true;
        }
    }
    void reset(const Key& key) {
        kind = key.kind;
        color = key.color;
        if (key.pen) pen = *key.pen;
        face = key.face;
        std::copy(key.linear, key.linear + 4, linear);
        points.clear();
        runs.clear();
        dots.clear();
        glyphs.clear();
        evenOddCells.clear();
    }
    std::size_t size() const { return points.size() + dots.size() + glyphs.size(); }
    bool overlapsEvenOdd(const CellBox& b) const {
        return std::any_of(evenOddCells.begin(), evenOddCells.end(), [&](const CellBox& c) {
            return c.x0 <= b.x1 && b.x0 <= c.x1 && c.y0 <= b.y1 && b.y0 <= c.y1;
        });
    }
    void addRun(const std::vector<Point2d>& run, bool closed) {
        runs.emplace_back(points.size(), closed);
        points.insert(points.end(), run.begin(), run.end());
    }
};

BatchCanvas::BatchCanvas(CanvasTarget& target)
    : target_(target), pageWidth_(target.width()), pageHeight_(target.height()), ink_(pageWidth_, pageHeight_) {
    try {
        worker_ = std::thread([this] { work(); });
    } catch (const std::system_error&) {
        // No thread to be had: the target draws on this one, as each batch is done.
    }
}

BatchCanvas::BatchCanvas(std::unique_ptr<CanvasTarget> part) : BatchCanvas(*part) {
    ownTarget_ = std::move(part);
}

BatchCanvas::~BatchCanvas() {
    try {
        flush();
    } catch (...) {
        // Unwinding already, or the picture is being dropped: what was not drawn does not matter.
    }
    if (worker_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        worker_.join();
    }
}

void BatchCanvas::flush() {
    for (auto& batch : open_) post({Command::Kind::Draw, std::move(batch), {}, {}, {}});
    open_.clear();
}

std::string BatchCanvas::error() {
    flush();
    drain();
    {
        std::lock_guard lock(mutex_);
        if (failure_) std::rethrow_exception(failure_);
    }
    return target_.error();
}

std::unique_ptr<Canvas> BatchCanvas::startPart() {
    // The target is the worker's while it has work.
    drain();
    std::unique_ptr<CanvasTarget> target = target_.makePart();
    if (!target) return nullptr;
    return std::unique_ptr<Canvas>(new BatchCanvas(std::move(target)));
}

void BatchCanvas::appendPart(std::unique_ptr<Canvas> part) {
    auto* canvas = dynamic_cast<BatchCanvas*>(part.get());
    if (canvas == nullptr || !canvas->ownTarget_) throw std::logic_error("not a part of this canvas");
    canvas->error();  // all of it drawn; what its target threw comes out here
    std::unique_ptr<CanvasTarget> target = std::move(canvas->ownTarget_);
    part.reset();
    // Nothing batched here may take primitives drawn after the part.
    flush();
    Command command{Command::Kind::AppendPart, nullptr, {}, {}, std::move(target)};
    post(std::move(command));
}

void BatchCanvas::post(Command command) {
    if (command.kind == Command::Kind::Draw) ++operations_;
    if (!worker_.joinable()) {
        execute(command);
        if (command.batch) spare_[shelf(command.batch->kind)].push_back(std::move(command.batch));
        return;
    }
    {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [this] { return queue_.size() < kMaxQueued; });
        queue_.push_back(std::move(command));
    }
    wake_.notify_one();
}

void BatchCanvas::drain() {
    if (!worker_.joinable()) return;
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void BatchCanvas::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) return;
        Command command = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        room_.notify_one();
        std::exception_ptr failed;
        try {
            if (!failure_) execute(command);
        } catch (...) {
            failed = std::current_exception();
        }
        lock.lock();
        if (failed) failure_ = failed;
        if (command.batch) drawn_.push_back(std::move(command.batch));
        busy_ = false;
        if (queue_.empty()) room_.notify_one();
    }
}

void BatchCanvas::execute(Command& command) {
    switch (command.kind) {
        case Command::Kind::Draw: target_.draw(*command.batch); break;
        case Command::Kind::Background: target_.paintBackground(command.color); break;
        case Command::Kind::PushClip: target_.pushClip(command.clip); break;
        case Command::Kind::PopClip: target_.popClip(); break;
        case Command::Kind::AppendPart: target_.appendPart(*command.part); break;
    }
}

bool BatchCanvas::offPage(double x0, double y0, double x1, double y1) const {
    return x1 < 0 || y1 < 0 || x0 > pageWidth_ || y0 > pageHeight_;
}

BatchCanvas::Batch& BatchCanvas::batchFor(const Key& key, std::size_t adding) {
    // Batches after the last one of another colour with ink under the primitive may take it.
    std::uint32_t blocking = 0;
    for (const CellBox& box : footprint_) blocking = std::max(blocking, ink_.lastOtherColour(box, key.color));
    for (std::size_t k = open_.size(); k-- > 0;) {
        Batch& batch = *open_[k];
        if (batch.number <= blocking) break;
        if (!batch.matches(key) || batch.size() + adding > kMaxBatchSize) continue;
        // An even-odd fill joined to one it overlaps would cut holes in both.
        if (key.kind != CanvasBatch::Kind::FillEvenOdd) return batch;
        if (batch.evenOddCells.size() < kMaxEvenOddFills && !batch.overlapsEvenOdd(footprint_.front())) return batch;
        break;
    }
    if (open_.size() >= kMaxOpen) {
        post({Command::Kind::Draw, std::move(open_.front()), {}, {}, {}});
        open_.erase(open_.begin());
    }
    std::vector<std::unique_ptr<Batch>>& spare = spare_[shelf(key.kind)];
    if (spare.empty() && worker_.joinable()) {
        std::lock_guard lock(mutex_);
        for (auto& drawn : drawn_) spare_[shelf(drawn->kind)].push_back(std::move(drawn));
        drawn_.clear();
    }
    std::unique_ptr<Batch> batch;
    if (spare.empty()) {
        batch = std::make_unique<Batch>();
    } else {
        batch = std::move(spare.back());
        spare.pop_back();
    }
    batch->reset(key);
    batch->number = ink_.newBatch(key.color);
    open_.push_back(std::move(batch));
    return *open_.back();
}

void BatchCanvas::markInk(Batch& batch) {
    for (const CellBox& box : footprint_) ink_.mark(box, batch.number);
}

void BatchCanvas::paintBackground(Rgb color) {
    flush();
    post({Command::Kind::Background, nullptr, color, {}, {}});
}

void BatchCanvas::stroke(const DevicePath& path, const Pen& pen) {
    footprint_.clear();
    const double margin = pen.width / 2 + 1;
    bool any = false;
    for (const DevicePath::Run& run : path.runs) {
        // A degenerate placement (a reference scaled by 0, a coordinate that is not a number)
        // would put the target into an error state for the rest of the picture: such runs are left out.
        if (run.points.size() < 2 || !std::all_of(run.points.begin(), run.points.end(), finite)) continue;
        double x0 = run.points[0].x, x1 = x0, y0 = run.points[0].y, y1 = y0;
        for (const Point2d& p : run.points) {
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
        }
        if (offPage(x0 - margin, y0 - margin, x1 + margin, y1 + margin)) continue;
        any = true;
    }
    if (!any) return;
    for (const DevicePath::Run& run : path.runs) {
        if (run.points.size() < 2 || !std::all_of(run.points.begin(), run.points.end(), finite)) continue;
        for (std::size_t i = 1; i < run.points.size(); ++i)
            ink_.coverSegment(run.points[i - 1], run.points[i], margin, footprint_);
        if (run.closed) ink_.coverSegment(run.points.back(), run.points.front(), margin, footprint_);
    }
    Key key;
    key.kind = CanvasBatch::Kind::Stroke;
    key.color = pen.color;
    key.pen = &pen;
    std::size_t adding = 0;
    for (const DevicePath::Run& run : path.runs)
        if (run.points.size() >= 2 && std::all_of(run.points.begin(), run.points.end(), finite)) adding += run.points.size();
    Batch& batch = batchFor(key, adding);
    for (const DevicePath::Run& run : path.runs)
        if (run.points.size() >= 2 && std::all_of(run.points.begin(), run.points.end(), finite))
            batch.addRun(run.points, run.closed);
    markInk(batch);
}

void BatchCanvas::fill(const DevicePath& path, Rgb color) {
    double x0 = std::numeric_limits<double>::infinity(), y0 = x0, x1 = -x0, y1 = -x0;
    std::size_t usable = 0, adding = 0;
    for (const DevicePath::Run& run : path.runs) {
        if (run.points.size() < 3 || !std::all_of(run.points.begin(), run.points.end(), finite)) continue;
        ++usable;
        adding += run.points.size();
        for (const Point2d& p : run.points)
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    if (usable == 0 || offPage(x0 - 1, y0 - 1, x1 + 1, y1 + 1)) return;
    footprint_.assign(1, ink_.cellsOf({x0, y0}, {x1, y1}, 1.0));
    Key key;
    key.color = color;
    // One convex ring can share a winding fill with others once all turn the same way.
    const DevicePath::Run* single = nullptr;
    for (const DevicePath::Run& run : path.runs)
        if (run.points.size() >= 3 && std::all_of(run.points.begin(), run.points.end(), finite)) single = &run;
    const bool convex = usable == 1 && isConvex(single->points);
    key.kind = convex ? CanvasBatch::Kind::FillConvex : CanvasBatch::Kind::FillEvenOdd;
    Batch& batch = batchFor(key, adding);
    if (convex) {
        batch.addRun(single->points, true);
        if (signedArea(single->points) < 0) std::reverse(batch.points.begin() + batch.runs.back().first, batch.points.end());
    } else {
        for (const DevicePath::Run& run : path.runs)
            if (run.points.size() >= 3 && std::all_of(run.points.begin(), run.points.end(), finite))
                batch.addRun(run.points, true);
        batch.evenOddCells.push_back(footprint_.front());
    }
    markInk(batch);
}

void BatchCanvas::dot(const Point2d& at, double diameter, Rgb color) {
    if (!finite(at) || !std::isfinite(diameter)) return;
    const double r = diameter / 2;
    if (offPage(at.x - r - 1, at.y - r - 1, at.x + r + 1, at.y + r + 1)) return;
    footprint_.assign(1, ink_.cellsOf({at.x - r, at.y - r}, {at.x + r, at.y + r}, 1.0));
    Key key;
    key.kind = CanvasBatch::Kind::FillConvex;
    key.color = color;
    Batch& batch = batchFor(key, 1);
    batch.dots.push_back({at.x, at.y, r});
    markInk(batch);
}

void BatchCanvas::text(const FontFace& face, std::string_view utf8, double advance, const Affine2d& glyphToDevice,
                       Rgb color) {
    if (utf8.empty() || face.face == nullptr || !face.glyphs) return;
    const Affine2d& g = glyphToDevice;
    if (!(std::fabs(g.determinant()) > 1e-12) || !std::isfinite(g.x0) || !std::isfinite(g.y0) ||
        !std::isfinite(g.determinant()))
        return;
    // The box of the text with room for glyphs that reach beyond their advance.
    const double slack = 0.25;
    double x0 = std::numeric_limits<double>::infinity(), y0 = x0, x1 = -x0, y1 = -x0;
    for (const Point2d& corner : {Point2d(-slack, -face.descent - slack), Point2d(advance + slack, -face.descent - slack),
                                  Point2d(advance + slack, face.ascent + slack), Point2d(-slack, face.ascent + slack)}) {
        const Point2d p = g.apply(corner);
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    if (offPage(x0, y0, x1, y1)) return;
    footprint_.assign(1, ink_.cellsOf({x0, y0}, {x1, y1}, 1.0));
    Key key;
    key.kind = CanvasBatch::Kind::Glyphs;
    key.color = color;
    key.face = &face;
    key.linear[0] = g.xx, key.linear[1] = g.yx, key.linear[2] = g.xy, key.linear[3] = g.yy;
    placed_.clear();
    face.glyphs->layout(utf8, &placed_);
    Batch& batch = batchFor(key, placed_.size());
    for (const PlacedGlyph& p : placed_) {
        const Point2d at = g.apply({p.x, 0.0});
        batch.glyphs.push_back({static_cast<std::uint32_t>(p.index), p.character, at.x, at.y});
    }
    markInk(batch);
}

void BatchCanvas::pushClip(const DevicePath& path) {
    flush();
    DevicePath usable;
    for (const DevicePath::Run& run : path.runs)
        if (!run.points.empty() && std::all_of(run.points.begin(), run.points.end(), finite)) usable.runs.push_back(run);
    post({Command::Kind::PushClip, nullptr, {}, std::move(usable), {}});
}

void BatchCanvas::popClip() {
    flush();
    post({Command::Kind::PopClip, nullptr, {}, {}, {}});
}

}  // namespace cad
