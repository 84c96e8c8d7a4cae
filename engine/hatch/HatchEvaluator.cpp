#include "engine/hatch/HatchEvaluator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/geometry/Extents2d.h"

namespace cad {

namespace {

struct Edge {
    Point2d a;
    Point2d b;
};

HatchEvaluation fail(HatchEvaluation r, ErrorStatus status) {
    r.status = status;
    r.segments.clear();
    return r;
}

}  // namespace

HatchEvaluation HatchEvaluator::evaluate(const std::vector<PolylineGeometry>& loops,
                                         const HatchPattern& pattern, double angle,
                                         double scale) const {
    HatchEvaluation result;
    result.solid = pattern.isSolid();
    if (!(scale > 0.0) || !std::isfinite(scale) || !std::isfinite(angle))
        return fail(std::move(result), ErrorStatus::eInvalidInput);

    Extents2d box;
    for (const auto& l : loops) box.addExtents(l.extents());
    if (box.isEmpty()) return fail(std::move(result), ErrorStatus::eInvalidInput);
    double size = std::max(box.width(), box.height());
    double chordTol = size * limits_.relativeChordTolerance;

    std::vector<Edge> edges;
    for (const auto& l : loops) {
        auto ring = l.flatten(chordTol);
        if (ring.size() < 3) continue;
        for (std::size_t i = 0; i < ring.size(); ++i) edges.push_back({ring[i], ring[(i + 1) % ring.size()]});
        result.loops.push_back(std::move(ring));
    }
    if (result.loops.empty()) return fail(std::move(result), ErrorStatus::eInvalidInput);
    if (result.solid) return result;
    if (pattern.lines.empty()) return fail(std::move(result), ErrorStatus::eInvalidInput);

    const auto placed = pattern.placedLines(angle, scale);
    const Point2d corners[4] = {box.minPoint(), {box.maxPoint().x, box.minPoint().y}, box.maxPoint(),
                                {box.minPoint().x, box.maxPoint().y}};

    // Which family lines cross the extents, per family, checked against the limit before any
    // clipping work is done.
    struct Family {
        Vector2d dir, normal, step;
        Point2d base;
        long long kFirst = 0, kLast = -1;
        const PlacedPatternLine* line = nullptr;
    };
    std::vector<Family> families;
    double total = 0.0;
    for (const auto& pl : placed) {
        Family f;
        double a = pl.angleDegrees * std::numbers::pi / 180.0;
        f.dir = {std::cos(a), std::sin(a)};
        f.normal = f.dir.perpendicular();
        f.step = pl.offset;
        f.base = pl.basePoint;
        f.line = &pl;
        double spacing = f.step.dot(f.normal);
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        for (const auto& c : corners) {
            double t = (c - f.base).dot(f.normal);
            lo = std::min(lo, t);
            hi = std::max(hi, t);
        }
        if (std::abs(spacing) <= size * 1e-12) {
            // No spacing: the family is its one line.
            if (lo <= 0.0 && 0.0 <= hi) f.kFirst = f.kLast = 0;
        } else {
            double k0 = lo / spacing, k1 = hi / spacing;
            if (k0 > k1) std::swap(k0, k1);
            double first = std::ceil(k0), last = std::floor(k1);
            if (last - first + 1 > static_cast<double>(limits_.maxFamilyLines) - total)
                return fail(std::move(result), ErrorStatus::eHatchTooDense);
            f.kFirst = static_cast<long long>(first);
            f.kLast = static_cast<long long>(last);
        }
        total += static_cast<double>(f.kLast - f.kFirst + 1);
        families.push_back(f);
    }
    result.familyLines = static_cast<std::size_t>(total);

    std::vector<double> cuts;
    std::vector<double> edgeN0, edgeN1;
    edgeN0.resize(edges.size());
    edgeN1.resize(edges.size());
    // Dash periods walked; bounds the work of patterns whose periods mostly fall into gaps.
    std::size_t periodsWalked = 0;
    const std::size_t maxPeriods = limits_.maxSegments * 4;

    for (const auto& f : families) {
        for (std::size_t i = 0; i < edges.size(); ++i) {
            edgeN0[i] = (edges[i].a - f.base).dot(f.normal);
            edgeN1[i] = (edges[i].b - f.base).dot(f.normal);
        }
        const auto& dashes = f.line->dashes;
        double period = 0.0;
        for (double d : dashes) period += std::abs(d);
        bool continuous = dashes.empty() || period <= 0.0;

        for (long long k = f.kFirst; k <= f.kLast; ++k) {
            Point2d origin = f.base + f.step * static_cast<double>(k);
            double t = f.step.dot(f.normal) * static_cast<double>(k);
            cuts.clear();
            for (std::size_t i = 0; i < edges.size(); ++i) {
                double n0 = edgeN0[i], n1 = edgeN1[i];
                // Half-open: a line through a vertex cuts exactly one of its two edges.
                if ((n0 > t) == (n1 > t)) continue;
                double s = (t - n0) / (n1 - n0);
                Point2d p = edges[i].a + (edges[i].b - edges[i].a) * s;
                cuts.push_back((p - origin).dot(f.dir));
            }
            if (cuts.size() < 2) continue;
            std::sort(cuts.begin(), cuts.end());
            for (std::size_t c = 0; c + 1 < cuts.size(); c += 2) {
                double u0 = cuts[c], u1 = cuts[c + 1];
                if (u1 <= u0) continue;
                if (continuous) {
                    result.segments.push_back({origin + f.dir * u0, origin + f.dir * u1});
                } else {
                    // Dashes repeat from the line's own origin.
                    double firstPeriod = std::floor(u0 / period);
                    for (double m = firstPeriod;; m += 1.0) {
                        double start = m * period;
                        if (start >= u1) break;
                        if (++periodsWalked > maxPeriods)
                            return fail(std::move(result), ErrorStatus::eHatchTooDense);
                        double pos = start;
                        for (double d : dashes) {
                            double len = std::abs(d);
                            if (d > 0.0) {
                                double a = std::max(pos, u0), b = std::min(pos + len, u1);
                                if (a < b) result.segments.push_back({origin + f.dir * a, origin + f.dir * b});
                            } else if (d == 0.0 && pos >= u0 && pos <= u1) {
                                Point2d dot = origin + f.dir * pos;
                                result.segments.push_back({dot, dot});
                            }
                            pos += len;
                        }
                        if (result.segments.size() > limits_.maxSegments)
                            return fail(std::move(result), ErrorStatus::eHatchTooDense);
                    }
                }
                if (result.segments.size() > limits_.maxSegments)
                    return fail(std::move(result), ErrorStatus::eHatchTooDense);
            }
        }
    }
    if (result.segments.empty()) return fail(std::move(result), ErrorStatus::eHatchTooSparse);
    return result;
}

}  // namespace cad
