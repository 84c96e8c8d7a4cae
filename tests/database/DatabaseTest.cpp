// Calls against the live server: every procedure the module calls, with nulls, output values and
// record sets; the take-off of the sample floor plan; and the failures (wrong password, server
// down, a missing procedure, a time-out, a server that stops mid-run).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "DatabaseServer.h"
#include "core/EXKorva.h"
#include "data/Asset.h"
#include "data/Assets.h"
#include "data/BlockIPR.h"
#include "data/DatabaseSettings.h"
#include "data/Hyperlinks.h"
#include "data/ModuleDetails.h"
#include "data/ParameterKinds.h"
#include "data/SQLStatement.h"
#include "data/StoredProcedure.h"
#include "data/Takeoff.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"

namespace {
using dbtest::procedure;
using dbtest::settings;
using dbtest::sql;

std::string innermostDescription(const CEXKorva& error) {
    const CEXKorva* e = &error;
    while (e->getInnerException()) e = e->getInnerException();
    return e->getDescription();
}

// A host with the sample floor plan open.
struct SampleDrawing {
    SampleDrawing() : app(cad::HostProfile::AutoCAD, input) {
        std::string error;
        drawing = app.documentManager().openDocument(std::string(BRINMO_SOURCE_DIR) + "/examples/floor_plan.dxf", error);
        EXPECT_NE(drawing, nullptr) << error;
    }
    cad::ScriptInput input;
    cad::HostApplication app;
    cad::Document* drawing = nullptr;
};

// Leaves the take-off tables as the sample data has them.
void resetTakeoff() {
    sql("DELETE FROM asset_attributes; DELETE FROM assets; DELETE FROM tp_assets; DELETE FROM tp_spaces; "
        "DELETE FROM tp_gross_areas; DELETE FROM locations WHERE id > 3; DELETE FROM asset_exclusions; "
        "UPDATE locations SET area = NULL, handle = NULL, perimeter = NULL WHERE id = 3; SELECT 1");
}
}  // namespace

TEST(ProcedureCall, EveryKindGoesInAndComesBackAndNullAnswersKeepTheSentValue) {
    sql(R"(CREATE OR REPLACE PROCEDURE "__test_allInOut"(INOUT "@i" integer, INOUT "@t" smallint,
             INOUT "@b" boolean, INOUT "@v" varchar, INOUT "@c" char, INOUT "@d" numeric, INOUT "@w" timestamp,
             OUT "@n" integer)
           LANGUAGE plpgsql AS $$ BEGIN "@i" := "@i" * 1000 + 1; "@t" := "@t" * 2; "@b" := NOT "@b";
             "@v" := "@v" || ' def!'; "@c" := upper("@c"); "@d" := "@d" * 2; "@w" := "@w" + interval '1 day';
             "@n" := NULL; END $$; SELECT 1)");
    auto call = procedure();
    CParameters list;
    params::addInt(list, "@i", 42, CParameter::kInputOutput);
    params::addTinyInt(list, "@t", 100, CParameter::kInputOutput);
    params::addBoolean(list, "@b", 1, CParameter::kInputOutput);
    params::addVarChar(list, "@v", "abc", 255, CParameter::kInputOutput);
    params::addChar(list, "@c", "ab", 2, CParameter::kInputOutput);
    params::addDecimal(list, "@d", 12345678.0123456789, CParameter::kInputOutput);
    params::addDateTime(list, "@w", CDateTime(2024, 2, 29, 13, 45, 59), CParameter::kInputOutput);
    params::addInt(list, "@n", 5, CParameter::kOutput);
    call->setName("__test_allInOut");
    CAttachedParameters attached(*call, list);

    // Without reading back, the values stay as sent.
    call->execSPNoReturnParas();
    EXPECT_EQ(static_cast<CParameterInt&>(*list.getParameter("@i")).getInt(), 42);

    call->execSPNoReturnParasReturn();
    EXPECT_EQ(call->getLastCallText(), "CALL \"__test_allInOut\"(?,?,?,?,?,?,?,?)");
    EXPECT_EQ(static_cast<CParameterInt&>(*list.getParameter("@i")).getInt(), 42001);
    EXPECT_EQ(static_cast<CParameterTinyInt&>(*list.getParameter("@t")).getByte(), 200);
    EXPECT_EQ(static_cast<CParameterBoolean&>(*list.getParameter("@b")).getInt(), 0);
    EXPECT_EQ(static_cast<CParameterVarChar&>(*list.getParameter("@v")).getText(), "abc def!");
    EXPECT_EQ(static_cast<CParameterChar&>(*list.getParameter("@c")).getText(), "AB");
    EXPECT_DOUBLE_EQ(static_cast<CParameterDecimal&>(*list.getParameter("@d")).getDouble(), 24691356.0246913578);
    const CDateTime w = static_cast<CParameterDateTime&>(*list.getParameter("@w")).getDateTime();
    EXPECT_EQ(std::vector<int>({w.year(), w.month(), w.day(), w.hour(), w.minute(), w.second()}),
              std::vector<int>({2024, 3, 1, 13, 45, 59}));
    EXPECT_EQ(static_cast<CParameterInt&>(*list.getParameter("@n")).getInt(), 5);
    EXPECT_GT(call->getADOVersion(), 3.0);
}

