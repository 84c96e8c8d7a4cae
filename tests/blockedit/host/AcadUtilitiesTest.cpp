#include <gtest/gtest.h>

#include "../spaceblocks/SpaceDrawing.h"
#include "core/EXKorva.h"
#include "engine/db/Line.h"
#include "engine/editor/EditorApi.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"

using namespace spacetest;

namespace {

// A host with one empty drawing, answering prompts from the given lines.
struct Session {
    explicit Session(std::initializer_list<std::string> lines) {
        for (const std::string& line : lines) input.addLine(line);
    }
    cad::ScriptInput input;
    cad::HostApplication host{cad::HostProfile::AutoCAD, input};
    cad::Document& drawing = host.documentManager().newDocument();
    cad::Database& db = drawing.database();
    cad::CapturedOutput out;
};

std::string pick(cad::Database& db, cad::ObjectId id) {
    return "#" + db.handleOf(id).toString();
}

}  // namespace

TEST(HostPrompts, NumbersAndFlagsFallBackToTheirDefaultsAndEcho) {
    Session s{"", "7", "^C", "2.5", "", "yes", "no"};
    int i = -1;
    CAcadUtilities::getInteger("Room number", 3, i);
    EXPECT_EQ(i, 3);
    CAcadUtilities::getInteger("Room number", 3, i);
    EXPECT_EQ(i, 7);
    CAcadUtilities::getInteger("Room number", 4, i);
    EXPECT_EQ(i, 4);
    EXPECT_EQ(s.out.text(),
              "\nRoom number <3>:\n 3\n\nRoom number <3>:7\n 7\n\nRoom number <4>:^C\n*Cancel*\n 4\n");
    s.out.clear();
    double d = 0;
    CAcadUtilities::getDouble("Height", 2.7, 2, d);
    EXPECT_DOUBLE_EQ(d, 2.5);
    EXPECT_EQ(s.out.text(), "\nHeight <2.70>:2.5\n 2.50\n");
    s.out.clear();
    bool flag = true;
    CAcadUtilities::getBoolean("Hatch", true, flag);
    EXPECT_TRUE(flag);
    CAcadUtilities::getBoolean("Hatch", false, flag);
    EXPECT_TRUE(flag);
    CAcadUtilities::getBoolean("Hatch", true, flag);
    EXPECT_FALSE(flag);
    EXPECT_EQ(s.out.text(), "\nHatch <1>:\n 1\n\nHatch <0>:yes\n 1\n\nHatch <1>:no\n 0\n");
}

TEST(HostPrompts, StringsAreAskedAgainAfterACancel) {
    Session s{"^C", "", "^C", "Room 12", "", "typed"};
    std::string value;
    CAcadUtilities::getString("Name", "Office", value);
    EXPECT_EQ(value, "Office");
    EXPECT_EQ(s.out.text(), "\nName <Office>:^C\n*Cancel*\n\nInvalid input! - Name <Office>:\n Office\n");
    s.out.clear();
    EXPECT_EQ(CAcadUtilities::getString("Comment"), "Room 12");
    EXPECT_EQ(s.out.text(), "\nComment:^C\n*Cancel*\n\nInvalid input! - CommentRoom 12\n");
    EXPECT_EQ(CAcadUtilities::getString("Comment"), "");
    CAcadUtilities::getString("Name", "Office", value);
    EXPECT_EQ(value, "typed");
    // Once the input has run out the question cannot be answered: a failure, not a hang.
    try {
        CAcadUtilities::getString("Name", "Office", value);
        FAIL() << "expected a failure";
    } catch (const CEXKorva& failure) {
        EXPECT_EQ(failure.getProcSig(), "CAcadUtilities::getString");
        EXPECT_EQ(failure.getClass(), "AcadUtilities");
    }
}

