#include "engine/render/PdfTarget.h"

#include <cairo.h>
#include <libdeflate.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <stdexcept>

#include "engine/render/FontLibrary.h"

namespace cad {

namespace {

// Lines at least this wide (points) get round corners; thinner ones mitred, cut off past 60 degrees.
constexpr double kRoundJoinWidth = 2.0;
// Content is deflated in pieces of this size.
constexpr std::size_t kDeflatePiece = 1 << 18;
// Deflating runs beside the painter, and what is left of it when painting ends is the picture's
// last wait. On a large plan's 9 MB of content libdeflate's level 1 took 26 ms for 1.33 MB, its
// level 3 44 ms for 1.20 MB (zlib's level 3 about three times that).
constexpr int kDeflateLevel = 1;
// Glyph outlines are taken at this size: glyph space is a thousandth of an em.
constexpr double kGlyphUnits = 1000.0;
// Device coordinates beyond this are held at it: readers take no larger numbers.
constexpr double kMaxCoordinate = 1e9;

// Numbers go out with three decimals by default, no trailing zeros: a thousandth of a point is far
// below what anything shows. A text's matrix takes six, as its size and turn multiply every glyph.
constexpr long long kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// The number as a whole count of 10^-decimals; not a number counts as 0.
long long units(double v, int decimals) {
    if (!std::isfinite(v)) return 0;
    // Rounds half away from zero, as llround, without its call: below 2^53 the difference between
    // the value and its truncation is exact.
    const double x = std::clamp(v, -kMaxCoordinate, kMaxCoordinate) * static_cast<double>(kScale[decimals]);
    long long q = static_cast<long long>(x);
    const double rest = x - static_cast<double>(q);
    if (rest >= 0.5) ++q;
    else if (rest <= -0.5) --q;
    return q;
}

// The value a reader takes from putNumber<decimals>(v).
double written(double v, int decimals = 3) {
    return static_cast<double>(units(v, decimals)) / static_cast<double>(kScale[decimals]);
}

// Writes the number at `p`, which has room for kNumberRoom characters; returns the end. The
// decimals are a constant so that the divisions by their power of ten become multiplications.
constexpr std::size_t kNumberRoom = 24;
template <int Decimals>
char* formatNumber(char* p, double v) {
    constexpr long long scale = kScale[Decimals];
    long long q = units(v, Decimals);
    if (q < 0) {
        *p++ = '-';
        q = -q;
    }
    p = std::to_chars(p, p + 20, q / scale).ptr;
    long long frac = q % scale;
    if (frac == 0) return p;
    char* const point = p;
    *p = '.';
    for (int i = Decimals; i >= 1; --i, frac /= 10) point[i] = static_cast<char>('0' + frac % 10);
    p = point + Decimals + 1;
    while (p[-1] == '0') --p;
    return p;
}

template <int Decimals = 3>
void putNumber(std::string& out, double v) {
    char digits[kNumberRoom];
    out.append(digits, formatNumber<Decimals>(digits, v));
}

// The point and its operator (a few characters) go out in one append.
void putPoint(std::string& out, double x, double y, std::string_view op) {
    constexpr std::size_t kOpRoom = 16;
    char text[2 * kNumberRoom + kOpRoom];
    char* p = formatNumber<3>(text, x);
    *p++ = ' ';
    p = formatNumber<3>(p, y);
    if (op.size() <= kOpRoom) {
        std::memcpy(p, op.data(), op.size());
        out.append(text, p + op.size());
    } else {
        out.append(text, p);
        out.append(op);
    }
}

// One run of a path: moved to, lined through, closed when it is.
void putRun(std::string& out, const Point2d* points, std::size_t count, bool closed) {
    if (count == 0) return;
    putPoint(out, points[0].x, points[0].y, " m\n");
    for (std::size_t i = 1; i < count; ++i) putPoint(out, points[i].x, points[i].y, " l\n");
    if (closed) out += "h\n";
}

void putColor(std::string& out, Rgb c, const char* op) {
    putNumber(out, c.r / 255.0);
    out += ' ';
    putNumber(out, c.g / 255.0);
    out += ' ';
    putNumber(out, c.b / 255.0);
    out += op;
}

void putHex(std::string& out, unsigned value, int digits) {
    static const char* hex = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += hex[(value >> shift) & 0xF];
}

// The character as UTF-16 for a ToUnicode map.
void putUtf16(std::string& out, char32_t c) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
        const char32_t v = c - 0x10000;
        putHex(out, 0xD800 + (v >> 10), 4);
        putHex(out, 0xDC00 + (v & 0x3FF), 4);
    } else {
        putHex(out, c <= 0xFFFF && (c < 0xD800 || c > 0xDFFF) ? c : 0xFFFD, 4);
    }
}

