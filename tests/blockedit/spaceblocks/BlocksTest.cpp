#include <gtest/gtest.h>

#include "data/Assets.h"
#include "core/EXKorva.h"
#include "core/KorvaExceptions.h"
#include "engine/db/ViewportTableRecord.h"
#include "logging/XMLUtilities.h"
#include "reports/Hatch.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "spaceblocks/DrawingView.h"
#include "PlanBuilder.h"

using namespace plantest;

namespace {

// A plan with two rooms, a gross-area block, a room whose "ADE" record says GROSS AREA, one whose
// "AECXDATA" record says so, a legend marker and a chair.
struct ClassificationPlan {
    explicit ClassificationPlan(cad::Database& database) : db(&database) {
        const auto box = rectangle(0, 0, 5, 5);
        insert(*db, addDefinition(*db, "ROOM-1", box, true), {0, 0, 0}, spaceXData("ADE", "Office"), {{"NAME", "R1"}});
        insert(*db, addDefinition(*db, "ROOM-2", box, true), {10, 0, 0});
        insert(*db, addDefinition(*db, "ROOM-GROSS_AREA", rectangle(0, 0, 30, 10)), {0, 0, 0});
        adeGross = insert(*db, addDefinition(*db, "ROOM-3", box), {20, 0, 0}, spaceXData("ADE", "GROSS AREA"));
        aecGross = insert(*db, addDefinition(*db, "ROOM-4", box), {0, 20, 0}, spaceXData("AECXDATA", "GROSS AREA"));
        insert(*db, addDefinition(*db, "MARKER-LEGEND", box), {50, 50, 0});
        insert(*db, addDefinition(*db, "CHAIR", rectangle(0, 0, 1, 1)), {1, 1, 0});
    }
    cad::Database* db;
    cad::ObjectId adeGross, aecGross;
};

std::vector<int> typesOf(const CBlocks& blocks) {
    std::vector<int> types;
    for (std::size_t i = 0; i < blocks.getLength(); ++i) types.push_back(blocks.getAt(i).getBlockType());
    return types;
}

std::unique_ptr<CBlockDWG> record(const std::string& handle, const std::string& code) {
    auto block = std::make_unique<CBlockDWGRoom>();
    block->setHandle(handle);
    block->setCode(code);
    return block;
}

std::string handlesOf(const CBlocks& blocks) {
    std::string text;
    for (std::size_t i = 0; i < blocks.getLength(); ++i) text += blocks.getAt(i).getHandle() + blocks.getAt(i).getCode() + " ";
    return text;
}

}  // namespace

TEST(Blocks, ClassifiesSpacesByLevelCodeAndTheAecxdataGrossAreaName) {
    Host host;
    ClassificationPlan plan(host.db());
    constexpr int room = CBlock::kBlockDWGRoom, floor = CBlock::kBlockDWGFloor;
    constexpr int building = CBlock::kBlockDWGBuilding, site = CBlock::kBlockDWGSite;

    CBlocks floorPlan;
    floorPlan.getKorvaDWGBlocks_SS(host.drawing, false, "f");
    // The "ADE" record's GROSS AREA name is not consulted: that block stays a room.
    EXPECT_EQ(typesOf(floorPlan), (std::vector<int>{room, room, floor, room, floor}));
    EXPECT_EQ(floorPlan.getCount(), 5);
    EXPECT_EQ(floorPlan.getAt(0).getCode(), "R1");
    EXPECT_EQ(static_cast<CBlockDWG&>(floorPlan.getAt(2)).getBlockName(), "ROOM-GROSS_AREA");

    CBlocks sitePlan;
    sitePlan.getKorvaDWGBlocks_SS(host.drawing, false, "s");
    EXPECT_EQ(typesOf(sitePlan), (std::vector<int>{building, building, site, building, site}));

    // Iterating model space considers every reference except the markers.
    CBlocks iterated;
    iterated.getKorvaDWGBlocks_I(host.drawing, false, "f");
    EXPECT_EQ(typesOf(iterated), (std::vector<int>{room, room, floor, room, floor, room}));
    EXPECT_EQ(static_cast<CBlockDWG&>(iterated.getAt(5)).getBlockName(), "CHAIR");

    CBlocks all;
    all.getAcadBlocks(host.drawing);
    EXPECT_EQ(typesOf(all), std::vector<int>(7, CBlock::kBlockDWG));

    auto ade = plan.db->open<cad::BlockReference>(plan.adeGross);
    auto aec = plan.db->open<cad::BlockReference>(plan.aecGross);
    EXPECT_EQ(CBlocks::readNameFromXData(*ade), "");
    EXPECT_EQ(CBlocks::readNameFromXData(*aec), "GROSS AREA");

    CBlocks markers;
    markers.getLegendBlock_SS(host.drawing, [](const cad::BlockReference& reference, cad::Database& db) {
        return std::unique_ptr<CBlock>(std::make_unique<CBlockDWG>(reference, db));
    });
    ASSERT_EQ(markers.getCount(), 1);
    EXPECT_EQ(static_cast<CBlockDWG&>(markers.getAt(0)).getBlockName(), "MARKER-LEGEND");
}

