#include <gtest/gtest.h>

#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Circle.h"
#include "engine/db/Database.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Line.h"
#include "engine/db/ObjectPtr.h"
#include "engine/db/Polyline.h"
#include "engine/db/SymbolTable.h"
#include "engine/editor/EntitySelector.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "engine/editor/SelectionApi.h"

using namespace cad;

namespace {

// A drawing: a 10 x 10 square polyline, a line across it from 0,0 to 10,10 drawn after it, a circle
// far off at 100,100 radius 5, and a reference to block ROOM-1 at 50,0 on layer HIDDEN (turned off).
struct Drawing {
    explicit Drawing(HostApplication& host) : db(host.documentManager().newDocument().database()) {
        auto space = db.open<BlockTableRecord>(db.modelSpaceId(), OpenMode::ForWrite);
        auto square = std::make_unique<Polyline>();
        square->setVertices({{{0, 0}}, {{10, 0}}, {{10, 10}}, {{0, 10}}});
        square->setClosed(true);
        space->appendEntity(std::move(square), &square_);
        space->appendEntity(std::make_unique<Line>(Point3d(0, 0), Point3d(10, 10)), &line);
        space->appendEntity(std::make_unique<Circle>(Point3d(100, 100), 5), &circle);
        space.close();

        auto blocks = db.open<SymbolTable>(db.blockTableId(), OpenMode::ForWrite);
        ObjectId room;
        blocks->add(std::make_unique<BlockTableRecord>("ROOM-1"), &room);
        blocks.close();
        auto def = db.open<BlockTableRecord>(room, OpenMode::ForWrite);
        def->appendEntity(std::make_unique<Line>(Point3d(0, 0), Point3d(2, 0)));
        def.close();
        auto layers = db.open<SymbolTable>(db.layerTableId(), OpenMode::ForWrite);
        ObjectId hidden;
        auto layer = std::make_unique<LayerTableRecord>("HIDDEN");
        layer->setOff(true);
        layers->add(std::move(layer), &hidden);
        layers.close();
        auto ref = std::make_unique<BlockReference>(Point3d(50, 0), room);
        ref->setLayer(hidden);
        space = db.open<BlockTableRecord>(db.modelSpaceId(), OpenMode::ForWrite);
        space->appendEntity(std::move(ref), &reference);
    }
    Database& db;
    ObjectId square_, line, circle, reference;
};

}  // namespace

TEST(EntitySelector, WindowCrossingPolygonAndPicking) {
    ScriptInput input;
    HostApplication host(HostProfile::AutoCAD, input);
    Drawing d(host);
    EntitySelector selector(d.db);
    // The reference is on a layer that is off.
    EXPECT_EQ(selector.all(), (std::vector<ObjectId>{d.square_, d.line, d.circle}));
    EXPECT_EQ(selector.window({-1, -1}, {11, 11}), (std::vector<ObjectId>{d.square_, d.line}));
    EXPECT_EQ(selector.window({-1, -1}, {9, 11}), std::vector<ObjectId>{});
    EXPECT_EQ(selector.crossing({4, 4}, {6, 6}), std::vector<ObjectId>{d.line});  // inside the square, on the line
    EXPECT_EQ(selector.crossing({9, -1}, {11, 1}), (std::vector<ObjectId>{d.square_}));
    EXPECT_EQ(selector.crossingPolygon({{90, 90}, {110, 90}, {100, 110}}), std::vector<ObjectId>{d.circle});
    EXPECT_EQ(selector.windowPolygon({{-5, -5}, {20, -5}, {-5, 20}}), std::vector<ObjectId>{});
    EXPECT_EQ(selector.windowPolygon({{-5, -5}, {40, -5}, {-5, 40}}), (std::vector<ObjectId>{d.square_, d.line}));

    // Nearest wins; at the shared corner the line, drawn later, is on top.
    double tol = selector.pickDistance();
    EXPECT_GT(tol, 0.5);
    EXPECT_EQ(selector.pick({5, 0.1}, tol), d.square_);
    EXPECT_EQ(selector.pick({5, 5.1}, tol), d.line);
    EXPECT_EQ(selector.pick({0, 0}, tol), d.line);
    EXPECT_EQ(selector.pick({105.2, 100}, tol), d.circle);
    EXPECT_EQ(selector.pick({100, 100}, tol), std::nullopt);  // the centre is far from the outline
    EXPECT_EQ(selector.pick({50, 0}, tol), std::nullopt);      // hidden layer
}

