#include "engine/render/DrawingPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <optional>
#include <span>

#include "engine/db/Arc.h"
#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Circle.h"
#include "engine/db/Database.h"
#include "engine/db/Hatch.h"
#include "engine/db/Line.h"
#include "engine/db/Polyline.h"
#include "engine/db/Table.h"
#include "engine/db/TagValue.h"
#include "engine/db/Text.h"
#include "engine/db/TextStyleTableRecord.h"
#include "engine/db/UnknownEntity.h"
#include "engine/db/UnknownObject.h"
#include "engine/db/Viewport.h"
#include "engine/geometry/BlockTransform.h"
#include "engine/render/FontLibrary.h"
#include "engine/render/MTextFormat.h"
#include "engine/render/MultiLeader.h"
#include "engine/render/RawEntity.h"
#include "engine/render/SplineCurve.h"
#include "engine/render/StyleResolver.h"
#include "engine/render/TextCodes.h"
#include "engine/text/AsciiText.h"

namespace cad {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kMaxDepth = 32;
constexpr double kStackScale = 0.7;  // height of a stacked text's halves, of the line's
// How far a flattened curve may stray from the true one, in device units.
constexpr double kDeviceChord = 0.2;

// Points of an arc of the circle (center, radius) from `start` by `sweep` radians (signed).
void appendArc(std::vector<Point2d>& out, const Point2d& center, double radius, double start, double sweep,
               double tolerance, bool includeFirst) {
    int n = 4;
    if (radius > tolerance) {
        const double step = 2 * std::acos(std::max(-1.0, 1 - tolerance / radius));
        n = static_cast<int>(std::ceil(std::fabs(sweep) / std::max(step, 1e-4)));
    }
    n = std::clamp(n, 2, 4096);
    for (int i = includeFirst ? 0 : 1; i <= n; ++i) {
        const double a = start + sweep * i / n;
        out.push_back({center.x + radius * std::cos(a), center.y + radius * std::sin(a)});
    }
}

std::vector<Point2d> mapped(const Affine2d& map, const std::vector<Point2d>& points) {
    std::vector<Point2d> out;
    out.reserve(points.size());
    for (const Point2d& p : points) out.push_back(map.apply(p));
    return out;
}

bool hasSplineEdge(const HatchLoop& loop) {
    return std::any_of(loop.edges.begin(), loop.edges.end(),
                       [](const HatchEdge& e) { return e.type == HatchEdge::Type::Spline; });
}

// The loop as a polyline with its spline edges evaluated as curves (the stored loop takes their
// control polygons).
PolylineGeometry loopGeometry(const HatchLoop& loop) {
    if (loop.isPolyline() || !hasSplineEdge(loop)) return loop.toPolyline();
    HatchLoop flat = loop;
    flat.edges.clear();
    for (const HatchEdge& e : loop.edges) {
        std::vector<Point3d> curve;
        if (e.type == HatchEdge::Type::Spline) {
            std::vector<Point3d> control;
            for (const Point2d& p : e.controlPoints) control.emplace_back(p.x, p.y, 0.0);
            curve = sampleSpline(e.degree, e.knots, control, e.rational ? e.weights : std::vector<double>{},
                                 splineSamples(control.size()));
            if (curve.empty()) {
                std::vector<Point3d> fit;
                for (const Point2d& p : e.fitPoints) fit.emplace_back(p.x, p.y, 0.0);
                curve = sampleThroughPoints(std::move(fit), Vector3d(e.startTangent.x, e.startTangent.y, 0),
                                            Vector3d(e.endTangent.x, e.endTangent.y, 0));
            }
        }
        if (curve.size() < 2) {
            flat.edges.push_back(e);
            continue;
        }
        for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
            HatchEdge line;
            line.type = HatchEdge::Type::Line;
            line.start = Point2d(curve[i].x, curve[i].y);
            line.end = Point2d(curve[i + 1].x, curve[i + 1].y);
            flat.edges.push_back(line);
        }
    }
    return flat.toPolyline();
}

// The hatch's pattern clipped by its loops, with spline edges evaluated.
ErrorStatus evaluatePattern(const Hatch& hatch, HatchEvaluation& evaluation) {
    if (std::none_of(hatch.loops().begin(), hatch.loops().end(), hasSplineEdge)) return hatch.evaluateHatch(&evaluation);
    HatchPattern pattern;
    double angle = 0.0, scale = 1.0;
    if (const ErrorStatus es = hatch.getPattern(pattern, angle, scale); es != ErrorStatus::eOk) return es;
    // Style "ignore" hatches only the outermost loops when it can tell them.
    const auto outer = [](const HatchLoop& l) { return (l.type & (HatchLoop::kExternal | HatchLoop::kOutermost)) != 0; };
    const bool onlyOuter = hatch.hatchStyle() == Hatch::Style::Ignore &&
                           std::any_of(hatch.loops().begin(), hatch.loops().end(), outer);
    std::vector<PolylineGeometry> rings;
    for (const HatchLoop& loop : hatch.loops())
        if (!onlyOuter || outer(loop)) rings.push_back(loopGeometry(loop));
    evaluation = HatchEvaluator().evaluate(rings, pattern, angle, scale);
    return evaluation.status;
}

Affine2d projection(const Matrix3d& m, double z) {
    return {m.entry(0, 0), m.entry(1, 0), m.entry(0, 1), m.entry(1, 1), m.entry(0, 3) + m.entry(0, 2) * z,
            m.entry(1, 3) + m.entry(1, 2) * z};
}

}  // namespace

DrawingPainter::DrawingPainter(const Database& db, Canvas& canvas, FontLibrary& fonts, StyleResolver& styles,
                               RenderReport& report)
    : db_(db), canvas_(canvas), fonts_(fonts), styles_(styles), report_(report) {}

void DrawingPainter::prepare(PaintContext& c) const {
    c.deviceMap = toDevice_ * projection(c.xform, 0.0);
    c.deviceZ = toDevice_.applyVector({c.xform.entry(0, 2), c.xform.entry(1, 2)});
    c.deviceScale = c.deviceMap.meanScale();
    c.prepared = true;
}

Affine2d DrawingPainter::planeToDevice(const PaintContext& c, const Vector3d& normal, double elevation) const {
    // Most entities lie in the drawing's plane: their object coordinates are the block's.
    if (c.prepared && normal.x == 0 && normal.y == 0 && normal.z == 1) {
        Affine2d m = c.deviceMap;
        m.x0 += c.deviceZ.x * elevation;
        m.y0 += c.deviceZ.y * elevation;
        return m;
    }
    return toDevice_ * projection(c.xform * ocsToWorld(normal), elevation);
}

Point2d DrawingPainter::toDevice(const PaintContext& c, const Point3d& world) const {
    if (c.prepared) {
        const Point2d p = c.deviceMap.apply({world.x, world.y});
        return {p.x + c.deviceZ.x * world.z, p.y + c.deviceZ.y * world.z};
    }
    const Point3d p = c.xform * world;
    return toDevice_.apply({p.x, p.y});
}

double DrawingPainter::deviceScale(const PaintContext& c) const {
    return c.prepared ? c.deviceScale : (toDevice_ * projection(c.xform, 0.0)).meanScale();
}

double DrawingPainter::chordTolerance(const Affine2d& map) {
    const double s = map.maxScale();
    return s > 0 ? kDeviceChord / s : 1.0;
}

Pen DrawingPainter::penOf(const Entity& entity, const PaintContext& c, double unitsPerDrawingUnit,
                          std::optional<ObjectId> linetype) {
    // Measuring takes points only: colour, weight and pattern change nothing it finds.
    if (measuring_) return Pen{};
    return styles_.pen(entity, c, unitsPerDrawingUnit, linetype);
}

std::vector<ObjectId> DrawingPainter::paintOrder(const Database& db, ObjectId block) {
    const auto* record = objectOfKind<BlockTableRecord>(db.objectAt(block), ObjectKind::BlockTableRecord);
    // Only an extension dictionary can hold a draw order table.
    if (record != nullptr && record->extensionDictionary().isNull()) return record->entityIds();
    return db.drawOrder(block);
}

const std::vector<ObjectId>& DrawingPainter::blockOrder(ObjectId block) {
    auto it = orders_->find(block);
    if (it == orders_->end()) it = orders_->emplace(block, paintOrder(db_, block)).first;
    return it->second;
}

void DrawingPainter::paintBlock(ObjectId block, const PaintContext& context) {
    paintBlock(block, context, 0, SIZE_MAX);
}

void DrawingPainter::paintBlock(ObjectId block, const PaintContext& context, std::size_t from, std::size_t to) {
    PaintContext c = context;
    c.block = block;
    prepare(c);
    const std::vector<ObjectId>& order = blockOrder(block);
    to = std::min(to, order.size());
    for (std::size_t i = from; i < to; ++i) {
        const DbObject* object = db_.objectAt(order[i]);
        if (object && object->isEntity() && !object->isErased()) paintEntity(static_cast<const Entity&>(*object), c);
    }
}

std::vector<Point2d>& DrawingPainter::keptRun() {
    runPath_.runs.resize(1);
    runPath_.runs[0].points.clear();
    return runPath_.runs[0].points;
}

void DrawingPainter::strokeKept(bool closed, const Pen& pen) {
    DevicePath::Run& run = runPath_.runs[0];
    if (run.points.size() < 2) return;
    // The marks are texts, which may stroke runs of their own.
    if (pen.marks && !pen.dashes.empty() && !measuring_) return strokeRun(run.points, closed, pen);
    run.closed = closed;
    canvas_.stroke(runPath_, pen);
}

void DrawingPainter::strokeRun(std::vector<Point2d> points, bool closed, const Pen& pen) {
    if (points.size() < 2) return;
    if (pen.marks && !pen.dashes.empty() && !measuring_) paintLinetypeMarks(points, closed, pen);
    // One path for every run, kept: a path made per run cost an allocation each time.
    runPath_.runs.resize(1);
    runPath_.runs[0].points = std::move(points);
    runPath_.runs[0].closed = closed;
    canvas_.stroke(runPath_, pen);
}

