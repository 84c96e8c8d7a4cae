#include <gtest/gtest.h>

#include <cstdlib>

#include "core/KorvaExceptions.h"
#include "reports/Hatch.h"
#include "engine/dxf/DxfDrawing.h"
#include "spaceblocks/BlockDWG.h"
#include "../TestFiles.h"
#include "../spaceblocks/PlanBuilder.h"

using namespace plantest;

using testfiles::readText;

// The hatch of a space block, saved as DXF and read back by an independent reader.
TEST(HatchDxf, HatchedSpaceReadsBackWithPatternColourLayerAndLoops) {
    Host host;
    cad::Database* db = &host.db();
    const cad::ObjectId roomId =
        insert(*db, addDefinition(*db, "ROOM-1", rectangle(0, 0, 8000, 5000), true), {10000, 0, 0},
               spaceXData("ADE", "Lab"), {{"NAME", "Lab"}});
    const cad::ObjectId added = addPolyline(*db, rectangle(18000, 0, 20000, 2000));
    const cad::ObjectId hole = addPolyline(*db, rectangle(11000, 1000, 12000, 2000));

    auto reference = db->open<cad::BlockReference>(roomId);
    CBlockDWGRoom room(*reference, *db);
    reference.close();
    room.setHandlesToAdd(std::vector<cad::ObjectId>{added}, *db);
    room.setHandlesToMinus(std::vector<cad::ObjectId>{hole}, *db);
    auto hatch = std::make_unique<CHatch>("ANSI31");
    hatch->setScale(50);
    hatch->setLayer("KORVA_HATCH");
    hatch->setColour(cad::Color::fromRgb(0x12, 0x34, 0x56));
    room.setHatchSettings(std::move(hatch));
    CKorvaExceptions errors;
    room.applyToDWG(host.drawing, errors);
    ASSERT_EQ(errors.getCount(), 0u);

    testfiles::TempFolder folder;
    const std::string dxf = folder.file("hatched.dxf"), out = folder.file("hatches.txt");
    cad::saveDxfDrawing(*db, cad::DxfFileInfo{}, dxf);
    const std::string command =
        std::string(BRINMO_PYTHON) + " " + BRINMO_TEST_DATA + "/coll/read_hatch.py " + dxf + " > " + out + " 2>&1";
    const int status = std::system(command.c_str());
    const std::string text = readText(out);
    ASSERT_EQ(status, 0) << text;
    // Outline (outermost, external, polyline), the added area (external), the hole (default).
    EXPECT_EQ(text,
              "ANSI31|1193046|KORVA_HATCH|3\n"
              "18|10000.000,0.000|18000.000,5000.000\n"
              "3|18000.000,0.000|20000.000,2000.000\n"
              "2|11000.000,1000.000|12000.000,2000.000\n");
}
