#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/geometry/PolygonOps.h"
#include "engine/hatch/HatchEvaluator.h"
#include "engine/hatch/HatchPatternLibrary.h"
#include "engine/hatch/PatFileParser.h"

using namespace cad;

namespace {

PolylineGeometry rect(double x0, double y0, double x1, double y1) {
    return PolylineGeometry::fromPoints({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, true);
}

HatchPattern onePattern(const std::string& text) { return parsePatText(text, "test").front(); }

double totalLength(const HatchEvaluation& r) {
    double len = 0;
    for (const auto& s : r.segments) len += s.start.distanceTo(s.end);
    return len;
}

}  // namespace

TEST(HatchEvaluator, HorizontalLinesClipToOuterAndInnerLoops) {
    auto lines = onePattern("*H\n0, 0,0, 0,1\n");
    HatchEvaluator ev;
    // 10 x 10 square: lines at y = 0..10 step 1; lines along an edge are counted half-open.
    auto r = ev.evaluate({rect(0, 0, 10, 10)}, lines, 0.0, 1.0);
    ASSERT_EQ(r.status, ErrorStatus::eOk);
    ASSERT_EQ(r.segments.size(), 10u);  // y = 0 runs along the bottom edge, y = 10 is dropped
    for (const auto& s : r.segments) {
        EXPECT_NEAR(std::abs(s.end.x - s.start.x), 10.0, 1e-9);
        EXPECT_NEAR(s.start.y, s.end.y, 1e-12);
        EXPECT_NEAR(s.start.y, std::round(s.start.y), 1e-9);
    }
    // An inner loop is a hole: lines through it are split and lose its width.
    auto holed = ev.evaluate({rect(0, 0, 10, 10), rect(3, 3.5, 7, 6.5)}, lines, 0.0, 1.0);
    ASSERT_EQ(holed.status, ErrorStatus::eOk);
    EXPECT_EQ(holed.segments.size(), r.segments.size() + 3);  // y = 4, 5, 6 split in two
    EXPECT_NEAR(totalLength(r) - totalLength(holed), 3 * 4.0, 1e-9);
    for (const auto& s : holed.segments) {
        Point2d mid = Point2d::midpoint(s.start, s.end);
        EXPECT_FALSE(mid.x > 3 && mid.x < 7 && mid.y > 3.5 && mid.y < 6.5);
    }
    // Scale and angle: at scale 2 rotated 90 degrees the lines are vertical, 2 apart.
    auto rot = ev.evaluate({rect(0, 0, 10, 10)}, lines, std::numbers::pi / 2, 2.0);
    ASSERT_EQ(rot.status, ErrorStatus::eOk);
    EXPECT_GE(rot.segments.size(), 4u);
    EXPECT_LE(rot.segments.size(), 6u);
    for (const auto& s : rot.segments) {
        EXPECT_NEAR(s.start.x, s.end.x, 1e-9);
        EXPECT_NEAR(std::fmod(s.start.x + 1e-9, 2.0), 0.0, 1e-6);
    }
}

TEST(HatchEvaluator, DiagonalHatchCoversAnLShapeWithArcBoundary) {
    HatchPatternLibrary lib(PatternUnits::Imperial);
    HatchEvaluator ev;
    auto l = PolylineGeometry::fromPoints({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}, true);
    auto r = ev.evaluate({l}, *lib.find("ANSI31"), 0.0, 8.0);  // spacing 1
    ASSERT_EQ(r.status, ErrorStatus::eOk);
    // Each line piece lies inside the L; the total length approximates area / spacing.
    for (const auto& s : r.segments) {
        EXPECT_TRUE(l.contains(Point2d::midpoint(s.start, s.end)));
        EXPECT_NEAR((s.end - s.start).normal().cross({1, 1}), 0.0, 1e-9);
    }
    EXPECT_NEAR(totalLength(r), l.area() / 1.0, l.area() * 0.05);

    // A half-disc boundary: every piece ends on the flattened arc or the chord.
    PolylineGeometry hd({{{-10, 0}, 1.0}, {{10, 0}, 0.0}}, true);
    auto h = ev.evaluate({hd}, *lib.find("ANSI31"), 0.0, 4.0);
    ASSERT_EQ(h.status, ErrorStatus::eOk);
    for (const auto& s : h.segments) {
        for (const Point2d& p : {s.start, s.end}) {
            double fromArc = std::abs(p.asVector().length() - 10.0);
            EXPECT_TRUE(fromArc < 0.01 || std::abs(p.y) < 1e-9) << p.x << "," << p.y;
        }
    }
}

TEST(HatchEvaluator, DashesAndDotsFollowTheLinePhase) {
    auto dashed = onePattern("*D\n0, 0,0, 0,1, 2,-1\n");
    HatchEvaluator ev;
    auto r = ev.evaluate({rect(0.5, 0.5, 9.5, 1.5)}, dashed, 0.0, 1.0);  // only the line y = 1
    ASSERT_EQ(r.status, ErrorStatus::eOk);
    // Dashes [0,2] [3,5] [6,8] [9,11] clipped to [0.5, 9.5].
    ASSERT_EQ(r.segments.size(), 4u);
    std::vector<std::pair<double, double>> expect{{0.5, 2}, {3, 5}, {6, 8}, {9, 9.5}};
    for (std::size_t i = 0; i < 4; ++i) {
        double a = std::min(r.segments[i].start.x, r.segments[i].end.x);
        double b = std::max(r.segments[i].start.x, r.segments[i].end.x);
        EXPECT_NEAR(a, expect[i].first, 1e-9);
        EXPECT_NEAR(b, expect[i].second, 1e-9);
    }
    // Dots: zero-length pieces, spaced by the period.
    auto dots = onePattern("*P\n0, 0,0, 0,1, 0,-1\n");
    auto d = ev.evaluate({rect(0.5, 0.5, 4.5, 1.5)}, dots, 0.0, 1.0);
    ASSERT_EQ(d.status, ErrorStatus::eOk);
    ASSERT_EQ(d.segments.size(), 4u);  // x = 1, 2, 3, 4
    for (const auto& s : d.segments) EXPECT_TRUE(s.start.isEqualTo(s.end));
    // delta-x shifts the dash phase of each following line.
    auto staggered = onePattern("*S\n0, 0,0, 1,1, 1,-2\n");
    auto st = ev.evaluate({rect(0, 0.5, 3, 2.5)}, staggered, 0.0, 1.0);  // lines y = 1, 2
    ASSERT_EQ(st.status, ErrorStatus::eOk);
    for (const auto& s : st.segments) {
        double a = std::min(s.start.x, s.end.x);
        EXPECT_NEAR(a, s.start.y == 1.0 ? 1.0 : 2.0, 1e-9);
    }
}

TEST(HatchEvaluator, DensityLimitsAndSolidFill) {
    HatchPatternLibrary lib(PatternUnits::Metric);
    HatchEvaluator ev;
    auto room = rect(0, 0, 10000, 5000);  // 10 m x 5 m in millimetres

    auto ok = ev.evaluate({room}, *lib.find("ANSI31"), 0.0, 10.0);
    EXPECT_EQ(ok.status, ErrorStatus::eOk);
    EXPECT_GT(ok.familyLines, 100u);
    EXPECT_LE(ok.familyLines, ev.limits().maxFamilyLines);

    auto dense = ev.evaluate({room}, *lib.find("ANSI31"), 0.0, 0.01);
    EXPECT_EQ(dense.status, ErrorStatus::eHatchTooDense);
    EXPECT_TRUE(dense.segments.empty());
    // Few lines but far too many dots also count as too dense.
    auto dots = ev.evaluate({room}, *lib.find("DOTS"), 0.0, 1.0);
    EXPECT_EQ(dots.status, ErrorStatus::eHatchTooDense);

    // A 1 x 1 box well off the family line through the origin, lines 3 m apart.
    auto sparse = ev.evaluate({rect(100, 10, 101, 11)}, *lib.find("ANSI31"), 0.0, 1000.0);
    EXPECT_EQ(sparse.status, ErrorStatus::eHatchTooSparse);
    EXPECT_TRUE(sparse.segments.empty());
    // A dashed line that falls into a gap inside the boundary is sparse too.
    auto gap = onePattern("*G\n0, 0,0, 0,10, 1,-9\n");
    EXPECT_EQ(ev.evaluate({rect(2, -1, 8, 1)}, gap, 0.0, 1.0).status, ErrorStatus::eHatchTooSparse);

    // SOLID is always fine, at any scale, and hands back its flattened loops.
    for (double scale : {1e-6, 1.0, 1e6}) {
        auto s = ev.evaluate({room, rect(10, 10, 20, 20)}, *lib.find("solid"), 0.0, scale);
        EXPECT_EQ(s.status, ErrorStatus::eOk);
        EXPECT_TRUE(s.solid);
        EXPECT_EQ(s.loops.size(), 2u);
    }
    // Limits are configurable.
    HatchEvaluator strict(HatchLimits{10, 1000, 1e-4});
    EXPECT_EQ(strict.evaluate({rect(0, 0, 100, 100)}, *lib.find("LINES"), 0.0, 1.0).status,
              ErrorStatus::eHatchTooDense);

    EXPECT_EQ(ev.evaluate({}, *lib.find("SOLID"), 0.0, 1.0).status, ErrorStatus::eInvalidInput);
    EXPECT_EQ(ev.evaluate({room}, *lib.find("ANSI31"), 0.0, 0.0).status, ErrorStatus::eInvalidInput);
    EXPECT_EQ(ev.evaluate({room}, *lib.find("ANSI31"), 0.0, -1.0).status, ErrorStatus::eInvalidInput);
}

TEST(HatchPattern, PlacedLinesAreRotatedAndScaledLikeDxfStoresThem) {
    auto p = onePattern("*A\n0, 0,0, 0,.55, .4,-.15\n90, 1,0, -.55,0, .4,-.15\n");
    auto placed = p.placedLines(0.0, 2.0);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_DOUBLE_EQ(placed[0].angleDegrees, 0.0);
    EXPECT_TRUE(placed[0].offset.isEqualTo({0, 1.1}));
    EXPECT_EQ(placed[0].dashes, (std::vector<double>{0.8, -0.3}));
    // The offset of the 90-degree family turns with the line: along becomes +y.
    EXPECT_TRUE(placed[1].offset.isEqualTo({0, -1.1}, 1e-12));
    EXPECT_TRUE(placed[1].basePoint.isEqualTo({2, 0}));
    auto turned = p.placedLines(std::numbers::pi / 2, 1.0);
    EXPECT_NEAR(turned[0].angleDegrees, 90.0, 1e-12);
    EXPECT_TRUE(turned[0].offset.isEqualTo({-0.55, 0}, 1e-12));
    EXPECT_TRUE(turned[1].basePoint.isEqualTo({0, 1}, 1e-12));
}

TEST(HatchEvaluator, EveryBuiltInPatternHatchesInsideTheBoundary) {
    HatchPatternLibrary lib(PatternUnits::Metric);
    HatchEvaluator ev;
    // Outer square, a hole, and an island inside the hole that is hatched again.
    std::vector<PolylineGeometry> loops{rect(0, 0, 500, 500), rect(100, 100, 400, 400),
                                        rect(200, 200, 300, 300)};
    // Pieces may touch a boundary (a dot on a corner), never go beyond it.
    auto inside = [](const Point2d& p) {
        const double e = 1e-9;
        auto in = [&](double lo, double hi) {
            return p.x >= lo - e && p.x <= hi + e && p.y >= lo - e && p.y <= hi + e;
        };
        auto strictlyIn = [&](double lo, double hi) {
            return p.x > lo + e && p.x < hi - e && p.y > lo + e && p.y < hi - e;
        };
        return in(0, 500) && (!strictlyIn(100, 400) || in(200, 300));
    };
    for (const auto& name : lib.names()) {
        const HatchPattern& p = *lib.find(name);
        auto r = ev.evaluate(loops, p, 0.25, 1.0);
        ASSERT_EQ(r.status, ErrorStatus::eOk) << name;
        if (p.isSolid()) continue;
        bool islandHit = false;
        for (const auto& s : r.segments) {
            Point2d mid = Point2d::midpoint(s.start, s.end);
            EXPECT_TRUE(inside(mid)) << name << " at " << mid.x << "," << mid.y;
            islandHit = islandHit || (mid.x > 200 && mid.x < 300 && mid.y > 200 && mid.y < 300);
        }
        EXPECT_TRUE(islandHit) << name;
    }
}