void DrawingPainter::paintLinetypeMarks(const std::vector<Point2d>& points, bool closed, const Pen& pen) {
    if (!(pen.patternLength > 0) || !(pen.markScale > 0)) return;
    std::vector<double> along{0.0};
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i)
        along.push_back(along.back() + points[i].distanceTo(points[(i + 1) % points.size()]));
    const double total = along.back();
    // So many repetitions would be a grey smear, not texts anyone reads.
    if (!std::isfinite(total) || total / pen.patternLength > 20000) return;
    for (const LinetypeMark& mark : *pen.marks) {
        if (mark.isShape) {
            report_.skip("LTYPE shape (drawn as its gap)");
            continue;
        }
        if (mark.text.empty()) continue;
        const FontFace& face = faceOfStyle(mark.style);
        const double em = mark.scale * pen.markScale / face.capHeight;
        if (!(em > 0)) continue;
        const std::string text = decodeTextCodes(mark.text);
        const double advance = fonts_.advance(face, text);
        std::size_t segment = 0;
        for (double s = mark.position * pen.markScale; s <= total; s += pen.patternLength) {
            while (segment + 1 < along.size() - 1 && along[segment + 1] < s) ++segment;
            const Point2d& a = points[segment];
            const Point2d& b = points[(segment + 1) % points.size()];
            const double length = along[segment + 1] - along[segment];
            if (!(length > 0)) continue;
            Vector2d t = (b - a) * (1.0 / length);
            const Point2d at = a + t * (s - along[segment]);
            if (mark.absoluteRotation) t = Vector2d(1, 0);
            // The drawing's "left of the line" on a device whose y points down.
            Vector2d up{t.y, -t.x};
            const double cs = std::cos(mark.rotation), sn = std::sin(mark.rotation);
            const Vector2d x = t * cs + up * sn, y = up * cs - t * sn;
            const Point2d origin = at + x * (mark.xOffset * pen.markScale) + y * (mark.yOffset * pen.markScale);
            paintTextLine(face, text, Affine2d{x.x * em, x.y * em, y.x * em, y.y * em, origin.x, origin.y}, advance,
                          pen.color);
        }
    }
}

void DrawingPainter::paintEntity(const Entity& entity, const PaintContext& c) {
    if (!styles_.isShown(entity, c)) {
        ++report_.hidden;
        return;
    }
    switch (entity.kind()) {
        case ObjectKind::Line: paintLine(entity, c); break;
        case ObjectKind::Circle:
        case ObjectKind::Arc: paintCircle(entity, c); break;
        case ObjectKind::Polyline: paintPolyline(static_cast<const Polyline&>(entity), c); break;
        case ObjectKind::Text: paintText(static_cast<const Text&>(entity), c, false); break;
        case ObjectKind::Attribute:
            if (static_cast<const Attribute&>(entity).isInvisible()) return;
            paintText(static_cast<const Text&>(entity), c, false);
            break;
        case ObjectKind::AttributeDefinition: {
            // Inside a block the references' attributes show the values, but a constant one has no
            // attribute and shows its text; alone the tag shows.
            const auto& definition = static_cast<const AttributeDefinition&>(entity);
            if (c.depth > 0 && (!definition.isConstant() || definition.isInvisible())) return;
            paintText(definition, c, c.depth == 0);
            break;
        }
        case ObjectKind::Hatch: paintHatch(static_cast<const Hatch&>(entity), c); break;
        case ObjectKind::BlockReference: paintReference(static_cast<const BlockReference&>(entity), c); return;
        case ObjectKind::Table: {
            // Its graphics are its anonymous block, shown at the table's position.
            const auto& table = static_cast<const Table&>(entity);
            if (c.depth < kMaxDepth)
                paintBlockAs(table.blockTableRecord(), Matrix3d::translation(table.position().asVector()), entity, c);
            return;
        }
        case ObjectKind::Viewport: paintViewport(static_cast<const Viewport&>(entity), entity, c); return;
        case ObjectKind::UnknownEntity: paintUnknown(static_cast<const UnknownEntity&>(entity), c); return;
        case ObjectKind::BlockBegin:
        case ObjectKind::BlockEnd:
        case ObjectKind::SequenceEnd: return;
        default: report_.skip(std::string(entity.dxfName())); return;
    }
    ++report_.drawn;
}

void DrawingPainter::paintLine(const Entity& e, const PaintContext& c) {
    const auto& line = static_cast<const Line&>(e);
    std::vector<Point2d>& pts = keptRun();
    pts.push_back(toDevice(c, line.startPoint()));
    pts.push_back(toDevice(c, line.endPoint()));
    strokeKept(false, penOf(e, c, deviceScale(c)));
}

void DrawingPainter::paintCircle(const Entity& e, const PaintContext& c) {
    const auto& circle = static_cast<const Circle&>(e);
    const Affine2d map = planeToDevice(c, circle.normal(), circle.center().z);
    const Point2d center(circle.center().x, circle.center().y);
    double start = 0, sweep = 2 * kPi;
    if (e.kind() == ObjectKind::Arc) {
        const auto& arc = static_cast<const Arc&>(e);
        start = arc.startAngle();
        sweep = arc.totalAngle();
    }
    if (measuring_) {
        // The box of the curve is that of its ends and of the points where it turns back in x or
        // in y: flattening finely enough for the box would cost far more.
        const double r = circle.radius();
        const auto point = [&](double a) { return map.apply({center.x + r * std::cos(a), center.y + r * std::sin(a)}); };
        const auto within = [&](double a) {
            double d = std::fmod((a - start) * (sweep < 0 ? -1 : 1), 2 * kPi);
            if (d < 0) d += 2 * kPi;
            return d <= std::fabs(sweep) + 1e-12;
        };
        canvas_.dot(point(start), 0.0, Rgb{});
        canvas_.dot(point(start + sweep), 0.0, Rgb{});
        for (const double a : {std::atan2(map.xy, map.xx), std::atan2(map.yy, map.yx)})
            for (const double turn : {a, a + kPi})
                if (within(turn)) canvas_.dot(point(turn), 0.0, Rgb{});
        return;
    }
    std::vector<Point2d>& pts = keptRun();
    appendArc(pts, center, circle.radius(), start, sweep, chordTolerance(map), true);
    const bool full = e.kind() == ObjectKind::Circle;
    if (full) pts.pop_back();
    for (Point2d& p : pts) p = map.apply(p);
    strokeKept(full, penOf(e, c, map.meanScale()));
}

void DrawingPainter::paintPolyline(const Polyline& pl, const PaintContext& c) {
    const Affine2d map = planeToDevice(c, pl.normal(), pl.elevation());
    const double tol = chordTolerance(map);
    const auto& vs = pl.vertices();
    if (vs.empty()) return;
    Pen pen = penOf(pl, c, map.meanScale());
    bool varying = false;
    double constant = pl.constantWidth() > 0 ? pl.constantWidth() : -1.0;
    if (constant < 0) {
        const double w0 = vs.front().startWidth;
        for (const auto& v : vs)
            if (v.startWidth != w0 || v.endWidth != w0) varying = true;
        if (!varying && w0 > 0) constant = w0;
    }
    if (!varying) {
        std::vector<Point2d>& pts = keptRun();
        flattenBulgeVertices(vs, pl.isClosed(), tol, pts);
        if (pts.size() == 1) {
            canvas_.dot(map.apply(pts.front()), pen.width, pen.color);
            return;
        }
        if (constant > 0) pen.width = std::max(pen.width, constant * map.meanScale());
        for (Point2d& p : pts) p = map.apply(p);
        strokeKept(pl.isClosed(), pen);
        return;
    }
    // Segments whose width changes along them are drawn as filled bands.
    const std::size_t count = pl.isClosed() ? vs.size() : vs.size() - 1;
    DevicePath bands;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& a = vs[i];
        const auto& b = vs[(i + 1) % vs.size()];
        std::vector<Point2d> pts{a.point};
        BulgeSegment{a.point, b.point, a.bulge}.flattenInto(pts, tol);
        if (pts.size() < 2) continue;
        std::vector<double> along(pts.size(), 0.0);
        for (std::size_t k = 1; k < pts.size(); ++k) along[k] = along[k - 1] + pts[k].distanceTo(pts[k - 1]);
        const double total = along.back();
        if (total <= 0) continue;
        std::vector<Point2d> left, right;
        for (std::size_t k = 0; k < pts.size(); ++k) {
            const Point2d& p0 = pts[k == 0 ? 0 : k - 1];
            const Point2d& p1 = pts[k == 0 ? 1 : k];
            Vector2d d = p1 - p0;
            const double len = d.length();
            if (len <= 0) continue;
            const Vector2d n{-d.y / len, d.x / len};
            const double w = (a.startWidth + (a.endWidth - a.startWidth) * along[k] / total) / 2;
            left.push_back(pts[k] + n * w);
            right.push_back(pts[k] - n * w);
        }
        std::reverse(right.begin(), right.end());
        left.insert(left.end(), right.begin(), right.end());
        bands.runs.push_back({mapped(map, left), true});
        if (a.startWidth == 0 && a.endWidth == 0) strokeRun(mapped(map, pts), false, pen);
    }
    // Bands are filled one by one: even-odd over all of them would punch holes where they meet.
    for (auto& run : bands.runs) {
        DevicePath one;
        one.runs.push_back(std::move(run));
        canvas_.fill(one, pen.color);
    }
}

