#include <gtest/gtest.h>

#include "SpaceDrawing.h"
#include "engine/db/Circle.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"

using namespace spacetest;

namespace {

// A space block over the 10 m x 5 m rectangle drawn in millimetres.
struct Room {
    explicit Room(cad::Database& database, const cad::Vector3d& scale = {1, 1, 1},
                  const std::vector<cad::Point2d>& outline = rectangle(0, 0, 10000, 5000))
        : db(database) {
        id = addSpaceBlock(db, "ROOM-1", outline, standardAttributes(), {}, scale);
        auto reference = db.open<cad::BlockReference>(id);
        block = std::make_unique<CBlockDWG>(*reference, db);
    }
    void measure(int units, int precision) {
        block->setUnits(units);
        block->setPrecision(precision);
        block->recalculateArea(db);
        block->recalculatePerimeter(db);
    }
    cad::Database& db;
    cad::ObjectId id;
    std::unique_ptr<CBlockDWG> block;
};

std::string handleText(cad::Database& db, cad::ObjectId id) {
    return db.handleOf(id).toString() + ",";
}

}  // namespace

TEST(SpaceArea, MillimetreDrawingInSquareMetresAndSquareFeet) {
    auto db = cad::Database::createDefault();
    Room room(*db);
    room.measure(0, 2);
    EXPECT_DOUBLE_EQ(room.block->getArea(), 50.0);
    EXPECT_DOUBLE_EQ(room.block->getPerimeter(), 30.0);

    room.measure(1, 2);
    EXPECT_DOUBLE_EQ(room.block->getArea(), 538.2);
    EXPECT_DOUBLE_EQ(room.block->getPerimeter(), 98.4251968503937);

    // Unset units measure in feet; the general form keeps six significant digits.
    room.measure(-1, -1);
    EXPECT_DOUBLE_EQ(room.block->getArea(), 538.196);
}

TEST(SpaceArea, InchDrawingsByLinearUnitsFormat) {
    for (int lunits : {3, 4}) {
        auto db = cad::Database::createDefault();
        db->setLunits(lunits);
        Room room(*db, {1, 1, 1}, rectangle(0, 0, 120, 120));
        room.measure(1, 2);
        EXPECT_DOUBLE_EQ(room.block->getArea(), 100.0) << lunits;
        EXPECT_DOUBLE_EQ(room.block->getPerimeter(), 40.0) << lunits;
        room.measure(0, 4);
        EXPECT_DOUBLE_EQ(room.block->getArea(), 9.2903) << lunits;
    }
    auto db = cad::Database::createDefault();
    db->setLunits(2);  // decimal: millimetres
    Room room(*db, {1, 1, 1}, rectangle(0, 0, 120, 120));
    room.measure(1, 4);
    EXPECT_DOUBLE_EQ(room.block->getArea(), 0.155);
}

TEST(SpaceArea, ScaledReferences) {
    auto db = cad::Database::createDefault();
    Room stretched(*db, {2, 1, 1});
    stretched.measure(0, 2);
    EXPECT_DOUBLE_EQ(stretched.block->getArea(), 100.0);
    EXPECT_DOUBLE_EQ(stretched.block->getPerimeter(), 0.0);

    auto db2 = cad::Database::createDefault();
    Room mirrored(*db2, {-2, 2, 1});
    mirrored.measure(0, 2);
    EXPECT_DOUBLE_EQ(mirrored.block->getArea(), 200.0);
    EXPECT_DOUBLE_EQ(mirrored.block->getPerimeter(), 60.0);
}

TEST(SpaceArea, AddedAndSubtractedPolylines) {
    auto db = cad::Database::createDefault();
    Room room(*db);
    const cad::ObjectId minus = addPolyline(*db, rectangle(0, 0, 5000, 2000));  // 10 m2, 14 m
    const cad::ObjectId add = addPolyline(*db, rectangle(0, 0, 2500, 2000));    // 5 m2, 9 m
    room.block->setHandlesToMinus(handleText(*db, minus), *db);
    room.block->setHandlesToAdd(handleText(*db, add), *db);
    room.measure(0, 2);
    EXPECT_DOUBLE_EQ(room.block->getArea(), 45.0);
    EXPECT_DOUBLE_EQ(room.block->getPerimeter(), 53.0);
    EXPECT_DOUBLE_EQ(room.block->calcSubArea(*db), 10.0);
    EXPECT_DOUBLE_EQ(room.block->calcAddAreaPerimeters(*db), 9.0);

    // Measures of listed polylines ignore the block's scale.
    auto db2 = cad::Database::createDefault();
    Room scaled(*db2, {2, 2, 1});
    const cad::ObjectId minus2 = addPolyline(*db2, rectangle(0, 0, 5000, 2000));
    scaled.block->setHandlesToMinus(handleText(*db2, minus2), *db2);
    scaled.measure(0, 2);
    EXPECT_DOUBLE_EQ(scaled.block->getArea(), 190.0);
}