TEST(ProcedureCall, RecordSetsAreWalkedToTheirEndAndNullColumnsLeaveDefaults) {
    resetTakeoff();
    sql("INSERT INTO locations (id, type, parentid, name, code, status, area, handle) VALUES "
        "(500, 'r', 3, 'Store', 'S1', '01', NULL, NULL), (501, 'b', 3, 'Annex', NULL, '1', 10.5, 'AB'); "
        "INSERT INTO assets (location_id, drawing_id, handle, acad_block_identifier, unique_description, point_x, "
        "point_y, exists_in_location) VALUES (500, 1, '1A', 'DESK', NULL, 1.5, -2.25, true), "
        "(500, 1, '1B', 'LAMP', 'by the door', 0, 0, false); "
        "INSERT INTO asset_attributes VALUES (1, '1A', 'ASSET_TAG', 'D-17', true); "
        "INSERT INTO category_assets VALUES (1, '1A', NULL, 'desk 17'); "
        "INSERT INTO asset_hyperlinks VALUES (1, '1A', 1, 'http://x/1', NULL), (1, '1A', 2, 'http://x/2', 'two'); "
        "INSERT INTO block_hyperlinks VALUES (1, '2F', 1, 'http://r/2F', 'room'); SELECT 1");

    auto call = procedure();
    CBlocks blocks;
    blocks.getIPRBlocks(*call, 1, 3, true);
    ASSERT_EQ(blocks.getCount(), 2);
    auto& room = dynamic_cast<CBlockIPRRoom&>(blocks.getAt(0));
    EXPECT_EQ(room.getLocationID(), 500);
    EXPECT_EQ(room.getParentID(), 3);
    EXPECT_EQ(room.getArea(), 0.0);  // null area: the default
    EXPECT_EQ(room.getHandle(), "");
    EXPECT_EQ(room.getStatusExists(), 1);
    EXPECT_EQ(room.getStatusDuplicate(), 1);
    ASSERT_NE(room.getAssets(), nullptr);
    ASSERT_EQ(room.getAssets()->getCount(), 2u);
    const CAsset& desk = room.getAssets()->getAt(0);
    EXPECT_EQ(desk.getBlockDescription(), "Office desk");
    EXPECT_EQ(desk.getUniqueDescription(), "");  // null
    EXPECT_DOUBLE_EQ(desk.getPointY(), -2.25);
    EXPECT_EQ(desk.getAssetExistsInLocation(), 1);
    ASSERT_NE(desk.getAttributes(), nullptr);
    ASSERT_EQ(desk.getAttributes()->getCount(), 1u);
    EXPECT_EQ(desk.getAttributes()->getAt(0).getValue(), "D-17");
    EXPECT_EQ(room.getAssets()->getAt(1).getBlockDescription(), "");  // no asset type: null
    EXPECT_EQ(room.getAssets()->getAt(1).getAssetExistsInLocation(), 0);
    auto& building = dynamic_cast<CBlockIPRBuilding&>(blocks.getAt(1));
    EXPECT_DOUBLE_EQ(building.getArea(), 10.5);
    EXPECT_EQ(building.getStatusExists(), 0);

    // Without the flag no asset procedure runs; a parent without children adds nothing.
    CBlocks bare;
    bare.getIPRBlocks(*call, 1, 3, false);
    EXPECT_EQ(dynamic_cast<CBlockIPRRoom&>(bare.getAt(0)).getAssets(), nullptr);
    EXPECT_EQ(call->getName(), "__to_getBlocksFromIPR");
    bare.getIPRBlocks(*call, 1, 999, false);
    EXPECT_EQ(bare.getCount(), 2);

    CAssets category;
    category.getCategoryAssets(*call, 5, 1, nullptr);
    ASSERT_EQ(category.getCount(), 1u);
    EXPECT_EQ(category.getAt(0).getUniqueDescription(), "desk 17");
    ASSERT_EQ(category.getAt(0).getHyperlinks()->getCount(), 2u);
    EXPECT_EQ(category.getAt(0).getHyperlinks()->getAt(0).getDescription(), "");
    CHyperlinks links;
    links.getBlockHyperlinks(*call, 5, 1, "2F");
    ASSERT_EQ(links.getCount(), 1u);
    EXPECT_EQ(links.getAt(0).getHref(), "http://r/2F");
    sql("DELETE FROM category_assets; DELETE FROM asset_hyperlinks; DELETE FROM block_hyperlinks; SELECT 1");
    resetTakeoff();
}

