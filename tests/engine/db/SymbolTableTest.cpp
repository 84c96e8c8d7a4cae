#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/SymbolName.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TextStyleTableRecord.h"

using namespace cad;

namespace {
SymbolTable& table(Database& db, TableKind kind) { return *static_cast<SymbolTable*>(db.objectAt(db.tableId(kind))); }
}  // namespace

TEST(SymbolTable, DuplicateNamesIgnoreCaseAndAreRefused) {
    auto db = Database::createDefault();
    SymbolTable& blocks = table(*db, TableKind::Block);
    ASSERT_EQ(blocks.add(std::make_unique<BlockTableRecord>("ROOM-1")), ErrorStatus::eOk);
    auto dup = std::make_unique<BlockTableRecord>("room-1");
    EXPECT_EQ(blocks.add(std::move(dup)), ErrorStatus::eDuplicateRecordName);
    ASSERT_NE(dup, nullptr);  // refused records stay with the caller
    EXPECT_EQ(table(*db, TableKind::Layer).add(std::make_unique<LayerTableRecord>("0")),
              ErrorStatus::eDuplicateRecordName);

    // Renaming onto a taken name is refused too; renaming keeps lookups right.
    ObjectId second;
    ASSERT_EQ(blocks.add(std::make_unique<BlockTableRecord>("ROOM-2"), &second), ErrorStatus::eOk);
    auto* record = static_cast<BlockTableRecord*>(db->objectAt(second));
    EXPECT_EQ(record->setName("Room-1"), ErrorStatus::eDuplicateRecordName);
    ASSERT_EQ(record->setName("ROOM-3"), ErrorStatus::eOk);
    EXPECT_EQ(blocks.getAt("room-3"), second);
    EXPECT_TRUE(blocks.getAt("ROOM-2").isNull());
    EXPECT_EQ(record->setName("room-3"), ErrorStatus::eOk);  // its own name in another case
}

TEST(SymbolTable, NamesBreakingTheRulesAreRefused) {
    for (const char* bad : {"", "A<B", "A>B", "A/B", "A\\B", "A\"B", "A:B", "A;B", "A?B", "A*B", "A|B", "A,B",
                            "A=B", "A`B", " LEAD", "TRAIL ", "TAB\tX"}) {
        EXPECT_FALSE(isValidSymbolName(bad)) << bad;
    }
    for (const char* good : {"0", "##HATCH", "ATT-NAME", "Room A", "[KORVA_LEGEND]_x", "Ärger"})
        EXPECT_TRUE(isValidSymbolName(good)) << good;
    EXPECT_TRUE(isValidSymbolName("*U3", SymbolNameRule::Block));
    EXPECT_FALSE(isValidSymbolName("*U3"));
    EXPECT_FALSE(isValidSymbolName(std::string(256, 'A')));

    auto db = Database::createDefault();
    EXPECT_EQ(table(*db, TableKind::Layer).add(std::make_unique<LayerTableRecord>("BAD*NAME")),
              ErrorStatus::eInvalidSymbolTableName);
    EXPECT_EQ(table(*db, TableKind::Block).add(std::make_unique<BlockTableRecord>("A:B")),
              ErrorStatus::eInvalidSymbolTableName);
    ObjectId style;
    ASSERT_EQ(table(*db, TableKind::TextStyle).add(std::make_unique<TextStyleTableRecord>("Notes"), &style),
              ErrorStatus::eOk);
    EXPECT_EQ(static_cast<SymbolTableRecord*>(db->objectAt(style))->setName("No?tes"),
              ErrorStatus::eInvalidSymbolTableName);
    // A record of another table is not accepted.
    EXPECT_EQ(table(*db, TableKind::Layer).add(std::make_unique<TextStyleTableRecord>("X")),
              ErrorStatus::eWrongObjectType);
}

TEST(SymbolTable, AnonymousBlocksAreNumbered) {
    auto db = Database::createDefault();
    SymbolTable& blocks = table(*db, TableKind::Block);
    ObjectId a, b;
    ASSERT_EQ(blocks.add(std::make_unique<BlockTableRecord>("*U"), &a), ErrorStatus::eOk);
    ASSERT_EQ(blocks.add(std::make_unique<BlockTableRecord>("*U"), &b), ErrorStatus::eOk);
    auto* first = static_cast<BlockTableRecord*>(db->objectAt(a));
    auto* second = static_cast<BlockTableRecord*>(db->objectAt(b));
    EXPECT_NE(first->name(), second->name());
    EXPECT_EQ(first->name().substr(0, 2), "*U");
    EXPECT_TRUE(first->isAnonymous());
    EXPECT_FALSE(static_cast<BlockTableRecord*>(db->objectAt(db->modelSpaceId()))->isAnonymous());
    EXPECT_TRUE(static_cast<BlockTableRecord*>(db->objectAt(db->paperSpaceId()))->isLayout());
}

TEST(SymbolTable, ReaderMayKeepDamagedNamesAndDuplicates) {
    Database db;
    ObjectId tableId;
    db.addObject(std::make_unique<SymbolTable>(TableKind::Layer), {}, {}, &tableId);
    auto& layers = *static_cast<SymbolTable*>(db.objectAt(tableId));
    ObjectId first, second;
    ASSERT_EQ(layers.add(std::make_unique<LayerTableRecord>("DUP"), &first, Handle(0x10), false), ErrorStatus::eOk);
    ASSERT_EQ(layers.add(std::make_unique<LayerTableRecord>("dup"), &second, Handle(0x11), false), ErrorStatus::eOk);
    EXPECT_EQ(layers.recordIds().size(), 2u);
    EXPECT_EQ(layers.getAt("DUP"), first);
    EXPECT_FALSE(layers.getAt("OTHER"));
    // Once the first holder takes another name, the second is found under the shared one.
    ASSERT_EQ(static_cast<LayerTableRecord*>(db.objectAt(first))->setName("MOVED"), ErrorStatus::eOk);
    EXPECT_EQ(layers.getAt("moved"), first);
    EXPECT_EQ(layers.getAt("Dup"), second);
}