const FontFace& DrawingPainter::faceOfStyle(ObjectId style) {
    if (auto it = styleFaces_.find(style); it != styleFaces_.end()) return *it->second;
    std::string file = "txt";
    if (const auto* record = dynamic_cast<const TextStyleTableRecord*>(db_.objectAt(style)))
        if (!record->fileName().empty()) file = record->fileName();
    const FontFace& face = fonts_.face(file);
    styleFaces_.emplace(style, &face);
    return face;
}

void DrawingPainter::paintTextLine(const FontFace& face, const std::string& text, const Affine2d& glyphToDevice,
                                   double advance, Rgb color) {
    if (greekBelow_ > 0 && !measuring_) {
        const double cap = face.capHeight * std::hypot(glyphToDevice.xy, glyphToDevice.yy);
        if (cap < greekBelow_) {
            // A band of the text's colour leaving about the ink its glyphs would: in the text's
            // colour it shares the batches of the lines around it.
            const double low = face.capHeight * 0.15, high = face.capHeight * 0.55;
            DevicePath box;
            box.runs.push_back({{glyphToDevice.apply({0, low}), glyphToDevice.apply({advance, low}),
                                 glyphToDevice.apply({advance, high}), glyphToDevice.apply({0, high})},
                                true});
            canvas_.fill(box, color);
            return;
        }
    }
    if (FontLibrary::ascii(text)) {
        canvas_.text(face, text, advance, glyphToDevice, color);
        return;
    }
    for (const FontLibrary::Run& run : fonts_.runs(face, text))
        canvas_.text(*run.face, run.text, run.advance, glyphToDevice * Affine2d::translation(run.x, 0),
                     color);
}

void DrawingPainter::paintText(const Text& t, const PaintContext& c, bool showTag) {
    // A multi-line attribute shows its multi-line part, a multi-line text of its own.
    if (const std::span<const RawTag> part = t.multilinePart(); !part.empty() && !showTag) {
        const RawEntity raw(part);
        MTextPlacement m;
        for (const RawTag& tag : part)
            if (tag.code == 3) m.body += tag.value;
        if (const std::string* last = raw.text(1)) m.body += *last;
        if (!m.body.empty()) {
            m.height = raw.real(40, t.height());
            m.style = t.textStyle();
            m.boxWidth = raw.real(41, 0.0);
            m.attachment = static_cast<int>(std::clamp(raw.integer(71, 1), 1LL, 9LL));
            m.normal = t.normal();
            m.insert = raw.point(10).value_or(t.position());
            m.rotation = t.rotation();
            if (auto dir = raw.point(11); dir && (dir->x != 0 || dir->y != 0 || dir->z != 0))
                m.rotation = angleInOcs(dir->asVector(), m.normal);
            m.lineSpacing = raw.real(44, 1.0);
            paintFormattedText(m, t, c);
            return;
        }
    }
    std::vector<TextRule> rules;
    const std::string shown =
        decodeTextCodes(showTag ? static_cast<const AttributeDefinition&>(t).tag() : t.textString(), &rules);
    if (shown.empty() || !(t.height() > 0)) return;
    const FontFace& face = faceOfStyle(t.textStyle());
    const double advance = fonts_.advance(face, shown);
    double em = t.height() / face.capHeight;
    double widthFactor = t.widthFactor() > 0 ? t.widthFactor() : 1.0;
    double rotation = t.rotation();
    Point2d anchor(t.position().x, t.position().y);
    double width = advance * em * widthFactor;
    double dx = 0, dy = 0;
    const auto h = t.horizontalMode();
    const auto v = t.verticalMode();
    if (h == Text::HorizontalMode::Aligned || h == Text::HorizontalMode::Fit) {
        const Point2d end(t.alignmentPoint().x, t.alignmentPoint().y);
        const double length = anchor.distanceTo(end);
        if (length > 0 && width > 0) {
            rotation = std::atan2(end.y - anchor.y, end.x - anchor.x);
            if (h == Text::HorizontalMode::Aligned) em *= length / width;
            else widthFactor *= length / width;
            width = length;
        }
    } else if (!t.isDefaultAlignment()) {
        anchor = Point2d(t.alignmentPoint().x, t.alignmentPoint().y);
        if (h == Text::HorizontalMode::Center || h == Text::HorizontalMode::Middle) dx = -width / 2;
        else if (h == Text::HorizontalMode::Right) dx = -width;
        if (h == Text::HorizontalMode::Middle) dy = -face.capHeight * em / 2;
        else if (v == Text::VerticalMode::Bottom) dy = face.descent * em;
        else if (v == Text::VerticalMode::Middle) dy = -face.capHeight * em / 2;
        else if (v == Text::VerticalMode::Top) dy = -face.capHeight * em;
    }
    // Glyph space (one em, y up) -> the text's plane.
    Affine2d glyph{em * widthFactor, 0, em * std::tan(t.oblique()), em, dx, dy};
    // Backward and upside-down texts are mirrored about their anchor, as the mirroring that made
    // them left them: a backward left-aligned text runs to the left of its insertion point.
    if (t.generationFlags() & 2) glyph = Affine2d{-1, 0, 0, 1, 0, 0} * glyph;
    if (t.generationFlags() & 4) glyph = Affine2d{1, 0, 0, -1, 0, 0} * glyph;
    const Affine2d local = Affine2d::translation(anchor.x, anchor.y) * Affine2d::rotation(rotation) * glyph;
    const Affine2d map = planeToDevice(c, t.normal(), t.position().z);
    const Rgb color = styles_.color(t, c);
    paintTextLine(face, shown, map * local, advance, color);
    if (rules.empty()) return;
    // In glyph space: one unit is the em, capitals stand capHeight high.
    const Affine2d toDevice = map * local;
    DevicePath lines;
    for (const TextRule& r : rules) {
        const double x0 = fonts_.advance(face, std::string_view(shown).substr(0, r.begin));
        const double x1 = fonts_.advance(face, std::string_view(shown).substr(0, r.end));
        const double y = face.capHeight * (r.kind == 'u' ? -0.2 : r.kind == 'o' ? 1.2 : 0.5);
        lines.runs.push_back({{toDevice.apply({x0, y}), toDevice.apply({x1, y})}, false});
    }
    Pen pen;
    pen.color = color;
    pen.width = std::max(1.0, 0.06 * face.capHeight * toDevice.meanScale());
    canvas_.stroke(lines, pen);
}

namespace {

// A colour as tags give it: a true colour (0xRRGGBB; -1 for none) or else a palette index (1..255);
// nothing for "by layer", "by block" or what is out of range.
std::optional<Rgb> tagColor(long long index, long long rgb = -1) {
    if (rgb >= 0 && rgb <= 0xFFFFFF)
        return Rgb{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                   static_cast<std::uint8_t>(rgb)};
    if (index >= 1 && index <= 255) {
        const Color aci = Color::fromIndex(static_cast<int>(index));
        return Rgb{aci.red(), aci.green(), aci.blue()};
    }
    return std::nullopt;
}

// A gradient fill (450 = 1) drawn flat, in the mean of its colours (421 true colours, else 63
// palette colours, one after each 463): closer to what the planner sees than the hatch's own
// colour, which such fills leave at black or white.
std::optional<Rgb> gradientMean(const Hatch& hatch) {
    const RawTagList& tags = hatch.extraTags();
    bool gradient = false;
    std::vector<Rgb> colors;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const RawTag& t = tags[i];
        if (t.code == 450) gradient = parseInt(t.value).value_or(0) == 1;
        if (t.code != 463) continue;
        long long index = 0, rgb = -1;
        for (std::size_t k = i + 1; k < tags.size() && tags[k].code != 463; ++k) {
            if (tags[k].code == 63) index = parseInt(tags[k].value).value_or(0);
            if (tags[k].code == 421) rgb = parseInt(tags[k].value).value_or(-1);
        }
        if (auto color = tagColor(index, rgb)) colors.push_back(*color);
    }
    if (!gradient || colors.empty()) return std::nullopt;
    unsigned r = 0, g = 0, b = 0;
    for (const Rgb& color : colors) {
        r += color.r;
        g += color.g;
        b += color.b;
    }
    const auto n = static_cast<unsigned>(colors.size());
    return Rgb{static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n),
               static_cast<std::uint8_t>(b / n)};
}

}  // namespace

void DrawingPainter::paintHatch(const Hatch& hatch, const PaintContext& c) {
    const Affine2d map = planeToDevice(c, hatch.normal(), hatch.elevation());
    const double tol = chordTolerance(map);
    Rgb color = styles_.color(hatch, c);
    if (auto mean = gradientMean(hatch)) color = Rgb{mean->r, mean->g, mean->b, color.a};
    // Measuring takes the boundary only. It must never reach the pattern library either: that is
    // made on first use, and large drawings are measured on two threads at once.
    if (hatch.isSolidFill() || measuring_) {
        DevicePath path;
        for (const HatchLoop& loop : hatch.loops()) {
            std::vector<Point2d> ring = loopGeometry(loop).flatten(tol);
            if (ring.size() >= 3) path.runs.push_back({mapped(map, ring), true});
        }
        if (path.empty()) {
            report_.skip("HATCH (no boundary)");
            --report_.drawn;
            return;
        }
        canvas_.fill(path, color);
        return;
    }
    HatchEvaluation evaluation;
    const ErrorStatus es = evaluatePattern(hatch, evaluation);
    if (es == ErrorStatus::eHatchTooSparse) return;  // nothing of the pattern falls inside
    if (es != ErrorStatus::eOk) {
        report_.skip(es == ErrorStatus::eHatchTooDense ? "HATCH (pattern too dense)" : "HATCH (no usable pattern)");
        --report_.drawn;
        return;
    }
    Pen pen = penOf(hatch, c, map.meanScale());
    pen.dashes.clear();
    DevicePath path;
    path.runs.reserve(evaluation.segments.size());
    // A pattern's dots are as wide as its pen, but never so small that the pattern looks empty.
    const double dotWidth = std::max(pen.width, 1.5);
    for (const HatchSegment& s : evaluation.segments) {
        if (s.start == s.end) {
            canvas_.dot(map.apply(s.start), dotWidth, pen.color);
            continue;
        }
        path.runs.push_back({{map.apply(s.start), map.apply(s.end)}, false});
    }
    canvas_.stroke(path, pen);
}

