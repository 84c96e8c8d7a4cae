#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

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

// Placements in the world plane are built without the matrix products; pictures and saved
// files must not change by a bit for it, signed zeros included.
TEST(BlockTransform, WorldPlanePlacementsEqualTheComposedProductExactly) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> any(-1e4, 1e4);
    auto value = [&] {
        switch (random() % 5) {
            case 0: return 0.0;
            case 1: return -0.0;
            case 2: return 1.0;
            case 3: return -1.0;
            default: return any(random);
        }
    };
    for (int i = 0; i < 20000; ++i) {
        BlockPlacement p;
        p.insertionPoint = {value(), value(), value()};
        p.blockBasePoint = {value(), value(), value()};
        p.scaleX = value();
        p.scaleY = value();
        p.scaleZ = value();
        p.rotation = random() % 3 == 0 ? 0.0 : any(random) / 1000;
        const Matrix3d composed = ocsToWorld(p.normal) * Matrix3d::translation(p.insertionPoint.asVector()) *
                                  Matrix3d::rotation(p.rotation, Vector3d::zAxis()) *
                                  Matrix3d::scaling(p.scaleX, p.scaleY, p.scaleZ) *
                                  Matrix3d::translation(-p.blockBasePoint.asVector());
        const Matrix3d built = blockTransform(p);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(built.entry(r, c), composed.entry(r, c)) << i << " (" << r << ", " << c << ")";
                ASSERT_EQ(std::signbit(built.entry(r, c)), std::signbit(composed.entry(r, c))) << i;
            }
    }
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

TEST(BlockTransform, PlacementsDecomposeBackFromTheirTransforms) {
    std::mt19937_64 rng(99);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < 200; ++i) {
        BlockPlacement p;
        p.insertionPoint = {u(rng) * 1e4, u(rng) * 1e4, u(rng)};
        p.scaleX = 0.1 + std::abs(u(rng)) * 3;
        p.scaleY = (i % 2 ? -1 : 1) * (0.1 + std::abs(u(rng)) * 3);
        p.scaleZ = 0.5 + std::abs(u(rng));
        p.rotation = (u(rng) + 1) * kPi;
        p.normal = i % 3 ? Vector3d::zAxis() : Vector3d{u(rng), u(rng), u(rng)}.normal();
        p.blockBasePoint = {u(rng) * 10, u(rng) * 10, 0};
        Matrix3d m = blockTransform(p);
        auto back = placementFromTransform(m, p.blockBasePoint);
        ASSERT_TRUE(back.has_value()) << i;
        EXPECT_TRUE(blockTransform(*back).isEqualTo(m, 1e-7)) << i;
        EXPECT_NEAR(back->scaleX, p.scaleX, 1e-9);
        EXPECT_NEAR(back->scaleY, p.scaleY, 1e-9);
        EXPECT_TRUE(back->insertionPoint.isEqualTo(p.insertionPoint, 1e-7));
    }
    // Moving and turning a reference gives the expected new placement.
    BlockPlacement p;
    p.insertionPoint = {10, 0, 0};
    Matrix3d moved = Matrix3d::rotation(kPi / 2, Vector3d::zAxis()) * blockTransform(p);
    auto q = placementFromTransform(moved);
    ASSERT_TRUE(q.has_value());
    EXPECT_TRUE(q->insertionPoint.isEqualTo({0, 10, 0}));
    EXPECT_NEAR(q->rotation, kPi / 2, 1e-12);
    // Mirroring about the y axis: x scale stays positive, y scale turns negative, half turn.
    auto mirrored = placementFromTransform(Matrix3d::scaling(-1, 1, 1) * blockTransform(p));
    ASSERT_TRUE(mirrored.has_value());
    EXPECT_NEAR(mirrored->scaleY, -1.0, 1e-12);
    EXPECT_NEAR(mirrored->rotation, kPi, 1e-12);
    EXPECT_TRUE(mirrored->insertionPoint.isEqualTo({-10, 0, 0}));
    // Shear and collapse cannot be held by a reference.
    Matrix3d shear;
    shear.setEntry(0, 1, 0.5);
    EXPECT_FALSE(placementFromTransform(shear).has_value());
    EXPECT_FALSE(placementFromTransform(Matrix3d::scaling(1, 0, 1)).has_value());
    Matrix3d tilted;  // x axis lifted out of the plane of the z axis
    tilted.setEntry(2, 0, 0.5);
    EXPECT_FALSE(placementFromTransform(tilted).has_value());

    EXPECT_NEAR(angleInOcs({0, 1, 0}, Vector3d::zAxis()), kPi / 2, 1e-12);
    EXPECT_NEAR(angleInOcs({-1, 0, 0}, {0, 0, -1}), 0.0, 1e-12);  // OCS x is world -x
    EXPECT_NEAR(angleInOcs({0, -1, 0}, Vector3d::zAxis()), 3 * kPi / 2, 1e-12);
}
