#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "engine/db/Attribute.h"
#include "engine/db/BlockReference.h"
#include "engine/db/Dictionary.h"
#include "engine/db/Hatch.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/XRecord.h"

using namespace cad;

TEST(DeepClone, CopiesEntitiesWithWhatTheyOwnAndMapsIds) {
    auto db = Database::createDefault();
    db->registerApplication("LINKS");
    const ObjectId door = test::addBlockRecord(*db, "DOOR"), target = test::addBlockRecord(*db, "COPIES");

    ObjectId outline = test::append(*db, test::rectangle(0, 0, 4, 3));
    ObjectId refId = test::append(*db, std::make_unique<BlockReference>(Point3d{1, 1, 0}, door));
    auto* ref = static_cast<BlockReference*>(db->objectAt(refId));
    auto attribute = std::make_unique<Attribute>();
    attribute->setTag("NAME");
    attribute->setTextString("Office");
    ObjectId attId;
    ref->appendAttribute(std::move(attribute), &attId);
    ref->createExtensionDictionary();
    auto* xdict = static_cast<Dictionary*>(db->objectAt(ref->extensionDictionary()));
    ObjectId recordId;
    xdict->setAt("DATA", std::make_unique<XRecord>(), &recordId);
    // The reference points at the outline through its extended data.
    ASSERT_EQ(ref->setXData({XDataItem::appName("LINKS"), XDataItem::handle(db->handleOf(outline))}), ErrorStatus::eOk);

    auto hatch = std::make_unique<Hatch>();
    hatch->setAssociative(true);
    ObjectId hatchId = test::append(*db, std::move(hatch));
    ASSERT_EQ(static_cast<Hatch*>(db->objectAt(hatchId))->appendLoop(HatchLoop::kOutermost, {outline}),
              ErrorStatus::eOk);

    IdMapping mapping;
    ASSERT_EQ(db->deepCloneObjects({outline, refId, hatchId}, target, mapping), ErrorStatus::eOk);
    ObjectId refCopyId = mapping.find(refId);
    ObjectId attCopyId = mapping.find(attId);
    ASSERT_FALSE(refCopyId.isNull());
    ASSERT_FALSE(attCopyId.isNull());
    EXPECT_FALSE(mapping.find(recordId).isNull());
    EXPECT_EQ(mapping.size(), 6u);  // outline, reference, attribute, xdict, record, hatch

    auto* targetBlock = static_cast<BlockTableRecord*>(db->objectAt(target));
    std::vector<ObjectId> expected{mapping.find(outline), refCopyId, mapping.find(hatchId)};
    EXPECT_EQ(targetBlock->entityIds(), expected);

    auto refCopy = db->open<BlockReference>(refCopyId);
    ASSERT_TRUE(refCopy);
    EXPECT_EQ(refCopy->ownerId(), target);
    EXPECT_NE(refCopy->handle(), ref->handle());
    EXPECT_EQ(refCopy->attributeIds(), std::vector<ObjectId>{attCopyId});
    EXPECT_EQ(db->objectAt(attCopyId)->ownerId(), refCopyId);
    EXPECT_EQ(static_cast<Attribute*>(db->objectAt(attCopyId))->textString(), "Office");
    EXPECT_EQ(refCopy->extensionDictionary(), mapping.find(ref->extensionDictionary()));
    EXPECT_EQ(static_cast<Dictionary*>(db->objectAt(refCopy->extensionDictionary()))->getAt("DATA"),
              mapping.find(recordId));
    EXPECT_EQ(refCopy->xData("LINKS")[1].asHandle(), db->handleOf(mapping.find(outline)));
    EXPECT_TRUE(refCopy->source().empty());
    EXPECT_TRUE(refCopy->isModified());

    auto hatchCopy = db->open<Hatch>(mapping.find(hatchId));
    EXPECT_EQ(hatchCopy->loops()[0].sourceIds, std::vector<ObjectId>{mapping.find(outline)});

    // The originals are untouched and independent.
    EXPECT_EQ(ref->attributeIds(), std::vector<ObjectId>{attId});
    EXPECT_EQ(ref->xData("LINKS")[1].asHandle(), db->handleOf(outline));
    static_cast<Attribute*>(db->objectAt(attCopyId))->setTextString("Copy");
    EXPECT_EQ(static_cast<Attribute*>(db->objectAt(attId))->textString(), "Office");
}

TEST(DeepClone, RefusesErasedSourcesAndNonBlockOwners) {
    auto db = Database::createDefault();
    ObjectId line = test::append(*db, test::rectangle(0, 0, 1, 1));
    IdMapping mapping;
    EXPECT_EQ(db->deepCloneObjects({line}, db->layerTableId(), mapping), ErrorStatus::eWrongObjectType);
    db->erase(line);
    EXPECT_EQ(db->deepCloneObjects({line}, db->modelSpaceId(), mapping), ErrorStatus::eWasErased);
    EXPECT_EQ(mapping.size(), 0u);
}