TEST(SpaceArea, ErasedPolylinesAreDroppedAndOtherEntitiesCountNothing) {
    auto db = cad::Database::createDefault();
    Room room(*db);
    const cad::ObjectId erased = addPolyline(*db, rectangle(0, 0, 1000, 1000));
    const cad::ObjectId kept = addPolyline(*db, rectangle(0, 0, 5000, 2000));
    const cad::ObjectId circle =
        addEntity(*db, db->modelSpaceId(), std::make_unique<cad::Circle>(cad::Point3d{}, 1000));
    room.block->setHandlesToMinus(handleText(*db, erased) + handleText(*db, kept) + handleText(*db, circle),
                                  *db);
    ASSERT_EQ(room.block->getHandlesToMinusLength(), 3u);
    ASSERT_EQ(db->erase(erased), cad::ErrorStatus::eOk);

    room.measure(0, 2);
    EXPECT_DOUBLE_EQ(room.block->getArea(), 40.0);
    EXPECT_DOUBLE_EQ(room.block->getPerimeter(), 44.0);
    EXPECT_EQ(room.block->getHandlesToMinusAsString(), handleText(*db, kept) + handleText(*db, circle));

    // A reference that is gone leaves the area as it was.
    ASSERT_EQ(db->erase(room.id), cad::ErrorStatus::eOk);
    room.block->setArea(12.0);
    room.block->recalculateArea(*db);
    EXPECT_DOUBLE_EQ(room.block->getArea(), 12.0);
}

TEST(SpaceArea, ArcsAreMeasuredAlongTheArc) {
    auto db = cad::Database::createDefault();
    auto circle = closedPolyline({{0, 0}, {2000, 0}});
    circle->setBulgeAt(0, 1.0);
    circle->setBulgeAt(1, 1.0);
    const double pi = 3.141592653589793;
    EXPECT_NEAR(CAcadUtilities::calculatePolylinePerimeter(*circle, 2, false), 2 * pi, 1e-9);
    EXPECT_NEAR(CAcadUtilities::calculatePolylineArea(*circle, 2, false), pi, 1e-9);
    EXPECT_DOUBLE_EQ(CAcadUtilities::areaDivisor(4, false), 1550.0031000062);
    EXPECT_DOUBLE_EQ(CAcadUtilities::lengthDivisor(3, false), 39.37007874015748);
    EXPECT_DOUBLE_EQ(CAcadUtilities::lengthDivisor(1, true), 304.8);
}

TEST(SpaceArea, HighlightingListedPolylines) {
    cad::ScriptInput input;
    cad::HostApplication host(cad::HostProfile::AutoCAD, input);
    cad::Document& drawing = host.documentManager().newDocument();
    cad::Database& db = drawing.database();
    Room room(db);
    const cad::ObjectId a = addPolyline(db, rectangle(0, 0, 10, 10));
    const cad::ObjectId gone = addPolyline(db, rectangle(0, 0, 10, 10));
    const cad::ObjectId b = addPolyline(db, rectangle(0, 0, 10, 10));
    room.block->setHandlesToAdd(handleText(db, a) + handleText(db, gone) + handleText(db, b), db);
    room.block->setHandlesToMinus(handleText(db, gone), db);
    ASSERT_EQ(db.erase(gone), cad::ErrorStatus::eOk);

    cad::CapturedOutput out;
    room.block->highlightAreasAdded(drawing, true, true);
    EXPECT_EQ(out.text(), "\nThere are 3 area(s) added to this block\n");
    EXPECT_EQ(room.block->getHandlesToAddLength(), 2u);
    for (cad::ObjectId id : {a, b}) {
        auto entity = db.open<cad::Entity>(id);
        EXPECT_EQ(entity->colorIndex(), 3);
        EXPECT_EQ(entity->lineWeight(), 100);
    }
    room.block->highlightAreasAdded(drawing, false, false);
    {
        auto entity = db.open<cad::Entity>(b);
        EXPECT_EQ(entity->colorIndex(), room.block->getColorIndex());
        EXPECT_EQ(entity->lineWeight(), room.block->getLineWeight());
    }
    out.clear();
    room.block->highlightAreasSubtracted(drawing, true, true);
    EXPECT_EQ(out.text(), "\nThere are 1 area(s) subtracted from this block\n");
    EXPECT_EQ(room.block->getHandlesToMinusLength(), 0u);
    EXPECT_FALSE(drawing.isLocked());

    std::vector<cad::ObjectId> ids;
    EXPECT_EQ(CBlockDWG::convertHandlesToObjectIds({db.handleOf(a), cad::Handle(0xFFFFFF)}, db, ids), 0);
    EXPECT_EQ(ids, (std::vector<cad::ObjectId>{a, cad::ObjectId()}));
}
