#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DbTestSupport.h"
#include "engine/db/Arc.h"
#include "engine/db/Attribute.h"
#include "engine/db/BlockReference.h"
#include "engine/db/Circle.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Line.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/ViewportTableRecord.h"

using namespace cad;

namespace {
void expectBox(const Extents3d& box, Point3d lo, Point3d hi) {
    EXPECT_TRUE(box.minPoint().isEqualTo(lo, 1e-9)) << box.minPoint().x << "," << box.minPoint().y;
    EXPECT_TRUE(box.maxPoint().isEqualTo(hi, 1e-9)) << box.maxPoint().x << "," << box.maxPoint().y;
}
}  // namespace

TEST(Extents, OfSingleEntities) {
    Extents3d box;
    ASSERT_EQ(Circle({5, 5, 0}, 2).getGeomExtents(box), ErrorStatus::eOk);
    expectBox(box, {3, 3, 0}, {7, 7, 0});

    // Quarter arc from 0 to 90 degrees: its end points bound it.
    ASSERT_EQ(Arc({0, 0, 0}, 1, 0, std::numbers::pi / 2).getGeomExtents(box), ErrorStatus::eOk);
    expectBox(box, {0, 0, 0}, {1, 1, 0});
    // From 80 to 100 degrees the top of the circle is inside.
    Arc top({0, 0, 0}, 1, 80 * std::numbers::pi / 180, 100 * std::numbers::pi / 180);
    ASSERT_EQ(top.getGeomExtents(box), ErrorStatus::eOk);
    EXPECT_NEAR(box.maxPoint().y, 1.0, 1e-12);

    // A polyline's bulges are measured in PolylineGeometryTest; one without vertices has no box.
    EXPECT_EQ(Polyline().getGeomExtents(box), ErrorStatus::eInvalidInput);
}

TEST(Extents, OfReferencesAndOfTheDrawing) {
    auto db = Database::createDefault();
    EXPECT_TRUE(db->computeExtents().isEmpty());
    db->updateExtents();
    EXPECT_EQ(db->header().getPoint("$EXTMIN")->x, 1e20);

    const ObjectId blockId = test::addBlockRecord(*db, "BOX");
    static_cast<BlockTableRecord*>(db->objectAt(blockId))->setOrigin({1, 1, 0});
    test::append(*db, test::rectangle(1, 1, 3, 2), blockId);  // 2 x 1 from the base point

    auto ref = std::make_unique<BlockReference>(Point3d{10, 10, 0}, blockId);
    ref->setScaleFactors({2, 3, 1});
    ref->setRotation(std::numbers::pi / 2);
    ObjectId refId = test::append(*db, std::move(ref));
    Extents3d box;
    ASSERT_EQ(db->open<BlockReference>(refId)->getGeomExtents(box), ErrorStatus::eOk);
    // Scaled to 4 x 3, then turned a quarter: x from 10-3 to 10, y from 10 to 14.
    expectBox(box, {7, 10, 0}, {10, 14, 0});

    test::append(*db, std::make_unique<Line>(Point3d{-5, 0, 0}, Point3d{0, 1, 0}));
    auto hidden = std::make_unique<Line>(Point3d{100, 100, 0}, Point3d{200, 200, 0});
    const ObjectId frozenId = test::addLayer(*db, "FROZEN", 7);
    static_cast<LayerTableRecord*>(db->objectAt(frozenId))->setFrozen(true);
    hidden->setLayer(frozenId);
    test::append(*db, std::move(hidden));

    db->updateExtents();
    EXPECT_EQ(*db->header().getPoint("$EXTMIN"), (Point3d{-5, 0, 0}));
    EXPECT_EQ(*db->header().getPoint("$EXTMAX"), (Point3d{10, 14, 0}));
}

TEST(Extents, NestedReferenceCyclesStop) {
    auto db = Database::createDefault();
    const ObjectId a = test::addBlockRecord(*db, "A"), b = test::addBlockRecord(*db, "B");
    test::append(*db, std::make_unique<BlockReference>(Point3d{}, b), a);
    test::append(*db, std::make_unique<BlockReference>(Point3d{}, a), b);
    test::append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{1, 1, 0}), b);
    ObjectId top = test::append(*db, std::make_unique<BlockReference>(Point3d{5, 5, 0}, a));
    Extents3d box;
    ASSERT_EQ(db->open<BlockReference>(top)->getGeomExtents(box), ErrorStatus::eOk);
    expectBox(box, {5, 5, 0}, {6, 6, 0});

    // A block placed twice in itself: cut at once, not after 2^32 copies at the nesting limit.
    const ObjectId self = test::addBlockRecord(*db, "SELF");
    test::append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{1, 1, 0}), self);
    for (double x : {1.0, 2.0}) {
        auto inner = std::make_unique<BlockReference>(Point3d{x, 0, 0}, self);
        inner->setScaleFactors(Vector3d{0.5, 0.5, 0.5});
        test::append(*db, std::move(inner), self);
    }
    top = test::append(*db, std::make_unique<BlockReference>(Point3d{}, self));
    ASSERT_EQ(db->open<BlockReference>(top)->getGeomExtents(box), ErrorStatus::eOk);
    expectBox(box, {0, 0, 0}, {1, 1, 0});
}

