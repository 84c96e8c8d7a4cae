#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/geometry/Geometry.h"

using namespace cad;

namespace {
constexpr double kPi = std::numbers::pi;
}

TEST(Matrix3d, RotationTranslationScalingMovePointsAsExpected) {
    auto r = Matrix3d::rotation(kPi / 2, Vector3d::zAxis(), {1, 1, 0});
    EXPECT_TRUE(r.transformPoint({2, 1, 0}).isEqualTo({1, 2, 0}));
    EXPECT_TRUE(r.transformVector({1, 0, 0}).isEqualTo({0, 1, 0}));
    auto t = Matrix3d::translation({10, -5, 2});
    EXPECT_TRUE(t.transformPoint({1, 1, 1}).isEqualTo({11, -4, 3}));
    EXPECT_TRUE(t.transformVector({1, 1, 1}).isEqualTo({1, 1, 1}));
    auto s = Matrix3d::scaling(2, 3, 4, {1, 1, 1});
    EXPECT_TRUE(s.transformPoint({2, 2, 2}).isEqualTo({3, 4, 5}));
    EXPECT_TRUE(s.transformPoint({1, 1, 1}).isEqualTo({1, 1, 1}));
    EXPECT_DOUBLE_EQ(s.det(), 24.0);
    EXPECT_NEAR(r.det(), 1.0, 1e-12);
    // Product applies the right-hand factor first.
    auto ts = t * Matrix3d::scaling(2.0);
    EXPECT_TRUE(ts.transformPoint({1, 0, 0}).isEqualTo({12, -5, 2}));
    auto axis = Matrix3d::rotation(2 * kPi / 3, {1, 1, 1});
    EXPECT_TRUE(axis.transformPoint({1, 0, 0}).isEqualTo({0, 1, 0}, 1e-12));
}

TEST(Matrix3d, InverseUndoesCompositeTransformsAndSingularIsDetected) {
    auto m = Matrix3d::translation({3, -7, 11}) * Matrix3d::rotation(0.7, {0.3, -1, 2}, {4, 5, 6}) *
             Matrix3d::scaling(2, -0.5, 3, {1, 2, 3});
    auto inv = m.inverse();
    EXPECT_TRUE((m * inv).isIdentity(1e-12));
    EXPECT_TRUE((inv * m).isIdentity(1e-12));
    Point3d p{-2.5, 8, 1e3};
    EXPECT_TRUE(inv.transformPoint(m.transformPoint(p)).isEqualTo(p, 1e-9));
    EXPECT_NEAR(m.det() * inv.det(), 1.0, 1e-12);
    EXPECT_TRUE(Matrix3d::scaling(1, 0, 1).isSingular());
    EXPECT_FALSE(m.isSingular());
}

TEST(Extents3d, EmptyAddContainsIntersects) {
    Extents3d e;
    EXPECT_TRUE(e.isEmpty());
    EXPECT_FALSE(e.contains(Point3d{0, 0, 0}));
    e.addPoint({1, 2, 0});
    EXPECT_FALSE(e.isEmpty());
    EXPECT_TRUE(e.contains(Point3d{1, 2, 0}));
    e.addPoint({-1, 5, 3});
    EXPECT_TRUE(e.minPoint().isEqualTo({-1, 2, 0}));
    EXPECT_TRUE(e.maxPoint().isEqualTo({1, 5, 3}));
    Extents3d other({0.5, 4, 1}, {10, 10, 1});
    EXPECT_TRUE(e.intersects(other));
    EXPECT_FALSE(e.contains(other));
    Extents3d touching({1, 5, 3}, {2, 6, 4});
    EXPECT_TRUE(e.intersects(touching));
    Extents3d apart({1.1, 0, 0}, {2, 1, 0});
    EXPECT_FALSE(e.intersects(apart));
    EXPECT_FALSE(e.intersects(Extents3d{}));
    Extents3d both = e;
    both.addExtents(other);
    both.addExtents(Extents3d{});
    EXPECT_TRUE(both.contains(e) && both.contains(other));
    EXPECT_TRUE(both.maxPoint().isEqualTo({10, 10, 3}));
    Extents3d unit({0, 0, 0}, {1, 1, 0});
    unit.transformBy(Matrix3d::rotation(kPi / 4, Vector3d::zAxis()));
    EXPECT_NEAR(unit.minPoint().x, -std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(unit.maxPoint().y, std::sqrt(2.0), 1e-12);
}
