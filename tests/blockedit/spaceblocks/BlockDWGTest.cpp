#include <gtest/gtest.h>

#include "data/Hyperlinks.h"
#include "SpaceDrawing.h"
#include "core/EXKorva.h"
#include "core/KorvaExceptions.h"
#include "engine/db/Hyperlinks.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"
#include "logging/XMLUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/KorvaAttribute.h"

using namespace spacetest;

namespace {

cad::XDataChain record(const std::string& app, std::initializer_list<std::string> items) {
    cad::XDataChain chain{cad::XDataItem::appName(app), cad::XDataItem::open()};
    for (const std::string& item : items) chain.push_back(cad::XDataItem::text(item));
    chain.push_back(cad::XDataItem::close());
    return chain;
}

std::vector<std::string> texts(const cad::XDataChain& chain) {
    std::vector<std::string> out;
    for (const cad::XDataItem& item : chain) out.push_back(item.asText());
    return out;
}

void setRecord(cad::Database& db, cad::ObjectId id, const cad::XDataChain& chain) {
    ASSERT_EQ(db.registerApplication(chain.front().asText()), cad::ErrorStatus::eOk);
    auto entity = db.open<cad::Entity>(id, cad::OpenMode::ForWrite);
    ASSERT_EQ(entity->setXData(chain), cad::ErrorStatus::eOk);
}

}  // namespace

// The kinds of block differ only in these: their type and the block name a new one gets.
TEST(BlockRecord, DefaultsOfThePlainRecordAndTheFourKinds) {
    CBlock plain;
    EXPECT_EQ(plain.getUnits(), 0);
    EXPECT_EQ(plain.getPrecision(), 2);
    CBlockDWG empty;
    EXPECT_EQ(empty.getUnits(), -1);
    EXPECT_EQ(empty.getBlockType(), 6);
    EXPECT_EQ(empty.getXDataAppName(), "ADE");
    EXPECT_EQ(empty.getTagType(), "<Not Set>");
    EXPECT_EQ(empty.getTotWkStns(), "<Not Set>");
    EXPECT_EQ(CBlockDWGRoom().getBlockType(), 7);
    EXPECT_EQ(CBlockDWGRoom().getBlockName(), "ROOM-");
    EXPECT_EQ(CBlockDWGFloor().getBlockType(), 8);
    EXPECT_EQ(CBlockDWGFloor().getBlockName(), "ROOM-GROSS_AREA");
    EXPECT_EQ(CBlockDWGBuilding().getBlockType(), 9);
    EXPECT_EQ(CBlockDWGBuilding().getBlockName(), "ROOM-");
    EXPECT_EQ(CBlockDWGSite().getBlockType(), 10);
    EXPECT_EQ(CBlockDWGSite().getBlockName(), "ROOM-GROSS_AREA");
}

TEST(BlockXData, AreaItemsGiveUnitsAndPrecision) {
    auto db = cad::Database::createDefault();
    struct Case {
        const char* item;
        double area;
        int units;
        int precision;
    };
    for (const Case& c : {Case{"AREA=12.50sq.m.", 12.5, 0, 2}, Case{"AREA=134.5sq.ft.", 134.5, 1, 1},
                          Case{"AREA=25sq.m.", 25.0, 0, 2}, Case{"AREA=7.125   sq.m.", 7.125, 0, 3},
                          Case{"AREA=1234", 1234.0, -1, 4}}) {
        CBlockDWG block;
        block.readXData(record("ADE", {c.item}), *db);
        EXPECT_DOUBLE_EQ(block.getArea(), c.area) << c.item;
        EXPECT_EQ(block.getUnits(), c.units) << c.item;
        EXPECT_EQ(block.getPrecision(), c.precision) << c.item;
    }
}

