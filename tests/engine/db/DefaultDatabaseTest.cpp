#include <gtest/gtest.h>

#include <set>

#include "DbTestSupport.h"
#include "engine/db/Dictionary.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Layout.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TableStyle.h"
#include "engine/db/Viewport.h"

using namespace cad;

TEST(DefaultDatabase, HasEverythingANewDrawingNeeds) {
    auto db = Database::createDefault();
    for (std::size_t k = 0; k < kTableKindCount; ++k)
        EXPECT_NE(dynamic_cast<SymbolTable*>(db->objectAt(db->tableId(static_cast<TableKind>(k)))), nullptr);
    EXPECT_TRUE(db->recordId(TableKind::Layer, "0"));
    EXPECT_TRUE(db->recordId(TableKind::TextStyle, "Standard"));
    for (const char* lt : {"ByBlock", "ByLayer", "Continuous"}) EXPECT_TRUE(db->recordId(TableKind::Linetype, lt)) << lt;
    EXPECT_TRUE(db->isApplicationRegistered("ACAD"));
    EXPECT_TRUE(db->recordId(TableKind::Viewport, "*Active"));
    EXPECT_TRUE(db->recordId(TableKind::DimStyle, "Standard"));
    EXPECT_FALSE(static_cast<LayerTableRecord*>(db->objectAt(db->recordId(TableKind::Layer, "Defpoints")))->isPlottable());
    EXPECT_EQ(db->clayer(), db->recordId(TableKind::Layer, "0"));
    EXPECT_EQ(db->lunits(), 2);

    ObjectId model = db->modelSpaceId(), paper = db->paperSpaceId();
    ASSERT_TRUE(model);
    ASSERT_TRUE(paper);
    auto* modelBlock = static_cast<BlockTableRecord*>(db->objectAt(model));
    EXPECT_TRUE(modelBlock->blockBeginId());
    EXPECT_TRUE(modelBlock->blockEndId());
    EXPECT_EQ(db->objectAt(modelBlock->blockBeginId())->className(), "AcDbBlockBegin");

    for (const char* key : {"ACAD_GROUP", "ACAD_LAYOUT", "ACAD_PLOTSTYLENAME", "ACAD_TABLESTYLE", "ACAD_MLINESTYLE"})
        EXPECT_TRUE(db->namedObject(key)) << key;
    auto* plotStyles = static_cast<Dictionary*>(db->objectAt(db->namedObject("ACAD_PLOTSTYLENAME")));
    EXPECT_EQ(plotStyles->className(), "AcDbDictionaryWithDefault");
    EXPECT_EQ(plotStyles->defaultId(), plotStyles->getAt("Normal"));
    auto* tableStyles = static_cast<Dictionary*>(db->objectAt(db->namedObject("ACAD_TABLESTYLE")));
    EXPECT_NE(dynamic_cast<TableStyle*>(db->objectAt(tableStyles->getAt("Standard"))), nullptr);

    std::vector<ObjectId> layouts = db->layouts();
    ASSERT_EQ(layouts.size(), 2u);
    auto* modelLayout = static_cast<Layout*>(db->objectAt(layouts[0]));
    auto* sheet = static_cast<Layout*>(db->objectAt(layouts[1]));
    EXPECT_EQ(modelLayout->layoutName(), "Model");
    EXPECT_TRUE(modelLayout->isModelLayout());
    EXPECT_EQ(modelLayout->blockTableRecordId(), model);
    EXPECT_EQ(modelBlock->layoutId(), layouts[0]);
    EXPECT_EQ(sheet->blockTableRecordId(), paper);
    ASSERT_EQ(sheet->viewportIds().size(), 2u);
    EXPECT_EQ(static_cast<Viewport*>(db->objectAt(sheet->viewportIds()[0]))->number(), 1);
    EXPECT_EQ(db->layoutId("layout1"), layouts[1]);

    EXPECT_EQ(db->setCurrentLayout("LAYOUT1"), ErrorStatus::eOk);
    EXPECT_EQ(db->currentLayout(), "Layout1");
    EXPECT_EQ(db->header().getInt("TILEMODE"), 0);

    // Every object has a distinct handle below the seed and an owner chain that resolves.
    std::set<Handle> seen;
    for (std::uint32_t i = 1; i < db->slotCount(); ++i) {
        const DbObject* obj = db->objectAt(ObjectId(i));
        ASSERT_NE(obj, nullptr);
        EXPECT_TRUE(seen.insert(obj->handle()).second);
        EXPECT_LT(obj->handle(), db->handseed());
        if (obj->ownerId()) {
            EXPECT_NE(db->objectAt(obj->ownerId()), nullptr);
        }
    }
}

TEST(HeaderVariables, KeepOrderAndReadTypedValues) {
    HeaderVariables vars;
    vars.set("$ACADVER", {{1, "AC1032"}});
    vars.set("$CUSTOM", {{70, "  5"}});
    vars.setPoint("extmin", {1, 2, 3});
    vars.setInt("$acadver", 1, 7);  // replaces in place
    ASSERT_EQ(vars.variables().size(), 3u);
    EXPECT_EQ(vars.variables()[0].name, "$ACADVER");
    EXPECT_EQ(vars.variables()[2].name, "$EXTMIN");
    EXPECT_EQ(vars.getInt("$CUSTOM"), 5);
    EXPECT_EQ(vars.getPoint("$EXTMIN"), (Point3d{1, 2, 3}));
    EXPECT_FALSE(vars.getDouble("$MISSING"));
    vars.set("$BAD", {{40, "1.5x"}});
    EXPECT_FALSE(vars.getDouble("$BAD"));

    auto db = Database::createDefault();
    db->setUcs({10, 0, 0}, {0, 1, 0}, {-1, 0, 0});
    EXPECT_TRUE((db->ucsToWcs() * Point3d{1, 0, 0}).isEqualTo({10, 1, 0}, 1e-12));
    ObjectId layer;
    static_cast<SymbolTable*>(db->objectAt(db->layerTableId()))->add(std::make_unique<LayerTableRecord>("ROOMS"), &layer);
    ASSERT_EQ(db->setClayer(layer), ErrorStatus::eOk);
    EXPECT_EQ(db->header().getString("$CLAYER"), "ROOMS");
    auto line = std::make_unique<Polyline>();
    ObjectId id = test::append(*db, std::move(line));
    EXPECT_EQ(static_cast<Entity*>(db->objectAt(id))->layerId(), layer);
}
