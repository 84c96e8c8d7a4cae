#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

#include "DbTestSupport.h"
#include "engine/db/HandleIndex.h"
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

TEST(HandleLookup, IndexAgreesWithAMapWhateverOrderHandlesComeIn) {
    // In file order from 1, from high up, downwards, at random over 64 bits, and a run that
    // jumps far ahead and then fills the gap, so that the array comes to cover handles stored
    // apart before.
    std::vector<std::vector<std::uint64_t>> orders(5);
    for (std::uint64_t h = 1; h <= 20000; ++h) orders[0].push_back(h);
    for (std::uint64_t h = 0; h < 5000; ++h) orders[1].push_back(0x7FFFFFFF00ull + 3 * h);
    for (std::uint64_t h = 30000; h > 0; h -= 3) orders[2].push_back(h);
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) orders[3].push_back(random() | 1);
    for (std::uint64_t h = 1; h <= 100; ++h) orders[4].push_back(h);
    for (std::uint64_t h = 50000; h < 50100; ++h) orders[4].push_back(h);
    for (std::uint64_t h = 101; h < 50000; h += 2) orders[4].push_back(h);
    for (const auto& order : orders) {
        HandleIndex index;
        std::unordered_map<std::uint64_t, std::uint32_t> expected;
        std::uint32_t next = 1;
        for (std::uint64_t h : order) {
            if (expected.count(h)) continue;
            ASSERT_EQ(index.find(Handle(h)), HandleIndex::kNone) << h;
            index.insert(Handle(h), next);
            expected[h] = next++;
        }
        EXPECT_EQ(index.size(), expected.size());
        for (const auto& [h, i] : expected) ASSERT_EQ(index.find(Handle(h)), i) << std::hex << h;
        // Neighbours never stored are not found, nor is the null handle.
        std::size_t absent = 0;
        for (const auto& [h, i] : expected)
            for (std::uint64_t near : {h + 1, h + 2, h * 2 + 1})
                if (!expected.count(near) && near != 0) {
                    ASSERT_EQ(index.find(Handle(near)), HandleIndex::kNone) << std::hex << near;
                    ++absent;
                }
        EXPECT_GT(absent, 0u);
        EXPECT_EQ(index.find(Handle()), HandleIndex::kNone);
    }
}