// A circle as four Bézier arcs.
void putCircle(std::string& out, double cx, double cy, double r) {
    const double k = 0.5522847498 * r;
    putPoint(out, cx + r, cy, " m ");
    const double pts[4][6] = {{cx + r, cy + k, cx + k, cy + r, cx, cy + r},
                              {cx - k, cy + r, cx - r, cy + k, cx - r, cy},
                              {cx - r, cy - k, cx - k, cy - r, cx, cy - r},
                              {cx + k, cy - r, cx + r, cy - k, cx + r, cy}};
    for (const auto& p : pts) {
        putPoint(out, p[0], p[1], " ");
        putPoint(out, p[2], p[3], " ");
        putPoint(out, p[4], p[5], " c\n");
    }
    out += "h\n";
}

}  // namespace

// A Type 3 font: up to 256 glyphs of one face, drawn in the fill colour of the text.
struct PdfTarget::SubFont {
    std::string name;                // in the page's resources
    std::vector<std::string> procs;  // glyph descriptions
    std::vector<double> widths;      // glyph units
    std::vector<char32_t> characters;
    double box[4] = {0, 0, 0, 0};  // of all outlines, glyph units
};

PdfTarget::PdfTarget(double width, double height) : PdfTarget(width, height, 0) {}

PdfTarget::PdfTarget(double width, double height, int part)
    : width_(width),
      height_(height),
      zip_(libdeflate_alloc_compressor(kDeflateLevel), libdeflate_free_compressor),
      outliner_(nullptr, cairo_destroy) {
    if (!zip_) error_ = "cannot start compressing the PDF";
    // Room for a piece and the batch that ends it, taken once: growing it on the writing thread
    // would copy it over and over into new memory.
    content_.reserve(2 * kDeflatePiece);
    if (part > 0) {
        // Placed as the page is, and whatever else it sets ends with it. It may take the page as
        // opaque: the page makes it so before appending it.
        part_ = true;
        content_ += "q\n";
        return;
    }
    // Device space has y down; the page's y goes up.
    content_ += "1 0 0 -1 0 ";
    putNumber(content_, height_);
    content_ += " cm\n0 J 2 M\n";
}

std::unique_ptr<CanvasTarget> PdfTarget::makePart() {
    std::unique_ptr<PdfTarget> part(new PdfTarget(width_, height_, ++partsMade_));
    part->fontPrefix_ = fontPrefix_ + std::to_string(partsMade_) + "_";
    return part;
}

void PdfTarget::appendPart(CanvasTarget& other) {
    auto* part = dynamic_cast<PdfTarget*>(&other);
    if (part == nullptr || !part->part_) throw std::logic_error("not a part of a PDF page");
    part->content_ += "Q\n";
    part->deflateContent();
    if (!part->error_.empty()) {
        if (error_.empty()) error_ = part->error_;
        return;
    }
    setAlpha(true, 255);
    setAlpha(false, 255);
    deflateContent();
    std::move(part->pieces_.begin(), part->pieces_.end(), std::back_inserter(pieces_));
    part->pieces_.clear();
    std::move(part->fonts_.begin(), part->fonts_.end(), std::back_inserter(fonts_));
    part->fonts_.clear();
    alphas_.insert(part->alphas_.begin(), part->alphas_.end());
}

PdfTarget::~PdfTarget() = default;

