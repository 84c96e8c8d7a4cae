#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "engine/db/Line.h"
#include "engine/db/UnknownObject.h"

using namespace cad;

TEST(Handle, TextFormIsUpperCaseHexAndParsesBothCases) {
    EXPECT_EQ(Handle(0x2F1A).toString(), "2F1A");
    EXPECT_EQ(Handle(0).toString(), "0");
    EXPECT_EQ(Handle(0xFFFFFFFFFFFFFFFFull).toString(), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Handle::parse("2f1a"), Handle(0x2F1A));
    EXPECT_EQ(Handle::parse(" 2F1A "), Handle(0x2F1A));
    EXPECT_FALSE(Handle::parse(""));
    EXPECT_FALSE(Handle::parse("2F1G"));
    EXPECT_FALSE(Handle::parse("#2F1A"));
    EXPECT_FALSE(Handle::parse("12345678901234567"));  // 17 digits
}

TEST(HandleLookup, UnknownErasedAndMalformedHandles) {
    auto db = Database::createDefault();
    ObjectId line = test::append(*db, std::make_unique<Line>(Point3d{0, 0}, Point3d{1, 1}));
    Handle h = db->handleOf(line);
    ASSERT_FALSE(h.isNull());

    ObjectId found;
    EXPECT_EQ(db->getObjectId(found, h), ErrorStatus::eOk);
    EXPECT_EQ(found, line);
    EXPECT_EQ(db->getObjectId(found, h.toString()), ErrorStatus::eOk);
    EXPECT_EQ(found, line);

    // A handle nobody has is "gone", as is an erased object's.
    EXPECT_EQ(db->getObjectId(found, db->handseed()), ErrorStatus::eWasErased);
    EXPECT_TRUE(found.isNull());
    EXPECT_EQ(db->getObjectId(found, Handle{}), ErrorStatus::eWasErased);
    EXPECT_EQ(db->getObjectId(found, "xyz"), ErrorStatus::eInvalidHandle);

    ASSERT_EQ(db->erase(line), ErrorStatus::eOk);
    EXPECT_EQ(db->getObjectId(found, h), ErrorStatus::eWasErased);
    EXPECT_EQ(db->getObjectId(found, h, true), ErrorStatus::eOk);
    EXPECT_EQ(found, line);
}

TEST(HandleLookup, SeedStaysAboveEveryHandleAndHandlesAreNeverReused) {
    Database db;
    ObjectId a, b;
    ASSERT_EQ(db.addObject(std::make_unique<UnknownObject>("FOO"), {}, Handle(0x100), &a), ErrorStatus::eOk);
    EXPECT_EQ(db.handseed(), Handle(0x101));
    ASSERT_EQ(db.addObject(std::make_unique<UnknownObject>("FOO"), {}, {}, &b), ErrorStatus::eOk);
    EXPECT_EQ(db.handleOf(b), Handle(0x101));

    // A taken handle is refused and the object stays with the caller.
    std::unique_ptr<DbObject> dup = std::make_unique<UnknownObject>("BAR");
    EXPECT_EQ(db.addObject(std::move(dup), {}, Handle(0x100)), ErrorStatus::eHandleInUse);
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(dup->dxfName(), "BAR");

    db.setHandseed(Handle(0x50));  // lower seeds are ignored
    EXPECT_EQ(db.handseed(), Handle(0x102));
    db.erase(b);
    ObjectId c;
    db.addObject(std::make_unique<UnknownObject>("FOO"), {}, {}, &c);
    EXPECT_EQ(db.handleOf(c), Handle(0x102));
}

TEST(HandleLookup, ReservedIdsResolveOnceTheObjectArrives) {
    Database db;
    ObjectId early = db.reserveId(Handle(0x2A));
    ASSERT_FALSE(early.isNull());
    EXPECT_EQ(db.reserveId(Handle(0x2A)), early);
    ObjectId found;
    EXPECT_EQ(db.getObjectId(found, Handle(0x2A)), ErrorStatus::eWasErased);
    EXPECT_EQ(db.open(early).openStatus(), ErrorStatus::eWasErased);

    ObjectId filled;
    ASSERT_EQ(db.addObject(std::make_unique<UnknownObject>("THING", "AcDbThing"), {}, Handle(0x2A), &filled),
              ErrorStatus::eOk);
    EXPECT_EQ(filled, early);
    auto obj = db.open(early);
    ASSERT_TRUE(obj);
    EXPECT_EQ(obj->className(), "AcDbThing");
}