TEST(BlockXData, OtherItemsAreReadByKeyInAnyOrder) {
    auto db = cad::Database::createDefault();
    CBlockDWG block;
    cad::XDataChain chain =
        record("ADE", {"VOLUME=81.00cu.m.", "PERIMETER=36.50m.", "TOT_STAFF=4", "NAME=ignored",
                       "TAGTYPE=Office", "AREA_TYPE=Net", "COST_CENTRE=CC-12", "DATE=2024-01-02",
                       "DATE_L_MOVE=2023-05-06", "DEPT_CHARGE=Finance", "ROOM_HEIGHT=2.70m.",
                       "SPECIAL_REQ=none", "TOT_WKSTNS=6", "UNKNOWN=1", "area=99sq.m."});
    // Items of other group codes are not looked at.
    chain.insert(chain.begin() + 2, cad::XDataItem::text("AREA=77sq.m.", 1003));
    block.readXData(chain, *db);
    EXPECT_DOUBLE_EQ(block.getVolume(), 81.0);
    EXPECT_DOUBLE_EQ(block.getPerimeter(), 36.5);
    EXPECT_DOUBLE_EQ(block.getRoomHeight(), 2.7);
    EXPECT_DOUBLE_EQ(block.getArea(), 0.0);
    EXPECT_EQ(block.getName(), "");
    EXPECT_EQ(block.getTotStaff(), "4");
    EXPECT_EQ(block.getTagType(), "Office");
    EXPECT_EQ(block.getAreaType(), "Net");
    EXPECT_EQ(block.getCostCentre(), "CC-12");
    EXPECT_EQ(block.getDate(), "2024-01-02");
    EXPECT_EQ(block.getDateLastMove(), "2023-05-06");
    EXPECT_EQ(block.getDeptCharge(), "Finance");
    EXPECT_EQ(block.getSpecialReq(), "none");
    EXPECT_EQ(block.getTotWkStns(), "6");

    CBlockDWG feet;
    feet.readXData(record("ADE", {"PERIMETER=98.43ft."}), *db);
    EXPECT_DOUBLE_EQ(feet.getPerimeter(), 98.43);
}

TEST(BlockXData, HandleListsKeepOnlyCommaTerminatedHandlesThatResolve) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId a = addPolyline(*db, rectangle(0, 0, 10, 10));
    const cad::ObjectId b = addPolyline(*db, rectangle(0, 0, 20, 20));
    const std::string ha = db->handleOf(a).toString(), hb = db->handleOf(b).toString();

    CBlockDWG block;
    block.readXData(record("ADE", {"HANDLESTOADD=" + ha + "," + hb, "HANDLESTOMINUS=FFFFFF," + hb + ",junk"}),
                    *db);
    ASSERT_EQ(block.getHandlesToAddLength(), 1u);
    EXPECT_EQ(block.getHandleToAddAt(0), db->handleOf(a));
    ASSERT_EQ(block.getHandlesToMinusLength(), 1u);
    EXPECT_EQ(block.getHandlesToMinusAsString(), hb + ",");
    EXPECT_THROW(block.getHandleToAddAt(1), CEXKorva);
    EXPECT_THROW(block.removeHandleToMinusAt(3), CEXKorva);

    // From ids only polylines are taken.
    const cad::ObjectId text = addEntity(*db, db->modelSpaceId(), std::make_unique<cad::Text>());
    block.setHandlesToAdd(std::vector<cad::ObjectId>{b, text, a}, *db);
    EXPECT_EQ(block.getHandlesToAddAsString(), hb + "," + ha + ",");
    block.removeHandleToAddAt(0);
    EXPECT_EQ(block.getHandlesToAddAsString(), ha + ",");
}

