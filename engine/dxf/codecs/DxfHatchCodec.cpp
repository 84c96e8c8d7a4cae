// HATCH: elevation point (10/20/30), extrusion (210), pattern name (2), solid fill (70),
// associativity (71), the boundary loops (91 and per loop 92 with polyline or edge data, then 97
// source handles), style (75), pattern type (76), angle, scale, double and definition lines (52,
// 41, 77, 78 ...), pixel size (47) and seed points (98). Codes repeat with different meanings, so
// the part is read strictly in order; a hatch laid out otherwise is kept whole.
#include <algorithm>
#include <cmath>

#include "engine/db/Database.h"
#include "engine/db/Hatch.h"
#include "engine/db/UnknownEntity.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

namespace {

// HATCH repeats codes with different meanings (10/20 are the elevation, vertices, edge points and
// seeds), so it is read strictly in order. Anything out of the expected order makes the caller keep
// the record whole instead.
bool readHatchPart(DxfReadServices& in, const DxfRecordParts& parts, Hatch& hatch, DxfExtraTags& extras) {
    const auto& b = parts.body;
    std::size_t i = 0;
    while (i < b.size() && !(b[i].code == 100 && trimDxfBlanks(b[i].value) == "AcDbHatch")) ++i;
    if (i == b.size()) return false;
    ++i;
    auto at = [&](int code) { return i < b.size() && b[i].code == code; };
    auto take = [&](int code, double& v) {
        if (!at(code)) return false;
        v = in.num(b[i++]);
        return true;
    };
    auto takeInt = [&](int code, long long& v) {
        if (!at(code)) return false;
        v = in.integer(b[i++]);
        return true;
    };
    auto point2 = [&](int base, Point2d& p) { return take(base, p.x) && take(base + 10, p.y); };
    constexpr long long kMaxCount = 1000000;

    Point3d elevation;
    if (!take(10, elevation.x) || !take(20, elevation.y) || !take(30, elevation.z)) return false;
    Vector3d normal = Vector3d::zAxis();
    if (at(210) && !(take(210, normal.x) && take(220, normal.y) && take(230, normal.z))) return false;
    if (!at(2)) return false;
    const std::string name = in.text(b[i++].value);
    long long solid = 0, associative = 0, loopCount = 0;
    if (!takeInt(70, solid) || !takeInt(71, associative) || !takeInt(91, loopCount)) return false;
    if (loopCount < 0 || loopCount > kMaxCount) return false;
    std::vector<HatchLoop> loops;
    for (long long l = 0; l < loopCount; ++l) {
        HatchLoop loop;
        long long type = 0, count = 0;
        if (!takeInt(92, type)) return false;
        loop.type = static_cast<int>(type);
        if (type & HatchLoop::kPolyline) {
            long long bulges = 0, closed = 1;
            if (!takeInt(72, bulges) || !takeInt(73, closed) || !takeInt(93, count)) return false;
            if (count < 0 || count > kMaxCount) return false;
            loop.closed = closed != 0;
            for (long long k = 0; k < count; ++k) {
                BulgeVertex v;
                if (!point2(10, v.point)) return false;
                if (at(42)) take(42, v.bulge);
                loop.vertices.push_back(v);
            }
        } else {
            if (!takeInt(93, count) || count < 0 || count > kMaxCount) return false;
            for (long long k = 0; k < count; ++k) {
                HatchEdge e;
                long long edgeType = 0;
                if (!takeInt(72, edgeType)) return false;
                if (edgeType == 1) {
                    e.type = HatchEdge::Type::Line;
                    if (!point2(10, e.start) || !point2(11, e.end)) return false;
                } else if (edgeType == 2 || edgeType == 3) {
                    e.type = edgeType == 2 ? HatchEdge::Type::CircularArc : HatchEdge::Type::EllipticArc;
                    long long ccw = 1;
                    if (!point2(10, e.center)) return false;
                    if (edgeType == 3 && !(take(11, e.majorAxis.x) && take(21, e.majorAxis.y))) return false;
                    if (!take(40, e.radius) || !take(50, e.startAngle) || !take(51, e.endAngle) || !takeInt(73, ccw))
                        return false;
                    e.startAngle *= kDxfRadiansPerDegree;
                    e.endAngle *= kDxfRadiansPerDegree;
                    e.counterClockwise = ccw != 0;
                } else if (edgeType == 4) {
                    e.type = HatchEdge::Type::Spline;
                    long long degree = 3, rational = 0, periodic = 0, knots = 0, controls = 0;
                    if (!takeInt(94, degree) || !takeInt(73, rational) || !takeInt(74, periodic) ||
                        !takeInt(95, knots) || !takeInt(96, controls))
                        return false;
                    if (knots < 0 || knots > kMaxCount || controls < 0 || controls > kMaxCount) return false;
                    e.degree = static_cast<int>(degree);
                    e.rational = rational != 0;
                    e.periodic = periodic != 0;
                    for (long long k2 = 0; k2 < knots; ++k2) {
                        double v = 0;
                        if (!take(40, v)) return false;
                        e.knots.push_back(v);
                    }
                    for (long long k2 = 0; k2 < controls; ++k2) {
                        Point2d p;
                        if (!point2(10, p)) return false;
                        e.controlPoints.push_back(p);
                        if (at(42)) {
                            double w = 1;
                            take(42, w);
                            e.weights.push_back(w);
                        }
                    }
                    // Fit data (R2010+) also starts with 97, like the boundary-object count.
                    // Before the last edge it can only be fit data; after it, only if fit points
                    // or a second 97 (the boundary count) follow.
                    const bool fitData =
                        at(97) && (k + 1 < count || (i + 1 < b.size() && (b[i + 1].code == 11 || b[i + 1].code == 12 ||
                                                                          b[i + 1].code == 97)));
                    if (fitData) {
                        long long fits = 0;
                        takeInt(97, fits);
                        if (fits < 0 || fits > kMaxCount) return false;
                        for (long long k2 = 0; k2 < fits; ++k2) {
                            Point2d p;
                            if (!point2(11, p)) return false;
                            e.fitPoints.push_back(p);
                        }
                        if (at(12) && !(take(12, e.startTangent.x) && take(22, e.startTangent.y))) return false;
                        if (at(13) && !(take(13, e.endTangent.x) && take(23, e.endTangent.y))) return false;
                    }
                } else {
                    return false;
                }
                loop.edges.push_back(std::move(e));
            }
        }
        long long sources = 0;
        if (!takeInt(97, sources) || sources < 0 || sources > kMaxCount) return false;
        for (long long s = 0; s < sources; ++s) {
            if (!at(330)) return false;
            loop.sourceIds.push_back(in.idOf(Handle::parse(b[i++].value).value_or(Handle())));
        }
        loops.push_back(std::move(loop));
    }
    long long style = 0, patternType = 1;
    if (!takeInt(75, style) || !takeInt(76, patternType)) return false;
    hatch.setPattern(static_cast<Hatch::PatternType>(std::clamp<long long>(patternType, 0, 2)), name);
    std::vector<HatchDefinitionLine> lines;
    if (at(52)) {
        double angle = 0, scale = 1;
        long long isDouble = 0, lineCount = 0;
        take(52, angle);
        if (!take(41, scale) || !takeInt(77, isDouble) || !takeInt(78, lineCount)) return false;
        if (lineCount < 0 || lineCount > kMaxCount) return false;
        hatch.setPatternAngle(angle * kDxfRadiansPerDegree);
        if (patternType == 0) hatch.setPatternSpace(scale);
        else hatch.setPatternScale(scale);
        hatch.setPatternDouble(isDouble != 0);
        for (long long k = 0; k < lineCount; ++k) {
            HatchDefinitionLine line;
            long long dashes = 0;
            if (!take(53, line.angle) || !take(43, line.basePoint.x) || !take(44, line.basePoint.y)) return false;
            if (!take(45, line.offset.x) || !take(46, line.offset.y) || !takeInt(79, dashes)) return false;
            if (dashes < 0 || dashes > kMaxCount) return false;
            line.angle *= kDxfRadiansPerDegree;
            for (long long d = 0; d < dashes; ++d) {
                double v = 0;
                if (!take(49, v)) return false;
                line.dashes.push_back(v);
            }
            lines.push_back(std::move(line));
        }
    }
    double pixel = 0;
    if (take(47, pixel)) hatch.setPixelSize(pixel);
    long long seedCount = 0;
    std::vector<Point2d> seeds;
    if (takeInt(98, seedCount)) {
        if (seedCount < 0 || seedCount > kMaxCount) return false;
        for (long long s = 0; s < seedCount; ++s) {
            Point2d p;
            if (!point2(10, p)) return false;
            seeds.push_back(p);
        }
    }
    // What follows (gradient data and anything newer) stays as read, unless it holds codes of the
    // part above: then that part was not understood, and writing it anew would repeat them.
    for (std::size_t k = i; k < b.size(); ++k) {
        switch (b[k].code) {
            case 10: case 20: case 41: case 43: case 44: case 45: case 46:
            case 47: case 49: case 52: case 53: case 77: case 78: case 79: case 98:
                return false;
            default:
                break;
        }
    }
    extras.marker("AcDbHatch", true);
    for (; i < b.size(); ++i) {
        if (b[i].code == 100) extras.marker(trimDxfBlanks(b[i].value), false);
        else extras.add(b[i]);
    }
    hatch.setNormal(normal);
    hatch.setElevation(elevation.z);
    hatch.setAssociative(associative != 0);
    hatch.setHatchStyle(static_cast<Hatch::Style>(std::clamp<long long>(style, 0, 2)));
    hatch.setLoops(std::move(loops));
    hatch.setDefinitionLines(std::move(lines));
    hatch.setSeedPoints(std::move(seeds));
    return true;
}

}  // namespace