namespace {
// A block placed inside itself would be drawn without end.
bool placedInItself(ObjectId block, const PaintContext& c) {
    for (const PaintContext* placing = &c; placing; placing = placing->outer)
        if (placing->block == block) return true;
    return false;
}
}  // namespace

void DrawingPainter::paintBlockAs(ObjectId block, const Matrix3d& transform, const Entity& owner,
                                  const PaintContext& c) {
    if (report_.blockCopies >= kMaxBlockCopies) {
        report_.skip("INSERT (beyond " + std::to_string(kMaxBlockCopies) + " block copies)");
        return;
    }
    if (placedInItself(block, c)) {
        report_.skip("INSERT (block inside itself)");
        return;
    }
    ++report_.blockCopies;
    PaintContext inner = c;
    inner.outer = &c;
    inner.prepared = false;
    inner.xform = c.xform * transform;
    inner.depth = c.depth + 1;
    inner.insertLayer = styles_.effectiveLayer(owner, c);
    if (!measuring_) {
        inner.blockColor = styles_.color(owner, c);
        inner.blockLinetype = styles_.linetype(owner, c);
        inner.blockLineweight = styles_.lineWeight(owner, c);
    }
    paintBlock(block, inner);
}

void DrawingPainter::paintReference(const BlockReference& ref, const PaintContext& c) {
    const auto* block = objectOfKind<BlockTableRecord>(db_.objectAt(ref.blockTableRecord()), ObjectKind::BlockTableRecord);
    if (block == nullptr || block->isErased()) {
        report_.skip("INSERT (missing block)");
        return;
    }
    if (c.depth >= kMaxDepth) {
        report_.skip("INSERT (nested too deep)");
        return;
    }
    if ((block->blockFlags() & 4) != 0 && block->liveEntityIds().empty()) {
        report_.skip("INSERT (external reference)");
        return;
    }
    if (placedInItself(block->objectId(), c)) {
        report_.skip("INSERT (block inside itself)");
        return;
    }
    ++report_.drawn;
    const Matrix3d placed = ref.blockTransform();
    auto attributes = [&](const PaintContext& at) {
        for (ObjectId id : ref.attributeIds()) {
            const auto* attribute = objectOfKind<Attribute>(db_.objectAt(id), ObjectKind::Attribute);
            if (attribute && !attribute->isErased()) paintEntity(*attribute, at);
        }
    };
    if (ref.columnCount() <= 1 && ref.rowCount() <= 1) {
        paintBlockAs(block->objectId(), placed, ref, c);
        attributes(c);
        return;
    }
    // Grid offsets run along the reference's rotated axes, unscaled; every copy shows the
    // attributes, which stand where the first copy's are.
    const Matrix3d ocs = ocsToWorld(ref.normal());
    const double cs = std::cos(ref.rotation()), sn = std::sin(ref.rotation());
    for (int row = 0; row < std::min(ref.rowCount(), 1000); ++row)
        for (int col = 0; col < std::min(ref.columnCount(), 1000); ++col) {
            const double gx = col * ref.columnSpacing(), gy = row * ref.rowSpacing();
            const Matrix3d shift =
                Matrix3d::translation(ocs * Vector3d(gx * cs - gy * sn, gx * sn + gy * cs, 0));
            paintBlockAs(block->objectId(), shift * placed, ref, c);
            PaintContext moved = c;
            moved.xform = c.xform * shift;
            moved.prepared = false;
            attributes(moved);
        }
}

void DrawingPainter::paintUnknown(const UnknownEntity& e, const PaintContext& c) {
    const std::string name(e.dxfName());
    const RawEntity raw(e.tags);
    auto drawn = [&] { ++report_.drawn; };
    if (name == "ELLIPSE") { paintEllipse(e, c); drawn(); }
    else if (name == "SOLID" || name == "TRACE") { paintSolid(e, c); drawn(); }
    else if (name == "3DFACE") { paintFace(e, c); drawn(); }
    else if (name == "POINT") { paintPoint(e, c); drawn(); }
    else if (name == "MTEXT") { paintMText(e, c); drawn(); }
    else if (name == "POLYLINE") { paintOldPolyline(e, c); drawn(); }
    else if (name == "SPLINE") { paintSpline(e, c); drawn(); }
    else if (name == "LEADER") { paintLeader(e, c); drawn(); }
    else if (name == "MULTILEADER" || name == "MLEADER") { paintMultiLeader(e, c); drawn(); }
    else if (name == "XLINE" || name == "RAY") { paintConstructionLine(e, c, name == "XLINE"); drawn(); }
    else if (name == "MESH") { paintMesh(e, c); drawn(); }
    else if (name == "MLINE") { paintMultiline(e, c); drawn(); }
    else if (name == "IMAGE" || name == "WIPEOUT") { paintImageFrame(e, c); drawn(); }
    else if (name == "VIEWPORT") paintViewport(viewportOf(e), e, c);
    else if (name == "DIMENSION" || name == "ACAD_TABLE" || name == "ARC_DIMENSION" || name == "LARGE_RADIAL_DIMENSION") {
        // Their graphics are an anonymous block, already placed in world coordinates.
        const std::string* blockName = raw.text(2);
        const ObjectId block = blockName ? db_.recordId(TableKind::Block, *blockName) : ObjectId();
        if (block.isNull()) {
            report_.skip(name + " (no graphics block)");
            return;
        }
        if (c.depth >= kMaxDepth) return;
        // A table is a reference to its block at its insertion point; a dimension's block is in place.
        Matrix3d placement;
        if (name == "ACAD_TABLE")
            if (auto at = raw.point(10)) placement = Matrix3d::translation(at->asVector());
        paintBlockAs(block, placement, e, c);
        drawn();
    } else {
        report_.skip(name);
    }
}

void DrawingPainter::paintViewport(const Viewport& vp, const Entity& e, const PaintContext& c) {
    if (!onViewport_) return;
    onViewport_(vp);
    // The sheet's own viewport has no border; the others show theirs in the entity's style.
    if (measuring_ || vp.number() == 1 || !(vp.width() > 0) || !(vp.height() > 0)) return;
    const Point3d m = vp.centerPoint();
    const double hw = vp.width() / 2, hh = vp.height() / 2;
    strokeRun({toDevice(c, {m.x - hw, m.y - hh, m.z}), toDevice(c, {m.x + hw, m.y - hh, m.z}),
               toDevice(c, {m.x + hw, m.y + hh, m.z}), toDevice(c, {m.x - hw, m.y + hh, m.z})},
              true, penOf(e, c, deviceScale(c)));
}

Viewport DrawingPainter::viewportOf(const UnknownEntity& e) const {
    // A viewport read from a file is kept as its tags; this one stands for it while it is drawn.
    const RawEntity raw(e.tags);
    Viewport vp;
    vp.setCenterPoint(raw.point(10).value_or(Point3d()));
    vp.setWidth(raw.real(40, 0.0));
    vp.setHeight(raw.real(41, 0.0));
    vp.setStatus(static_cast<int>(std::clamp(raw.integer(68, 0), -1LL, 32767LL)));
    vp.setNumber(static_cast<int>(std::clamp(raw.integer(69, 0), -1LL, 32767LL)));
    vp.setViewCenter(Point2d(raw.real(12, 0.0), raw.real(22, 0.0)));
    vp.setViewTarget(raw.point(17).value_or(Point3d()));
    vp.setViewHeight(raw.real(45, 0.0));
    vp.setTwistAngle(raw.real(51, 0.0) * kPi / 180.0);
    std::vector<ObjectId> frozen;
    for (const RawTag& tag : e.tags)
        if (ObjectId layer; tag.code == 331 && db_.getObjectId(layer, tag.value) == ErrorStatus::eOk)
            frozen.push_back(layer);
    vp.setFrozenLayers(std::move(frozen));
    return vp;
}

void DrawingPainter::paintEllipse(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    const Point3d center = raw.point(10).value_or(Point3d());
    const Vector3d major = raw.point(11).value_or(Point3d(1, 0, 0)).asVector();
    const double ratio = raw.real(40, 1.0);
    const Vector3d minor = raw.normal().cross(major) * (ratio / std::max(raw.normal().length(), 1e-12));
    double t0 = raw.real(41, 0.0), t1 = raw.real(42, 2 * kPi);
    while (t1 <= t0) t1 += 2 * kPi;
    const bool full = std::fabs(t1 - t0 - 2 * kPi) < 1e-9;
    const double r = major.length() * deviceScale(c);
    const int n = std::clamp(static_cast<int>(std::ceil((t1 - t0) / (2 * std::acos(std::max(-1.0, 1 - kDeviceChord / std::max(r, 1e-9)))))), 8, 4096);
    std::vector<Point2d> pts;
    for (int i = 0; i <= n; ++i) {
        const double t = t0 + (t1 - t0) * i / n;
        pts.push_back(toDevice(c, center + major * std::cos(t) + minor * std::sin(t)));
    }
    if (full) pts.pop_back();
    strokeRun(std::move(pts), full, penOf(e, c, deviceScale(c)));
}

void DrawingPainter::paintSolid(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    const Affine2d map = planeToDevice(c, raw.normal(), raw.point(10).value_or(Point3d()).z);
    const Point3d p0 = raw.point(10).value_or(Point3d()), p1 = raw.point(11).value_or(p0),
                  p2 = raw.point(12).value_or(p1), p3 = raw.point(13).value_or(p2);
    DevicePath path;
    // The third and fourth corners are stored crosswise.
    path.runs.push_back({{map.apply({p0.x, p0.y}), map.apply({p1.x, p1.y}), map.apply({p3.x, p3.y}),
                          map.apply({p2.x, p2.y})},
                         true});
    canvas_.fill(path, styles_.color(e, c));
}