TEST(BlockXData, WrittenRecordHasTheNineteenItemsInOrder) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId minus = addPolyline(*db, rectangle(0, 0, 10, 10));
    const cad::ObjectId id =
        addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10000, 5000), standardAttributes("R1.01"));
    auto reference = db->open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
    CBlockDWG block(*reference, *db);
    block.setUnits(0);
    block.setPrecision(2);
    block.setArea(12.5);
    block.setPerimeter(14.0);
    block.setRoomHeight(2.7);
    block.setVolume(33.75);
    block.setTagType("Office");
    block.setHandlesToMinus(std::vector<cad::ObjectId>{minus}, *db);
    block.writeXData(*reference);
    const std::string hm = db->handleOf(minus).toString();
    const std::vector<std::string> expected{
        "ADE", "{", "AREA=12.50sq.m.", "PERIMETER=14.00m.", "NAME=R1.01", "TAGTYPE=Office",
        "AREA_TYPE=<Not Set>", "COST_CENTRE=<Not Set>", "DATE=<Not Set>", "DATE_L_MOVE=<Not Set>",
        "DEPT_CHARGE=<Not Set>", "ROOM_HEIGHT=2.70m.", "SPECIAL_REQ=<Not Set>", "TOT_STAFF=<Not Set>",
        "TOT_WKSTNS=<Not Set>", "VOLUME=33.75cu.m.", "HANDLESTOMINUS=" + hm + ",", "HANDLESTOADD=", "}"};
    const cad::XDataChain written = reference->xData("ADE");
    EXPECT_EQ(texts(written), expected);
    EXPECT_EQ(written[0].code(), 1001);
    EXPECT_EQ(written[1].code(), 1002);
    EXPECT_EQ(written[2].code(), 1000);
    EXPECT_EQ(written[18].code(), 1002);

    block.setUnits(1);
    block.setPrecision(1);
    block.writeXData(*reference);
    const auto imperial = texts(reference->xData("ADE"));
    EXPECT_EQ(imperial[2], "AREA=12.5sq.ft.");
    EXPECT_EQ(imperial[3], "PERIMETER=14.0ft.");
    EXPECT_EQ(imperial[15], "VOLUME=33.8cu.ft.");

    // Anything but a block reference is left alone.
    auto polyline = db->open<cad::Entity>(minus, cad::OpenMode::ForWrite);
    block.writeXData(*polyline);
    EXPECT_TRUE(polyline->xData().empty());
}

TEST(BlockXData, ReadingAReferenceFindsItsRecordAttributesAndName) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId withAde =
        addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10), standardAttributes("R1.01"));
    setRecord(*db, withAde, record("ADE", {"AREA=12.50sq.m.", "TAGTYPE=Office"}));
    const cad::ObjectId withAec = addSpaceBlock(*db, "ROOM-2", rectangle(0, 0, 10, 10), {{"area", "x"}});
    setRecord(*db, withAec, record("AECXDATA", {"AREA=134.5sq.ft.", "ROOM_HEIGHT=9ft."}));
    const cad::ObjectId bare = addSpaceBlock(*db, "ROOM-3", rectangle(0, 0, 10, 10), {});

    {
        auto reference = db->open<cad::BlockReference>(withAde);
        CBlockDWG block(*reference, *db);
        EXPECT_EQ(block.getXDataAppName(), "ADE");
        EXPECT_DOUBLE_EQ(block.getArea(), 12.5);
        EXPECT_EQ(block.getTagType(), "Office");
        EXPECT_EQ(block.getName(), "R1.01");
        EXPECT_EQ(block.getCode(), "R1.01");
        EXPECT_EQ(block.getBlockName(), "ROOM-1");
        EXPECT_EQ(block.getHandle(), reference->handle().toString());
        EXPECT_EQ(block.getAcDbHandle(), reference->handle());
        EXPECT_EQ(block.getObjectId(), withAde);
        EXPECT_EQ(block.getLayer(), "0");
        ASSERT_NE(block.getAttributes(), nullptr);
        EXPECT_EQ(block.getAttributes()->getCount(), 3u);
        ASSERT_NE(block.getHyperlinks(), nullptr);
        EXPECT_EQ(block.getHyperlinks()->getCount(), 0u);
    }
    {
        auto reference = db->open<cad::BlockReference>(withAec, cad::OpenMode::ForWrite);
        CBlockDWG block(*reference, *db);
        EXPECT_EQ(block.getXDataAppName(), "AECXDATA");
        EXPECT_EQ(block.getUnits(), 1);
        EXPECT_DOUBLE_EQ(block.getRoomHeight(), 9.0);
        EXPECT_EQ(block.getName(), "ROOM-2");  // no name attribute: the block name
        EXPECT_EQ(block.getCode(), "");
        block.writeXData(*reference);
        EXPECT_EQ(texts(reference->xData("AECXDATA"))[2], "AREA=134.5sq.ft.");
        EXPECT_TRUE(reference->xData("ADE").empty());
    }
    {
        auto reference = db->open<cad::BlockReference>(bare, cad::OpenMode::ForWrite);
        CBlockDWG block(*reference, *db);
        EXPECT_EQ(block.getXDataAppName(), "No X Data");
        EXPECT_EQ(block.getUnits(), -1);
        block.setArea(12.5);
        block.setPerimeter(1.0 / 3.0);
        block.writeXData(*reference);
        EXPECT_EQ(block.getXDataAppName(), "ADE");
        const auto items = texts(reference->xData("ADE"));
        ASSERT_EQ(items.size(), 19u);
        EXPECT_EQ(items[2], "AREA=12.5sq.m.");
        EXPECT_EQ(items[3], "PERIMETER=0.333333m.");
        EXPECT_EQ(items[4], "NAME=ROOM-3");
        EXPECT_EQ(items[11], "ROOM_HEIGHT=0m.");
        EXPECT_EQ(items[15], "VOLUME=0cu.m.");
    }
}

