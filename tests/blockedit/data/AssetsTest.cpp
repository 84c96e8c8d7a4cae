#include <gtest/gtest.h>

#include "data/Hyperlinks.h"
#include "core/EXKorva.h"
#include "core/KorvaExceptions.h"
#include "reports/Hatch.h"
#include "data/AssetIndex.h"
#include "data/Assets.h"
#include "engine/db/Hatch.h"
#include "engine/db/Hyperlinks.h"
#include "engine/db/LayerTableRecord.h"
#include "host/AcadUtilities.h"
#include "logging/XMLUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "../spaceblocks/PlanBuilder.h"

using namespace plantest;

namespace {

// An L-shaped room standing at (100,0): the notch (4..10 x 4..10 in the room's own coordinates)
// is outside it. The outline repeats its second vertex.
struct LShapedRoomPlan {
    explicit LShapedRoomPlan(cad::Database& database) : db(&database) {
        const std::vector<cad::Point2d> outline{{0, 0}, {10, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}};
        roomId = insert(*db, addDefinition(*db, "ROOM-1", outline, true), {100, 0, 0});
        const auto unit = rectangle(0, 0, 1, 1);
        const cad::ObjectId chair = addDefinition(*db, "CHAIR", unit);
        chairInside = insert(*db, chair, {101, 1, 0}, {}, {{"ASSETNO", "A-1"}});
        insert(*db, chair, {107, 7, 0});                                  // in the notch: outside
        insert(*db, addDefinition(*db, "DESK", unit), {103.5, 5, 0});     // across the notch's edge
        insert(*db, addDefinition(*db, "DES", unit), {101, 8, 0});
        insert(*db, addDefinition(*db, "ROOM-2", unit), {102, 6, 0});    // a space block inside
        insert(*db, chair, {150, 1, 0});                                  // far away

        // A dynamic block and the anonymous representation a reference shows.
        const cad::ObjectId dynamic = addDefinition(*db, "TABLE_DYN", unit);
        {
            auto block = db->open<cad::BlockTableRecord>(dynamic, cad::OpenMode::ForWrite);
            db->registerApplication("AcDbDynamicBlockGUID");
            block->setXData({cad::XDataItem::appName("AcDbDynamicBlockGUID"), cad::XDataItem::text("{ABC}")});
        }
        const cad::ObjectId representation = addDefinition(*db, "*U7", unit);
        {
            auto block = db->open<cad::BlockTableRecord>(representation, cad::OpenMode::ForWrite);
            db->registerApplication("AcDbBlockRepBTag");
            block->setXData({cad::XDataItem::appName("AcDbBlockRepBTag"), cad::XDataItem::int16(1),
                             cad::XDataItem::handle(db->handleOf(dynamic))});
        }
        insert(*db, representation, {102, 2, 0});
        // An anonymous block that comes from no dynamic block is no asset.
        insert(*db, addDefinition(*db, "*U8", unit), {102.5, 0.5, 0});
    }
    cad::Database* db;
    cad::ObjectId roomId, chairInside;
};

std::string namesOf(const CAssets& assets) {
    std::string text;
    for (std::size_t i = 0; i < assets.getCount(); ++i) text += assets.getAt(i).getBlockIdentifier() + " ";
    return text;
}

}  // namespace

