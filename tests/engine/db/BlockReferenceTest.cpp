#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DbTestSupport.h"
#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/SymbolTable.h"

using namespace cad;

TEST(BlockReference, TransformAndAttributesMoveTogether) {
    auto db = Database::createDefault();
    ObjectId block = test::addBlockRecord(*db, "ROOM-1");
    static_cast<BlockTableRecord*>(db->objectAt(block))->setOrigin({1, 0, 0});
    auto def = std::make_unique<AttributeDefinition>();
    ASSERT_EQ(def->setTag("NAME"), ErrorStatus::eOk);
    EXPECT_EQ(def->setTag("TWO WORDS"), ErrorStatus::eInvalidInput);
    def->setPrompt("Name");
    def->setTextString("?");
    def->setPosition({1, 1, 0});
    def->setHeight(0.5);
    def->setConstant(true);
    def->setInvisible(true);
    ObjectId defId = test::append(*db, std::move(def), block);
    EXPECT_TRUE(static_cast<BlockTableRecord*>(db->objectAt(block))->hasAttributeDefinitions());

    auto refOwned = std::make_unique<BlockReference>(Point3d{10, 0, 0}, block);
    refOwned->setScaleFactors({2, 2, 2});
    refOwned->setRotation(std::numbers::pi / 2);
    ObjectId refId = test::append(*db, std::move(refOwned));
    auto ref = db->open<BlockReference>(refId, OpenMode::ForWrite);
    EXPECT_EQ(ref->blockName(), "ROOM-1");

    // Block point (1,1) is 1 above the base point: scaled 2, turned left, moved to (10,0).
    Matrix3d bt = ref->blockTransform();
    EXPECT_TRUE((bt * Point3d{1, 1, 0}).isEqualTo({8, 0, 0}, 1e-12));

    auto attribute = std::make_unique<Attribute>();
    attribute->setAttributeFromBlock(*static_cast<AttributeDefinition*>(db->objectAt(defId)), bt);
    EXPECT_EQ(attribute->tag(), "NAME");
    EXPECT_FALSE(attribute->isConstant());
    EXPECT_TRUE(attribute->isInvisible());
    EXPECT_DOUBLE_EQ(attribute->height(), 1.0);
    EXPECT_NEAR(attribute->rotation(), std::numbers::pi / 2, 1e-12);
    EXPECT_TRUE(attribute->position().isEqualTo({8, 0, 0}, 1e-12));
    ObjectId attId;
    ASSERT_EQ(ref->appendAttribute(std::move(attribute), &attId), ErrorStatus::eOk);
    EXPECT_EQ(ref->attributeId("name"), attId);
    EXPECT_EQ(db->objectAt(attId)->ownerId(), refId);
    EXPECT_EQ(static_cast<Entity*>(db->objectAt(attId))->blockId(), db->modelSpaceId());

    ASSERT_EQ(ref->transformBy(Matrix3d::translation({0, 5, 0})), ErrorStatus::eOk);
    EXPECT_TRUE(ref->position().isEqualTo({10, 5, 0}, 1e-12));
    EXPECT_TRUE(static_cast<Attribute*>(db->objectAt(attId))->position().isEqualTo({8, 5, 0}, 1e-12));

    // Decomposing a mirrored transform gives a reference with the same transform.
    Matrix3d mirrored = Matrix3d::scaling(-1, 1, 1) * ref->blockTransform();
    ASSERT_EQ(ref->setBlockTransform(mirrored), ErrorStatus::eOk);
    EXPECT_TRUE(ref->blockTransform().isEqualTo(mirrored, 1e-9));
    Matrix3d tilted = Matrix3d::rotation(0.3, Vector3d{1, 0, 0}) * Matrix3d::scaling(1, 1, -1);
    ASSERT_EQ(ref->setBlockTransform(tilted), ErrorStatus::eOk);
    EXPECT_TRUE(ref->blockTransform().isEqualTo(tilted, 1e-9));
}

TEST(BlockReference, AttributesFromTheBlockDefinitions) {
    auto db = Database::createDefault();
    ObjectId block = test::addBlockRecord(*db, "ROOM-2");
    for (const char* tag : {"NAME", "AREA", "FIXED", "AUX"}) {
        auto def = std::make_unique<AttributeDefinition>();
        def->setTag(tag);
        def->setTextString(std::string("<") + tag + ">");
        def->setConstant(std::string(tag) == "FIXED");
        test::append(*db, std::move(def), block);
    }
    ObjectId refId = test::append(*db, std::make_unique<BlockReference>(Point3d{100, 0, 0}, block));
    auto ref = db->open<BlockReference>(refId, OpenMode::ForWrite);
    ASSERT_EQ(ref->appendAttributesFromBlock(), ErrorStatus::eOk);
    ASSERT_EQ(ref->attributeIds().size(), 3u);
    std::vector<std::string> tags;
    for (ObjectId id : ref->attributeIds()) tags.push_back(static_cast<Attribute*>(db->objectAt(id))->tag());
    EXPECT_EQ(tags, (std::vector<std::string>{"NAME", "AREA", "AUX"}));
    auto* area = static_cast<Attribute*>(db->objectAt(ref->attributeId("AREA")));
    EXPECT_EQ(area->textString(), "<AREA>");
    EXPECT_TRUE(area->position().isEqualTo({100, 0, 0}));
    ASSERT_EQ(ref->appendAttributesFromBlock(), ErrorStatus::eOk);  // nothing added twice
    EXPECT_EQ(ref->attributeIds().size(), 3u);
    EXPECT_TRUE(db->isLive(refId));
    db->erase(refId);
    EXPECT_FALSE(db->isLive(ref->attributeIds()[0]));
}

TEST(BlockReference, DynamicBlockTrueName) {
    auto db = Database::createDefault();
    db->registerApplication("AcDbBlockRepBTag");
    db->registerApplication("AcDbDynamicBlockGUID");
    ObjectId dynamic = test::addBlockRecord(*db, "DESK");
    ObjectId rep = test::addBlockRecord(*db, "*U");
    ObjectId plainAnonymous = test::addBlockRecord(*db, "*U");
    static_cast<BlockTableRecord*>(db->objectAt(dynamic))
        ->setXData({XDataItem::appName("AcDbDynamicBlockGUID"), XDataItem::text("{0000}")});
    static_cast<BlockTableRecord*>(db->objectAt(rep))
        ->setXData({XDataItem::appName("AcDbBlockRepBTag"), XDataItem::int16(1),
                    XDataItem::handle(db->handleOf(dynamic))});

    auto nameOf = [&](ObjectId block) {
        ObjectId id = test::append(*db, std::make_unique<BlockReference>(Point3d{}, block));
        return db->open<BlockReference>(id)->effectiveName();
    };
    EXPECT_EQ(nameOf(rep), "DESK");
    EXPECT_EQ(nameOf(dynamic), "DESK");
    std::string anonymousName = static_cast<BlockTableRecord*>(db->objectAt(plainAnonymous))->name();
    EXPECT_EQ(nameOf(plainAnonymous), anonymousName);
    EXPECT_TRUE(static_cast<BlockTableRecord*>(db->objectAt(rep))->dynamicBlockSourceId() == dynamic);
}