std::unique_ptr<DbObject> readHatch(DxfRecordRead& r) {
    if (!r.parts.hasSubclasses) return readUnknownEntity(r);
    auto e = std::make_unique<Hatch>();
    RawTagList hatchExtras;
    DxfExtraTags hatchTags(hatchExtras, r.parts.body);
    // The common part first; the hatch part from its marker on.
    for (const DxfTag& t : r.parts.body) {
        if (t.code == 100 && trimDxfBlanks(t.value) == "AcDbHatch") break;
        if (!r.common(t, *e)) r.extras.add(t);
    }
    if (!readHatchPart(r.in, r.parts, *e, hatchTags)) {
        r.in.warn(r.record.line, "HATCH in an unexpected layout kept as read");
        r.extraTags.clear();
        auto u = std::make_unique<UnknownEntity>(r.type(), "AcDbHatch");
        for (std::size_t k = 1; k < r.all.size(); ++k) u->tags.push_back(rawTag(r.all[k]));
        return u;
    }
    r.extraTags.insert(r.extraTags.end(), hatchExtras.begin(), hatchExtras.end());
    return e;
}

void writeHatch(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const auto& h = static_cast<const Hatch&>(o);
    w.string(100, "AcDbHatch");
    out.point(10, Point3d{0, 0, h.elevation()});
    out.point(210, h.normal());
    w.string(2, out.text(h.patternName()));
    w.integer(70, h.isSolidFill() ? 1 : 0);
    w.integer(71, h.associative() ? 1 : 0);
    w.integer(91, static_cast<std::int64_t>(h.loops().size()));
    for (const HatchLoop& loop : h.loops()) {
        w.integer(92, loop.type);
        if (loop.isPolyline()) {
            bool bulges = false;
            for (const auto& v : loop.vertices) bulges = bulges || v.bulge != 0;
            w.integer(72, bulges ? 1 : 0);
            w.integer(73, loop.closed ? 1 : 0);
            w.integer(93, static_cast<std::int64_t>(loop.vertices.size()));
            for (const auto& v : loop.vertices) {
                w.real(10, v.point.x);
                w.real(20, v.point.y);
                if (bulges) w.real(42, v.bulge);
            }
        } else {
            w.integer(93, static_cast<std::int64_t>(loop.edges.size()));
            for (const HatchEdge& edge : loop.edges) {
                w.integer(72, static_cast<int>(edge.type));
                switch (edge.type) {
                    case HatchEdge::Type::Line:
                        w.real(10, edge.start.x);
                        w.real(20, edge.start.y);
                        w.real(11, edge.end.x);
                        w.real(21, edge.end.y);
                        break;
                    case HatchEdge::Type::CircularArc:
                    case HatchEdge::Type::EllipticArc:
                        w.real(10, edge.center.x);
                        w.real(20, edge.center.y);
                        if (edge.type == HatchEdge::Type::EllipticArc) {
                            w.real(11, edge.majorAxis.x);
                            w.real(21, edge.majorAxis.y);
                        }
                        w.real(40, edge.radius);
                        w.real(50, edge.startAngle * kDxfDegreesPerRadian);
                        w.real(51, edge.endAngle * kDxfDegreesPerRadian);
                        w.integer(73, edge.counterClockwise ? 1 : 0);
                        break;
                    case HatchEdge::Type::Spline:
                        w.integer(94, edge.degree);
                        w.integer(73, edge.rational ? 1 : 0);
                        w.integer(74, edge.periodic ? 1 : 0);
                        w.integer(95, static_cast<std::int64_t>(edge.knots.size()));
                        w.integer(96, static_cast<std::int64_t>(edge.controlPoints.size()));
                        for (double k : edge.knots) w.real(40, k);
                        for (std::size_t i = 0; i < edge.controlPoints.size(); ++i) {
                            w.real(10, edge.controlPoints[i].x);
                            w.real(20, edge.controlPoints[i].y);
                            if (edge.rational && i < edge.weights.size()) w.real(42, edge.weights[i]);
                        }
                        w.integer(97, static_cast<std::int64_t>(edge.fitPoints.size()));
                        for (const auto& f : edge.fitPoints) {
                            w.real(11, f.x);
                            w.real(21, f.y);
                        }
                        if (!edge.fitPoints.empty()) {
                            w.real(12, edge.startTangent.x);
                            w.real(22, edge.startTangent.y);
                            w.real(13, edge.endTangent.x);
                            w.real(23, edge.endTangent.y);
                        }
                        break;
                }
            }
        }
        std::vector<ObjectId> sources;
        for (ObjectId s : loop.sourceIds)
            if (const DbObject* so = out.database().objectAt(s); so && !so->isErased()) sources.push_back(s);
        w.integer(97, static_cast<std::int64_t>(h.associative() ? sources.size() : 0));
        if (h.associative())
            for (ObjectId s : sources) out.handleTag(330, s);
    }
    w.integer(75, static_cast<int>(h.hatchStyle()));
    w.integer(76, static_cast<int>(h.patternType()));
    if (!h.isSolidFill()) {
        w.real(52, h.patternAngle() * kDxfDegreesPerRadian);
        w.real(41, h.patternType() == Hatch::PatternType::UserDefined ? h.patternSpace() : h.patternScale());
        w.integer(77, h.patternDouble() ? 1 : 0);
        w.integer(78, static_cast<std::int64_t>(h.definitionLines().size()));
        for (const auto& line : h.definitionLines()) {
            w.real(53, line.angle * kDxfDegreesPerRadian);
            w.real(43, line.basePoint.x);
            w.real(44, line.basePoint.y);
            w.real(45, line.offset.x);
            w.real(46, line.offset.y);
            w.integer(79, static_cast<std::int64_t>(line.dashes.size()));
            for (double d : line.dashes) w.real(49, d);
        }
    }
    if (h.pixelSize() != 0) w.real(47, h.pixelSize());
    w.integer(98, static_cast<std::int64_t>(h.seedPoints().size()));
    for (const auto& s : h.seedPoints()) {
        w.real(10, s.x);
        w.real(20, s.y);
    }
    out.extrasOf(extras, "AcDbHatch");
}

}  // namespace cad
