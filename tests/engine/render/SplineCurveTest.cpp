// Curves through the fit points of splines kept without their control points.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/render/SplineCurve.h"

using namespace cad;

namespace {

// Largest turn, in degrees, between consecutive pieces of the sampled curve.
double sharpestTurn(const std::vector<Point3d>& pts) {
    double worst = 0;
    for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
        const Vector3d a = pts[i] - pts[i - 1], b = pts[i + 1] - pts[i];
        const double cos = a.dot(b) / (a.length() * b.length());
        worst = std::max(worst, std::acos(std::clamp(cos, -1.0, 1.0)) * 180 / std::numbers::pi);
    }
    return worst;
}

bool passesThrough(const std::vector<Point3d>& pts, const Point3d& p) {
    return std::any_of(pts.begin(), pts.end(), [&](const Point3d& q) { return q.distanceTo(p) < 1e-9; });
}

}  // namespace

TEST(SplineCurve, CurveThroughFitPointsIsSmoothAndMeetsEveryPoint) {
    // A zigzag: joined by straight pieces it turns 90 degrees at every inner point.
    const std::vector<Point3d> fit{{0, 0, 0}, {10, 10, 0}, {20, 0, 0}, {30, 10, 0}, {40, 0, 0}};
    const auto curve = sampleThroughPoints(fit, std::nullopt, std::nullopt);
    ASSERT_GT(curve.size(), fit.size() * 4);
    for (const Point3d& p : fit) EXPECT_TRUE(passesThrough(curve, p)) << p.x << "," << p.y;
    EXPECT_LT(sharpestTurn(curve), 30.0) << "no corners (straight pieces turn 90 degrees)";
    // It bends beyond the points between them: its top is above the zigzag's.
    double top = 0;
    for (const Point3d& p : curve) top = std::max(top, p.y);
    EXPECT_GT(top, 10.2);
}

TEST(SplineCurve, EndTangentsSetTheDirectionsAtTheEndsAndDegenerateInputGivesNothing) {
    const std::vector<Point3d> fit{{0, 0, 0}, {10, 0, 0}, {20, 0, 0}};
    const auto curve = sampleThroughPoints(fit, Vector3d(0, 5, 0), Vector3d(0, -1, 0));
    ASSERT_GT(curve.size(), 4u);
    const Vector3d first = (curve[1] - curve[0]).normal(), last = (curve.back() - curve[curve.size() - 2]).normal();
    EXPECT_GT(first.y, 0.95) << "leaves upwards";
    EXPECT_LT(last.y, -0.95) << "arrives downwards";
    // Without tangents three points in a row make a straight line.
    for (const Point3d& p : sampleThroughPoints(fit, std::nullopt, Vector3d(0, 0, 0))) EXPECT_NEAR(p.y, 0, 1e-9);
    EXPECT_TRUE(sampleThroughPoints({{1, 1, 0}, {1, 1, 0}}, std::nullopt, std::nullopt).empty());
    EXPECT_EQ(sampleThroughPoints({{0, 0, 0}, {0, 0, 0}, {3, 4, 0}}, std::nullopt, std::nullopt).back(), Point3d(3, 4, 0));
}
