#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DbTestSupport.h"
#include "engine/db/Circle.h"

using namespace cad;

TEST(Polyline, AreaAndLengthThroughTheDatabase) {
    auto db = Database::createDefault();
    ObjectId id = test::append(*db, test::rectangle(0, 0, 10000, 5000));
    auto pl = db->open<Polyline>(id);
    ASSERT_TRUE(pl);
    EXPECT_EQ(pl->endParam(), 4.0);
    double dist = 0;
    ASSERT_EQ(pl->distAtParam(pl->endParam(), dist), ErrorStatus::eOk);
    EXPECT_DOUBLE_EQ(dist, 30000.0);
    ASSERT_EQ(pl->distAtParam(1.5, dist), ErrorStatus::eOk);
    EXPECT_DOUBLE_EQ(dist, 12500.0);
    EXPECT_EQ(pl->distAtParam(4.5, dist), ErrorStatus::eInvalidInput);

    // Arcs and open shapes are measured in PolylineGeometryTest; an open polyline has one
    // parameter less.
    auto open = test::rectangle(0, 0, 2, 2);
    open->setClosed(false);
    EXPECT_EQ(open->endParam(), 3.0);
}

TEST(Polyline, VertexEditingAndTransform) {
    auto pl = test::rectangle(0, 0, 2, 1);
    EXPECT_EQ(pl->addVertexAt(5, {9, 9}), ErrorStatus::eInvalidInput);
    EXPECT_EQ(pl->setPointAt(4, {9, 9}), ErrorStatus::eInvalidInput);
    ASSERT_EQ(pl->setWidthsAt(0, 0.5, 0.5), ErrorStatus::eOk);
    pl->setBulgeAt(1, 0.25);
    double area = pl->area();

    Matrix3d m = Matrix3d::translation({10, 20, 0}) * Matrix3d::rotation(std::numbers::pi / 2, Vector3d::zAxis()) *
                 Matrix3d::scaling(2.0);
    ASSERT_EQ(pl->transformBy(m), ErrorStatus::eOk);
    EXPECT_NEAR(pl->area(), 4 * area, 1e-9);
    EXPECT_TRUE(pl->pointAt3d(1).isEqualTo({10, 24, 0}, 1e-9));
    EXPECT_DOUBLE_EQ(pl->vertices()[0].startWidth, 1.0);
    EXPECT_DOUBLE_EQ(pl->bulgeAt(1), 0.25);

    // A mirror keeps the shape: the normal turns over, bulges keep their sense about it.
    Matrix3d mirror = Matrix3d::scaling(-1, 1, 1);
    ASSERT_EQ(pl->transformBy(mirror), ErrorStatus::eOk);
    EXPECT_NEAR(pl->area(), 4 * area, 1e-9);
    EXPECT_TRUE(pl->pointAt3d(1).isEqualTo({-10, 24, 0}, 1e-9));
    EXPECT_NEAR(pl->normal().z, -1.0, 1e-12);

    pl->removeVertexAt(0);
    EXPECT_EQ(pl->numVerts(), 3u);
}

TEST(Circle, TransformKeepsCirclesAndRefusesEllipses) {
    Circle c({1, 0, 0}, 2);
    ASSERT_EQ(c.transformBy(Matrix3d::scaling(3.0)), ErrorStatus::eOk);
    EXPECT_DOUBLE_EQ(c.radius(), 6.0);
    EXPECT_TRUE(c.centerWcs().isEqualTo({3, 0, 0}));
    EXPECT_EQ(c.transformBy(Matrix3d::scaling(1, 2, 1)), ErrorStatus::eNotApplicable);
    EXPECT_DOUBLE_EQ(c.radius(), 6.0);
}
