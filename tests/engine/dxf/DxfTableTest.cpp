#include <gtest/gtest.h>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Dictionary.h"
#include "engine/db/Polyline.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/Table.h"
#include "engine/dxf/DxfDrawing.h"
#include "tests/engine/dxf/DxfTestSupport.h"

namespace {

using cad::ErrorStatus;
using cad::ObjectId;

ObjectId standardStyle(cad::Database& db) {
    auto* styles = static_cast<cad::Dictionary*>(
        db.objectAt(static_cast<cad::Dictionary*>(db.objectAt(db.namedObjectsDictionaryId()))->getAt("ACAD_TABLESTYLE")));
    return styles->getAt("Standard");
}

// A legend-like table: a merged title row, a header row and one row per swatch, whose middle cell
// shows a 3 x 2 block.
ObjectId addTable(cad::Database& db, int dataRows) {
    ObjectId swatch;
    auto* blocks = static_cast<cad::SymbolTable*>(db.objectAt(db.blockTableId()));
    EXPECT_EQ(blocks->add(std::make_unique<cad::BlockTableRecord>("SWATCH"), &swatch), ErrorStatus::eOk);
    auto box = std::make_unique<cad::Polyline>();
    for (auto [x, y] : {std::pair{0.0, 0.0}, {3.0, 0.0}, {3.0, 2.0}, {0.0, 2.0}})
        box->addVertexAt(box->numVerts(), cad::Point2d(x, y));
    box->setClosed(true);
    static_cast<cad::BlockTableRecord*>(db.objectAt(swatch))->appendEntity(std::move(box));

    auto table = std::make_unique<cad::Table>();
    table->setTableStyle(standardStyle(db));
    table->setPosition(cad::Point3d(100, 50, 0));
    table->setSize(2, 3);
    EXPECT_EQ(table->mergeCells(0, 0, 0, 2), ErrorStatus::eOk);
    EXPECT_EQ(table->mergeCells(0, 1, 0, 0), ErrorStatus::eInvalidInput);  // overlaps the title
    table->setTextString(0, 0, "By department");
    table->setTextString(1, 0, "Description");
    table->setTextString(1, 1, "Hatch");
    table->setTextString(1, 2, "Area sq.m.");
    for (int r = 0; r < dataRows; ++r) {
        EXPECT_EQ(table->insertRows(2 + r, 1.5, 1), ErrorStatus::eOk);
        table->setTextString(2 + r, 0, "Dept " + std::to_string(r));
        table->setBlockTableRecordId(2 + r, 1, swatch, false);
        table->setTextString(2 + r, 2, std::to_string(10 * (r + 1)) + ".00");
    }
    table->setColumnWidth(0, 12);
    table->setColumnWidth(1, 6);
    table->setColumnWidth(2, 11);
    table->setRowHeight(0, 1.5);
    table->setRowHeight(1, 1.5);
    for (int r = 0; r < table->numRows(); ++r)
        for (int c = 0; c < 3; ++c) {
            table->setTextHeight(r, c, 1.0);
            table->setAlignment(r, c, cad::Table::kMiddleCenter);
        }
    ObjectId id;
    auto* model = static_cast<cad::BlockTableRecord*>(db.objectAt(db.modelSpaceId()));
    EXPECT_EQ(model->appendEntity(std::move(table), &id), ErrorStatus::eOk);
    EXPECT_EQ(static_cast<cad::Table*>(db.objectAt(id))->generateLayout(), ErrorStatus::eOk);
    return id;
}

}  // namespace

TEST(DxfTable, GridMergesAndRowInsertsKeepCellsInPlace) {
    cad::Table t;
    t.setSize(2, 2);
    t.setTextString(1, 1, "kept");
    ASSERT_EQ(t.mergeCells(0, 0, 0, 1), ErrorStatus::eOk);
    ASSERT_EQ(t.insertRows(1, 2.0, 2), ErrorStatus::eOk);
    EXPECT_EQ(t.numRows(), 4);
    EXPECT_EQ(t.cell(3, 1).text, "kept");
    EXPECT_EQ(t.cell(0, 0).columnSpan, 2);
    EXPECT_TRUE(t.cell(0, 1).covered);
    EXPECT_FALSE(t.cell(1, 1).covered);
    EXPECT_EQ(t.insertRows(5, 1.0), ErrorStatus::eInvalidInput);
    EXPECT_EQ(t.mergeCells(2, 4, 0, 0), ErrorStatus::eInvalidInput);
    EXPECT_DOUBLE_EQ(t.height(), 1 + 2 + 2 + 1);
}

