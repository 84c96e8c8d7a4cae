#include "engine/render/CairoTarget.h"

#include <cairo.h>

#include <numbers>
#include <vector>

#include "engine/render/FontLibrary.h"

namespace cad {

namespace {

// Lines at least this wide (device units) get round corners; thinner ones mitred, cut off past 60 degrees.
constexpr double kRoundJoinWidth = 2.0;
constexpr double kMiterLimit = 2.0;

double channel(std::uint8_t v) { return v / 255.0; }

// Glyph outlines as designed: hinting would move texts by whole pixels and change their widths
// with the zoom.
void setUnhinted(cairo_t* cr) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void addRun(cairo_t* cr, const Point2d* points, std::size_t count, bool closed) {
    if (count == 0) return;
    cairo_move_to(cr, points[0].x, points[0].y);
    for (std::size_t i = 1; i < count; ++i) cairo_line_to(cr, points[i].x, points[i].y);
    if (closed) cairo_close_path(cr);
}

void addRuns(cairo_t* cr, const std::vector<Point2d>& points, const std::vector<std::pair<std::size_t, bool>>& runs) {
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::size_t from = runs[r].first;
        const std::size_t to = r + 1 < runs.size() ? runs[r + 1].first : points.size();
        if (from < to) addRun(cr, points.data() + from, to - from, runs[r].second);
    }
}

}  // namespace

CairoTarget::CairoTarget(cairo_surface_t* surface)
    : context_(cairo_create(surface), cairo_destroy) {
    setUnhinted(cr());
    cairo_set_line_join(cr(), CAIRO_LINE_JOIN_ROUND);
    cairo_set_miter_limit(cr(), kMiterLimit);
    cairo_set_line_cap(cr(), CAIRO_LINE_CAP_BUTT);
    double x0 = 0, y0 = 0;
    cairo_clip_extents(cr(), &x0, &y0, &width_, &height_);
}

std::string CairoTarget::error() {
    cairo_status_t status = cairo_status(cr());
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(cairo_get_target(cr()));
    return status == CAIRO_STATUS_SUCCESS ? std::string() : std::string(cairo_status_to_string(status));
}

void CairoTarget::setColor(Rgb color) {
    cairo_set_source_rgba(cr(), channel(color.r), channel(color.g), channel(color.b), channel(color.a));
}

void CairoTarget::draw(const CanvasBatch& b) {
    using Kind = CanvasBatch::Kind;
    setColor(b.color);
    switch (b.kind) {
        case Kind::Stroke:
            cairo_set_line_width(cr(), b.pen.width);
            // Corners of thin lines are too small to show their shape, and round joins cost cairo
            // the most; wide ones are rounded.
            cairo_set_line_join(cr(), b.pen.width >= kRoundJoinWidth ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
            if (b.pen.dashes.empty()) cairo_set_dash(cr(), nullptr, 0, 0);
            else cairo_set_dash(cr(), b.pen.dashes.data(), static_cast<int>(b.pen.dashes.size()), b.pen.dashOffset);
            [[fallthrough]];
        case Kind::FillEvenOdd:
        case Kind::FillConvex:
            addRuns(cr(), b.points, b.runs);
            for (const auto& d : b.dots) {
                cairo_new_sub_path(cr());
                cairo_arc(cr(), d[0], d[1], d[2], 0, 2 * std::numbers::pi);
            }
            if (b.kind == Kind::Stroke) {
                cairo_stroke(cr());
            } else {
                cairo_set_fill_rule(cr(), b.kind == Kind::FillEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
                cairo_fill(cr());
            }
            break;
        case Kind::Glyphs: {
            cairo_set_font_face(cr(), b.face->face);
            // Glyph space has y up, cairo's font space y down.
            cairo_matrix_t m;
            cairo_matrix_init(&m, b.linear[0], b.linear[1], -b.linear[2], -b.linear[3], 0, 0);
            cairo_set_font_matrix(cr(), &m);
            std::vector<cairo_glyph_t> glyphs;
            glyphs.reserve(b.glyphs.size());
            for (const CanvasGlyph& g : b.glyphs) glyphs.push_back({g.index, g.x, g.y});
            cairo_show_glyphs(cr(), glyphs.data(), static_cast<int>(glyphs.size()));
            break;
        }
    }
}

void CairoTarget::paintBackground(Rgb color) {
    setColor(color);
    cairo_paint(cr());
}

void CairoTarget::pushClip(const DevicePath& path) {
    cairo_save(cr());
    for (const DevicePath::Run& run : path.runs) addRun(cr(), run.points.data(), run.points.size(), run.closed);
    cairo_set_fill_rule(cr(), CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr());
}

void CairoTarget::popClip() { cairo_restore(cr()); }

}  // namespace cad
