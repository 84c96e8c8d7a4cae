#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/geometry/PolygonOps.h"
#include "engine/geometry/PolylineGeometry.h"

using namespace cad;

namespace {
constexpr double kPi = std::numbers::pi;

PolylineGeometry halfDisc(double r, bool closed) {
    return PolylineGeometry({{{-r, 0}, 1.0}, {{r, 0}, 0.0}}, closed);
}
}  // namespace

TEST(PolylineGeometry, RectangleInMillimetresAreaAndLength) {
    auto rect = PolylineGeometry::fromPoints({{0, 0}, {10000, 0}, {10000, 5000}, {0, 5000}}, true);
    EXPECT_DOUBLE_EQ(rect.area(), 50000000.0);
    EXPECT_DOUBLE_EQ(rect.signedArea(), 50000000.0);
    EXPECT_DOUBLE_EQ(rect.length(), 30000.0);
    // Clockwise gives a negative signed area; far from the origin the precision holds.
    auto cw = PolylineGeometry::fromPoints(
        {{1e7, 1e7}, {1e7, 1e7 + 5000}, {1e7 + 10000, 1e7 + 5000}, {1e7 + 10000, 1e7}}, true);
    EXPECT_DOUBLE_EQ(cw.signedArea(), -50000000.0);
    // An open polyline still has an area but no closing segment in its length.
    auto open = PolylineGeometry::fromPoints({{0, 0}, {10000, 0}, {10000, 5000}, {0, 5000}}, false);
    EXPECT_DOUBLE_EQ(open.area(), 50000000.0);
    EXPECT_DOUBLE_EQ(open.length(), 25000.0);
    EXPECT_EQ(PolylineGeometry().area(), 0.0);
}

TEST(PolylineGeometry, BulgeArcsAreaLengthAndExtents) {
    double r = 2.5;
    auto hd = halfDisc(r, true);
    // Counter-clockwise half disc below the chord.
    EXPECT_NEAR(hd.signedArea(), kPi * r * r / 2, 1e-12);
    EXPECT_NEAR(hd.length(), kPi * r + 2 * r, 1e-12);
    EXPECT_NEAR(halfDisc(r, false).length(), kPi * r, 1e-12);
    Extents2d e = hd.extents();
    EXPECT_TRUE(e.minPoint().isEqualTo({-r, -r}, 1e-12));
    EXPECT_TRUE(e.maxPoint().isEqualTo({r, 0}, 1e-12));
    // Negative bulge: the arc goes above the chord, clockwise.
    PolylineGeometry up({{{-r, 0}, -1.0}, {{r, 0}, 0.0}}, true);
    EXPECT_NEAR(up.signedArea(), -kPi * r * r / 2, 1e-12);
    EXPECT_NEAR(up.extents().maxPoint().y, r, 1e-12);

    // Square 10x10 with the right side bulging out by a quarter circle's segment (bulge
    // tan(90deg/4)): area = 100 + segment area of a 90-degree arc on a chord of 10.
    double b = std::tan(kPi / 8);
    PolylineGeometry sq({{{0, 0}, 0}, {{10, 0}, b}, {{10, 10}, 0}, {{0, 10}, 0}}, true);
    double rad = 10 / std::sqrt(2.0);
    double seg = 0.5 * rad * rad * (kPi / 2 - 1.0);
    EXPECT_NEAR(sq.area(), 100 + seg, 1e-9);
    EXPECT_NEAR(sq.length(), 30 + rad * kPi / 2, 1e-9);
    // The arc's extreme point in x is centre.x + r at y = 5, beyond the vertices.
    EXPECT_NEAR(sq.extents().maxPoint().x, 5 + rad, 1e-9);
    EXPECT_NEAR(sq.extents().maxPoint().y, 10, 1e-12);

    // Full circle from two half-circle bulges.
    PolylineGeometry circle({{{-1, 0}, 1}, {{1, 0}, 1}}, true);
    EXPECT_NEAR(circle.area(), kPi, 1e-12);
    EXPECT_NEAR(circle.length(), 2 * kPi, 1e-12);
    EXPECT_TRUE(circle.extents().isEqualTo({{-1, -1}, {1, 1}}, 1e-12));
}