TEST(ProcedureCall, RoomsTakeTheServersIdBuildingsKeepTheirsExcludedAssetsKeepAttributesOut) {
    resetTakeoff();
    sql("INSERT INTO asset_exclusions VALUES ('CHAIR'); SELECT 1");
    auto call = procedure();
    CBlockIPRRoom room;
    room.setParentID(3);
    room.setName("Lab");
    room.setHandle("7F");
    auto assets = std::make_unique<CAssets>();
    for (const char* block : {"CHAIR", "DESK"}) {
        auto asset = std::make_unique<CAsset>();
        asset->setHandle(std::string(block) == "CHAIR" ? "A1" : "A2");
        asset->setBlockIdentifier(block);
        asset->setAssetExistsInLocation(1);
        auto attributes = std::make_unique<CAttributes>();
        attributes->add(std::make_unique<CAttribute>("ASSET_TAG", std::string(block) + "-1", "", 1));
        asset->setAttributes(std::move(attributes));
        assets->add(std::move(asset));
    }
    room.setAssets(std::move(assets));
    room.applyToIPR(*call, 1, 5);
    EXPECT_GT(room.getLocationID(), 100);
    EXPECT_EQ(sql("SELECT count(*) FROM assets WHERE location_id = " + std::to_string(room.getLocationID())), "2");
    EXPECT_EQ(sql("SELECT string_agg(handle, ',' ORDER BY handle) FROM asset_attributes"), "A2");
    EXPECT_EQ(sql("SELECT excluded_from_takeoff FROM assets WHERE handle = 'A1'"), "1");

    CBlockIPRBuilding building;
    building.setParentID(1);
    building.setHandle("B1");
    building.applyToIPR(*call, 1, 5);
    EXPECT_EQ(building.getLocationID(), 0);  // the server made a new row; the id is not read back
    EXPECT_EQ(sql("SELECT count(*) FROM locations WHERE type = 'b' AND handle = 'B1'"), "1");
    resetTakeoff();
}