void PdfTarget::deflateContent() {
    if (!error_.empty() || (content_.empty() && !pieces_.empty())) return;
    // Into room for the worst case, kept from piece to piece; the piece keeps only what it needs.
    scratch_.resize(libdeflate_zlib_compress_bound(zip_.get(), content_.size()));
    const std::size_t size =
        libdeflate_zlib_compress(zip_.get(), content_.data(), content_.size(), scratch_.data(), scratch_.size());
    if (size == 0) {
        error_ = "compressing the PDF failed";
        return;
    }
    pieces_.emplace_back(scratch_.data(), size);
    content_.clear();
}

void PdfTarget::forgetState() {
    strokeKnown_ = fillKnown_ = penKnown_ = alphaKnown_[0] = alphaKnown_[1] = false;
}

void PdfTarget::setAlpha(bool stroke, std::uint8_t alpha) {
    // A graphics state per opacity and kind (/Sn strokes, /Fn fills), so that each keeps its own;
    // none at all while everything is opaque.
    const int k = stroke ? 1 : 0;
    if (alphaKnown_[k] && alpha_[k] == alpha) return;
    if (alpha != 255 || !alphas_.empty()) {
        content_ += (stroke ? "/S" : "/F") + std::to_string(alpha) + " gs\n";
        alphas_.insert({stroke, alpha});
    }
    alpha_[k] = alpha;
    alphaKnown_[k] = true;
}

void PdfTarget::setStrokeColor(Rgb color) {
    setAlpha(true, color.a);
    if (strokeKnown_ && stroke_ == color) return;
    putColor(content_, color, " RG\n");
    stroke_ = color;
    strokeKnown_ = true;
}

void PdfTarget::setFillColor(Rgb color) {
    setAlpha(false, color.a);
    if (fillKnown_ && fill_ == color) return;
    putColor(content_, color, " rg\n");
    fill_ = color;
    fillKnown_ = true;
}

void PdfTarget::addPath(const std::vector<Point2d>& points, const std::vector<std::pair<std::size_t, bool>>& runs) {
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::size_t from = runs[r].first;
        const std::size_t to = r + 1 < runs.size() ? runs[r + 1].first : points.size();
        if (from < to) putRun(content_, points.data() + from, to - from, runs[r].second);
    }
}

void PdfTarget::draw(const CanvasBatch& b) {
    using Kind = CanvasBatch::Kind;
    switch (b.kind) {
        case Kind::Stroke: {
            setStrokeColor(b.color);
            const bool round = b.pen.width >= kRoundJoinWidth;
            if (!penKnown_ || lineWidth_ != b.pen.width || roundJoin_ != round || dashes_ != b.pen.dashes ||
                dashOffset_ != b.pen.dashOffset) {
                putNumber(content_, b.pen.width);
                content_ += round ? " w 1 j [" : " w 0 j [";
                for (std::size_t i = 0; i < b.pen.dashes.size(); ++i) {
                    if (i) content_ += ' ';
                    putNumber(content_, b.pen.dashes[i]);
                }
                content_ += "] ";
                putNumber(content_, b.pen.dashes.empty() ? 0.0 : b.pen.dashOffset);
                content_ += " d\n";
                lineWidth_ = b.pen.width;
                roundJoin_ = round;
                dashes_ = b.pen.dashes;
                dashOffset_ = b.pen.dashOffset;
                penKnown_ = true;
            }
            addPath(b.points, b.runs);
            for (const auto& d : b.dots) putCircle(content_, d[0], d[1], d[2]);
            content_ += "S\n";
            break;
        }
        case Kind::FillEvenOdd:
        case Kind::FillConvex:
            setFillColor(b.color);
            addPath(b.points, b.runs);
            for (const auto& d : b.dots) putCircle(content_, d[0], d[1], d[2]);
            content_ += b.kind == Kind::FillEvenOdd ? "f*\n" : "f\n";
            break;
        case Kind::Glyphs: drawGlyphs(b); break;
    }
    if (content_.size() >= kDeflatePiece) deflateContent();
}