void DrawingPainter::paintFace(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    const Point3d p0 = raw.point(10).value_or(Point3d()), p1 = raw.point(11).value_or(p0),
                  p2 = raw.point(12).value_or(p1), p3 = raw.point(13).value_or(p2);
    strokeRun({toDevice(c, p0), toDevice(c, p1), toDevice(c, p2), toDevice(c, p3)}, true,
              penOf(e, c, deviceScale(c)));
}

void DrawingPainter::paintPoint(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    const Pen pen = penOf(e, c, deviceScale(c));
    const Point2d at = toDevice(c, raw.point(10).value_or(Point3d()));
    // The drawing's point style: $PDMODE 0 a dot, 1 nothing, 2 a plus, 3 a cross, 4 a tick up,
    // with 32 a circle and 64 a square around; $PDSIZE in drawing units, or (0 or less) a share
    // of the picture's height (5 % for 0).
    const long long mode =
        std::clamp<long long>(std::llround(db_.header().getDouble("$PDMODE").value_or(0)), 0, 127);
    const int shape = static_cast<int>(mode & 7);
    const std::optional<Extents2d> page = canvas_.page();
    if (measuring_ || !page || (shape == 0 && !(mode & 96))) {
        if (shape != 1 || (mode & 96)) canvas_.dot(at, std::max(2.0, pen.width * 2), pen.color);
        return;
    }
    const double setting = db_.header().getDouble("$PDSIZE").value_or(0);
    double size =
        setting > 0 ? setting * deviceScale(c) : page->height() * (setting < 0 ? -setting : 5) / 100;
    if (!std::isfinite(size)) return;
    const double h = std::clamp(size, 2.0, std::max(2.0, page->height())) / 2;
    DevicePath path;
    auto segment = [&](Vector2d a, Vector2d b) { path.runs.push_back({{at + a, at + b}, false}); };
    if (shape == 0) canvas_.dot(at, std::max(2.0, pen.width * 2), pen.color);
    if (shape == 2) {
        segment({-h, 0}, {h, 0});
        segment({0, -h}, {0, h});
    }
    if (shape == 3) {
        segment({-h, -h}, {h, h});
        segment({-h, h}, {h, -h});
    }
    if (shape == 4) segment({0, 0}, {0, -h});  // device y runs down
    if (mode & 32) {
        std::vector<Point2d> ring;
        for (int k = 0; k < 32; ++k)
            ring.push_back(at + Vector2d(std::cos(k * kPi / 16), std::sin(k * kPi / 16)) * h);
        path.runs.push_back({std::move(ring), true});
    }
    if (mode & 64)
        path.runs.push_back(
            {{at + Vector2d(-h, -h), at + Vector2d(h, -h), at + Vector2d(h, h), at + Vector2d(-h, h)}, true});
    if (!path.runs.empty()) canvas_.stroke(path, pen);
}

void DrawingPainter::paintMText(const UnknownEntity& e, const PaintContext& c) {
    // The column settings come after the text's own, in an embedded object whose codes repeat
    // the text's (44 is a column's width there, not the line spacing).
    const auto embedded =
        std::find_if(e.tags.begin(), e.tags.end(), [](const RawTag& t) { return t.code == 101; });
    const RawEntity raw(std::span<const RawTag>(e.tags.begin(), embedded));
    MTextPlacement m;
    for (auto tag = e.tags.begin(); tag != embedded; ++tag)
        if (tag->code == 3) m.body += tag->value;
    if (const std::string* last = raw.text(1)) m.body += *last;
    m.height = raw.real(40, 2.5);
    if (const std::string* styleName = raw.text(7)) m.style = db_.recordId(TableKind::TextStyle, *styleName);
    m.boxWidth = raw.real(41, 0.0);
    m.attachment = static_cast<int>(std::clamp(raw.integer(71, 1), 1LL, 9LL));
    m.normal = raw.normal();
    m.insert = raw.point(10).value_or(Point3d());
    m.rotation = raw.real(50, 0.0) * kPi / 180.0;
    if (auto dir = raw.point(11); dir && (dir->x != 0 || dir->y != 0 || dir->z != 0))
        m.rotation = angleInOcs(dir->asVector(), m.normal);
    m.lineSpacing = raw.real(44, 1.0);
    // Background mask (90: 1 a colour of its own, 2 the sheet's), its colour (63, 421) and how far
    // it reaches past the text (45, in text heights: 1 fits, 1.5 adds half a height).
    if (const long long fill = raw.integer(90, 0); fill & 3) {
        const std::optional<Rgb> own =
            fill & 2 ? std::nullopt : tagColor(raw.integer(63, 0), raw.integer(421, -1));
        m.mask = own.value_or(Rgb{255, 255, 255});
        m.maskMargin = std::clamp(raw.real(45, 1.5) - 1.0, 0.0, 5.0) * m.height;
    }
    if (embedded != e.tags.end()) {
        const RawEntity columns(std::span<const RawTag>(embedded, e.tags.end()));
        const long long type = columns.integer(71, 0);  // 1 static, 2 dynamic
        m.columns = type == 1 || type == 2;
        m.columnWidth = columns.real(44, m.boxWidth);
        m.columnGutter = columns.real(45, 0.0);
        m.columnHeight = columns.real(41, raw.real(46, 0.0));
        if (type == 2 && columns.integer(73, 0) == 0) m.columnHeights = columns.reals(46);
        m.columnsReversed = columns.integer(74, 0) != 0;
        if (m.columns && m.columnWidth > 0) m.boxWidth = m.columnWidth;
    }
    paintFormattedText(m, e, c);
}

