#include <gtest/gtest.h>

#include "reports/Hatch.h"
#include "data/Hyperlinks.h"
#include "core/EXKinds.h"
#include "core/KorvaExceptions.h"
#include "engine/db/Hatch.h"
#include "engine/db/Hyperlinks.h"
#include "engine/db/LayerTableRecord.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "PlanBuilder.h"

using namespace plantest;

namespace {

// A 10 x 10 room standing at (50,0), an added area beside it and a subtracted one inside it.
struct HatchPlan {
    explicit HatchPlan(cad::Database& database) : db(&database) {
        definition = addDefinition(*db, "ROOM-1", rectangle(0, 0, 10, 10), true);
        roomId = insert(*db, definition, {50, 0, 0}, spaceXData("ADE", "Lab"), {{"NAME", "Lab"}});
        addedId = addPolyline(*db, rectangle(60, 0, 65, 5));
        subtractedId = addPolyline(*db, rectangle(52, 2, 54, 4));
    }
    std::unique_ptr<CBlockDWG> readRoom(const std::string& pattern, int scale) {
        auto reference = db->open<cad::BlockReference>(roomId);
        auto room = std::make_unique<CBlockDWGRoom>(*reference, *db);
        room->setHandlesToAdd(std::vector<cad::ObjectId>{addedId}, *db);
        room->setHandlesToMinus(std::vector<cad::ObjectId>{subtractedId}, *db);
        auto hatch = std::make_unique<CHatch>(pattern);
        hatch->setScale(scale);
        hatch->setLayer("HATCH_A");
        hatch->setColour(cad::Color::fromRgb(255, 0, 0));
        room->setHatchSettings(std::move(hatch));
        return room;
    }
    cad::ObjectPtr<cad::Hatch> bottomHatch() {
        return db->open<cad::Hatch>(db->drawOrder(db->modelSpaceId()).front());
    }
    cad::Database* db;
    cad::ObjectId definition, roomId, addedId, subtractedId;
};

}  // namespace

TEST(BlockHatch, OutlineAddedAndSubtractedAreasBecomeLoops) {
    Host host;
    HatchPlan plan(host.db());
    auto room = plan.readRoom("ANSI31", 1);
    CKorvaExceptions errors;
    room->applyToDWG(host.drawing, errors);
    EXPECT_EQ(errors.getCount(), 0u);

    auto hatch = plan.bottomHatch();
    ASSERT_TRUE(hatch);
    // The loop kinds, pattern, colour and layer as written are read back by another reader in
    // HatchDxfTest. The outline was hatched where the block stands: 100 + 25 - 4.
    ASSERT_EQ(hatch->numLoops(), 3u);
    EXPECT_NEAR(hatch->area(), 121.0, 1e-9);
    EXPECT_FALSE(hatch->associative());
    EXPECT_FALSE(hatch->definitionLines().empty());
    auto layer = plan.db->open<cad::LayerTableRecord>(plan.db->recordId(cad::TableKind::Layer, "HATCH_A"));
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->color(), cad::Color::fromRgb(255, 0, 0));

    // The outline in the definition is back where it was.
    auto outline = plan.db->open<cad::Polyline>(CAcadUtilities::getOutlineId(*plan.db->open<cad::BlockReference>(plan.roomId)));
    EXPECT_EQ(outline->pointAt(0), cad::Point2d(0, 0));
    EXPECT_EQ(outline->pointAt(2), cad::Point2d(10, 10));
}

TEST(BlockHatch, DensityFailuresAreCollectedAndTheHatchIsStillDrawn) {
    Host host;
    HatchPlan plan(host.db());
    {
        // ANSI31 lines every 3.175 units: far too many across a room a million units wide.
        auto definition = plan.db->open<cad::BlockTableRecord>(plan.definition);
        auto outline = plan.db->open<cad::Polyline>(definition->liveEntityIds().front(), cad::OpenMode::ForWrite);
        outline->setPointAt(1, {1e6, 0});
        outline->setPointAt(2, {1e6, 1e6});
    }
    auto dense = plan.readRoom("ANSI31", 1);
    CKorvaExceptions errors;
    dense->applyToDWG(host.drawing, errors);
    ASSERT_EQ(errors.getCount(), 1u);
    EXPECT_NE(dynamic_cast<CEXHatchTooDense*>(&errors.getAt(0)), nullptr);
    EXPECT_NE(errors.getAt(0).getDescription().find("korva block Lab"), std::string::npos);
    EXPECT_NE(errors.getAt(0).getDescription().find("ANSI31 set at scale 1.00"), std::string::npos);
    EXPECT_TRUE(plan.bottomHatch());

    cad::Document& second = host.app.documentManager().newDocument();
    HatchPlan small(second.database());
    auto sparse = small.readRoom("ANSI31", 30000);
    CKorvaExceptions sparseErrors;
    sparse->applyToDWG(second, sparseErrors);
    ASSERT_EQ(sparseErrors.getCount(), 1u);
    EXPECT_NE(dynamic_cast<CEXHatchTooSparse*>(&sparseErrors.getAt(0)), nullptr);
    EXPECT_TRUE(small.bottomHatch());
}