TEST(Assets, RoomCollectsTheReferencesInsideOrAcrossItsOutline) {
    Host host;
    LShapedRoomPlan plan(host.db());
    CBlocks blocks;
    blocks.getKorvaDWGBlocks_SS(host.drawing, true, "f");
    ASSERT_EQ(blocks.getCount(), 2);
    auto& room = static_cast<CBlockDWG&>(blocks.getAt(0));
    ASSERT_NE(room.getAssets(), nullptr);
    EXPECT_EQ(namesOf(*room.getAssets()), "CHAIR DESK DES TABLE_DYN ");

    const CAsset& chair = room.getAssets()->getAt(0);
    EXPECT_EQ(chair.getObjectId(), plan.chairInside);
    EXPECT_EQ(chair.getHandleText(), plan.db->handleOf(plan.chairInside).toString());
    EXPECT_DOUBLE_EQ(chair.getPointX(), 101.0);
    EXPECT_DOUBLE_EQ(chair.getPointY(), 1.0);
    EXPECT_EQ(chair.getAssetExistsInLocation(), 1);
    EXPECT_EQ(chair.getLocationID(), 0);
    ASSERT_NE(chair.getAttributes(), nullptr);
    ASSERT_NE(chair.getAttributes()->getAtAttribute("ASSETNO"), nullptr);
    EXPECT_EQ(chair.getAttributes()->getAtAttribute("ASSETNO")->getValue(), "A-1");
    EXPECT_NE(room.getAssets()->getAtAsset(chair.getHandleText()), nullptr);
    EXPECT_EQ(room.getAssets()->getAtAsset("0"), nullptr);

    // The small room inside the big one is gathered as a room of its own, with no assets.
    auto& inner = static_cast<CBlockDWG&>(blocks.getAt(1));
    EXPECT_EQ(inner.getBlockName(), "ROOM-2");

    // Without the flag nothing is collected.
    CBlocks plain;
    plain.getKorvaDWGBlocks_SS(host.drawing, false, "f");
    EXPECT_EQ(static_cast<CBlockDWG&>(plain.getAt(0)).getAssets(), nullptr);
}

TEST(Assets, ExclusionIsAPlainSubstringAndRepeatedVerticesAreDropped) {
    Host host;
    LShapedRoomPlan plan(host.db());
    auto reference = plan.db->open<cad::BlockReference>(plan.roomId);
    auto outline = plan.db->open<cad::Polyline>(CAcadUtilities::getOutlineId(*reference));
    const auto polygon = CAssets::outlinePolygon(reference->position(), *outline);
    ASSERT_EQ(polygon.size(), 6u);
    EXPECT_EQ(polygon[1], cad::Point2d(110, 0));

    const CAssetIndex index(*plan.db);
    CAssets assets;
    assets.getPolylineAssets(reference->position(), *outline, *plan.db, index, ",CHAIR,DESK,");
    // DES occurs inside ",CHAIR,DESK," too.
    EXPECT_EQ(namesOf(assets), "TABLE_DYN ");

    std::vector<cad::ObjectId> hidden;
    CAssets::setPolylineAssetAttributesInvisible(reference->position(), *outline, *plan.db, index, hidden);
    ASSERT_EQ(hidden.size(), 1u);
    auto attribute = plan.db->open<cad::Attribute>(hidden[0]);
    EXPECT_FALSE(attribute->isVisible());
}

TEST(Assets, XmlFormAndCopiesKeepTheRecordApart) {
    CAssets assets;
    auto asset = std::make_unique<CAsset>();
    asset->setHandle("2F1A");
    asset->setLocationID(12);
    asset->setBlockIdentifier("CHAIR");
    asset->setBlockDescription("Office chair");
    asset->setPointX(1.5);
    asset->setPointY(-2.25);
    asset->setAttributes(std::make_unique<CAttributes>());
    asset->getAttributes()->add(std::make_unique<CAttribute>("ASSETNO", "A-1"));
    assets.add(std::move(asset));

    CXMLUtilities factory;
    pugi::xml_node node = assets.serialize(factory, "urn:test");
    pugi::xml_node first = node.first_child();
    EXPECT_EQ(CXMLUtilities::localName(node), "assets");
    EXPECT_STREQ(first.child("pointX").text().get(), "1.50000");
    EXPECT_STREQ(first.child("pointY").text().get(), "-2.25000");
    EXPECT_STREQ(first.child("uniqueDescription").text().get(), "");
    EXPECT_FALSE(first.child("attributes"));

    CHatch hatch("SOLID");
    CAssets read;
    read.deSerialize(node, &hatch);
    ASSERT_EQ(read.getCount(), 1u);
    EXPECT_EQ(read.getAt(0).getHandleText(), "2F1A");
    EXPECT_EQ(read.getAt(0).getLocationID(), 12);
    EXPECT_EQ(read.getAt(0).getBlockDescription(), "Office chair");
    EXPECT_DOUBLE_EQ(read.getAt(0).getPointY(), -2.25);
    ASSERT_NE(read.getAt(0).getHatchSettings(), nullptr);
    EXPECT_THROW(read.getAt(1), CEXKorva);

    auto copies = std::make_unique<CAssets>();
    assets.copyTo(*copies);
    assets.deleteObjects();
    ASSERT_EQ(copies->getCount(), 1u);
    EXPECT_EQ(copies->getAt(0).getAttributes()->getAtAttribute("ASSETNO")->getValue(), "A-1");
}