void DrawingPainter::paintFormattedText(const MTextPlacement& m, const Entity& owner, const PaintContext& c) {
    if (!(m.height > 0) || m.body.empty()) return;
    ObjectId styleId = m.style;
    if (styleId.isNull()) styleId = db_.recordId(TableKind::TextStyle, "Standard");
    const FontFace& styleFace = faceOfStyle(styleId);
    const Rgb ownColor = styles_.color(owner, c);
    const ObjectId layer = styles_.effectiveLayer(owner, c);

    // A piece of a line drawn in one go; widths in drawing units.
    struct Piece {
        const FontFace* face;
        std::string text;
        double height, widthFactor, width, advance;
        Rgb color;
        bool underline, overline, strikeout;
        char stack = 0;  // a stack: `text` over `below`, each at kStackScale of the height
        std::string below;
        double belowAdvance = 0;
    };
    struct Line {
        std::vector<Piece> pieces;
        double width = 0, height = 0;
        bool newColumn = false;
    };
    std::vector<Line> lines;
    double trailing = 0;  // width of the spaces that end the line so far
    // A line breaks before a piece whose ink would pass the box.
    auto add = [&](Piece piece, double inkWidth) {
        Line* line = &lines.back();
        if (m.boxWidth > 0 && !line->pieces.empty() && line->width + inkWidth > m.boxWidth * 1.0001) {
            line->width -= trailing;
            lines.emplace_back();
            line = &lines.back();
        }
        line->width += piece.width;
        line->height = std::max(line->height, piece.height);
        trailing = piece.width - inkWidth;
        Piece* last = line->pieces.empty() ? nullptr : &line->pieces.back();
        if (last && !piece.stack && !last->stack && last->face == piece.face &&
            last->height == piece.height && last->widthFactor == piece.widthFactor &&
            last->color == piece.color && last->underline == piece.underline &&
            last->overline == piece.overline && last->strikeout == piece.strikeout) {
            last->text += piece.text;
            last->advance += piece.advance;
            last->width += piece.width;
        } else {
            line->pieces.push_back(std::move(piece));
        }
    };
    for (const MTextParagraph& paragraph : parseMText(m.body, m.height)) {
        lines.emplace_back();
        lines.back().newColumn = paragraph.newColumn;
        lines.back().height = paragraph.runs.empty() ? m.height : 0.0;
        trailing = 0;
        for (const MTextRun& run : paragraph.runs) {
            const FontFace& face = run.font.empty() ? styleFace : fonts_.face(run.font);
            const double em = run.height / face.capHeight * run.widthFactor;
            Rgb color = run.color ? styles_.colorOf(*run.color, layer, c) : ownColor;
            color.a = ownColor.a;  // an inline colour keeps the text's transparency
            Piece like{&face, {}, run.height, run.widthFactor, 0, 0, color,
                       run.underline, run.overline, run.strikeout, 0, {}, 0};
            if (run.stack) {
                Piece stack = like;
                stack.stack = run.stack;
                stack.text = run.text;
                stack.below = run.below;
                stack.advance = fonts_.advance(face, run.text);
                stack.belowAdvance = fonts_.advance(face, run.below);
                stack.width = kStackScale * em *
                              (run.stack == '#' ? stack.advance + stack.belowAdvance + 0.5 * face.capHeight
                                                : std::max(stack.advance, stack.belowAdvance));
                const double inkWidth = stack.width;
                add(std::move(stack), inkWidth);
                continue;
            }
            // Words with the spaces after them.
            std::size_t i = 0;
            while (i < run.text.size()) {
                std::size_t j = run.text.find_first_of(' ', i);
                j = j == std::string::npos ? run.text.size() : run.text.find_first_not_of(' ', j);
                if (j == std::string::npos) j = run.text.size();
                Piece word = like;
                word.text = run.text.substr(i, j - i);
                const std::size_t visible = word.text.find_last_not_of(' ') + 1;
                word.advance = fonts_.advance(face, word.text);
                word.width = word.advance * em;
                const double inkWidth =
                    visible == 0 ? 0.0 : fonts_.advance(face, word.text.substr(0, visible)) * em;
                add(std::move(word), inkWidth);
                i = j;
            }
        }
        lines.back().width -= trailing;
    }
    if (lines.empty()) return;
    // Baselines below the top of the frame; each line stands its own height below the one above.
    // In columns, a line whose baseline would pass its column's height, or that follows a column
    // break, starts the next column.
    const double spacing = 5.0 / 3.0 * std::clamp(m.lineSpacing, 0.25, 4.0);
    std::vector<double> baselines;
    std::vector<std::size_t> columnOf;
    double widest = 0, total = 0;
    std::size_t flow = 0;  // the column being filled
    auto heightOf = [&](std::size_t k) {
        return k < m.columnHeights.size() ? m.columnHeights[k]
               : m.columnHeights.empty()  ? m.columnHeight
                                          : 0.0;
    };
    for (std::size_t k = 0; k < lines.size(); ++k) {
        Line& line = lines[k];
        if (line.height <= 0) line.height = m.height;
        const bool first = k == 0 || columnOf.back() != flow;
        double baseline = first ? -line.height : baselines.back() - spacing * line.height;
        if (m.columns && k > 0 &&
            (line.newColumn || (!first && heightOf(flow) > 0 && -baseline > heightOf(flow)))) {
            ++flow;
            baseline = -line.height;
        }
        baselines.push_back(baseline);
        columnOf.push_back(flow);
        widest = std::max(widest, line.width);
        total = std::max(total, -baseline);
    }
    const std::size_t columnCount = flow + 1;
    const double columnStep = (m.columnWidth > 0 ? m.columnWidth : widest) + m.columnGutter;
    const double frame = m.columns        ? columnStep * static_cast<double>(columnCount) - m.columnGutter
                         : m.boxWidth > 0 ? m.boxWidth
                                          : widest;
    const int align = (m.attachment - 1) % 3, row = (m.attachment - 1) / 3;
    const double top = row == 0 ? 0.0 : row == 1 ? total / 2 : total;
    // Lines align within their column, as wide as the frame when there are no columns.
    const double lineBox = m.columns ? columnStep - m.columnGutter : frame;
    const double frameLeft = align == 0 ? 0.0 : align == 1 ? -frame / 2 : -frame;
    const Matrix3d toOcs = ocsToWorld(m.normal).inverse();
    const Point3d origin = toOcs * m.insert;
    const Affine2d place = Affine2d::translation(origin.x, origin.y) * Affine2d::rotation(m.rotation);
    const Affine2d toDevice = planeToDevice(c, m.normal, origin.z) * place;
    if (m.mask) {
        // From the top of the frame to a descender's depth below the last baseline.
        const double left = frameLeft - m.maskMargin, right = frameLeft + frame + m.maskMargin;
        const double high = top + m.maskMargin, low = top - total - 0.25 * m.height - m.maskMargin;
        DevicePath box;
        box.runs.push_back({{toDevice.apply({left, low}), toDevice.apply({right, low}),
                             toDevice.apply({right, high}), toDevice.apply({left, high})},
                            true});
        canvas_.fill(box, *m.mask);
    }
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const Line& line = lines[k];
        // The frame hangs from the insertion point by the attachment.
        const std::size_t slot = m.columnsReversed ? columnCount - 1 - columnOf[k] : columnOf[k];
        double x = frameLeft + columnStep * static_cast<double>(slot) +
                   (align == 0   ? 0.0
                    : align == 1 ? (lineBox - line.width) / 2
                                 : lineBox - line.width);
        const double y = top + baselines[k];
        for (const Piece& piece : line.pieces) {
            const double em = piece.height / piece.face->capHeight, h = piece.height;
            DevicePath rules;
            auto rule = [&](Point2d a, Point2d b) {
                rules.runs.push_back({{toDevice.apply(a), toDevice.apply(b)}, false});
            };
            if (piece.stack) {
                // Upper text above the middle of the line, lower text below it, a rule between.
                const double tall = kStackScale * em, wide = tall * piece.widthFactor;
                double upperX = x, lowerX = x;
                double upperY = y + 0.55 * h, lowerY = y - 0.45 * h;
                if (piece.stack == '#') {
                    lowerX = x + piece.width - piece.belowAdvance * wide;
                    upperY = y + 0.45 * h;
                    lowerY = y - 0.1 * h;
                    rule({x + piece.advance * wide, y - 0.1 * h}, {lowerX, y + 1.15 * h});
                } else {
                    upperX += (piece.width - piece.advance * wide) / 2;
                    lowerX += (piece.width - piece.belowAdvance * wide) / 2;
                    if (piece.stack == '/') rule({x, y + 0.4 * h}, {x + piece.width, y + 0.4 * h});
                }
                if (!piece.text.empty())
                    paintTextLine(*piece.face, piece.text,
                                  toDevice * Affine2d{wide, 0, 0, tall, upperX, upperY}, piece.advance,
                                  piece.color);
                if (!piece.below.empty())
                    paintTextLine(*piece.face, piece.below,
                                  toDevice * Affine2d{wide, 0, 0, tall, lowerX, lowerY}, piece.belowAdvance,
                                  piece.color);
            } else if (piece.text.find_first_not_of(' ') != std::string::npos) {
                const Affine2d glyph{em * piece.widthFactor, 0, 0, em, x, y};
                paintTextLine(*piece.face, piece.text, toDevice * glyph, piece.advance, piece.color);
            }
            if (piece.underline) rule({x, y - 0.2 * h}, {x + piece.width, y - 0.2 * h});
            if (piece.overline) rule({x, y + 1.2 * h}, {x + piece.width, y + 1.2 * h});
            if (piece.strikeout) rule({x, y + 0.5 * h}, {x + piece.width, y + 0.5 * h});
            if (!rules.runs.empty()) {
                Pen pen;
                pen.color = piece.color;
                pen.width = std::max(1.0, 0.06 * h * toDevice.meanScale());
                canvas_.stroke(rules, pen);
            }
            x += piece.width;
        }
    }
}

void DrawingPainter::paintOldPolyline(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    const int flags = static_cast<int>(raw.integer(70, 0));
    if (flags & 64) {
        // Face set: vertices (flag 64) then faces (flag 128 alone) naming up to four vertices by
        // 1-based index in 71..74; a negative index hides the edge that starts there.
        std::vector<Point3d> vertices;
        DevicePath edges;
        for (ObjectId id : e.children) {
            const auto* v = dynamic_cast<const UnknownEntity*>(db_.objectAt(id));
            if (v == nullptr || v->dxfName() != "VERTEX") continue;
            const RawEntity vr(v->tags);
            const int vflags = static_cast<int>(vr.integer(70, 0));
            if (vflags & 64) {
                vertices.push_back(vr.point(10).value_or(Point3d()));
                continue;
            }
            if (!(vflags & 128)) continue;
            std::vector<long long> corners;
            for (int code = 71; code <= 74; ++code)
                if (auto k = vr.integer(code); k && *k != 0) corners.push_back(*k);
            for (std::size_t k = 0; k < corners.size(); ++k) {
                const long long a = corners[k], b = corners[(k + 1) % corners.size()];
                if (a < 0) continue;
                const auto ia = static_cast<std::size_t>(a - 1), ib = static_cast<std::size_t>(std::llabs(b) - 1);
                if (ia >= vertices.size() || ib >= vertices.size()) continue;
                edges.runs.push_back({{toDevice(c, vertices[ia]), toDevice(c, vertices[ib])}, false});
            }
        }
        canvas_.stroke(edges, penOf(e, c, deviceScale(c)));
        return;
    }
    if (flags & 16) {
        // Polygon mesh: an M x N grid of vertices, drawn as its rows and columns.
        std::vector<Point2d> grid;
        for (ObjectId id : e.children)
            if (const auto* v = dynamic_cast<const UnknownEntity*>(db_.objectAt(id)); v && v->dxfName() == "VERTEX")
                grid.push_back(toDevice(c, RawEntity(v->tags).point(10).value_or(Point3d())));
        const long long m = raw.integer(71, 0), n = raw.integer(72, 0);
        if (m < 1 || n < 1 || static_cast<std::size_t>(m * n) > grid.size()) {
            report_.skip("POLYLINE (mesh without its vertices)");
            --report_.drawn;
            return;
        }
        const Pen pen = penOf(e, c, deviceScale(c));
        DevicePath lines;
        for (long long i = 0; i < m; ++i) {
            std::vector<Point2d> row(grid.begin() + i * n, grid.begin() + (i + 1) * n);
            lines.runs.push_back({std::move(row), (flags & 32) != 0});
        }
        for (long long j = 0; j < n; ++j) {
            std::vector<Point2d> column;
            for (long long i = 0; i < m; ++i) column.push_back(grid[static_cast<std::size_t>(i * n + j)]);
            lines.runs.push_back({std::move(column), (flags & 1) != 0});
        }
        canvas_.stroke(lines, pen);
        return;
    }
    const bool is3d = (flags & 8) != 0;
    const Vector3d normal = raw.normal();
    const double elevation = raw.point(10).value_or(Point3d()).z;
    std::vector<BulgeVertex> vertices;
    std::vector<Point2d> devicePts;
    for (ObjectId id : e.children) {
        const auto* v = dynamic_cast<const UnknownEntity*>(db_.objectAt(id));
        if (v == nullptr || v->dxfName() != "VERTEX") continue;
        const RawEntity vr(v->tags);
        if (vr.integer(70, 0) & 16) continue;  // spline frame control points
        const Point3d p = vr.point(10).value_or(Point3d());
        if (is3d) devicePts.push_back(toDevice(c, p));
        else vertices.push_back({{p.x, p.y}, vr.real(42, 0.0)});
    }
    if (is3d) {
        strokeRun(std::move(devicePts), flags & 1, penOf(e, c, deviceScale(c)));
        return;
    }
    const Affine2d map = planeToDevice(c, normal, elevation);
    std::vector<Point2d> pts = PolylineGeometry(std::move(vertices), flags & 1).flatten(chordTolerance(map));
    Pen pen = penOf(e, c, map.meanScale());
    const double width = raw.real(40, 0.0);
    if (width > 0) pen.width = std::max(pen.width, width * map.meanScale());
    strokeRun(mapped(map, pts), flags & 1, pen);
}