TEST(HostSelection, PickingByClassAndSelectionSets) {
    Session s{};
    const cad::ObjectId line = addEntity(s.db, s.db.modelSpaceId(), std::make_unique<cad::Line>());
    const cad::ObjectId space =
        addSpaceBlock(s.db, "ROOM-1", rectangle(0, 0, 10, 10), standardAttributes("R1"));
    const cad::ObjectId p1 = addPolyline(s.db, rectangle(0, 0, 10, 10));
    const cad::ObjectId p2 = addPolyline(s.db, rectangle(20, 0, 30, 10));
    for (const std::string& l : {pick(s.db, line), pick(s.db, space), std::string("^C")}) s.input.addLine(l);

    cad::ObjectId id;
    EXPECT_EQ(CAcadUtilities::selectObjectId(id, "", "AcDbBlockReference"), 0);
    EXPECT_EQ(id, space);
    EXPECT_NE(s.out.text().find("Invalid selection - AcDbLine.\n"), std::string::npos);
    EXPECT_EQ(s.out.text().rfind("\nPlease select an object", 0), 0u);
    EXPECT_EQ(CAcadUtilities::selectObjectId(id, "Pick", "AcDbBlockReference"), 16);
    EXPECT_NE(s.out.text().find("Cancelled by User.\n"), std::string::npos);

    s.input.addLine(pick(s.db, p1) + " " + pick(s.db, space) + " " + pick(s.db, p2));
    s.input.addLine("");
    std::vector<cad::ObjectId> ids{line};
    EXPECT_EQ(CAcadUtilities::selectObjectIds("Select areas", ids), 1);
    EXPECT_EQ(ids, (std::vector<cad::ObjectId>{line, p1, p2}));

    s.input.addLine(pick(s.db, p2));
    EXPECT_TRUE(CAcadUtilities::selectObjectId("Select a Block: ", id));
    EXPECT_EQ(id, p2);
    s.input.addLine("");
    EXPECT_FALSE(CAcadUtilities::selectObjectId("Select a Block: ", id));

    s.input.addLine(pick(s.db, space));
    cad::Handle handle;
    EXPECT_EQ(CAcadUtilities::selectSpaceHandle(handle), 0);
    EXPECT_EQ(handle, s.db.handleOf(space));
    EXPECT_EQ(CAcadUtilities::selectSpaceHandle(handle), 13);  // input ended: cancelled
}

TEST(HostSelection, UserPicksASpaceIntoARecord) {
    Session s{};
    const cad::ObjectId p1 = addPolyline(s.db, rectangle(0, 0, 10, 10));
    const cad::ObjectId space =
        addSpaceBlock(s.db, "ROOM-4", rectangle(0, 0, 10, 10), standardAttributes("R4"));
    s.input.addLine(pick(s.db, p1));
    s.input.addLine(pick(s.db, space));
    CBlockDWGRoom target;
    EXPECT_TRUE(CAcadUtilities::userSelectKorvaBlock(s.db, target));
    EXPECT_NE(s.out.text().find("\nPlease select a Korva Space\n"), std::string::npos);
    EXPECT_NE(s.out.text().find("Invalid selection.\n"), std::string::npos);
    EXPECT_EQ(target.getName(), "R4");
    EXPECT_EQ(target.getBlockName(), "ROOM-4");
    EXPECT_EQ(target.getObjectId(), space);
    EXPECT_FALSE(CAcadUtilities::userSelectKorvaBlock(s.db, target));
}

TEST(HostHandles, HandleTextsAndLookups) {
    Session s{};
    const cad::ObjectId p1 = addPolyline(s.db, rectangle(0, 0, 10, 10));
    std::vector<cad::Handle> handles;
    CAcadUtilities::convertHandlesStringToArray("2F1A,2f1b,ZZ", handles);
    EXPECT_EQ(handles, (std::vector<cad::Handle>{cad::Handle(0x2F1A), cad::Handle(0x2F1B)}));
    EXPECT_EQ(CAcadUtilities::convertHandleArrayToString(handles), "2F1A,2F1B,");
    EXPECT_EQ(CAcadUtilities::convertHandleArrayToString({}), "");
    EXPECT_EQ(CAcadUtilities::convertHandleToObjectId(s.db.handleOf(p1)), p1);
    EXPECT_TRUE(CAcadUtilities::convertHandleToObjectId(cad::Handle(0xFFFFF)).isNull());
    ASSERT_EQ(s.db.erase(p1), cad::ErrorStatus::eOk);
    EXPECT_TRUE(CAcadUtilities::convertHandleToObjectId(s.db, s.db.handleOf(p1)).isNull());
}