TEST(SelectionApi, FilteredAllAndInteractiveSets) {
    CapturedOutput out;
    ScriptInput input;
    for (const char* l : {"W -1,-1 11,11", "bogus", "#2F1A", "C 9,-1 11,1", "", "^C",  // set 1, then a cancel
                          "200,200", "#FFFF", "5,0.1"})                                   // entSel
        input.addLine(l);
    HostApplication host(HostProfile::AutoCAD, input);
    SelectionSet set;
    EXPECT_EQ(acedSSGet("X", {}, nullptr, set), RTERROR);  // an empty new drawing
    Drawing d(host);

    FilterList refs = acutBuildList({{0, "INSERT"}, {2, "room-#"}});
    EXPECT_EQ(acedSSGet("X", {}, &refs, set), RTNORM);  // X takes hidden layers too
    EXPECT_EQ(set.ids(), std::vector<ObjectId>{d.reference});
    FilterList notRooms = acutBuildList({{0, "LWPOLYLINE,CIRCLE"}});
    EXPECT_EQ(acedSSGet("x", {}, &notRooms, set), RTNORM);
    int n = 0;
    acedSSLength(set, n);
    EXPECT_EQ(n, 2);
    ObjectId second;
    EXPECT_EQ(acedSSName(set, 1, second), RTNORM);
    EXPECT_EQ(second, d.circle);
    EXPECT_EQ(acedSSName(set, 2, second), RTERROR);
    FilterList unknownCode = acutBuildList({{62, "1"}});
    EXPECT_EQ(acedSSGet("X", {}, &unknownCode, set), RTERROR);
    acutRelRb(refs);
    EXPECT_TRUE(refs.empty());

    EXPECT_EQ(acedSSGet("CP", {{90, 90}, {110, 90}, {100, 110}}, nullptr, set), RTNORM);
    EXPECT_EQ(set.ids(), std::vector<ObjectId>{d.circle});

    out.clear();
    EXPECT_EQ(acedSSGet("", {}, nullptr, set), RTNORM);
    EXPECT_EQ(set.ids(), (std::vector<ObjectId>{d.square_, d.line}));
    EXPECT_EQ(out.text(),
              "Select objects: W -1,-1 11,11\n2 found\n"
              "Select objects: bogus\n\"bogus\" is neither a handle nor a selection mode (ALL, W, C, CP).\n"
              "Select objects: #2F1A\nNo object has handle 2F1A.\n"
              "Select objects: C 9,-1 11,1\n1 found (1 duplicate)\n"
              "Select objects: \n");
    EXPECT_EQ(acedSSGet("", {}, nullptr, set), RTCAN);
    EXPECT_TRUE(set.ids().empty());
    acedSSFree(set);

    out.clear();
    ObjectId picked;
    Point3d at;
    EXPECT_EQ(acedEntSel("Pick: ", picked, at), RTNORM);
    EXPECT_EQ(picked, d.square_);
    EXPECT_TRUE(at.isEqualTo({5, 0.1, 0}));
    EXPECT_EQ(out.text(), "Pick: 200,200\nNothing found at 200,200.\nPick: #FFFF\nNo object has handle FFFF.\nPick: 5,0.1\n");
    EXPECT_EQ(acedEntSel("Pick: ", picked, at), RTCAN);  // end of input

    ObjectId byHandle;
    EXPECT_EQ(acdbHandEnt(d.db.handleOf(d.circle).toString(), byHandle), RTNORM);
    EXPECT_EQ(byHandle, d.circle);
    EXPECT_EQ(acdbHandEnt("FFFF", byHandle), RTERROR);
}