TEST(BlockRecord, ConvertUnitsOnlyWhenTheUnitsChangeAndVolumeFollowsAreaAndHeight) {
    CBlockDWG block;
    block.setUnits(0);
    block.setArea(10.0);
    block.setPerimeter(10.0);
    block.setRoomHeight(3.0);
    block.convertUnits(1);
    EXPECT_DOUBLE_EQ(block.getArea(), 107.639104);
    EXPECT_DOUBLE_EQ(block.getPerimeter(), 32.808399);
    EXPECT_EQ(block.getUnits(), 1);
    block.convertUnits(1);
    EXPECT_DOUBLE_EQ(block.getArea(), 107.639104);
    block.convertUnits(0);
    EXPECT_DOUBLE_EQ(block.getArea(), 10.0);
    EXPECT_DOUBLE_EQ(block.getPerimeter(), 10.0);
    EXPECT_EQ(block.getUnits(), 0);
    EXPECT_DOUBLE_EQ(block.getRoomHeight(), 3.0);
    block.setArea(12.0);
    block.setRoomHeight(2.5);
    block.updateVolume();
    EXPECT_DOUBLE_EQ(block.getVolume(), 30.0);
}

TEST(BlockRecord, HandleTextAndNumberStayInStep) {
    CBlockDWG block;
    block.setHandle(cad::Handle(0x2F1A));
    EXPECT_EQ(block.getHandle(), "2F1A");
    block.setHandle(std::string("1b"));
    EXPECT_EQ(block.getAcDbHandle(), cad::Handle(0x1B));
    block.setHandle(std::string("not a handle"));
    EXPECT_TRUE(block.getAcDbHandle().isNull());
}

