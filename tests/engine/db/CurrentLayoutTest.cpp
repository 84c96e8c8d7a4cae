#include <gtest/gtest.h>

#include <string>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Layout.h"
#include "engine/dxf/DxfDrawing.h"

using namespace cad;

namespace {

std::string paperBlockOf(const Database& db, const std::string& layout) {
    const auto* object = static_cast<const Layout*>(db.objectAt(db.layoutId(layout)));
    return static_cast<const BlockTableRecord*>(db.objectAt(object->blockTableRecordId()))->name();
}

}  // namespace

// A drawing with two sheets: the one made current takes the paper space block, so that the file
// written opens on it, and reading that file finds it current again.
TEST(CurrentLayout, APaperLayoutMadeCurrentIsTheOneTheSavedFileOpensOn) {
    DxfDrawing drawing =
        readDxfDrawing(std::string(BRINMO_SOURCE_DIR) + "/tests/scripts/fixtures/reports.dxf");
    Database& db = *drawing.database;
    EXPECT_EQ(db.currentLayout(), "Model");
    EXPECT_EQ(paperBlockOf(db, "Layout1"), "*Paper_Space");
    const std::string otherBlock = paperBlockOf(db, "Plan A3");
    EXPECT_NE(otherBlock, "*Paper_Space");

    ASSERT_EQ(db.setCurrentLayout("PLAN A3"), ErrorStatus::eOk);
    EXPECT_EQ(db.currentLayout(), "Plan A3");
    EXPECT_EQ(paperBlockOf(db, "Plan A3"), "*Paper_Space");
    EXPECT_EQ(paperBlockOf(db, "Layout1"), otherBlock);

    DxfDrawing again = readDxfDrawingText(writeDxfDrawing(db, drawing.file), "again.dxf");
    EXPECT_EQ(again.database->currentLayout(), "Plan A3");
    ASSERT_EQ(again.database->setCurrentLayout("Model"), ErrorStatus::eOk);
    EXPECT_EQ(again.database->currentLayout(), "Model");
    // Model space leaves the paper blocks where they are.
    EXPECT_EQ(paperBlockOf(*again.database, "Plan A3"), "*Paper_Space");
    EXPECT_EQ(db.setCurrentLayout("Nope"), ErrorStatus::eKeyNotFound);
}