TEST(Assets, ApplyingShowsTheLayerHatchesHyperlinksAndSetsAttributes) {
    Host host;
    LShapedRoomPlan plan(host.db());
    {
        auto table = plan.db->open<cad::SymbolTable>(plan.db->layerTableId(), cad::OpenMode::ForWrite);
        auto layer = std::make_unique<cad::LayerTableRecord>("FURN");
        layer->setOff(true);
        table->add(std::move(layer));
        auto chair = plan.db->open<cad::BlockReference>(plan.chairInside, cad::OpenMode::ForWrite);
        chair->setLayer("FURN");
    }
    CAsset asset;
    asset.setObjectId(plan.chairInside);
    asset.setHandle(plan.db->handleOf(plan.chairInside));
    auto hatch = std::make_unique<CHatch>("SOLID");
    hatch->setLayer("ASSET_HATCH");
    hatch->setColour(cad::Color::fromRgb(0, 128, 255));
    asset.setHatchSettings(std::move(hatch));
    asset.setHyperlinks(std::make_unique<CHyperlinks>());
    asset.getHyperlinks()->add(std::make_unique<CHyperlink>("http://a/1", "Asset page"));
    asset.setAttributes(std::make_unique<CAttributes>());
    asset.getAttributes()->add(std::make_unique<CAttribute>("ASSETNO", "B-2"));

    CKorvaExceptions errors;
    asset.applyToDWG(host.drawing, errors);
    EXPECT_EQ(errors.getCount(), 0u);

    auto layer = plan.db->open<cad::LayerTableRecord>(plan.db->recordId(cad::TableKind::Layer, "FURN"));
    EXPECT_FALSE(layer->isOff());
    auto chair = plan.db->open<cad::BlockReference>(plan.chairInside);
    EXPECT_EQ(cad::getHyperlinks(*chair).size(), 1u);
    auto attribute = plan.db->open<cad::Attribute>(chair->attributeId("ASSETNO"));
    EXPECT_EQ(attribute->textString(), "B-2");

    // The hatch covers the chair's box and sits at the bottom of the draw order.
    const std::vector<cad::ObjectId> order = plan.db->drawOrder(plan.db->modelSpaceId());
    auto drawn = plan.db->open<cad::Hatch>(order.front());
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->layerName(), "ASSET_HATCH");
    EXPECT_TRUE(drawn->color().isTrueColor());
    EXPECT_EQ(drawn->color().blue(), 255);
    EXPECT_NEAR(drawn->area(), 1.0, 1e-9);
    cad::Extents3d extents;
    ASSERT_EQ(drawn->getGeomExtents(extents), cad::ErrorStatus::eOk);
    EXPECT_NEAR(extents.minPoint().x, 101.0, 1e-9);
    EXPECT_NEAR(extents.maxPoint().y, 2.0, 1e-9);
    EXPECT_EQ(cad::getHyperlinks(*drawn).size(), 1u);
}

TEST(Assets, SparseAssetHatchIsReportedUnderTheAssetsHandle) {
    Host host;
    LShapedRoomPlan plan(host.db());
    CAsset asset;
    asset.setObjectId(plan.chairInside);
    asset.setHandle(plan.db->handleOf(plan.chairInside));
    auto hatch = std::make_unique<CHatch>("ANSI31");
    hatch->setScale(30000);
    asset.setHatchSettings(std::move(hatch));
    CKorvaExceptions errors;
    asset.applyToDWG(host.drawing, errors);
    ASSERT_EQ(errors.getCount(), 1u);
    EXPECT_NE(errors.getAt(0).getDescription().find("asset - " + asset.getHandleText() + ". ANSI31 set at scale"),
              std::string::npos);
    // The hatch is drawn all the same.
    EXPECT_TRUE(plan.db->open<cad::Hatch>(plan.db->drawOrder(plan.db->modelSpaceId()).front()));
}