TEST(Blocks, EmptyDrawingGathersNothingAndKeepsItsView) {
    Host host;
    cad::Database* db = &host.db();
    const CDrawingView::View before = CDrawingView::current(*db);
    CBlocks blocks;
    blocks.getKorvaDWGBlocks_SS(host.drawing, true, "f");
    blocks.getKorvaDWGBlocks_I(host.drawing, true, "f");
    blocks.getAcadBlocks(host.drawing);
    EXPECT_EQ(blocks.getCount(), 0);
    std::vector<cad::ObjectId> set;
    EXPECT_NE(CBlocks::getKorvaBlockSS(*db, set), cad::RTNORM);
    blocks.zoomToBlocks(host.drawing, 1.0);
    const CDrawingView::View after = CDrawingView::current(*db);
    EXPECT_EQ(after.center, before.center);
    EXPECT_EQ(after.height, before.height);
}

TEST(Blocks, SortsByHexadecimalHandleKeepingEqualHandlesInOrder) {
    CBlocks blocks;
    blocks.addBlock(record("1A", "a"));
    blocks.addBlock(record("2", "b"));
    blocks.addBlock(record("FF", "c"));
    blocks.addBlock(record("2", "d"));
    blocks.sortBlocksByHandle(true);
    EXPECT_EQ(handlesOf(blocks), "2b 2d 1Aa FFc ");
    blocks.sortBlocksByHandle(false);
    EXPECT_EQ(handlesOf(blocks), "FFc 1Aa 2b 2d ");
    EXPECT_EQ(blocks.getCount(), 4);
}

TEST(Blocks, FindsReplacesAndDeletesRecords) {
    CBlocks blocks;
    blocks.addBlock(record("1A", "R-1"));
    blocks.addBlock(record("1B", "R-2"));
    blocks.addBlock(record("1C", "R-2"));
    EXPECT_EQ(blocks.getAt(std::string("1B"))->getCode(), "R-2");
    EXPECT_EQ(blocks.getAt(std::string("1b")), nullptr);  // exact text
    EXPECT_EQ(blocks.getByCode("R-2")->getHandle(), "1B");
    EXPECT_EQ(blocks.getByCode("R-3"), nullptr);
    EXPECT_THROW(blocks.getAt(3), CEXKorva);

    blocks.replaceAt(1, record("2F", "R-9"));
    blocks.replaceAt(7, record("30", "ignored"));
    EXPECT_EQ(handlesOf(blocks), "1AR-1 2FR-9 1CR-2 ");

    auto odd = std::make_unique<CBlock>();
    odd->setBlockType(11);
    EXPECT_THROW(CBlocks::deleteObject(std::move(odd)), CEXKorva);
    blocks.deleteObjects();
    EXPECT_EQ(blocks.getLength(), 0u);
}