const PdfTarget::GlyphCode& PdfTarget::codeOf(const FontFace& face, const CanvasGlyph& glyph) {
    auto& codes = codes_[&face];
    const std::uint64_t key = (static_cast<std::uint64_t>(glyph.index) << 21) | (glyph.character & 0x1FFFFF);
    if (auto it = codes.find(key); it != codes.end()) return it->second;
    if (outliner_ == nullptr) {
        // The context keeps the surface alive.
        cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
        outliner_.reset(cairo_create(surface));
        cairo_surface_destroy(surface);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_set_font_options(outliner_.get(), options);
        cairo_font_options_destroy(options);
    }
    auto open = openFont_.find(&face);
    if (open == openFont_.end() || fonts_[open->second].procs.size() >= 256) {
        fonts_.emplace_back();
        fonts_.back().name = fontPrefix_ + std::to_string(fonts_.size() - 1);
        open = openFont_.insert_or_assign(&face, fonts_.size() - 1).first;
    }
    SubFont& font = fonts_[open->second];
    cairo_set_font_face(outliner_.get(), face.face);
    cairo_set_font_size(outliner_.get(), kGlyphUnits);
    cairo_glyph_t g{glyph.index, 0, 0};
    cairo_text_extents_t extents;
    cairo_glyph_extents(outliner_.get(), &g, 1, &extents);
    cairo_new_path(outliner_.get());
    cairo_glyph_path(outliner_.get(), &g, 1);
    const std::unique_ptr<cairo_path_t, void (*)(cairo_path_t*)> path(cairo_copy_path(outliner_.get()), cairo_path_destroy);
    // Cairo's font space has y down, glyph space y up.
    std::string proc;
    putNumber(proc, extents.x_advance);
    proc += " 0 d0\n";
    bool any = false;
    auto extend = [&](double x, double y) {
        any = true;
        font.box[0] = std::min(font.box[0], x), font.box[1] = std::min(font.box[1], y);
        font.box[2] = std::max(font.box[2], x), font.box[3] = std::max(font.box[3], y);
    };
    if (path->status == CAIRO_STATUS_SUCCESS) {
        for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
            const cairo_path_data_t* d = &path->data[i];
            switch (d->header.type) {
                case CAIRO_PATH_MOVE_TO:
                    putPoint(proc, d[1].point.x, -d[1].point.y, " m\n");
                    extend(d[1].point.x, -d[1].point.y);
                    break;
                case CAIRO_PATH_LINE_TO:
                    putPoint(proc, d[1].point.x, -d[1].point.y, " l\n");
                    extend(d[1].point.x, -d[1].point.y);
                    break;
                case CAIRO_PATH_CURVE_TO:
                    for (int k = 1; k <= 3; ++k) {
                        putPoint(proc, d[k].point.x, -d[k].point.y, k < 3 ? " " : " c\n");
                        extend(d[k].point.x, -d[k].point.y);
                    }
                    break;
                case CAIRO_PATH_CLOSE_PATH: proc += "h\n"; break;
            }
        }
    }
    cairo_new_path(outliner_.get());
    if (any) proc += "f\n";
    font.procs.push_back(std::move(proc));
    font.widths.push_back(extents.x_advance);
    font.characters.push_back(glyph.character);
    GlyphCode code{open->second, static_cast<unsigned char>(font.procs.size() - 1)};
    return codes.emplace(key, code).first->second;
}