TEST(BlockRecord, CopiesAreDeepAndOutliveTheirSource) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId id = addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10), standardAttributes("R1"));
    {
        auto entity = db->open<cad::Entity>(id, cad::OpenMode::ForWrite);
        ASSERT_EQ(cad::setHyperlinks(*entity, {{"http://x/1", "one", "", 0}}), cad::ErrorStatus::eOk);
    }
    CBlockDWGRoom target;
    {
        auto reference = db->open<cad::BlockReference>(id);
        auto source = std::make_unique<CBlockDWG>(*reference, *db);
        source->setTotStaff("3");
        source->setReserved(5);
        source->setZoomBorder(2.0);
        source->copyInto(target);
        EXPECT_NE(target.getAttributes(), source->getAttributes());
        EXPECT_NE(target.getHyperlinks(), source->getHyperlinks());
        source->getAttributes()->getAtAttribute(CKorvaAttribute::kName)->setValue("changed");
    }
    EXPECT_EQ(target.getObjectId(), id);
    EXPECT_EQ(target.getBlockName(), "ROOM-1");
    EXPECT_EQ(target.getTotStaff(), "3");
    EXPECT_EQ(target.getReserved(), 5);
    EXPECT_EQ(target.getBlockType(), CBlock::kBlockDWG);
    EXPECT_EQ(target.getZoomBorder(), 0.0);  // not part of the record
    EXPECT_EQ(target.getAttributes()->getAtAttribute(CKorvaAttribute::kName)->getValue(), "R1");
    ASSERT_EQ(target.getHyperlinks()->getCount(), 1u);
    EXPECT_EQ(target.getHyperlinks()->getAt(0).getHref(), "http://x/1");

    // A source without collections leaves the target's in place.
    CBlockDWG bare;
    bare.copyInto(target);
    EXPECT_NE(target.getAttributes(), nullptr);
    EXPECT_NE(target.getHyperlinks(), nullptr);
}

TEST(BlockXml, ElementsAreWrittenWhenSetAndReadBack) {
    CXMLUtilities factory;
    const std::string ns = "urn:test";
    CBlockDWG block;
    block.setHandle(cad::Handle(0x2F1A));
    block.setArea(12.5);
    pugi::xml_node minimal = block.serialize(factory, ns);
    std::vector<std::string> names;
    for (pugi::xml_node c : minimal.children()) names.push_back(c.name());
    EXPECT_EQ(std::string(minimal.name()), "korvaBlock");
    EXPECT_EQ(names, (std::vector<std::string>{"mbHandle", "mbArea"}));
    EXPECT_EQ(std::string(minimal.child("mbArea").text().get()), "12.50");

    block.setName("Office");
    block.setCode("R1");
    auto attributes = std::make_unique<CAttributes>();
    attributes->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kAux, "aux text"));
    attributes->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "name text"));
    block.setAttributes(std::move(attributes));
    auto links = std::make_unique<CHyperlinks>();
    links->add(std::make_unique<CHyperlink>("http://a", ""));
    block.setHyperlinks(std::move(links));
    pugi::xml_node full = block.serialize(factory, ns);
    names.clear();
    for (pugi::xml_node c : full.children()) names.push_back(c.name());
    EXPECT_EQ(names, (std::vector<std::string>{"mbHandle", "mbName", "mbCode", "mbArea", "mbSwapName",
                                               "mbSwapAux", "hyperlinks"}));

    CBlockDWG back;
    back.deSerialize(full);
    EXPECT_EQ(back.getHandle(), "2F1A");
    EXPECT_EQ(back.getAcDbHandle(), cad::Handle(0x2F1A));
    EXPECT_EQ(back.getName(), "Office");
    EXPECT_EQ(back.getCode(), "R1");
    EXPECT_DOUBLE_EQ(back.getArea(), 12.5);
    ASSERT_NE(back.getAttributes(), nullptr);
    EXPECT_EQ(back.getAttributes()->getAtAttribute(CKorvaAttribute::kName)->getValue(), "name text");
    EXPECT_EQ(back.getAttributes()->getAtAttribute(CKorvaAttribute::kAux)->getValue(), "aux text");
    EXPECT_EQ(back.getAttributes()->getAtAttribute(CKorvaAttribute::kArea), nullptr);
    ASSERT_NE(back.getHyperlinks(), nullptr);
    EXPECT_EQ(back.getHyperlinks()->getAt(0).getHref(), "http://a");
    EXPECT_EQ(back.getTagType(), "<Not Set>");
}