TEST(DxfTable, WrittenForEveryVersionAndReadBackByAnotherReader) {
    for (const char* version : {"AC1015", "AC1032"}) {
        SCOPED_TRACE(version);
        dxftest::TempDir dir;
        auto db = cad::Database::createDefault();
        addTable(*db, 2);
        cad::DxfFileInfo file;
        file.version = version;
        const std::string out = dir.file("table.dxf");
        cad::saveDxfDrawing(*db, file, out);
        auto r = dxftest::runScript("table_summary.py", out, dir);
        ASSERT_EQ(r.status, 0) << r.output << dxftest::slurp(dir.file("script.log.err"));
        // Title over three columns (two cells covered), header, two swatch rows. The block shows
        // the grid: each of the ten cells its top and left edge, four right and three bottom edges
        // (none inside the title); a text per text cell and a reference per swatch, centred.
        EXPECT_EQ(r.output,
                  "block *T0 at (100.0, 50.0, 0.0)\n"
                  "rows 4 columns 3\n"
                  "heights [1.5, 1.5, 1.5, 1.5] widths [12.0, 6.0, 11.0]\n"
                  "cell type=1 covered=0 span=3 rows=1 text=By department height=1.0 align=5\n"
                  "cell type=1 covered=1 span=1 rows=1 height=1.0 align=5\n"
                  "cell type=1 covered=1 span=1 rows=1 height=1.0 align=5\n"
                  "cell type=1 covered=0 span=1 rows=1 text=Description height=1.0 align=5\n"
                  "cell type=1 covered=0 span=1 rows=1 text=Hatch height=1.0 align=5\n"
                  "cell type=1 covered=0 span=1 rows=1 text=Area sq.m. height=1.0 align=5\n"
                  "cell type=1 covered=0 span=1 rows=1 text=Dept 0 height=1.0 align=5\n"
                  "cell type=2 covered=0 span=1 rows=1 block=SWATCH height=1.0 align=5\n"
                  "cell type=1 covered=0 span=1 rows=1 text=10.00 height=1.0 align=5\n"
                  "cell type=1 covered=0 span=1 rows=1 text=Dept 1 height=1.0 align=5\n"
                  "cell type=2 covered=0 span=1 rows=1 block=SWATCH height=1.0 align=5\n"
                  "cell type=1 covered=0 span=1 rows=1 text=20.00 height=1.0 align=5\n"
                  "shows [('INSERT', 2), ('LINE', 27), ('TEXT', 8)]\n"
                  "text 'By department' (14.5, -0.75) 1.0\n"
                  "text 'Description' (6.0, -2.25) 1.0\n"
                  "text 'Hatch' (15.0, -2.25) 1.0\n"
                  "text 'Area sq.m.' (23.5, -2.25) 1.0\n"
                  "text 'Dept 0' (6.0, -3.75) 1.0\n"
                  "insert SWATCH (13.5, -4.75)\n"
                  "text '10.00' (23.5, -3.75) 1.0\n"
                  "text 'Dept 1' (6.0, -5.25) 1.0\n"
                  "insert SWATCH (13.5, -6.25)\n"
                  "text '20.00' (23.5, -5.25) 1.0\n");
        // The file reads back and comes out the same again.
        auto back = cad::readDxfDrawing(out);
        EXPECT_TRUE(back.warnings.empty()) << ::testing::PrintToString(back.warnings);
        EXPECT_EQ(cad::writeDxfDrawing(*back.database, back.file), dxftest::slurp(out));
    }
}

TEST(DxfTable, LayoutFollowsAChangeAndAMove) {
    auto db = cad::Database::createDefault();
    const ObjectId id = addTable(*db, 1);
    auto* table = static_cast<cad::Table*>(db->objectAt(id));
    const ObjectId shown = table->blockTableRecord();
    const auto before = static_cast<cad::BlockTableRecord*>(db->objectAt(shown))->liveEntityIds().size();
    table->insertRows(3, 1.5);
    table->setTextString(3, 0, "Dept 1");
    ASSERT_EQ(table->generateLayout(), ErrorStatus::eOk);
    EXPECT_EQ(table->blockTableRecord(), shown);  // rebuilt in place
    const auto after = static_cast<cad::BlockTableRecord*>(db->objectAt(shown))->liveEntityIds().size();
    // Three more cells: their top and left edges and one more right edge (the bottom edges move
    // down to the new row), and its one text.
    EXPECT_EQ(after, before + 7 + 1);
    ASSERT_EQ(table->transformBy(cad::Matrix3d::translation(cad::Vector3d(5, -5, 0))), ErrorStatus::eOk);
    EXPECT_EQ(table->position(), cad::Point3d(105, 45, 0));
    cad::Extents3d box;
    table->getGeomExtents(box);
    EXPECT_EQ(box.minPoint(), cad::Point3d(105, 45 - 6, 0));
    EXPECT_EQ(table->transformBy(cad::Matrix3d::scaling(2.0)), ErrorStatus::eNotApplicable);
}
