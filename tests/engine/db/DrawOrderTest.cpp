#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "engine/db/Dictionary.h"
#include "engine/db/Line.h"
#include "engine/db/SortentsTable.h"

using namespace cad;

TEST(DrawOrder, MoveToBottomReusesTheExistingKeys) {
    auto db = Database::createDefault();
    std::vector<ObjectId> ids;
    for (int i = 0; i < 4; ++i) ids.push_back(test::append(*db, std::make_unique<Line>()));
    ObjectId block = db->modelSpaceId();
    EXPECT_EQ(db->drawOrder(block), ids);  // no table: block order

    ObjectId tableId;
    EXPECT_EQ(db->getSortentsTable(block, tableId, false), ErrorStatus::eKeyNotFound);
    ASSERT_EQ(db->getSortentsTable(block, tableId, true), ErrorStatus::eOk);
    auto* xdict = static_cast<Dictionary*>(db->objectAt(test::modelSpace(*db).extensionDictionary()));
    ASSERT_NE(xdict, nullptr);
    EXPECT_EQ(xdict->getAt("ACAD_SORTENTS"), tableId);
    ObjectId sameTable;
    ASSERT_EQ(db->getSortentsTable(block, sameTable, true), ErrorStatus::eOk);
    EXPECT_EQ(sameTable, tableId);

    auto table = db->open<SortentsTable>(tableId, OpenMode::ForWrite);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->moveToBottom({ids[2]}), ErrorStatus::eOk);
    std::vector<ObjectId> expected{ids[2], ids[0], ids[1], ids[3]};
    EXPECT_EQ(db->drawOrder(block), expected);
    // Keys are the old ones handed out again; the last entity keeps its own.
    EXPECT_EQ(table->sortKeyOf(ids[2]), db->handleOf(ids[0]));
    EXPECT_EQ(table->sortKeyOf(ids[1]), db->handleOf(ids[2]));
    EXPECT_EQ(table->entries().size(), 3u);

    ASSERT_EQ(table->moveToBottom({ids[3], ids[1]}), ErrorStatus::eOk);
    expected = {ids[1], ids[3], ids[2], ids[0]};
    EXPECT_EQ(db->drawOrder(block), expected);
    ASSERT_EQ(table->moveToTop({ids[1]}), ErrorStatus::eOk);
    expected = {ids[3], ids[2], ids[0], ids[1]};
    EXPECT_EQ(db->drawOrder(block), expected);

    // Erased entities drop out; new ones are drawn last.
    db->erase(ids[2]);
    ObjectId added = test::append(*db, std::make_unique<Line>());
    expected = {ids[3], ids[0], ids[1], added};
    EXPECT_EQ(db->drawOrder(block), expected);
    EXPECT_EQ(table->moveToBottom({ids[2]}), ErrorStatus::eInvalidInput);
}
