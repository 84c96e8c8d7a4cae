#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "engine/db/Attribute.h"
#include "engine/db/BlockReference.h"
#include "engine/db/Circle.h"
#include "engine/db/Dictionary.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Line.h"
#include "engine/db/SymbolTable.h"

using namespace cad;

TEST(Open, StatusesOfTheGuard) {
    auto db = Database::createDefault();
    ObjectId locked = test::addLayer(*db, "WALLS", 7);
    static_cast<LayerTableRecord*>(db->objectAt(locked))->setLocked(true);
    auto line = std::make_unique<Line>(Point3d{0, 0}, Point3d{5, 0});
    line->setLayer(locked);
    ObjectId id = test::append(*db, std::move(line));
    db->clearModifiedFlags();

    {
        auto readLine = db->open<Line>(id);
        ASSERT_TRUE(readLine);
        EXPECT_EQ(readLine->className(), "AcDbLine");
        EXPECT_EQ(readLine->layerName(), "WALLS");
    }
    EXPECT_FALSE(db->objectAt(id)->isModified());

    EXPECT_EQ(db->open<Line>(id, OpenMode::ForWrite).openStatus(), ErrorStatus::eOnLockedLayer);
    EXPECT_EQ(db->open<Circle>(id).openStatus(), ErrorStatus::eWrongObjectType);
    EXPECT_EQ(db->open(ObjectId{}).openStatus(), ErrorStatus::eNullObjectId);
    EXPECT_EQ(db->open(ObjectId{999999}).openStatus(), ErrorStatus::eWasErased);

    // Upgrading a read open is checked like a write open.
    auto upgraded = db->open<Line>(id);
    EXPECT_EQ(upgraded.upgradeOpen(), ErrorStatus::eOnLockedLayer);
    EXPECT_EQ(upgraded.openMode(), OpenMode::ForRead);

    static_cast<LayerTableRecord*>(db->objectAt(locked))->setLocked(false);
    {
        auto writeLine = db->open<Line>(id, OpenMode::ForWrite);
        ASSERT_TRUE(writeLine);
    }
    // Opening for write alone changes nothing.
    EXPECT_FALSE(db->objectAt(id)->isModified());

    // Layer records themselves are not subject to the lock.
    static_cast<LayerTableRecord*>(db->objectAt(locked))->setLocked(true);
    EXPECT_TRUE(db->open<LayerTableRecord>(locked, OpenMode::ForWrite));
}

TEST(Open, SettersMarkTheObjectModifiedOnlyWhenAValueChanges) {
    auto db = Database::createDefault();
    ObjectId id = test::append(*db, std::make_unique<Circle>(Point3d{1, 1}, 2));
    ObjectId layer = test::addLayer(*db, "ROOMS", 7);
    auto ref = std::make_unique<BlockReference>(Point3d{0, 0}, db->modelSpaceId());
    ObjectId refId = test::append(*db, std::move(ref));
    auto attribute = std::make_unique<Attribute>();
    attribute->setTag("AREA");
    attribute->setTextString("12.50");
    ASSERT_EQ(db->open<BlockReference>(refId, OpenMode::ForWrite)->appendAttribute(std::move(attribute)),
              ErrorStatus::eOk);
    const ObjectId attId = db->open<BlockReference>(refId)->attributeIds().front();
    db->clearModifiedFlags();
    const std::uint64_t revision = db->revision();

    // The same values again, the way a command re-applies what it computed: nothing changes, and
    // the drawing's extents are not invalidated either.
    {
        auto circle = db->open<Circle>(id, OpenMode::ForWrite);
        circle->setRadius(2);
        circle->setCenter(Point3d{1, 1});
        circle->setColor(circle->color());
        circle->setLayer(circle->layerId());
        auto att = db->open<Attribute>(attId, OpenMode::ForWrite);
        att->setTextString("12.50");
        EXPECT_EQ(att->setTag("AREA"), ErrorStatus::eOk);
        att->setHeight(att->height());
        auto rec = db->open<LayerTableRecord>(layer, OpenMode::ForWrite);
        EXPECT_EQ(rec->setName("ROOMS"), ErrorStatus::eOk);
        rec->setLocked(false);
    }
    for (ObjectId o : {id, attId, layer, refId}) EXPECT_FALSE(db->objectAt(o)->isModified());
    EXPECT_EQ(db->revision(), revision);

    // Each real change marks only its own object.
    db->open<Circle>(id, OpenMode::ForWrite)->setRadius(3);
    EXPECT_TRUE(db->objectAt(id)->isModified());
    EXPECT_GT(db->revision(), revision);
    db->open<Attribute>(attId, OpenMode::ForWrite)->setTextString("12.75");
    EXPECT_TRUE(db->objectAt(attId)->isModified());
    EXPECT_FALSE(db->objectAt(refId)->isModified());
    // A rename that only changes case is a change.
    EXPECT_EQ(db->open<LayerTableRecord>(layer, OpenMode::ForWrite)->setName("Rooms"), ErrorStatus::eOk);
    EXPECT_TRUE(db->objectAt(layer)->isModified());
}