TEST(Blocks, XmlFormHoldsEveryRecordAndReadingGivesEachItsOwnHatch) {
    CBlocks blocks;
    auto first = record("1A", "R-1");
    first->setName("Office");
    first->setArea(12.5);
    blocks.addBlock(std::move(first));
    blocks.addBlock(record("1B", "R-2"));
    CXMLUtilities factory;
    pugi::xml_node node = blocks.serialize(factory, "urn:test");
    EXPECT_EQ(CXMLUtilities::localName(node), "korvaBlocks");
    EXPECT_EQ(std::distance(node.children().begin(), node.children().end()), 2);

    CHatch hatch("ANSI31");
    hatch.setScale(4);
    CBlocks read;
    read.deSerialize(node, &hatch);
    ASSERT_EQ(read.getCount(), 2);
    auto& a = static_cast<CBlockDWG&>(read.getAt(0));
    auto& b = static_cast<CBlockDWG&>(read.getAt(1));
    EXPECT_EQ(a.getHandle(), "1A");
    EXPECT_EQ(a.getName(), "Office");
    EXPECT_DOUBLE_EQ(a.getArea(), 12.5);
    ASSERT_NE(a.getHatchSettings(), nullptr);
    EXPECT_EQ(a.getHatchSettings()->getPattern(), "ANSI31");
    EXPECT_EQ(a.getHatchSettings()->getScale(), 4);
    EXPECT_NE(a.getHatchSettings(), b.getHatchSettings());
}

TEST(Blocks, ZoomToBlocksFramesEveryOutlineWithTheBorder) {
    Host host;
    cad::Database* db = &host.db();
    insert(*db, addDefinition(*db, "ROOM-1", rectangle(0, 0, 10, 4)), {0, 0, 0});
    insert(*db, addDefinition(*db, "ROOM-2", rectangle(0, 0, 10, 4)), {20, 30, 0});
    CBlocks blocks;
    blocks.getKorvaDWGBlocks_SS(host.drawing, false, "f");
    ASSERT_EQ(blocks.getCount(), 2);
    blocks.zoomToBlocks(host.drawing, 1.0);
    const CDrawingView::View view = CDrawingView::current(*db);
    ASSERT_TRUE(view.valid);
    // Window -1,-1 .. 31,35 shown whole.
    EXPECT_DOUBLE_EQ(view.center.x, 15.0);
    EXPECT_DOUBLE_EQ(view.center.y, 17.0);
    auto active = db->open<cad::ViewportTableRecord>(db->recordId(cad::TableKind::Viewport, "*Active"));
    EXPECT_GE(view.height * active->aspectRatio(), 32.0 - 1e-9);
    EXPECT_GE(view.height, 36.0 - 1e-9);
}

TEST(Blocks, CopiesOwnTheirHatchAndAssets) {
    auto source = std::make_unique<CBlockDWGRoom>();
    source->setHatchSettings(std::make_unique<CHatch>("ANSI37"));
    source->setAssets(std::make_unique<CAssets>());
    auto asset = std::make_unique<CAsset>();
    asset->setBlockIdentifier("CHAIR");
    source->getAssets()->add(std::move(asset));

    CBlockDWGRoom copy, formatted;
    source->copyInto(copy);
    source->copyFormatting(formatted);
    source.reset();
    ASSERT_NE(copy.getHatchSettings(), nullptr);
    EXPECT_EQ(copy.getHatchSettings()->getPattern(), "ANSI37");
    ASSERT_NE(copy.getAssets(), nullptr);
    EXPECT_EQ(copy.getAssets()->getAt(0).getBlockIdentifier(), "CHAIR");
    ASSERT_NE(formatted.getHatchSettings(), nullptr);
    EXPECT_EQ(formatted.getHatchSettings()->getPattern(), "ANSI37");
}

TEST(Blocks, ApplyingARecordZoomsToItWhenAsked) {
    Host host;
    insert(host.db(), addDefinition(host.db(), "ROOM-1", rectangle(0, 0, 10, 4)), {100, 200, 0});
    CBlocks blocks;
    blocks.getKorvaDWGBlocks_SS(host.drawing, false, "f");
    auto& room = static_cast<CBlockDWG&>(blocks.getAt(0));
    room.setZoomAfterApply(1);
    room.setZoomBorder(0.5);
    CKorvaExceptions errors;
    room.applyToDWG(host.drawing, errors);
    const CDrawingView::View view = CDrawingView::current(host.db());
    EXPECT_DOUBLE_EQ(view.center.x, 105.0);
    EXPECT_DOUBLE_EQ(view.center.y, 202.0);
}
