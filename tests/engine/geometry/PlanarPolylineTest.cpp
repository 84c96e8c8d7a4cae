#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/geometry/BlockTransform.h"
#include "engine/geometry/PlanarPolyline.h"

using namespace cad;

namespace {
constexpr double kPi = std::numbers::pi;

PlanarPolyline roundedRoom() {
    // 4 x 2 with a half-circle end on the right.
    return {PolylineGeometry({{{0, 0}, 0}, {{4, 0}, 1}, {{4, 2}, 0}, {{0, 2}, 0}}, true), 3.0,
            Vector3d::zAxis()};
}
}  // namespace

TEST(PlanarPolyline, BlockTransformKeepsShapeAndMovesVerticesLikePoints) {
    PlanarPolyline room = roundedRoom();
    BlockPlacement place;
    place.insertionPoint = {1000, 500, 0};
    place.scaleX = place.scaleY = place.scaleZ = 2.0;
    place.rotation = 0.3;
    Matrix3d m = blockTransform(place);
    auto t = transformPlanarPolyline(room, m);
    ASSERT_TRUE(t.has_value());
    EXPECT_DOUBLE_EQ(t->lengthScale, 2.0);
    EXPECT_TRUE(t->polyline.normal.isEqualTo(Vector3d::zAxis()));
    EXPECT_NEAR(t->polyline.elevation, 6.0, 1e-9);
    EXPECT_NEAR(t->polyline.shape.area(), 4 * room.shape.area(), 1e-9);
    EXPECT_NEAR(t->polyline.shape.length(), 2 * room.shape.length(), 1e-9);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(t->polyline.vertexInWorld(i).isEqualTo(m.transformPoint(room.vertexInWorld(i)), 1e-9));
    // And back by the inverse.
    auto back = transformPlanarPolyline(t->polyline, m.inverse());
    ASSERT_TRUE(back.has_value());
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(back->polyline.shape.vertices()[i].point.isEqualTo(room.shape.vertices()[i].point, 1e-9));
}

TEST(PlanarPolyline, MirrorFlipsTheNormalAndNonUniformArcsAreRefused) {
    PlanarPolyline room = roundedRoom();
    auto mirrored = transformPlanarPolyline(room, Matrix3d::scaling(-1, 1, 1));
    ASSERT_TRUE(mirrored.has_value());
    EXPECT_TRUE(mirrored->polyline.normal.isEqualTo({0, 0, -1}));
    EXPECT_EQ(mirrored->polyline.shape.vertices()[1].bulge, 1.0);
    // Seen from above, the arc end now bulges to the left: extents in world x reach -5.
    double minX = 0;
    for (std::size_t i = 0; i < 4; ++i) minX = std::min(minX, mirrored->polyline.vertexInWorld(i).x);
    EXPECT_NEAR(minX, -4, 1e-12);
    EXPECT_NEAR(mirrored->polyline.shape.area(), room.shape.area(), 1e-9);
    EXPECT_NEAR(mirrored->polyline.elevation, -3.0, 1e-12);  // OCS z points down now

    EXPECT_FALSE(transformPlanarPolyline(room, Matrix3d::scaling(2, 1, 1)).has_value());
    EXPECT_FALSE(transformPlanarPolyline(room, Matrix3d::scaling(0, 1, 1)).has_value());
    PlanarPolyline lines{PolylineGeometry::fromPoints({{0, 0}, {1, 0}, {1, 1}}, true), 0, Vector3d::zAxis()};
    auto stretched = transformPlanarPolyline(lines, Matrix3d::scaling(2, 1, 1));
    ASSERT_TRUE(stretched.has_value());
    EXPECT_NEAR(stretched->polyline.shape.area(), 1.0, 1e-12);
}

TEST(BulgeSegment, ClosestPointsAndArcExtents) {
    BulgeSegment line{{0, 0}, {10, 0}, 0};
    EXPECT_DOUBLE_EQ(line.distanceTo({5, 3}), 3.0);
    EXPECT_DOUBLE_EQ(line.distanceTo({-3, 4}), 5.0);
    BulgeSegment half{{-1, 0}, {1, 0}, 1};  // lower half circle
    EXPECT_NEAR(half.distanceTo({0, -3}), 2.0, 1e-12);
    EXPECT_NEAR(half.distanceTo({0, 0}), 1.0, 1e-12);
    EXPECT_NEAR(half.distanceTo({0, 2}), std::sqrt(5.0), 1e-12);  // nearest is an end point
    auto pl = PolylineGeometry::fromPoints({{0, 0}, {10, 0}, {10, 10}}, false);
    EXPECT_DOUBLE_EQ(pl.distanceTo({5, 5}), 5.0);
    EXPECT_DOUBLE_EQ(pl.distanceTo({0, 10}), 10.0);  // open: no closing diagonal at 7.07

    EXPECT_NEAR(bulgeFromArc(0, kPi), 1.0, 1e-12);
    EXPECT_NEAR(bulgeFromArc(kPi / 2, 0), std::tan(3 * kPi / 8), 1e-12);  // 270 degrees
    Extents2d quarter = arcExtents({0, 0}, 2, 0.1, kPi / 2 - 0.1);
    EXPECT_NEAR(quarter.maxPoint().x, 2 * std::cos(0.1), 1e-12);
    EXPECT_NEAR(quarter.minPoint().y, 2 * std::sin(0.1), 1e-12);
    Extents2d wrap = arcExtents({5, 5}, 1, 3 * kPi / 2, kPi / 2);  // through angle 0
    EXPECT_NEAR(wrap.maxPoint().x, 6, 1e-12);
    EXPECT_NEAR(wrap.minPoint().x, 5, 1e-12);
    EXPECT_TRUE(arcExtents({0, 0}, 1, 1.0, 1.0).isEqualTo({{-1, -1}, {1, 1}}, 1e-12));
}