void PdfTarget::drawGlyphs(const CanvasBatch& b) {
    if (b.face == nullptr || b.face->face == nullptr || b.glyphs.empty()) return;
    // The matrix as the reader takes it: the first string of the batch is placed with it, the
    // others are moved to from there (Td, in text space), which is a third of the bytes of
    // placing each anew. Moves are reckoned from where the reader stands, so rounding never adds up.
    const double a = written(b.linear[0], 6), bb = written(b.linear[1], 6), c = written(b.linear[2], 6),
                 d = written(b.linear[3], 6);
    const double det = a * d - bb * c;
    // Texts too small for the matrix's digits are too small to see; readers refuse a flat matrix.
    if (!(std::fabs(det) >= 1e-10)) return;
    content_ += "BT\n";
    setFillColor(b.color);
    std::size_t font = SIZE_MAX;
    bool inString = false, placed = false;
    double lineX = 0, lineY = 0;  // where the reader's current line starts (device)
    double nextX = 0, nextY = 0;  // where the pen stands after the string so far
    for (const CanvasGlyph& g : b.glyphs) {
        const GlyphCode code = codeOf(*b.face, g);
        const bool follows = inString && code.font == font && std::fabs(g.x - nextX) < 1e-3 && std::fabs(g.y - nextY) < 1e-3;
        if (!follows) {
            if (inString) content_ += "> Tj\n";
            if (code.font != font) {
                content_ += '/';
                content_ += fonts_[code.font].name;
                content_ += " 1 Tf\n";
                font = code.font;
            }
            if (!placed) {
                for (double v : {a, bb, c, d}) {
                    putNumber<6>(content_, v);
                    content_ += ' ';
                }
                putPoint(content_, g.x, g.y, " Tm <");
                lineX = written(g.x);
                lineY = written(g.y);
                placed = true;
            } else {
                const double dx = g.x - lineX, dy = g.y - lineY;
                const double tx = written((d * dx - c * dy) / det, 4), ty = written((a * dy - bb * dx) / det, 4);
                putNumber<4>(content_, tx);
                content_ += ' ';
                putNumber<4>(content_, ty);
                content_ += " Td <";
                lineX += a * tx + c * ty;
                lineY += bb * tx + d * ty;
            }
            inString = true;
        }
        putHex(content_, code.code, 2);
        // The reader moves the pen by the glyph's width; so does the painter's layout.
        const double advance = fonts_[code.font].widths[code.code] / kGlyphUnits;
        nextX = g.x + advance * b.linear[0];
        nextY = g.y + advance * b.linear[1];
    }
    if (inString) content_ += "> Tj\n";
    content_ += "ET\n";
}

void PdfTarget::paintBackground(Rgb color) {
    setFillColor(color);
    content_ += "0 0 ";
    putPoint(content_, width_, height_, " re f\n");
}

void PdfTarget::pushClip(const DevicePath& path) {
    content_ += "q\n";
    for (const DevicePath::Run& run : path.runs) putRun(content_, run.points.data(), run.points.size(), run.closed);
    content_ += "W* n\n";
}

void PdfTarget::popClip() {
    content_ += "Q\n";
    forgetState();
}