void DrawingPainter::paintSpline(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    const std::vector<Point3d> control = raw.points(10);
    const int degree = static_cast<int>(std::clamp(raw.integer(71, 3), 1LL, 10LL));
    const Pen pen = penOf(e, c, deviceScale(c));
    std::vector<Point2d> pts;
    const std::vector<Point3d> curve = sampleSpline(degree, raw.reals(40), control, raw.reals(41), splineSamples(control.size()));
    if (curve.empty()) {
        // Without a usable definition a curve through the fit points, or else the control
        // polygon, stands for it.
        std::vector<Point3d> fit = raw.points(11);
        if ((raw.integer(70, 0) & 1) && fit.size() > 2) fit.push_back(fit.front());
        auto tangent = [&](int code) -> std::optional<Vector3d> {
            if (auto p = raw.point(code)) return p->asVector();
            return std::nullopt;
        };
        for (const Point3d& p : sampleThroughPoints(std::move(fit), tangent(12), tangent(13)))
            pts.push_back(toDevice(c, p));
        if (pts.size() < 2)
            for (const Point3d& p : control) pts.push_back(toDevice(c, p));
    } else {
        for (const Point3d& p : curve) pts.push_back(toDevice(c, p));
    }
    strokeRun(std::move(pts), false, pen);
}

void DrawingPainter::paintMultiline(const UnknownEntity& e, const PaintContext& c) {
    // Vertices (11) with their miter directions (13), and per vertex and element the element's
    // parameters (74 of them in 41, the first its distance from the vertex along the miter; then
    // 75 fill parameters in 42). Each element is a line through its points.
    struct Vertex {
        Point3d at;
        Vector3d miter;
        std::vector<double> offsets;  // one per element
    };
    std::vector<Vertex> vertices;
    std::size_t params = 0;   // 41 values still to come for the current element
    bool firstParam = false;  // the next 41 is the element's distance
    for (const RawTag& tag : e.tags) {
        const std::optional<double> v = parseDouble(tag.value);
        if (tag.code == 11) {
            vertices.push_back({Point3d(v.value_or(0), 0, 0), Vector3d(), {}});
            params = 0;
        }
        if (vertices.empty()) continue;
        Vertex& vx = vertices.back();
        switch (tag.code) {
            case 21: vx.at.y = v.value_or(0); break;
            case 31: vx.at.z = v.value_or(0); break;
            case 13: vx.miter.x = v.value_or(0); break;
            case 23: vx.miter.y = v.value_or(0); break;
            case 33: vx.miter.z = v.value_or(0); break;
            case 74:
                params = static_cast<std::size_t>(std::clamp(v.value_or(0), 0.0, 1e6));
                firstParam = true;
                if (params == 0) vx.offsets.push_back(0.0);
                break;
            case 41:
                if (params == 0) break;
                if (firstParam) vx.offsets.push_back(v.value_or(0));
                firstParam = false;
                --params;
                break;
            default: break;
        }
    }
    if (vertices.size() < 2) return;
    // Element colours and linetypes from the style (62 and 6 per element after its offset 49).
    std::vector<std::optional<Rgb>> colors;
    std::vector<std::optional<ObjectId>> linetypes;
    // 1: filled; caps at the start 16 (a line), 32 (inner arcs), 64 (an outer arc); at the end
    // 256, 512, 1024 likewise.
    long long styleFlags = 0;
    std::optional<Rgb> fillColor;  // the style's own colour, before its elements; by layer when absent
    if (const std::string* handle = RawEntity(e.tags).text(340)) {
        ObjectId styleId;
        if (db_.getObjectId(styleId, *handle) == ErrorStatus::eOk)
            if (const auto* style = dynamic_cast<const UnknownObject*>(db_.objectAt(styleId))) {
                styleFlags = RawEntity(style->tags).integer(70, 0);
                bool element = false;
                for (const RawTag& tag : style->tags) {
                    if (tag.code == 49) {
                        colors.emplace_back();
                        linetypes.emplace_back();
                        element = true;
                    } else if (tag.code == 6 && element && !equalsNoCase(tag.value, "BYLAYER")) {
                        if (const ObjectId lt = db_.recordId(TableKind::Linetype, tag.value))
                            linetypes.back() = lt;
                    } else if (tag.code == 62) {
                        if (const auto rgb = tagColor(parseInt(tag.value).value_or(0))) {
                            const Rgb drawn = StyleResolver::drawnRgb(rgb->r, rgb->g, rgb->b);
                            (element ? colors.back() : fillColor) = drawn;
                        }
                    }
                }
            }
    }
    const long long flags = RawEntity(e.tags).integer(71, 0);
    const bool closed = flags & 2;
    std::size_t elements = vertices.front().offsets.size();
    for (const Vertex& vx : vertices) elements = std::min(elements, vx.offsets.size());
    const auto outermost = [&](const Vertex& vx) {
        const auto end = vx.offsets.begin() + static_cast<std::ptrdiff_t>(elements);
        const auto [low, high] = std::minmax_element(vx.offsets.begin(), end);
        return std::pair{*low, *high};
    };
    // The fill lies between the outermost elements, under them.
    if ((styleFlags & 1) && elements >= 2) {
        std::vector<Point2d> low, high;
        for (const Vertex& vx : vertices) {
            const auto [a, b] = outermost(vx);
            low.push_back(toDevice(c, vx.at + vx.miter * a));
            high.push_back(toDevice(c, vx.at + vx.miter * b));
        }
        Rgb color = penOf(e, c, deviceScale(c)).color;
        if (fillColor) color = Rgb{fillColor->r, fillColor->g, fillColor->b, color.a};
        DevicePath band;
        if (closed) {
            band.runs.push_back({std::move(low), true});
            band.runs.push_back({std::move(high), true});
        } else {
            low.insert(low.end(), high.rbegin(), high.rend());
            band.runs.push_back({std::move(low), true});
        }
        canvas_.fill(band, color);
    }
    for (std::size_t k = 0; k < elements; ++k) {
        std::vector<Point2d> run;
        for (const Vertex& vx : vertices) run.push_back(toDevice(c, vx.at + vx.miter * vx.offsets[k]));
        Pen own = penOf(e, c, deviceScale(c), k < linetypes.size() ? linetypes[k] : std::nullopt);
        if (k < colors.size() && colors[k])
            own.color = Rgb{colors[k]->r, colors[k]->g, colors[k]->b, own.color.a};
        strokeRun(std::move(run), closed, own);
    }
    // Caps join the outermost elements (a line or an outer arc) and pairs of inner ones (arcs),
    // unless the line is closed or suppresses them (4, 8).
    if (closed || elements < 2) return;
    const Pen pen = penOf(e, c, deviceScale(c));
    // A half circle from one element to another, bulging away from the line.
    const auto arc = [&](const Vertex& vx, double from, double to, const Vector3d& outward) {
        const Point3d a = vx.at + vx.miter * from, b = vx.at + vx.miter * to;
        const Point3d centre = a + (b - a) * 0.5;
        const Vector3d u = a - centre;
        const double r = u.length();
        if (!(r > 0)) return;
        std::vector<Point2d> run;
        constexpr int kSteps = 24;
        for (int i = 0; i <= kSteps; ++i) {
            const double t = kPi * i / kSteps;
            run.push_back(toDevice(c, centre + u * std::cos(t) + outward * (r * std::sin(t))));
        }
        strokeRun(std::move(run), false, pen);
    };
    const auto cap = [&](const Vertex& vx, const Vertex& next, long long line, long long inner,
                         long long outer) {
        const auto [low, high] = outermost(vx);
        if (styleFlags & line)
            strokeRun({toDevice(c, vx.at + vx.miter * low), toDevice(c, vx.at + vx.miter * high)}, false,
                      pen);
        const Vector3d away = vx.at - next.at;
        if (!(away.length() > 0)) return;
        const Vector3d outward = away.normal();
        if (styleFlags & outer) arc(vx, low, high, outward);
        if (styleFlags & inner) {
            std::vector<double> sorted(vx.offsets.begin(),
                                       vx.offsets.begin() + static_cast<std::ptrdiff_t>(elements));
            std::sort(sorted.begin(), sorted.end());
            for (std::size_t i = 1; i + 1 < sorted.size() - i; ++i)
                arc(vx, sorted[i], sorted[sorted.size() - 1 - i], outward);
        }
    };
    if (!(flags & 4)) cap(vertices.front(), vertices[1], 16, 32, 64);
    if (!(flags & 8)) cap(vertices.back(), vertices[vertices.size() - 2], 256, 512, 1024);
}

void DrawingPainter::paintArrowhead(const Point2d& tip, const Point2d& from, double length, Rgb color) {
    const Vector2d d = tip - from;
    const double len = d.length();
    if (!(len > 0) || !(length > 0) || !std::isfinite(length)) return;
    const Vector2d u = d * (1.0 / len);
    const Vector2d n{-u.y, u.x};
    // A closed filled arrow: a third as wide as it is long.
    const Point2d base = tip - u * length;
    DevicePath path;
    path.runs.push_back({{tip, base + n * (length / 6), base - n * (length / 6)}, true});
    canvas_.fill(path, color);
}