TEST(BlockRecord, ApplyWritesNameRecordAndAttributesUnderTheLock) {
    cad::ScriptInput input;
    cad::HostApplication host(cad::HostProfile::AutoCAD, input);
    cad::Document& drawing = host.documentManager().newDocument();
    cad::Database* db = &drawing.database();
    const cad::ObjectId id = addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10), standardAttributes("old"));
    std::unique_ptr<CBlockDWG> block;
    {
        auto reference = db->open<cad::BlockReference>(id);
        block = std::make_unique<CBlockDWG>(*reference, *db);
    }
    block->setBlockName("ROOM-7");
    block->getAttributes()->getAtAttribute(CKorvaAttribute::kName)->setValue("new");
    block->setArea(3.0);
    block->setPrecision(2);
    CKorvaExceptions errors;
    block->applyToDWG(drawing, errors);
    EXPECT_EQ(errors.getCount(), 0u);
    EXPECT_FALSE(drawing.isLocked());
    auto reference = db->open<cad::BlockReference>(id);
    EXPECT_EQ(reference->blockName(), "ROOM-7");
    EXPECT_TRUE(db->recordId(cad::TableKind::Block, "ROOM-1").isNull());
    EXPECT_EQ(texts(reference->xData("ADE"))[2], "AREA=3.00sq.m.");
    EXPECT_EQ(texts(reference->xData("ADE"))[4], "NAME=new");
    auto name = db->open<cad::Attribute>(reference->attributeId("NAME"));
    EXPECT_EQ(name->textString(), "new");

    // A record whose reference is gone fails with a trace naming the operation.
    CBlockDWG lost;
    try {
        lost.applyToDWG(drawing, errors);
        FAIL() << "expected a failure";
    } catch (const CEXKorva& failure) {
        EXPECT_EQ(failure.getProcSig(), "CBlockDWG::applyToDWG");
        EXPECT_EQ(failure.getClass(), "BlockDWG");
    }
}

TEST(BlockRecord, CopyFormattingTakesAreaFormattingValuesByKindAndHyperlinks) {
    CBlockDWG source;
    source.setArea(42.0);
    auto attributes = std::make_unique<CAttributes>();
    attributes->setTextHeight(120);
    attributes->setRotation(30);
    attributes->setWidthFactor(0.7);
    attributes->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kArea, "42.00 sq.m."));
    attributes->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kAux, "Dept"));
    source.setAttributes(std::move(attributes));
    auto links = std::make_unique<CHyperlinks>();
    links->add(std::make_unique<CHyperlink>("http://a", "A"));
    source.setHyperlinks(std::move(links));

    CBlockDWG target;
    target.setName("kept");
    auto existing = std::make_unique<CAttributes>();
    existing->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "Target name"));
    existing->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kArea, "old"));
    target.setAttributes(std::move(existing));
    source.copyFormatting(target);

    EXPECT_DOUBLE_EQ(target.getArea(), 42.0);
    EXPECT_EQ(target.getName(), "kept");
    const CAttributes& result = *target.getAttributes();
    EXPECT_DOUBLE_EQ(result.getTextHeight(), 120);
    EXPECT_DOUBLE_EQ(result.getRotation(), 30);
    EXPECT_DOUBLE_EQ(result.getWidthFactor(), 0.7);
    EXPECT_EQ(result.getCount(), 3u);
    EXPECT_EQ(result.getAtAttribute(CKorvaAttribute::kName)->getValue(), "Target name");
    EXPECT_EQ(result.getAtAttribute(CKorvaAttribute::kArea)->getValue(), "42.00 sq.m.");
    EXPECT_EQ(result.getAtAttribute(CKorvaAttribute::kAux)->getValue(), "Dept");
    ASSERT_NE(target.getHyperlinks(), nullptr);
    EXPECT_NE(target.getHyperlinks(), source.getHyperlinks());
    EXPECT_EQ(target.getHyperlinks()->getAt(0).getHref(), "http://a");
}