// Each key with its units is read through the space records in BlockXData; here the edges.
TEST(HostXData, UnknownKeysAndEmptyValuesGiveNothing) {
    using U = CAcadUtilities;
    EXPECT_EQ(U::extractData(0x12, "AREA=12.50sq.m."), "");
    EXPECT_EQ(U::extractData(U::kAreaMetric, "AREA="), "");
}

TEST(HostGeometry, BlockExtentsTopLeftAndCoordinates) {
    Session s{};
    const cad::ObjectId plain = addSpaceBlock(s.db, "ROOM-1", rectangle(0, 0, 10, 4), {});
    const cad::ObjectId placed =
        addSpaceBlock(s.db, "ROOM-2", rectangle(0, 0, 10, 4), {}, {100, 200, 0}, {2, 2, 1});
    cad::Point3d low, high;
    CAcadUtilities::getBlockExtents(*s.db.open<cad::Entity>(plain), low, high, 0.5);
    EXPECT_EQ(low, cad::Point3d(-0.5, -0.5, 0));
    EXPECT_EQ(high, cad::Point3d(10.5, 4.5, 0));
    CAcadUtilities::getBlockExtents(*s.db.open<cad::Entity>(placed), low, high, 0.0);
    EXPECT_EQ(low, cad::Point3d(100, 200, 0));
    EXPECT_EQ(high, cad::Point3d(120, 208, 0));
    cad::Point3d untouched(1, 2, 3);
    const cad::ObjectId polyline = addPolyline(s.db, {{5, 1}, {9, 7}, {2, 3}});
    CAcadUtilities::getBlockExtents(*s.db.open<cad::Entity>(polyline), untouched, high, 0.5);
    EXPECT_EQ(untouched, cad::Point3d(1, 2, 3));

    auto outline = closedPolyline({{5, 1}, {9, 7}, {2, 3}});
    EXPECT_EQ(CAcadUtilities::getPolylineTopLeft(*outline), cad::Point3d(2, 7, 0));
    const cad::Matrix3d shift = cad::Matrix3d::translation({10, -10, 0});
    EXPECT_EQ(CAcadUtilities::getPolylineTopLeft(*outline, &shift), cad::Point3d(12, -3, 0));
    cad::Polyline empty;
    EXPECT_EQ(CAcadUtilities::getPolylineTopLeft(empty).x, 1.7976931348623157e308);
    EXPECT_EQ(CAcadUtilities::getPolylineTopLeft(empty).y, -1.7976931348623157e308);

    s.host.editor().ucs() =
        cad::CoordinateSystem(cad::Point3d(100, 0, 0), cad::Vector3d::xAxis(), cad::Vector3d::yAxis());
    EXPECT_EQ(CAcadUtilities::convertUCSToWCS({1, 2, 0}), cad::Point3d(101, 2, 0));
    EXPECT_EQ(CAcadUtilities::convertWCSToUCS({101, 2, 0}), cad::Point3d(1, 2, 0));
    EXPECT_EQ(CAcadUtilities::currentUcsMatrix() * cad::Point3d(1, 2, 0), cad::Point3d(101, 2, 0));
}

TEST(HostDrawOrder, HatchesGoBeneathAndSortentsIsSwitchedOn) {
    Session s{};
    const cad::ObjectId first = addPolyline(s.db, rectangle(0, 0, 10, 10));
    const cad::ObjectId fill = addPolyline(s.db, rectangle(0, 0, 10, 10));
    ASSERT_EQ(cad::acedSetVar("SORTENTS", 3), cad::RTNORM);
    CAcadUtilities::moveEntityToBottom(*s.db.open<cad::Entity>(fill));
    int sortents = 0;
    cad::acedGetVar("SORTENTS", sortents);
    EXPECT_EQ(sortents, 127);
    const auto order = s.db.drawOrder(s.db.modelSpaceId());
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order.front(), fill);
    EXPECT_EQ(order[1], first);
}