TEST(Extents, DeepAcyclicNestingIsMeasuredWhole) {
    // Level k holds two references to level k+1, the second one unit to the right: 2^24 copies
    // at the bottom, each block measured once; every level widens the whole by one.
    auto db = Database::createDefault();
    constexpr int kLevels = 25;
    std::vector<ObjectId> level(kLevels);
    for (int k = 0; k < kLevels; ++k) level[k] = test::addBlockRecord(*db, "L" + std::to_string(k));
    test::append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{1, 1, 0}), level[kLevels - 1]);
    for (int k = 0; k + 1 < kLevels; ++k)
        for (double x : {0.0, 1.0}) test::append(*db, std::make_unique<BlockReference>(Point3d{x, 0, 0}, level[k + 1]), level[k]);
    const ObjectId top = test::append(*db, std::make_unique<BlockReference>(Point3d{}, level[0]));
    Extents3d box;
    ASSERT_EQ(db->open<BlockReference>(top)->getGeomExtents(box), ErrorStatus::eOk);
    expectBox(box, {0, 0, 0}, {kLevels, 1, 0});
}

// Extents are kept between calls; every kind of change must show in the next answer.
TEST(Extents, FollowChangesAfterBeingKept) {
    auto db = Database::createDefault();
    ObjectId lineId = test::append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{1, 1, 0}));
    expectBox(db->computeExtents(), {0, 0, 0}, {1, 1, 0});

    db->open<Line>(lineId, OpenMode::ForWrite)->setEndPoint({5, 2, 0});
    expectBox(db->computeExtents(), {0, 0, 0}, {5, 2, 0});

    const ObjectId frozenId = test::addLayer(*db, "FROZEN", 7);
    static_cast<LayerTableRecord*>(db->objectAt(frozenId))->setFrozen(true);
    auto far = std::make_unique<Line>(Point3d{100, 100, 0}, Point3d{200, 200, 0});
    far->setLayer(frozenId);
    ObjectId farId = test::append(*db, std::move(far));
    expectBox(db->computeExtents(), {0, 0, 0}, {5, 2, 0});
    db->open<LayerTableRecord>(frozenId, OpenMode::ForWrite)->setFrozen(false);
    expectBox(db->computeExtents(), {0, 0, 0}, {200, 200, 0});

    ASSERT_EQ(db->erase(farId), ErrorStatus::eOk);
    expectBox(db->computeExtents(), {0, 0, 0}, {5, 2, 0});
    ASSERT_EQ(db->erase(farId, false), ErrorStatus::eOk);
    expectBox(db->computeExtents(), {0, 0, 0}, {200, 200, 0});

    // A reference's attribute moved away and back; a line of the block it shows moved.
    const ObjectId blockId = test::addBlockRecord(*db, "MARK");
    ObjectId inner = test::append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{1, 1, 0}), blockId);
    ObjectId refId = test::append(*db, std::make_unique<BlockReference>(Point3d{10, 10, 0}, blockId));
    auto attribute = std::make_unique<Attribute>();
    attribute->setTextString("A");
    attribute->setPosition({10, 10, 0});
    ObjectId attributeId;
    ASSERT_EQ(db->open<BlockReference>(refId, OpenMode::ForWrite)->appendAttribute(std::move(attribute), &attributeId),
              ErrorStatus::eOk);
    expectBox(db->computeExtents(), {0, 0, 0}, {200, 200, 0});
    db->open<Attribute>(attributeId, OpenMode::ForWrite)->setPosition({500, 10, 0});
    EXPECT_GT(db->computeExtents().maxPoint().x, 500);
    db->open<Attribute>(attributeId, OpenMode::ForWrite)->setPosition({10, 10, 0});
    expectBox(db->computeExtents(), {0, 0, 0}, {200, 200, 0});
    db->open<Line>(inner, OpenMode::ForWrite)->setEndPoint({-300, 1, 0});
    expectBox(db->computeExtents(), {-290, 0, 0}, {200, 200, 0});

    // Zooming writes the view; that must not cost the next zoom a new walk over the drawing.
    const auto before = db->revision();
    db->open<ViewportTableRecord>(db->recordId(TableKind::Viewport, "*Active"), OpenMode::ForWrite)->setHeight(5);
    EXPECT_EQ(db->revision(), before);
}
