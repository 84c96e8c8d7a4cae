#include <gtest/gtest.h>

#include <numbers>

#include "engine/geometry/BlockTransform.h"
#include "engine/geometry/CoordinateSystem.h"

using namespace cad;

namespace {
constexpr double kPi = std::numbers::pi;
}

TEST(BlockTransform, ArbitraryAxisRuleForNormals) {
    Vector3d ax, ay;
    arbitraryAxes(Vector3d::zAxis(), ax, ay);
    EXPECT_TRUE(ax.isEqualTo(Vector3d::xAxis()));
    EXPECT_TRUE(ay.isEqualTo(Vector3d::yAxis()));
    // A mirrored 2D entity: x flips, y stays.
    arbitraryAxes({0, 0, -1}, ax, ay);
    EXPECT_TRUE(ax.isEqualTo({-1, 0, 0}));
    EXPECT_TRUE(ay.isEqualTo({0, 1, 0}));
    // Far from z the world z axis is crossed instead of y.
    arbitraryAxes({1, 0, 0}, ax, ay);
    EXPECT_TRUE(ax.isEqualTo({0, 1, 0}));
    EXPECT_TRUE(ay.isEqualTo({0, 0, 1}));
    // Just inside the 1/64 limit the y rule still applies.
    Vector3d n = Vector3d{0.01, 0.0, 1.0}.normal();
    arbitraryAxes(n, ax, ay);
    EXPECT_TRUE(ax.isEqualTo(Vector3d::yAxis().cross(n).normal()));
    EXPECT_NEAR(ax.dot(n), 0.0, 1e-15);
    EXPECT_NEAR(ay.dot(ax), 0.0, 1e-15);
}

TEST(BlockTransform, PlacementMapsBlockPointsToWorld) {
    BlockPlacement p;
    p.insertionPoint = {100, 50, 0};
    p.scaleX = 2;
    p.scaleY = 3;
    p.rotation = kPi / 2;
    p.blockBasePoint = {10, 10, 0};
    Matrix3d m = blockTransform(p);
    // The base point lands on the insertion point.
    EXPECT_TRUE(m.transformPoint({10, 10, 0}).isEqualTo({100, 50, 0}, 1e-9));
    // (11,10) -> scaled (2,0) -> rotated (0,2) -> +insertion.
    EXPECT_TRUE(m.transformPoint({11, 10, 0}).isEqualTo({100, 52, 0}, 1e-9));
    EXPECT_TRUE(m.transformPoint({10, 11, 0}).isEqualTo({97, 50, 0}, 1e-9));
    EXPECT_NEAR(std::abs(m.det()), 6.0, 1e-12);
    Point3d q{-4, 7.5, 2};
    EXPECT_TRUE(m.inverse().transformPoint(m.transformPoint(q)).isEqualTo(q, 1e-9));

    // Mirrored reference: the OCS x axis is world -x, so an insertion at OCS (5,0) is world (-5,0).
    BlockPlacement mirrored;
    mirrored.insertionPoint = {5, 0, 0};
    mirrored.normal = {0, 0, -1};
    Matrix3d mm = blockTransform(mirrored);
    EXPECT_TRUE(mm.transformPoint({0, 0, 0}).isEqualTo({-5, 0, 0}));
    EXPECT_TRUE(mm.transformPoint({1, 1, 0}).isEqualTo({-6, 1, 0}));
    // Seen from +Z it is a mirror, but in 3D it is a half turn about y.
    EXPECT_NEAR(mm.det(), 1.0, 1e-12);
}

TEST(CoordinateSystem, RoundTripsPointsAndDisplacements) {
    Ucs ucs({100, 200, 5}, {0, 1, 0}, {-1, 0.2, 0});  // y is made perpendicular to x
    ASSERT_TRUE(ucs.isValid());
    EXPECT_TRUE(ucs.yAxis().isEqualTo({-1, 0, 0}));
    EXPECT_TRUE(ucs.zAxis().isEqualTo({0, 0, 1}));
    EXPECT_TRUE(ucs.toWorld(Point3d{1, 2, 3}).isEqualTo({98, 201, 8}));
    EXPECT_TRUE(ucs.fromWorld(Point3d{98, 201, 8}).isEqualTo({1, 2, 3}));
    // A displacement ignores the origin.
    EXPECT_TRUE(ucs.toWorld(Vector3d{1, 0, 0}).isEqualTo({0, 1, 0}));
    EXPECT_TRUE(ucs.fromWorld(Vector3d::zAxis()).isEqualTo(Vector3d::zAxis()));

    Ucs tilted({1, -2, 3}, {1, 1, 1}, {0, 1, -1});
    for (Point3d p : {Point3d{0, 0, 0}, Point3d{1e4, -3e3, 7}, Point3d{-0.5, 0.25, -9}}) {
        EXPECT_TRUE(tilted.fromWorld(tilted.toWorld(p)).isEqualTo(p, 1e-9));
        EXPECT_TRUE(tilted.toWorldMatrix().transformPoint(p).isEqualTo(tilted.toWorld(p), 1e-9));
        EXPECT_TRUE(tilted.fromWorldMatrix().transformPoint(p).isEqualTo(tilted.fromWorld(p), 1e-9));
    }
    EXPECT_TRUE((tilted.toWorldMatrix() * tilted.fromWorldMatrix()).isIdentity(1e-12));

    EXPECT_TRUE(Ucs::world().isWorld());
    EXPECT_FALSE(ucs.isWorld());
    Ucs bad({0, 0, 0}, {1, 0, 0}, {2, 0, 0});
    EXPECT_FALSE(bad.isValid());
    EXPECT_TRUE(bad.toWorld(Point3d{1, 2, 3}).isEqualTo({1, 2, 3}));
}
