#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "../TestFiles.h"
#include "SpaceDrawing.h"
#include "engine/dxf/DxfDrawing.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/KorvaAttribute.h"

using namespace spacetest;

namespace {

using testfiles::TempFolder;

// Runs a script of tests/data/spaces with the interpreter that has ezdxf; its standard output.
std::string runScript(const std::string& script, const std::string& args, const TempFolder& dir,
                      int& status) {
    const std::string log = dir.file("script.log");
    const std::string command = std::string(BRINMO_PYTHON) + " " + BRINMO_TEST_DATA + "/spaces/" + script +
                                " " + args + " > " + log + " 2>&1";
    const int raw = std::system(command.c_str());
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return testfiles::readText(log);
}

}  // namespace

TEST(SpaceDxf, RecordWrittenHereIsReadByAnotherReader) {
    TempFolder dir;
    auto db = cad::Database::createDefault();
    const cad::ObjectId minus = addPolyline(*db, rectangle(0, 0, 5000, 2000));
    const cad::ObjectId id = addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10000, 5000),
                                           standardAttributes("Office 1", "old", "Finance"));
    {
        auto reference = db->open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
        CBlockDWGRoom block;
        CBlockDWG(*reference, *db).copyInto(block);
        block.setUnits(0);
        block.setPrecision(2);
        block.setHandlesToMinus(std::vector<cad::ObjectId>{minus}, *db);
        block.recalculateArea(*db);
        block.recalculatePerimeter(*db);
        block.setRoomHeight(2.7);
        block.updateVolume();
        block.getAttributes()->getAtAttribute(CKorvaAttribute::kArea)->setValue("40.00 sq.m.");
        block.writeXData(*reference);
        block.getAttributes()->applyToDWG(*reference, cad::Matrix3d::identity());
    }
    const std::string path = dir.file("written.dxf");
    cad::saveDxfDrawing(*db, cad::DxfFileInfo{}, path);

    int status = -1;
    const std::string seen = runScript("read_space.py", path + " ADE", dir, status);
    ASSERT_EQ(status, 0) << seen;
    const std::string hm = db->handleOf(minus).toString();
    const std::string expected =
        "INSERT ROOM-1\n"
        "X 1002 {\n"
        "X 1000 AREA=40.00sq.m.\n"
        "X 1000 PERIMETER=44.00m.\n"
        "X 1000 NAME=Office 1\n"
        "X 1000 TAGTYPE=<Not Set>\n"
        "X 1000 AREA_TYPE=<Not Set>\n"
        "X 1000 COST_CENTRE=<Not Set>\n"
        "X 1000 DATE=<Not Set>\n"
        "X 1000 DATE_L_MOVE=<Not Set>\n"
        "X 1000 DEPT_CHARGE=<Not Set>\n"
        "X 1000 ROOM_HEIGHT=2.70m.\n"
        "X 1000 SPECIAL_REQ=<Not Set>\n"
        "X 1000 TOT_STAFF=<Not Set>\n"
        "X 1000 TOT_WKSTNS=<Not Set>\n"
        "X 1000 VOLUME=108.00cu.m.\n"
        "X 1000 HANDLESTOMINUS=" +
        hm +
        ",\n"
        "X 1000 HANDLESTOADD=\n"
        "X 1002 }\n"
        "A NAME=Office 1\n"
        "A AREA=40.00 sq.m.\n"
        "A AUX=Finance\n";
    EXPECT_EQ(seen, expected);

    // And our own reader gets the same record back.
    cad::DxfDrawing reread = cad::readDxfDrawing(path);
    cad::ObjectId rereadId;
    ASSERT_EQ(reread.database->getObjectId(rereadId, db->handleOf(id)), cad::ErrorStatus::eOk);
    auto reference = reread.database->open<cad::BlockReference>(rereadId);
    CBlockDWG back(*reference, *reread.database);
    EXPECT_DOUBLE_EQ(back.getArea(), 40.0);
    EXPECT_DOUBLE_EQ(back.getVolume(), 108.0);
    EXPECT_EQ(back.getHandlesToMinusAsString(), hm + ",");
    EXPECT_EQ(back.getName(), "Office 1");
}

TEST(SpaceDxf, SpaceMadeByAnotherToolIsReadAndMeasured) {
    TempFolder dir;
    const std::string path = dir.file("foreign.dxf");
    int status = -1;
    const std::string output = runScript("make_foreign_space.py", path, dir, status);
    ASSERT_EQ(status, 0) << output;

    cad::DxfDrawing drawing = cad::readDxfDrawing(path);
    cad::Database& db = *drawing.database;
    std::unique_ptr<CBlockDWG> block;
    for (cad::ObjectId id : db.drawOrder(db.modelSpaceId())) {
        auto reference = db.open<cad::BlockReference>(id);
        if (reference) block = std::make_unique<CBlockDWG>(*reference, db);
    }
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->getXDataAppName(), "AECXDATA");
    EXPECT_EQ(block->getBlockName(), "ROOM-9");
    EXPECT_DOUBLE_EQ(block->getArea(), 49.99);
    EXPECT_EQ(block->getPrecision(), 3);
    EXPECT_EQ(block->getUnits(), 0);
    EXPECT_DOUBLE_EQ(block->getPerimeter(), 30.0);
    EXPECT_DOUBLE_EQ(block->getRoomHeight(), 3.1);
    EXPECT_EQ(block->getTagType(), "Lab");
    EXPECT_EQ(block->getTotStaff(), "12");
    EXPECT_EQ(block->getAreaType(), "<Not Set>");
    EXPECT_EQ(block->getName(), "Lab 3");
    ASSERT_NE(block->getAttributes(), nullptr);
    EXPECT_EQ(block->getAttributes()->getCount(), 3u);
    EXPECT_EQ(block->getAttributes()->getAtAttribute(CKorvaAttribute::kArea)->getValue(), "49.99 sq.m.");
    EXPECT_EQ(block->getAttributes()->getAtAttribute(CKorvaAttribute::kAux)->getValue(), "Science");
    EXPECT_DOUBLE_EQ(block->getAttributes()->getTextHeight(), 200.0);

    block->recalculateArea(db);
    EXPECT_DOUBLE_EQ(block->getArea(), 50.0);

    // Written back under the name it came with.
    {
        auto reference = db.open<cad::BlockReference>(block->getObjectId(), cad::OpenMode::ForWrite);
        block->writeXData(*reference);
    }
    const std::string saved = dir.file("foreign-saved.dxf");
    cad::saveDxfDrawing(db, drawing.file, saved);
    const std::string seen = runScript("read_space.py", saved + " AECXDATA", dir, status);
    ASSERT_EQ(status, 0) << seen;
    EXPECT_NE(seen.find("X 1000 AREA=50.000sq.m.\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("X 1000 TOT_STAFF=12\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("A name=Lab 3\n"), std::string::npos) << seen;
}