TEST(Erase, EraseUneraseAndWhatGoesWithIt) {
    auto db = Database::createDefault();
    auto* blocks = static_cast<SymbolTable*>(db->objectAt(db->blockTableId()));
    ObjectId blockId;
    ASSERT_EQ(blocks->add(std::make_unique<BlockTableRecord>("DOOR"), &blockId), ErrorStatus::eOk);
    ObjectId refId = test::append(*db, std::make_unique<BlockReference>(Point3d{}, blockId));
    auto* ref = static_cast<BlockReference*>(db->objectAt(refId));
    auto attribute = std::make_unique<Attribute>();
    attribute->setTag("NAME");
    ObjectId attId;
    ASSERT_EQ(ref->appendAttribute(std::move(attribute), &attId), ErrorStatus::eOk);
    ASSERT_EQ(ref->createExtensionDictionary(), ErrorStatus::eOk);
    ObjectId xdict = ref->extensionDictionary();
    ASSERT_FALSE(xdict.isNull());

    ASSERT_EQ(db->erase(refId), ErrorStatus::eOk);
    EXPECT_TRUE(db->objectAt(attId)->isErased());
    EXPECT_TRUE(db->objectAt(xdict)->isErased());
    EXPECT_EQ(db->open(refId).openStatus(), ErrorStatus::eWasErased);
    EXPECT_EQ(db->open(attId).openStatus(), ErrorStatus::eWasErased);
    EXPECT_TRUE(db->open(refId, OpenMode::ForRead, true));
    EXPECT_EQ(db->erase(refId), ErrorStatus::eWasErased);
    EXPECT_TRUE(test::modelSpace(*db).liveEntityIds().empty());

    ASSERT_EQ(db->erase(refId, false), ErrorStatus::eOk);
    EXPECT_FALSE(db->objectAt(attId)->isErased());
    EXPECT_FALSE(db->objectAt(xdict)->isErased());
    EXPECT_EQ(test::modelSpace(*db).liveEntityIds(), std::vector<ObjectId>{refId});

    // Erasing the block definition erases its entities; the standard objects are protected.
    ObjectId inner = test::append(*db, std::make_unique<Line>(), blockId);
    ASSERT_EQ(db->erase(blockId), ErrorStatus::eOk);
    EXPECT_TRUE(db->objectAt(inner)->isErased());
    EXPECT_FALSE(blocks->has("DOOR"));
    EXPECT_EQ(db->erase(db->modelSpaceId()), ErrorStatus::eCannotBeErasedByCaller);
    EXPECT_EQ(db->erase(db->recordId(TableKind::Layer, "0")), ErrorStatus::eCannotBeErasedByCaller);
    EXPECT_EQ(db->erase(db->layerTableId()), ErrorStatus::eCannotBeErasedByCaller);
}

TEST(Erase, ErasedDictionaryEntriesAndRecordsAreInvisibleToLookups) {
    auto db = Database::createDefault();
    auto* groups = static_cast<Dictionary*>(db->objectAt(db->namedObject("ACAD_GROUP")));
    ObjectId first;
    ASSERT_EQ(groups->setAt("G1", std::make_unique<Dictionary>(), &first), ErrorStatus::eOk);
    EXPECT_EQ(groups->getAt("g1"), first);
    db->erase(first);
    EXPECT_TRUE(groups->getAt("G1").isNull());

    auto* layers = static_cast<SymbolTable*>(db->objectAt(db->layerTableId()));
    ObjectId a = test::addLayer(*db, "A", 7);
    db->erase(a);
    EXPECT_FALSE(layers->has("A"));
    ObjectId again = test::addLayer(*db, "a", 7);  // the name is free again
    EXPECT_EQ(layers->getAt("A"), again);
}