void DrawingPainter::paintLeader(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    std::vector<Point2d> pts;
    for (const Point3d& p : raw.points(10)) pts.push_back(toDevice(c, p));
    const Pen pen = penOf(e, c, deviceScale(c));
    if (raw.integer(71, 1) != 0 && pts.size() >= 2) {
        // The arrow size is the dimension style's, or the leader's own override in its extended data.
        double size = db_.header().getDouble("$DIMASZ").value_or(0.18);
        double scale = db_.header().getDouble("$DIMSCALE").value_or(1.0);
        for (std::size_t i = 0; i + 1 < e.tags.size(); ++i)
            if (e.tags[i].code == 1070 && e.tags[i + 1].code == 1040) {
                const int variable = std::atoi(e.tags[i].value.c_str());
                const double value = std::strtod(e.tags[i + 1].value.c_str(), nullptr);
                if (variable == 41) size = value;
                else if (variable == 40) scale = value;
            }
        if (!(scale > 0)) scale = 1.0;
        const double length = size * scale * deviceScale(c);
        // Not longer than the first segment, so that short leaders keep a visible line.
        paintArrowhead(pts[0], pts[1], std::min(length, pts[0].distanceTo(pts[1])), pen.color);
    }
    strokeRun(std::move(pts), false, pen);
}

void DrawingPainter::paintMultiLeader(const UnknownEntity& e, const PaintContext& c) {
    const MultiLeader m = readMultiLeader(e.tags);
    const Pen pen = penOf(e, c, deviceScale(c));
    const double scale = deviceScale(c);
    for (const MultiLeader::Leader& leader : m.leaders) {
        if (m.lineType != 0) {
            for (const auto& line : leader.lines) {
                std::vector<Point2d> pts;
                for (const Point3d& p : line) pts.push_back(toDevice(c, p));
                if (leader.landing) pts.push_back(toDevice(c, *leader.landing));
                if (pts.size() < 2) continue;
                if (m.arrowSize > 0)
                    paintArrowhead(pts[0], pts[1], std::min(m.arrowSize * scale, pts[0].distanceTo(pts[1])), pen.color);
                strokeRun(std::move(pts), false, pen);
            }
        }
        // The dogleg runs from the landing along the leader's direction to the content.
        if (leader.landing && m.landingEnabled && leader.doglegLength > 0 && leader.doglegDirection.length() > 0) {
            const Point3d end = *leader.landing + leader.doglegDirection.normal() * leader.doglegLength;
            strokeRun({toDevice(c, *leader.landing), toDevice(c, end)}, false, pen);
        }
    }
    if (m.hasText && !m.text.empty() && m.textHeight > 0) {
        MTextPlacement text;
        text.body = m.text;
        text.height = m.textHeight;
        ObjectId style;
        if (!m.textStyle.empty() && db_.getObjectId(style, m.textStyle) == ErrorStatus::eOk) text.style = style;
        text.boxWidth = m.textWidth;
        text.attachment = m.attachment;
        text.normal = m.textNormal.length() > 0 ? m.textNormal : Vector3d::zAxis();
        text.insert = m.textLocation;
        text.rotation = angleInOcs(m.textDirection, text.normal);
        text.lineSpacing = m.lineSpacing > 0 ? m.lineSpacing : 1.0;
        paintFormattedText(text, e, c);
    }
    if (m.hasBlock && !m.block.empty() && c.depth < kMaxDepth) {
        ObjectId block;
        if (db_.getObjectId(block, m.block) == ErrorStatus::eOk && dynamic_cast<const BlockTableRecord*>(db_.objectAt(block))) {
            const Matrix3d placement = Matrix3d::translation(m.blockPosition.asVector()) *
                                       Matrix3d::rotation(m.blockRotation, Vector3d::zAxis()) *
                                       Matrix3d::scaling(m.blockScale.x, m.blockScale.y, m.blockScale.z);
            paintBlockAs(block, placement, e, c);
        } else {
            report_.skip("MULTILEADER (block content missing)");
        }
    }
}

void DrawingPainter::paintConstructionLine(const UnknownEntity& e, const PaintContext& c, bool bothWays) {
    const RawEntity raw(e.tags);
    const Point3d base = raw.point(10).value_or(Point3d());
    const Vector3d direction = raw.point(11).value_or(Point3d(1, 0, 0)).asVector();
    const Point2d p = toDevice(c, base);
    const std::optional<Extents2d> page = canvas_.page();
    if (!page || page->isEmpty()) {
        // Endless: only the base point counts for the extents of a drawing.
        canvas_.dot(p, 0.0, Rgb{});
        return;
    }
    const Point2d q = toDevice(c, base + direction);
    const Vector2d d = q - p;
    if (!(d.length() > 0) || !std::isfinite(d.length())) return;
    // Clipped to the page grown a little, so that no cap shows at its edges.
    Extents2d box = *page;
    box.expandBy(8.0);
    double t0 = bothWays ? -std::numeric_limits<double>::infinity() : 0.0;
    double t1 = std::numeric_limits<double>::infinity();
    const double starts[2] = {p.x, p.y}, deltas[2] = {d.x, d.y};
    const double lows[2] = {box.minPoint().x, box.minPoint().y}, highs[2] = {box.maxPoint().x, box.maxPoint().y};
    for (int axis = 0; axis < 2; ++axis) {
        if (deltas[axis] == 0) {
            if (starts[axis] < lows[axis] || starts[axis] > highs[axis]) return;
            continue;
        }
        double a = (lows[axis] - starts[axis]) / deltas[axis], b = (highs[axis] - starts[axis]) / deltas[axis];
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
    }
    if (!(t0 < t1)) return;
    strokeRun({p + d * t0, p + d * t1}, false, penOf(e, c, deviceScale(c)));
}

void DrawingPainter::paintMesh(const UnknownEntity& e, const PaintContext& c) {
    // Vertices (92 count, then 10/20/30), faces (93 list size, then 90: corner count, indices) and
    // edges (94 count, then 90 pairs): the edges when given, else the sides of the faces.
    std::vector<Point3d> vertices;
    std::vector<long long> faceList, edgeList;
    std::vector<long long>* filling = nullptr;
    std::size_t remaining = 0;
    for (std::size_t i = 0; i < e.tags.size(); ++i) {
        const RawTag& t = e.tags[i];
        if (t.code == 10 && i + 1 < e.tags.size() && e.tags[i + 1].code == 20) {
            const double z = i + 2 < e.tags.size() && e.tags[i + 2].code == 30 ? std::strtod(e.tags[i + 2].value.c_str(), nullptr) : 0.0;
            vertices.emplace_back(std::strtod(t.value.c_str(), nullptr), std::strtod(e.tags[i + 1].value.c_str(), nullptr), z);
        } else if (t.code == 93 || t.code == 94) {
            filling = t.code == 93 ? &faceList : &edgeList;
            const long long n = std::atoll(t.value.c_str());
            remaining = n > 0 ? static_cast<std::size_t>(n) * (t.code == 94 ? 2 : 1) : 0;
        } else if (t.code == 90 && filling && remaining > 0) {
            filling->push_back(std::atoll(t.value.c_str()));
            --remaining;
        } else if (t.code != 90) {
            if (remaining == 0) filling = nullptr;
        }
    }
    std::vector<Point2d> device;
    device.reserve(vertices.size());
    for (const Point3d& v : vertices) device.push_back(toDevice(c, v));
    const auto valid = [&](long long k) { return k >= 0 && static_cast<std::size_t>(k) < device.size(); };
    DevicePath edges;
    if (!edgeList.empty()) {
        for (std::size_t k = 0; k + 1 < edgeList.size(); k += 2)
            if (valid(edgeList[k]) && valid(edgeList[k + 1]))
                edges.runs.push_back({{device[edgeList[k]], device[edgeList[k + 1]]}, false});
    } else {
        for (std::size_t k = 0; k < faceList.size();) {
            const long long n = faceList[k++];
            if (n < 2 || k + static_cast<std::size_t>(n) > faceList.size()) break;
            std::vector<Point2d> ring;
            for (long long j = 0; j < n; ++j)
                if (valid(faceList[k + j])) ring.push_back(device[faceList[k + j]]);
            k += static_cast<std::size_t>(n);
            if (ring.size() >= 2) edges.runs.push_back({std::move(ring), true});
        }
    }
    if (edges.empty()) {
        report_.skip("MESH (no faces or edges)");
        --report_.drawn;
        return;
    }
    canvas_.stroke(edges, penOf(e, c, deviceScale(c)));
}

void DrawingPainter::paintImageFrame(const UnknownEntity& e, const PaintContext& c) {
    const RawEntity raw(e.tags);
    const Point3d p = raw.point(10).value_or(Point3d());
    const Vector3d u = raw.point(11).value_or(Point3d(1, 0, 0)).asVector();
    const Vector3d v = raw.point(12).value_or(Point3d(0, 1, 0)).asVector();
    const Point3d size = raw.point(13).value_or(Point3d(1, 1, 0));
    const Vector3d du = u * size.x, dv = v * size.y;
    if (e.dxfName() != "WIPEOUT") {
        strokeRun({toDevice(c, p), toDevice(c, p + du), toDevice(c, p + du + dv), toDevice(c, p + dv)}, true,
                  penOf(e, c, deviceScale(c)));
        return;
    }
    // A wipeout blanks its boundary in the sheet's colour. The boundary (14/24) is in pixels from
    // the image's top-left pixel centre, y down: two corners of a rectangle (71 = 1) or a polygon.
    std::vector<Point3d> corners = raw.points(14);
    if (raw.integer(71, 1) == 1 && corners.size() == 2)
        corners = {corners[0], {corners[1].x, corners[0].y, 0}, corners[1], {corners[0].x, corners[1].y, 0}};
    std::vector<Point2d> ring;
    for (const Point3d& k : corners)
        ring.push_back(toDevice(c, p + u * (k.x + 0.5) + v * (size.y - 0.5 - k.y)));
    if (ring.size() < 3)
        ring = {toDevice(c, p), toDevice(c, p + du), toDevice(c, p + du + dv), toDevice(c, p + dv)};
    DevicePath area;
    area.runs.push_back({ring, true});
    canvas_.fill(area, Rgb{255, 255, 255});
    strokeRun(std::move(ring), true, penOf(e, c, deviceScale(c)));
}

}  // namespace cad