TEST(Takeoff, SampleFloorPlanWritesItsRoomsFloorAndAssets) {
    resetTakeoff();
    SampleDrawing sample;
    ASSERT_NE(sample.drawing, nullptr);
    CBlocks drawn;
    drawn.getKorvaDWGBlocks_SS(*sample.drawing, true, "f");
    int rooms = 0, assets = 0;
    double roomArea = 0.0;
    CBlockDWG* gross = nullptr;
    for (std::size_t i = 0; i < drawn.getLength(); ++i) {
        if (auto* room = dynamic_cast<CBlockDWGRoom*>(&drawn.getAt(i))) {
            ++rooms;
            roomArea += room->getArea();
            if (room->getAssets()) assets += static_cast<int>(room->getAssets()->getCount());
        } else {
            gross = dynamic_cast<CBlockDWG*>(&drawn.getAt(i));
        }
    }
    ASSERT_EQ(rooms, 18);
    ASSERT_NE(gross, nullptr);
    ASSERT_GT(assets, 0);

    auto call = procedure();
    CTakeoff takeoff(*call, 10);
    const CTakeoff::Result first = takeoff.run(*sample.drawing, "floor_plan.dxf");
    EXPECT_EQ(first.drawingID, 1);
    EXPECT_EQ(first.floorID, 3);
    EXPECT_EQ(first.rooms, 18);
    EXPECT_EQ(first.assets, assets);

    EXPECT_EQ(sql("SELECT count(*) FROM locations WHERE type = 'r' AND parentid = 3 AND status = '00'"), "18");
    EXPECT_NEAR(std::stod(sql("SELECT sum(area) FROM locations WHERE type = 'r'")), roomArea, 1e-6);
    EXPECT_EQ(sql("SELECT count(DISTINCT name) FROM locations WHERE type = 'r'"), "18");
    EXPECT_NEAR(std::stod(sql("SELECT area FROM locations WHERE id = 3")), gross->getArea(), 1e-9);
    EXPECT_EQ(sql("SELECT handle FROM locations WHERE id = 3"), gross->getHandle());
    EXPECT_EQ(sql("SELECT count(*) FROM tp_spaces WHERE parent_id = 3 AND export_parameters = 'drawing=floor_plan.dxf'"),
              "18");
    EXPECT_EQ(sql("SELECT count(*) FROM tp_spaces s JOIN locations l ON l.handle = s.handle AND l.type = 'r' "
                  "WHERE s.area = l.area AND s.perimeter = l.perimeter AND s.name = l.name"),
              "18");
    EXPECT_EQ(sql("SELECT count(*) FROM tp_gross_areas WHERE location_id = 3"), "1");
    EXPECT_EQ(sql("SELECT count(*) FROM assets WHERE drawing_id = 1"), std::to_string(assets));
    // Every asset stands in a registered room of the floor, and the export side files it there too.
    EXPECT_EQ(sql("SELECT count(*) FROM assets a JOIN locations l ON l.id = a.location_id AND l.type = 'r'"),
              std::to_string(assets));
    EXPECT_EQ(sql("SELECT count(*) FROM tp_assets t JOIN assets a ON a.handle = t.handle "
                  "AND a.location_id = t.location_id"),
              std::to_string(assets));
    EXPECT_EQ(sql("SELECT count(DISTINCT handle) FROM asset_attributes"),
              sql("SELECT count(*) FROM assets a WHERE EXISTS (SELECT 1 FROM asset_attributes t "
                  "WHERE t.handle = a.handle)"));
    EXPECT_NE(sql("SELECT count(*) FROM asset_attributes WHERE tag = 'ASSET_TAG'"), "0");

    // Again: the rooms keep their location ids, nothing is doubled.
    const std::string ids = sql("SELECT string_agg(id::text, ',' ORDER BY id) FROM locations WHERE type = 'r'");
    takeoff.run(*sample.drawing, "floor_plan.dxf");
    EXPECT_EQ(sql("SELECT string_agg(id::text, ',' ORDER BY id) FROM locations WHERE type = 'r'"), ids);
    EXPECT_EQ(sql("SELECT count(*) FROM assets"), std::to_string(assets));
}