void PdfTarget::write(const std::function<void(std::string_view)>& sink) {
    deflateContent();
    if (!error_.empty()) throw std::runtime_error(error_);
    std::string out;
    std::vector<std::size_t> offsets(1, 0);  // object 0 is the free head
    std::size_t written = 0;
    auto flush = [&] {
        sink(out);
        written += out.size();
        out.clear();
    };
    auto begin = [&](std::size_t number) {
        if (offsets.size() <= number) offsets.resize(number + 1, 0);
        offsets[number] = written + out.size();
        out += std::to_string(number);
        out += " 0 obj\n";
    };
    auto ref = [](std::size_t number) { return std::to_string(number) + " 0 R"; };

    // 1 catalog, 2 pages, 3 page, 4 the first piece of content, 5 information; then per font: the
    // font, its character map, its glyph descriptions; then the other pieces of content.
    std::vector<std::size_t> fontObject(fonts_.size());
    std::size_t next = 6;
    for (std::size_t f = 0; f < fonts_.size(); ++f) {
        fontObject[f] = next;
        next += 2 + fonts_[f].procs.size();
    }
    std::vector<std::size_t> pieceObject{4};
    for (std::size_t k = 1; k < pieces_.size(); ++k) pieceObject.push_back(next++);
    auto putPiece = [&](std::size_t k) {
        begin(pieceObject[k]);
        out += "<< /Length " + std::to_string(pieces_[k].size()) + " /Filter /FlateDecode >>\nstream\n";
        flush();
        sink(pieces_[k]);
        written += pieces_[k].size();
        out += "\nendstream\nendobj\n";
    };

    out += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    begin(1);
    out += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    begin(2);
    out += "<< /Type /Pages /Kids [3 0 R] /Count 1 >>\nendobj\n";
    begin(3);
    out += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    putPoint(out, width_, height_, "]");
    out += " /Contents";
    if (pieces_.size() == 1) {
        out += " 4 0 R";
    } else {
        out += " [";
        for (std::size_t number : pieceObject) out += " " + ref(number);
        out += " ]";
    }
    out += " /Resources << /Font <<";
    for (std::size_t f = 0; f < fonts_.size(); ++f) out += " /" + fonts_[f].name + " " + ref(fontObject[f]);
    out += " >>";
    if (!alphas_.empty()) {
        out += " /ExtGState <<";
        for (const auto& [stroke, a] : alphas_) {
            std::string value;
            putNumber(value, a / 255.0);
            out += (stroke ? " /S" : " /F") + std::to_string(a) + (stroke ? " << /CA " : " << /ca ") + value +
                   " >>";
        }
        out += " >>";
    }
    out += " >> >>\nendobj\n";
    putPiece(0);
    begin(5);
    out += "<< /Producer (Brinmo) >>\nendobj\n";

    for (std::size_t f = 0; f < fonts_.size(); ++f) {
        const SubFont& font = fonts_[f];
        const std::size_t self = fontObject[f];
        const std::size_t count = font.procs.size();
        begin(self);
        out += "<< /Type /Font /Subtype /Type3 /FontBBox [";
        for (int i = 0; i < 4; ++i) {
            putNumber(out, i < 2 ? std::floor(font.box[i]) : std::ceil(font.box[i]));
            out += i < 3 ? " " : "]";
        }
        out += " /FontMatrix [0.001 0 0 0.001 0 0] /Resources << >>\n/CharProcs <<";
        for (std::size_t g = 0; g < count; ++g) out += " /g" + std::to_string(g) + " " + ref(self + 2 + g);
        out += " >>\n/Encoding << /Type /Encoding /Differences [0";
        for (std::size_t g = 0; g < count; ++g) out += " /g" + std::to_string(g);
        out += "] >>\n/FirstChar 0 /LastChar " + std::to_string(count - 1) + " /Widths [";
        for (std::size_t g = 0; g < count; ++g) {
            if (g) out += ' ';
            putNumber(out, font.widths[g]);
        }
        out += "]\n/ToUnicode " + ref(self + 1) + " >>\nendobj\n";

        std::string map =
            "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
            "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
            "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
            "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n";
        std::vector<std::size_t> known;
        for (std::size_t g = 0; g < count; ++g)
            if (font.characters[g] != 0) known.push_back(g);
        for (std::size_t from = 0; from < known.size(); from += 100) {
            const std::size_t to = std::min(known.size(), from + 100);
            map += std::to_string(to - from) + " beginbfchar\n";
            for (std::size_t k = from; k < to; ++k) {
                map += '<';
                putHex(map, static_cast<unsigned>(known[k]), 2);
                map += "> <";
                putUtf16(map, font.characters[known[k]]);
                map += ">\n";
            }
            map += "endbfchar\n";
        }
        map += "endcmap\nCMapName currentdict /CMapResource defineresource pop\nend\nend\n";
        begin(self + 1);
        out += "<< /Length " + std::to_string(map.size()) + " >>\nstream\n" + map + "\nendstream\nendobj\n";
        for (std::size_t g = 0; g < count; ++g) {
            begin(self + 2 + g);
            out += "<< /Length " + std::to_string(font.procs[g].size()) + " >>\nstream\n" + font.procs[g] +
                   "\nendstream\nendobj\n";
        }
        if (out.size() > kDeflatePiece) flush();
    }
    for (std::size_t k = 1; k < pieces_.size(); ++k) putPiece(k);

    const std::size_t xref = written + out.size();
    out += "xref\n0 " + std::to_string(offsets.size()) + "\n0000000000 65535 f \n";
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[i]);
        out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(offsets.size()) + " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    flush();
}

}  // namespace cad