TEST(BlockHatch, MissingOutlineAndBadLoopsAreReportedPerBlock) {
    Host host;
    HatchPlan plan(host.db());
    // A definition without a polyline: nothing is hatched, the block is reported.
    const cad::ObjectId bare = insert(*plan.db, addDefinition(*plan.db, "ROOM-2", {}), {0, 0, 0});
    auto reference = plan.db->open<cad::BlockReference>(bare);
    CBlockDWGRoom room(*reference, *plan.db);
    reference.close();
    room.setHatchSettings(std::make_unique<CHatch>("SOLID"));
    CKorvaExceptions errors;
    const std::size_t before = plan.db->drawOrder(plan.db->modelSpaceId()).size();
    room.applyToDWG(host.drawing, errors);
    ASSERT_EQ(errors.getCount(), 1u);
    EXPECT_NE(dynamic_cast<CEXHatchBlock*>(&errors.getAt(0)), nullptr);
    EXPECT_EQ(plan.db->drawOrder(plan.db->modelSpaceId()).size(), before);

    // An added area that is no longer there gives its own error; the hatch goes on.
    auto lab = plan.readRoom("SOLID", 1);
    plan.db->erase(plan.addedId);
    CKorvaExceptions labErrors;
    cad::ObjectId hatchId;
    auto labReference = plan.db->open<cad::BlockReference>(plan.roomId, cad::OpenMode::ForWrite);
    lab->hatchObject(host.drawing, *labReference, CAcadUtilities::getOutlineId(*labReference), {},
                     {plan.addedId}, hatchId, labErrors);
    ASSERT_EQ(labErrors.getCount(), 1u);
    EXPECT_NE(dynamic_cast<CEXHatchAdditionalAreas*>(&labErrors.getAt(0)), nullptr);
    EXPECT_FALSE(hatchId.isNull());
}

TEST(BlockHyperlinks, ApplyReplacesTheReferenceHatchAndAttributeLinks) {
    for (const auto profile : {cad::HostProfile::AutoCAD, cad::HostProfile::BricsCAD}) {
        Host host(profile);
        HatchPlan plan(host.db());
        const cad::ObjectId nameId = plan.db->open<cad::BlockReference>(plan.roomId)->attributeId("NAME");
        {
            auto reference = plan.db->open<cad::BlockReference>(plan.roomId, cad::OpenMode::ForWrite);
            cad::setHyperlinks(*reference, {{"http://old", "old", {}, 0}});
            auto attribute = plan.db->open<cad::Attribute>(nameId, cad::OpenMode::ForWrite);
            cad::setHyperlinks(*attribute, {{"http://old", "old", {}, 0}});
        }
        auto room = plan.readRoom("SOLID", 1);
        auto links = std::make_unique<CHyperlinks>();
        links->setHyperlinks("x,y;z", 7);
        room->setHyperlinks(std::move(links));
        CKorvaExceptions errors;
        room->applyToDWG(host.drawing, errors);
        EXPECT_EQ(errors.getCount(), 0u);

        const std::vector<cad::Hyperlink> expected{{"x?pb=10&page=1&id=7", "y", {}, 0},
                                                   {"z?pb=10&page=1&id=7", "z", {}, 0}};
        EXPECT_EQ(cad::getHyperlinks(*plan.db->open<cad::BlockReference>(plan.roomId)), expected);
        EXPECT_EQ(cad::getHyperlinks(*plan.bottomHatch()), expected);
        const auto attributeLinks = cad::getHyperlinks(*plan.db->open<cad::Attribute>(nameId));
        if (profile == cad::HostProfile::AutoCAD) {
            EXPECT_EQ(attributeLinks, expected);
        } else {
            ASSERT_EQ(attributeLinks.size(), 1u);  // BricsCAD leaves attributes alone
            EXPECT_EQ(attributeLinks[0].url, "http://old");
        }
    }
}
