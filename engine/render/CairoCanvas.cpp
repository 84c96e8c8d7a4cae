#include "engine/render/CairoCanvas.h"

#include <cairo.h>

#include <cmath>
#include <numbers>

#include "engine/render/FontLibrary.h"

namespace cad {

namespace {

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

}  // namespace

CairoCanvas::CairoCanvas(cairo_surface_t* surface) : cr_(cairo_create(surface)) {
    setUnhinted(cr_);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

CairoCanvas::~CairoCanvas() {
    flush();
    cairo_destroy(cr_);
}

void CairoCanvas::flush() {
    if (!hasPending_) return;
    hasPending_ = false;
    setColor(pending_.color);
    cairo_set_line_width(cr_, pending_.width);
    if (pending_.dashes.empty()) cairo_set_dash(cr_, nullptr, 0, 0);
    else cairo_set_dash(cr_, pending_.dashes.data(), static_cast<int>(pending_.dashes.size()), pending_.dashOffset);
    cairo_stroke(cr_);
}

std::string CairoCanvas::error() {
    flush();
    cairo_status_t status = cairo_status(cr_);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(cairo_get_target(cr_));
    return status == CAIRO_STATUS_SUCCESS ? std::string() : std::string(cairo_status_to_string(status));
}

void CairoCanvas::setColor(Rgb color) {
    cairo_set_source_rgb(cr_, channel(color.r), channel(color.g), channel(color.b));
}

void CairoCanvas::paintBackground(Rgb color) {
    flush();
    setColor(color);
    cairo_paint(cr_);
}

void CairoCanvas::addPath(const DevicePath& path) {
    for (const DevicePath::Run& run : path.runs) {
        if (run.points.empty()) continue;
        // A degenerate placement (a reference scaled by 0, a coordinate that is not a number)
        // would put cairo into an error state for the rest of the picture: such runs are left out.
        bool finite = true;
        for (const Point2d& p : run.points) finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
        if (!finite) continue;
        cairo_move_to(cr_, run.points.front().x, run.points.front().y);
        for (std::size_t i = 1; i < run.points.size(); ++i) cairo_line_to(cr_, run.points[i].x, run.points[i].y);
        if (run.closed) cairo_close_path(cr_);
    }
}

void CairoCanvas::stroke(const DevicePath& path, const Pen& pen) {
    if (path.empty()) return;
    const bool same = hasPending_ && pending_.color == pen.color && pending_.width == pen.width &&
                      pending_.dashes == pen.dashes && pending_.dashOffset == pen.dashOffset;
    if (!same) {
        flush();
        pending_ = pen;
        hasPending_ = true;
    }
    addPath(path);
}

void CairoCanvas::fill(const DevicePath& path, Rgb color) {
    if (path.empty()) return;
    flush();
    addPath(path);
    setColor(color);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
}

void CairoCanvas::dot(const Point2d& at, double diameter, Rgb color) {
    if (!std::isfinite(at.x) || !std::isfinite(at.y) || !std::isfinite(diameter)) return;
    flush();
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, at.x, at.y, diameter / 2, 0, 2 * std::numbers::pi);
    setColor(color);
    cairo_fill(cr_);
}

void CairoCanvas::text(const FontFace& face, std::string_view utf8, double, const Affine2d& glyphToDevice, Rgb color) {
    if (utf8.empty() || face.face == nullptr) return;
    const Affine2d& g = glyphToDevice;
    if (!(std::fabs(g.determinant()) > 1e-12) || !std::isfinite(g.x0) || !std::isfinite(g.y0) ||
        !std::isfinite(g.determinant()))
        return;
    flush();
    const std::string copy(utf8);
    cairo_save(cr_);
    cairo_matrix_t m;
    cairo_matrix_init(&m, glyphToDevice.xx, glyphToDevice.yx, glyphToDevice.xy, glyphToDevice.yy, glyphToDevice.x0,
                      glyphToDevice.y0);
    cairo_set_matrix(cr_, &m);
    cairo_set_font_face(cr_, face.face);
    // Glyph space has y up, cairo's font space y down.
    cairo_matrix_t fontMatrix;
    cairo_matrix_init_scale(&fontMatrix, 1.0, -1.0);
    cairo_set_font_matrix(cr_, &fontMatrix);
    setColor(color);
    cairo_move_to(cr_, 0, 0);
    cairo_show_text(cr_, copy.c_str());
    cairo_new_path(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::pushClip(const DevicePath& path) {
    flush();
    cairo_save(cr_);
    addPath(path);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr_);
}

void CairoCanvas::popClip() {
    flush();
    cairo_restore(cr_);
}

}  // namespace cad