TEST(Takeoff, AFailureHalfWayLeavesTheDatabaseAsItWas) {
    resetTakeoff();
    SampleDrawing sample;
    ASSERT_NE(sample.drawing, nullptr);
    sql(R"(ALTER PROCEDURE "__to_applyAssetAttributeToIPR"(integer, varchar, varchar, varchar, boolean)
           RENAME TO "__to_applyAssetAttributeToIPR_gone"; SELECT 1)");
    auto call = procedure();
    CTakeoff takeoff(*call, 10);
    try {
        takeoff.run(*sample.drawing, "floor_plan.dxf");
        ADD_FAILURE() << "the take-off ran without its procedure";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CTakeoff::run");
        EXPECT_NE(innermostDescription(error).find("does not exist"), std::string::npos) << innermostDescription(error);
    }
    sql(R"(ALTER PROCEDURE "__to_applyAssetAttributeToIPR_gone"(integer, varchar, varchar, varchar, boolean)
           RENAME TO "__to_applyAssetAttributeToIPR"; SELECT 1)");
    EXPECT_EQ(sql("SELECT count(*) FROM locations"), "3");
    EXPECT_EQ(sql("SELECT count(*) FROM tp_spaces"), "0");
    EXPECT_EQ(sql("SELECT count(*) FROM assets"), "0");

    // A drawing the database does not know: a clear error, nothing written.
    try {
        takeoff.run(*sample.drawing, "unknown.dxf");
        ADD_FAILURE() << "an unregistered drawing was taken off";
    } catch (const CEXKorva& error) {
        EXPECT_NE(innermostDescription(error).find("drawing unknown.dxf is not registered"), std::string::npos);
    }
    EXPECT_EQ(sql("SELECT count(*) FROM locations"), "3");
}

TEST(ModuleDetails, RegistersAndMarksTheModuleRunning) {
    const CDatabaseSettings s = settings();
    CModuleDetails details;
    details.setModDetails(s.dataSource, s.userID, s.password, 5);
    EXPECT_EQ(sql("SELECT module_version || '|' || module_date::date || '|' || running FROM modules "
                  "WHERE module_name = 'ZDK'", "zerOda"),
              "64.04.03.00|2017-06-15|false");
    details.setModuleRunning(s.dataSource, s.userID, s.password, 5);
    EXPECT_EQ(sql("SELECT running FROM modules WHERE module_name = 'ZDK'", "zerOda"), "1");
}

TEST(Failures, DebugLogHasOneEntryPerCallWrittenBeforeTheCall) {
    const std::string log = dbtest::serverFolder() + "/debug.xml";
    CStoredProcedure::debugLogPath() = log;
    auto call = procedure();
    CParameters list;
    params::addInt(list, "@parentID", 3);
    call->setName("__to_getBlocksFromIPR");
    CAttachedParameters attached(*call, list);
    call->execSPReturnParas();
    call->setName("__to_noSuchProcedure");
    EXPECT_THROW(call->execSPNoReturnParas(), CEXKorva);
    CStoredProcedure::debugLogPath().clear();
    const std::string text = dbtest::readText(log);
    EXPECT_NE(text.find("<description>execSPReturnParas</description>"), std::string::npos) << text;
    EXPECT_NE(text.find("<description>execSPNoReturnParas</description>"), std::string::npos);
    EXPECT_NE(text.find("__to_noSuchProcedure"), std::string::npos);
    EXPECT_NE(text.find("<parameterName>@parentID</parameterName>"), std::string::npos);
}