TEST(PolylineGeometry, FlatteningStaysWithinChordTolerance) {
    double r = 1000;
    auto hd = halfDisc(r, true);
    for (double tol : {10.0, 1.0, 0.01}) {
        auto pts = hd.flatten(tol);
        ASSERT_GE(pts.size(), 3u);
        EXPECT_TRUE(pts.front().isEqualTo({-r, 0}));
        EXPECT_FALSE(pts.back().isEqualTo(pts.front()));  // ring, no repeated point
        // Every chord midpoint stays within the tolerance of the circle.
        for (std::size_t i = 0; i + 2 < pts.size(); ++i) {
            Point2d mid = Point2d::midpoint(pts[i], pts[i + 1]);
            EXPECT_LE(r - mid.asVector().length(), tol * 1.0001);
            EXPECT_NEAR(pts[i].asVector().length(), r, 1e-9);
        }
        // The flattened area approaches the true one from below.
        double a = std::abs(signedArea(pts));
        EXPECT_LT(a, hd.area());
        EXPECT_GT(a, hd.area() - tol * kPi * r);
    }
    EXPECT_LT(hd.flatten(10).size(), hd.flatten(0.01).size());
    auto open = PolylineGeometry::fromPoints({{0, 0}, {1, 0}, {1, 1}}, false).flatten(0.1);
    EXPECT_EQ(open.size(), 3u);
}

TEST(PolylineGeometry, PointInLShapeAndArcRegions) {
    // L-shape: 20x20 with the top-right 10x10 quadrant removed.
    auto l = PolylineGeometry::fromPoints({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}},
                                          true);
    EXPECT_TRUE(l.contains({5, 5}));
    EXPECT_TRUE(l.contains({15, 5}));
    EXPECT_TRUE(l.contains({5, 15}));
    EXPECT_FALSE(l.contains({15, 15}));  // the notch
    EXPECT_FALSE(l.contains({25, 5}));
    EXPECT_FALSE(l.contains({-1, 10}));
    // A ray through the notch corner vertex (y = 10) must not double-count.
    EXPECT_TRUE(l.contains({5, 10}));
    EXPECT_FALSE(l.contains({15, 10.5}));

    auto hd = halfDisc(10, true);  // below the x axis
    EXPECT_TRUE(hd.contains({0, -9.9}));
    EXPECT_TRUE(hd.contains({7, -7}));
    EXPECT_FALSE(hd.contains({7.2, -7.2}));  // outside the circle
    EXPECT_FALSE(hd.contains({0, 1}));
    // Arc bulging inwards (negative bulge on a CCW square) carves a bite out.
    PolylineGeometry bite({{{0, 0}, 0}, {{10, 0}, -1}, {{10, 10}, 0}, {{0, 10}, 0}}, true);
    EXPECT_FALSE(bite.contains({9, 5}));
    EXPECT_TRUE(bite.contains({4, 5}));
    EXPECT_NEAR(bite.area(), 100 - kPi * 25 / 2, 1e-9);
}

TEST(PolygonOps, CrossingAndWindowTests) {
    std::vector<Point2d> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    // Inside entirely.
    EXPECT_TRUE(pathCrossesPolygon({{2, 2}, {3, 3}}, false, square));
    EXPECT_TRUE(pathInsidePolygon({{2, 2}, {3, 3}}, false, square));
    // Crossing the boundary without a vertex inside.
    EXPECT_TRUE(pathCrossesPolygon({{-5, 5}, {15, 5}}, false, square));
    EXPECT_FALSE(pathInsidePolygon({{-5, 5}, {15, 5}}, false, square));
    // Outside entirely.
    EXPECT_FALSE(pathCrossesPolygon({{11, 0}, {20, 20}}, false, square));
    // A closed ring around the polygon encloses it; an open one does not.
    std::vector<Point2d> around{{-1, -1}, {11, -1}, {11, 11}, {-1, 11}};
    EXPECT_TRUE(pathCrossesPolygon(around, true, square));
    EXPECT_FALSE(pathCrossesPolygon(around, false, square));
    // Touching the boundary counts as crossing.
    EXPECT_TRUE(pathCrossesPolygon({{10, 5}, {12, 5}}, false, square));
    // L-shaped polygon: a segment across the notch crosses, one inside the notch does not.
    std::vector<Point2d> l{{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};
    EXPECT_FALSE(pathCrossesPolygon({{12, 12}, {18, 18}}, false, l));
    EXPECT_TRUE(pathCrossesPolygon({{5, 15}, {15, 15}}, false, l));
    EXPECT_TRUE(boxCrossesPolygon({{9, 9}, {11, 11}}, l));
    EXPECT_FALSE(boxCrossesPolygon({{11, 11}, {19, 19}}, l));
    EXPECT_TRUE(boxCrossesPolygon({{-100, -100}, {100, 100}}, l));  // box encloses the polygon
    EXPECT_TRUE(segmentsIntersect({0, 0}, {4, 0}, {2, 0}, {6, 0}));  // collinear overlap
    EXPECT_FALSE(segmentsIntersect({0, 0}, {1, 0}, {2, 0}, {6, 0}));
}