TEST(Failures, MissingProcedureAndTimeoutAreComponentErrorsOfTheVariant) {
    auto call = procedure();
    call->setName("__to_noSuchProcedure");
    try {
        call->execSPNoReturnNoParas();
        FAIL() << "a missing procedure ran";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CStoredProcedure::execSPNoReturnNoParas");
        EXPECT_EQ(error.getClass(), "StoredProcedure");
        EXPECT_NE(error.getDescription().find("__to_noSuchProcedure() does not exist"), std::string::npos)
            << error.getDescription();
        EXPECT_EQ(error.getSource(), "psqlodbcw.so");
    }

    sql(R"(CREATE OR REPLACE PROCEDURE "__test_slow"() LANGUAGE plpgsql AS $$ BEGIN PERFORM pg_sleep(5); END $$;
           SELECT 1)");
    call->setName("__test_slow");
    call->setCommandTimeout(1);
    const auto start = std::chrono::steady_clock::now();
    try {
        call->execSPNoReturnNoParas();
        FAIL() << "no time-out";
    } catch (const CEXKorva& error) {
        EXPECT_NE(error.getDescription().find("statement timeout"), std::string::npos) << error.getDescription();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    // The connection is still usable after the cancelled call.
    call->setCommandTimeout(10);
    call->setName("__to_getBlocksFromIPR");
    CParameters list;
    params::addInt(list, "@parentID", 2);
    CAttachedParameters attached(*call, list);
    EXPECT_EQ(call->execSPReturnParas()->rowCount(), 1u);
}

TEST(Failures, WrongPasswordAndClosedPortAreConnectionErrors) {
    const CDatabaseSettings s = settings();
    try {
        CStoredProcedure call(s.dataSource, "propdb", s.userID, "not-the-password", 5);
        FAIL() << "connected with a wrong password";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getDescription(), "An error occurred whilst connecting to propdb");
        EXPECT_EQ(error.getProcSig(), "CDataServices::CDataServices");
        ASSERT_NE(error.getInnerException(), nullptr);
        EXPECT_NE(error.getInnerException()->getDescription().find("password authentication failed"),
                  std::string::npos);
    }
    try {
        CStoredProcedure call("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1", "propdb", s.userID, s.password,
                              5);
        FAIL() << "connected to a closed port";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getDescription(), "An error occurred whilst connecting to propdb");
        EXPECT_NE(innermostDescription(error).find("Connection refused"), std::string::npos);
    }
}

// Runs last: it stops the server.
TEST(Failures, ZServerStoppedMidRunGivesAClearErrorAndALogEntry) {
    const std::string folder = dbtest::serverFolder();
    const std::string settingsFile = folder + "/settings.xml";
    const std::string errorLog = folder + "/errors.xml";
    std::ofstream(settingsFile) << "<documentMonitorPreferences><server><acadErrorLogFilePath>" << errorLog
                                << "</acadErrorLogFilePath></server></documentMonitorPreferences>\n";
    // The command-line entry: a missing procedure is logged and ends with status 1.
    resetTakeoff();
    const std::string tool = std::string(BRINMO_DB_TOOL) + " --settings " + settingsFile;
    const std::string sample = std::string(BRINMO_SOURCE_DIR) + "/examples/floor_plan.dxf";
    EXPECT_EQ(std::system((tool + " takeoff " + sample + " >/dev/null 2>&1").c_str()), 0);
    EXPECT_EQ(sql("SELECT count(*) FROM locations WHERE type = 'r'"), "18");
    EXPECT_EQ(std::system((tool + " register >/dev/null 2>&1").c_str()), 0);

    auto call = procedure();
    dbtest::stopServer();
    call->setName("__to_getBlocksFromIPR");
    CParameters list;
    params::addInt(list, "@parentID", 3);
    CAttachedParameters attached(*call, list);
    try {
        call->execSPReturnParas();
        FAIL() << "a call reached a stopped server";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CStoredProcedure::execSPReturnParas");
        EXPECT_FALSE(error.getDescription().empty());
    }
    const int status = std::system((tool + " takeoff " + sample + " >/dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string log = dbtest::readText(errorLog);
    EXPECT_NE(log.find("An error occurred whilst connecting to propdb"), std::string::npos) << log;
}
