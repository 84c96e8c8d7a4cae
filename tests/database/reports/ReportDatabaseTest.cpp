// Graphic reports against the live server: every report, layer and layout procedure with nulls,
// output values and record sets; the batch with its statuses and files; workers sharing one
// database; and the failures (missing procedure, time-out, a status that cannot be written, the
// server stopped mid-run). The last test stops the server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "DatabaseServer.h"
#include "core/EXKorva.h"
#include "data/Assets.h"
#include "data/DatabaseSettings.h"
#include "data/Hyperlinks.h"
#include "data/SQLStatement.h"
#include "data/StoredProcedure.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"
#include "host/HostPlatform.h"
#include "logging/ServerPreferenceZerOda.h"
#include "reports/GraphicReports.h"
#include "reports/Layer.h"
#include "reports/Layers.h"
#include "reports/Layout.h"
#include "reports/Layouts.h"
#include "reports/LinkLines.h"
#include "spaceblocks/Attributes.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "spaceblocks/KorvaAttribute.h"

namespace fs = std::filesystem;

namespace {
const std::string kExamples = std::string(BRINMO_SOURCE_DIR) + "/examples/";

using dbtest::procedure;
using dbtest::readText;
using dbtest::sql;

// A fresh folder for one test's files.
std::string folder(const std::string& name) {
    const std::string path = dbtest::serverFolder() + "/" + name + "/";
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

// Every file of the folder, names only.
std::set<std::string> filesIn(const std::string& path) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path, ec)) names.insert(entry.path().filename().string());
    return names;
}

CServerPreferenceZerOda serverRecord(const std::string& outputFolder, int timeout = 10) {
    CServerPreferenceZerOda record;
    record.setValue("graphRepOutPath", outputFolder);
    record.setValue("dbTimeout", std::to_string(timeout));
    return record;
}

const std::string kInsertReport =
    "INSERT INTO graphic_reports (gr_id, title, drawing_path, drawing_filename, plot_layout, "
    "plot_type_id, plot_area_type_id, plot_media_size_id, plot_scale_type_id, plot_centred, "
    "output_path, output_filename, ";

// A report of floor_plan.dxf waiting with `status`, plotting to PDF into `output` as NAME.pdf.
void insertReport(int id, int status, const std::string& output, const std::string& name,
                  const std::string& drawing = "floor_plan.dxf") {
    sql(kInsertReport + "status_id) VALUES (" +
        std::to_string(id) + ", 'Report " + std::to_string(id) + "', '" + kExamples + "', '" + drawing +
        "', 'Layout1', 1, 1, 4, 0, true, '" + output + "', '" + name + ".pdf', " + std::to_string(status) +
        "); SELECT 1");
}

void deleteReports() {
    sql("DELETE FROM graphic_reports WHERE gr_id >= 100; SELECT 1");
}

// The statuses a report was given, in order ("2,3").
std::string history(int id) {
    return sql("SELECT string_agg(status_id::text, ',' ORDER BY set_at) FROM graphic_report_statuses "
               "WHERE gr_id = " + std::to_string(id));
}

// A host that can open drawings, with the module's record of it, for preparing reports in this
// process.
struct Host {
    Host() : app(cad::HostProfile::AutoCAD, input) { buildHostPlatform(app.productName()); }
    ~Host() { releaseHostPlatform(); }
    cad::ScriptInput input;
    cad::HostApplication app;
};

// Swaps a procedure for a test's version and puts the original back at the end of the scope.
class SwappedProcedure {
  public:
    SwappedProcedure(std::string signature, std::string name, const std::string& body)
        : signature_(std::move(signature)), name_(std::move(name)) {
        sql("ALTER PROCEDURE \"" + name_ + "\"(" + signature_ + ") RENAME TO \"" + name_ +
            "_kept\"; SELECT 1");
        if (!body.empty()) sql(body + "; SELECT 1");
    }
    ~SwappedProcedure() {
        try {
            sql("DROP PROCEDURE IF EXISTS \"" + name_ + "\"(" + signature_ + "); ALTER PROCEDURE \"" + name_ +
                "_kept\"(" + signature_ + ") RENAME TO \"" + name_ + "\"; SELECT 1");
        } catch (...) {  // the server is down: nothing left to restore
        }
    }

  private:
    std::string signature_, name_;
};

// __gr_setGraphicReportStatus with a pause (seconds) after the status `slowStatus`, or failing
// on `failStatus`.
std::string statusProcedure(int slowStatus, double pause, int failStatus = -1) {
    return R"(CREATE PROCEDURE "__gr_setGraphicReportStatus"("@graphicReportID" integer, "@statusID" integer)
              LANGUAGE plpgsql AS $$ BEGIN
                IF "@statusID" = )" +
           std::to_string(failStatus) + R"( THEN
                  RAISE EXCEPTION 'status % refused for the test', "@statusID";
                END IF;
                CALL "__gr_setGraphicReportStatus_kept"("@graphicReportID", "@statusID");
                IF "@statusID" = )" +
           std::to_string(slowStatus) + " THEN PERFORM pg_sleep(" + std::to_string(pause) +
           R"(); END IF; END $$)";
}

// brinmo-db as a separate process: its id; output into `log`.
pid_t startWorker(const std::vector<std::string>& arguments, const std::string& log) {
    const pid_t pid = fork();
    if (pid == 0) {
        FILE* out = std::freopen(log.c_str(), "w", stdout);
        if (out) dup2(fileno(stdout), STDERR_FILENO);
        std::vector<char*> argv;
        static const std::string tool = BRINMO_DB_TOOL;
        argv.push_back(const_cast<char*>(tool.c_str()));
        for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

int waitWorker(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Waits until the SQL answers `expected`; false after `seconds`.
bool waitFor(const std::string& query, const std::string& expected, int seconds = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (sql(query) == expected) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// A settings file whose server logs errors to FOLDER/logs/errors.xml (beside its stylesheet).
std::string settingsFile(const std::string& dir) {
    const std::string file = dir + "settings.xml";
    fs::create_directories(dir + "logs");
    std::ofstream(file) << "<documentMonitorPreferences><server><acadErrorLogFilePath>" << dir
                        << "logs/errors.xml</acadErrorLogFilePath><graphRepOutPath>" << dir
                        << "</graphRepOutPath></server></documentMonitorPreferences>\n";
    return file;
}

const char* kActiveStatusCall =
    "SELECT count(*) FROM pg_stat_activity WHERE state = 'active' AND query LIKE '%setGraphicReportStatus%' "
    "AND pid <> pg_backend_pid()";
}  // namespace

// ---- the procedures ----

TEST(ReportProcedures, AReportRowWithNullsAndCodesLoadsWithItsCategoriesLayersAndLinkLines) {
    deleteReports();
    sql(kInsertReport + "save_copy_to, xml_output_to, total_child_areas, status_id) VALUES "
        "(100, 'Full', '/plans', 'a.dxf', 'Layout1', 2, 5, 88, 19, false, '', 'a.pdf', 'copy.dxf', '/x/', "
        "501.125, 31), "
        "(101, NULL, NULL, NULL, NULL, 7, 6, 89, 34, NULL, NULL, NULL, NULL, NULL, NULL, 31), "
        "(102, 'Other status', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '/out', NULL, NULL, NULL, "
        "NULL, 32); "
        "INSERT INTO report_categories (c_id, gr_id, seq, title, hatch_pattern, hatch_angle, hatch_colour, "
        "hatch_scale, hatch_layer) VALUES "
        "(100, 100, 1, 'Finance', 'ANSI31', -45, '#1E90FF', 200, NULL), "
        "(101, 100, 2, 'No pattern', NULL, 30, '#FF0000', 5, 'L'), "
        "(102, 100, 3, 'Empty pattern', '', 30, '#FF0000', 5, 'L'), "
        "(103, 100, 4, 'Finance', 'ANSI31', -45, '#1E90FF', 200, 'OTHER-LAYER'), "
        "(104, 100, 5, 'Assets only', 'SOLID', 0, '#00FF00', 1, 'H'); "
        "INSERT INTO category_blocks VALUES (100, '49', 'L1-001', 'C1', 27.84, 'Room one', '', NULL), "
        "(100, '67', NULL, NULL, NULL, NULL, NULL, 'aux text'); "
        "INSERT INTO block_hyperlinks VALUES (100, '49', 1, 'http://plans/49', NULL); "
        "INSERT INTO category_assets VALUES (104, 'A1', 'Desk', NULL); "
        "INSERT INTO report_layers_on VALUES (100, 1, 'walls<1>', NULL), (100, 2, 'DOORS', 'the doors'), "
        "(100, 3, 'DOORS', 'again'); "
        "INSERT INTO report_link_lines VALUES (100, 1, '49', '67', NULL, 'from 49'), "
        "(100, 2, NULL, NULL, 'L', NULL); SELECT 1");
    auto call = procedure();
    const CServerPreferenceZerOda record = serverRecord("/reports/out/");

    CGraphicReports reports;
    reports.getGraphicReports(*call, record, 31, 10);
    ASSERT_EQ(reports.getCount(), 2u);
    const CGraphicReport& full = reports.getAt(0);
    EXPECT_EQ(full.getID(), 100);
    EXPECT_EQ(full.getTitle(), "Full");
    EXPECT_EQ(full.getDrawingPath(), "/plans/");
    EXPECT_EQ(full.getPlotTypeID(), 2);
    EXPECT_EQ(full.getPlotAreaTypeID(), 5);
    EXPECT_EQ(full.getPlotMediaSizeID(), 88);
    EXPECT_EQ(full.getPlotScaleTypeID(), 20);  // database 19 is the host's 20
    EXPECT_EQ(full.getPlotCentred(), 0);
    EXPECT_EQ(full.getOutputPath(), "/reports/out/");  // empty: the server record's folder
    EXPECT_EQ(full.getSaveCopyTo(), "copy.dxf");
    EXPECT_EQ(full.getXMLOutputTo(), "/x/");
    EXPECT_DOUBLE_EQ(full.getTotalChildAreas(), 501.125);

    // Null columns keep the defaults; unknown codes become the fall-backs.
    const CGraphicReport& bare = reports.getAt(1);
    EXPECT_EQ(bare.getTitle(), "");
    EXPECT_EQ(bare.getDrawingFilename(), "");
    EXPECT_EQ(bare.getPlotTypeID(), 0);
    EXPECT_EQ(bare.getPlotAreaTypeID(), 0);
    EXPECT_EQ(bare.getPlotMediaSizeID(), 0);
    EXPECT_EQ(bare.getPlotScaleTypeID(), 0);
    EXPECT_EQ(bare.getPlotCentred(), 1);
    EXPECT_EQ(bare.getOutputPath(), "/reports/out/");  // null: the server record's folder
    EXPECT_EQ(bare.getTotalChildAreas(), 0.0);
    ASSERT_NE(bare.getCategories(), nullptr);
    EXPECT_EQ(bare.getCategories()->getCount(), 0u);
    EXPECT_EQ(bare.getLinkLines()->getCount(), 0u);

    // Categories: the duplicate (same title and hatch) is dropped, a null or empty pattern means no
    // hatch, a null layer is "_Korva", blocks and assets only where there are some.
    const CCategories& categories = *full.getCategories();
    ASSERT_EQ(categories.getCount(), 4u);
    const CCategory& finance = categories.getAt(0);
    ASSERT_NE(finance.getHatch(), nullptr);
    EXPECT_EQ(finance.getHatch()->getPattern(), "ANSI31");
    EXPECT_EQ(finance.getHatch()->getAngle(), -45);
    EXPECT_EQ(finance.getHatch()->getScale(), 200);
    EXPECT_EQ(finance.getHatch()->getLayer(), "_Korva");
    const cad::Color colour = finance.getHatch()->getColour();
    EXPECT_EQ(std::vector<int>({colour.red(), colour.green(), colour.blue()}),
              std::vector<int>({0x1E, 0x90, 0xFF}));
    EXPECT_EQ(categories.getAt(1).getTitle(), "No pattern");
    EXPECT_EQ(categories.getAt(1).getHatch(), nullptr);
    EXPECT_EQ(categories.getAt(2).getHatch(), nullptr);
    EXPECT_EQ(categories.getAt(1).getBlocks(), nullptr);
    EXPECT_EQ(categories.getAt(1).getAssets(), nullptr);
    const CCategory& assetsOnly = categories.getAt(3);
    EXPECT_EQ(assetsOnly.getBlocks(), nullptr);
    ASSERT_NE(assetsOnly.getAssets(), nullptr);
    EXPECT_EQ(assetsOnly.getAssets()->getAt(0).getBlockDescription(), "Desk");
    ASSERT_NE(assetsOnly.getAssets()->getAt(0).getHatchSettings(), nullptr);
    EXPECT_EQ(assetsOnly.getAssets()->getAt(0).getHatchSettings()->getPattern(), "SOLID");

    // Category blocks: texts only where not null and not empty, the hyperlinks, a copy of the hatch.
    ASSERT_NE(finance.getBlocks(), nullptr);
    ASSERT_EQ(finance.getBlocks()->getLength(), 2u);
    auto& room = dynamic_cast<CBlockDWG&>(finance.getBlocks()->getAt(0));
    EXPECT_EQ(room.getHandle(), "49");
    EXPECT_EQ(room.getName(), "L1-001");
    EXPECT_EQ(room.getCode(), "C1");
    EXPECT_DOUBLE_EQ(room.getArea(), 27.84);
    ASSERT_NE(room.getAttributes(), nullptr);
    EXPECT_EQ(room.getAttributes()->getCount(), 1u);
    EXPECT_EQ(room.getAttributes()->getAtAttribute(CKorvaAttribute::kName)->getValue(), "Room one");
    ASSERT_NE(room.getHyperlinks(), nullptr);
    EXPECT_EQ(room.getHyperlinks()->getAt(0).getHref(), "http://plans/49");
    ASSERT_NE(room.getHatchSettings(), nullptr);
    EXPECT_NE(room.getHatchSettings(), finance.getHatch());
    EXPECT_EQ(room.getHatchSettings()->getAngle(), -45);
    auto& second = dynamic_cast<CBlockDWG&>(finance.getBlocks()->getAt(1));
    EXPECT_EQ(second.getName(), "");
    EXPECT_EQ(second.getArea(), 0.0);
    EXPECT_EQ(second.getHyperlinks(), nullptr);
    ASSERT_EQ(second.getAttributes()->getCount(), 1u);
    EXPECT_EQ(second.getAttributes()->getAtAttribute(CKorvaAttribute::kAux)->getValue(), "aux text");

    // Layers: validated names, a null description stays empty, the repeated name is dropped.
    const CLayers& layers = *full.getLayersOn();
    ASSERT_EQ(layers.getCount(), 2u);
    EXPECT_EQ(layers.getAt(0).getName(), "walls1");
    EXPECT_EQ(layers.getAt(0).getDescription(), "");
    EXPECT_EQ(layers.getAt(1).getDescription(), "the doors");

    // Link lines: null columns are empty fields.
    const CLinkLines& lines = *full.getLinkLines();
    ASSERT_EQ(lines.getCount(), 2u);
    EXPECT_EQ(lines.getAt(0).getStartHandle(), "49");
    EXPECT_EQ(lines.getAt(0).getLayerName(), "");
    EXPECT_EQ(lines.getAt(0).getLabelText(), "from 49");
    EXPECT_EQ(lines.getAt(1).getStartHandle(), "");
    EXPECT_EQ(lines.getAt(1).getLayerName(), "L");

    // A report of another status is not loaded; an unknown id loads nothing but the id.
    CGraphicReport unknown;
    unknown.getGraphicReport(*call, record, 999, 10);
    EXPECT_EQ(unknown.getID(), 999);
    EXPECT_EQ(unknown.getTitle(), "");
    EXPECT_EQ(unknown.getCategories()->getCount(), 0u);
    deleteReports();
}

TEST(ReportProcedures, StatusAndLayoutAreWrittenBackAndAnUnknownReportIsAnError) {
    deleteReports();
    insertReport(100, 1, "/tmp/", "x");
    auto call = procedure();
    CGraphicReport report;
    report.setID(100);
    report.setGraphicReportStatus(*call, 10, 13);
    report.setGraphicReportLayout(*call, 10, "Layout2");
    EXPECT_EQ(sql("SELECT status_id || '|' || plot_layout FROM graphic_reports WHERE gr_id = 100"),
              "13|Layout2");
    EXPECT_EQ(history(100), "13");

    report.setID(12345);
    try {
        report.setGraphicReportStatus(*call, 10, 3);
        ADD_FAILURE() << "a status was written for a report that does not exist";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CGraphicReport::setGraphicReportStatus");
        EXPECT_NE(error.traceText().find("graphic report 12345 is not in the property database"),
                  std::string::npos)
            << error.traceText();
    }
    deleteReports();
}

TEST(ReportProcedures, AClaimComesBackAsAnOutputAndPassesByReportsAnotherConnectionHolds) {
    deleteReports();
    for (int id : {100, 101, 102}) insertReport(id, 41, "/tmp/", "x");
    insertReport(103, 42, "/tmp/", "x");
    auto first = procedure();
    auto second = procedure();
    {
        CDataTransaction holding(*first);
        EXPECT_EQ(CGraphicReports::claimGraphicReport(*first, 10, 41, 0), 100);
        // The other worker passes the held report by, and the ones it is told to skip.
        {
            CDataTransaction other(*second);
            EXPECT_EQ(CGraphicReports::claimGraphicReport(*second, 10, 41, 0), 101);
            EXPECT_EQ(CGraphicReports::claimGraphicReport(*second, 10, 41, 0, {101, 102}),
                      0);                                                              // null answer: 0
            EXPECT_EQ(CGraphicReports::claimGraphicReport(*second, 10, 41, 100), 0);   // held by the first
            EXPECT_EQ(CGraphicReports::claimGraphicReport(*second, 10, 41, 103), 0);   // another status
            EXPECT_EQ(CGraphicReports::claimGraphicReport(*second, 10, 0, 103), 103);  // any status
        }
    }
    // Both transactions ended: every report is free again.
    EXPECT_EQ(CGraphicReports::claimGraphicReport(*second, 10, 41, 100), 100);
    deleteReports();
}

TEST(ReportProcedures, LayersAndLayoutsOfADrawingAreRecordedAndLayoutsReplaced) {
    auto call = procedure();
    CLayers layers;
    for (const auto& [name, colour] : std::vector<std::pair<std::string, int>>{{"WALLS", 7}, {"DOORS", 1}}) {
        auto layer = std::make_unique<CLayer>();
        layer->setName(name);
        layer->setColourIndex(colour);
        layer->setDescription("not sent");
        layers.add(std::move(layer));
    }
    layers.addLayersToIPR(*call, 10, 77);
    EXPECT_EQ(
        sql("SELECT string_agg(layer_name || ':' || colour || ':' || description, ',' ORDER BY layer_name) "
            "FROM drawing_layers WHERE attach_id = 77"),
        "DOORS:1:,WALLS:7:");

    CLayouts layouts;
    layouts.add(std::make_unique<CLayout>("Model", cad::ObjectId()));
    layouts.add(std::make_unique<CLayout>("Layout1", cad::ObjectId()));
    layouts.addLayoutsToIPR(*call, 10, 77);
    CLayouts fewer;
    fewer.add(std::make_unique<CLayout>("Plan A3", cad::ObjectId()));
    fewer.addLayoutsToIPR(*call, 10, 77);
    EXPECT_EQ(
        sql("SELECT string_agg(layout_name, ',' ORDER BY seq) FROM drawing_layouts WHERE attach_id = 77"),
        "Plan A3");
    layouts.addLayoutsToIPR(*call, 10, 78);
    EXPECT_EQ(
        sql("SELECT string_agg(layout_name, ',' ORDER BY seq) FROM drawing_layouts WHERE attach_id = 78"),
        "Model,Layout1");
    sql("DELETE FROM drawing_layers; DELETE FROM drawing_layouts; SELECT 1");
}

// ---- the batch ----

TEST(ReportBatch, ThreeReportsEndAsDrawingMissingOutputFolderMissingAndPlottedWithPDFAndXML) {
    deleteReports();
    Host host;
    const std::string out = folder("batch");
    insertReport(100, 51, out, "missing", "no_such_plan.dxf");
    insertReport(101, 51, out + "no-such-folder/", "nowhere");
    insertReport(102, 51, out, "plotted");
    sql("INSERT INTO report_categories (c_id, gr_id, title, hatch_pattern, hatch_angle, hatch_colour, "
        "hatch_scale) VALUES (110, 102, 'Finance', 'SOLID', 0, '#1E90FF', 1); "
        "INSERT INTO category_blocks VALUES (110, '49', 'L1-001', 'L1-001', 27.84, NULL, NULL, 'Finance'); "
        "INSERT INTO report_layers_on VALUES (102, 1, 'WALLS', NULL); SELECT 1");
    const std::string drawingBefore = readText(kExamples + "floor_plan.dxf");
    auto call = procedure();
    CGraphicReports reports;
    reports.getGraphicReports(*call, serverRecord(out), 51, 10);
    ASSERT_EQ(reports.getCount(), 3u);
    EXPECT_EQ(reports.prepareReports(*call, 10), 3);

    EXPECT_EQ(
        sql("SELECT string_agg(status_id::text, ',' ORDER BY gr_id) FROM graphic_reports WHERE gr_id >= 100"),
        "4,10,3");
    EXPECT_EQ(history(100), "2,4");
    EXPECT_EQ(history(101), "2,10");
    EXPECT_EQ(history(102), "2,3");
    EXPECT_EQ(filesIn(out), (std::set<std::string>{"plotted.pdf", "plotted.xml"}));
    EXPECT_EQ(readText(out + "plotted.pdf").substr(0, 5), "%PDF-");
    // The XML is the report as loaded: its id and its category with the block.
    CGraphicReport written;
    written.deSerialize(out + "plotted.xml");
    EXPECT_EQ(written.getID(), 102);
    ASSERT_NE(written.getCategories(), nullptr);
    ASSERT_EQ(written.getCategories()->getCount(), 1u);
    EXPECT_EQ(written.getCategories()->getAt(0).getBlocks()->getLength(), 1u);
    EXPECT_EQ(written.getPlotMediaSizeID(), 4);
    // The drawing itself is not changed by preparing a report.
    EXPECT_TRUE(readText(kExamples + "floor_plan.dxf") == drawingBefore);

    // Prepared reports left their status: a second run claims none of them.
    EXPECT_EQ(reports.prepareReports(*call, 10), 0);
    EXPECT_EQ(history(102), "2,3");
    deleteReports();
}

TEST(ReportBatch, CopyAndXMLTargetsGiveTheirStatusesWhenTheyCannotBeUsed) {
    deleteReports();
    Host host;
    const std::string out = folder("targets");
    insertReport(100, 52, out, "copied");
    insertReport(101, 52, out, "badcopy");
    insertReport(102, 52, out, "badxml");
    insertReport(103, 52, out, "unnamed");
    // No plot layout: the layout plotted (the drawing's current one) is written back. No output
    // file name: nothing is plotted.
    sql("UPDATE graphic_reports SET plot_layout = NULL WHERE gr_id = 102; "
        "UPDATE graphic_reports SET output_filename = NULL WHERE gr_id = 103; SELECT 1");
    sql("UPDATE graphic_reports SET save_copy_to = '" + out +
        "copy_of_plan.dxf', xml_output_to = 'named.xml' WHERE gr_id = 100; "
        "UPDATE graphic_reports SET save_copy_to = '" + out + "missing-folder' WHERE gr_id = 101; "
        "UPDATE graphic_reports SET xml_output_to = '" + kExamples + "floor_plan.dxf' WHERE gr_id = 102; "
        "SELECT 1");
    auto call = procedure();
    CGraphicReports reports;
    reports.getGraphicReports(*call, serverRecord(out), 52, 10);
    reports.prepareReports(*call, 10);
    EXPECT_EQ(
        sql("SELECT string_agg(status_id::text, ',' ORDER BY gr_id) FROM graphic_reports WHERE gr_id >= 100"),
        "3,12,13,11");
    EXPECT_EQ(sql("SELECT string_agg(coalesce(plot_layout, '-'), ',' ORDER BY gr_id) FROM graphic_reports "
                  "WHERE gr_id >= 100"),
              "Layout1,Layout1,Model,Layout1");
    EXPECT_EQ(filesIn(out), (std::set<std::string>{"copied.pdf", "copy_of_plan.dxf", "named.xml",
                                                   "badcopy.pdf", "badxml.pdf"}));
    // The copy is the drawing as the report left it, with the plot layout current.
    const std::string copy = readText(out + "copy_of_plan.dxf");
    EXPECT_NE(copy.find("ENTITIES"), std::string::npos);
    EXPECT_NE(copy.find("Layout1"), std::string::npos);
    deleteReports();
}

// ---- workers sharing one database ----

TEST(ReportWorkers, TwoWorkersStartedAtOncePrepareEachOfTenReportsExactlyOnce) {
    deleteReports();
    const std::string out = folder("two-workers");
    const std::string settings = settingsFile(out);
    for (int id = 100; id < 110; ++id) insertReport(id, 61, out, "r" + std::to_string(id));
    // One of them hatches a room, which takes the worker through the legend and pie chart too.
    sql("INSERT INTO report_categories (c_id, gr_id, title, hatch_pattern, hatch_angle, hatch_colour, hatch_scale) "
        "VALUES (120, 104, 'Finance', 'SOLID', 0, '#1E90FF', 1); "
        "INSERT INTO category_blocks VALUES (120, '49', 'L1-001', 'L1-001', 27.84, NULL, NULL, 'Finance'); SELECT 1");
    // Each report takes a while inside its claim, so that both workers are busy at the same time.
    SwappedProcedure slow("integer, integer", "__gr_setGraphicReportStatus", statusProcedure(2, 0.4));
    const pid_t a = startWorker({"--settings", settings, "prepare-reports", "61"}, out + "a.log");
    const pid_t b = startWorker({"--settings", settings, "prepare-reports", "61"}, out + "b.log");
    EXPECT_EQ(waitWorker(a), 0) << readText(out + "a.log");
    EXPECT_EQ(waitWorker(b), 0) << readText(out + "b.log");

    EXPECT_EQ(sql("SELECT count(*) FROM graphic_reports WHERE gr_id >= 100 AND status_id = 3"), "10");
    for (int id = 100; id < 110; ++id) EXPECT_EQ(history(id), "2,3") << "report " << id;
    // One worker (server process) per report, and both workers had a share.
    EXPECT_EQ(sql("SELECT count(*) FROM (SELECT gr_id FROM graphic_report_statuses WHERE gr_id >= 100 "
                  "GROUP BY gr_id HAVING count(DISTINCT worker) = 1) x"),
              "10");
    EXPECT_EQ(sql("SELECT count(DISTINCT worker) FROM graphic_report_statuses WHERE gr_id >= 100"), "2");
    const std::string logA = readText(out + "a.log"), logB = readText(out + "b.log");
    for (int id = 100; id < 110; ++id) {
        const std::string line = "report " + std::to_string(id) + ": status 3 (plotted)";
        // Told by exactly one of the two workers.
        EXPECT_EQ((logA.find(line) != std::string::npos) + (logB.find(line) != std::string::npos), 1) << line;
        EXPECT_TRUE(fs::exists(out + "r" + std::to_string(id) + ".pdf"));
    }
    deleteReports();
}

TEST(ReportWorkers, AWorkerKilledMidReportLeavesThatReportToTheOther) {
    deleteReports();
    const std::string out = folder("killed-worker");
    const std::string settings = settingsFile(out);
    insertReport(100, 62, out, "survivor");
    pid_t killed = 0;
    {
        // The first worker stops for a long time right after writing status 2.
        SwappedProcedure stuck("integer, integer", "__gr_setGraphicReportStatus", statusProcedure(2, 60));
        killed = startWorker({"--settings", settings, "prepare-reports", "62"}, out + "killed.log");
        ASSERT_TRUE(waitFor(kActiveStatusCall, "1")) << readText(out + "killed.log");
        // Held: another claim passes it by.
        EXPECT_EQ(sql("SELECT count(*) FROM (SELECT gr_id FROM graphic_reports WHERE gr_id = 100 "
                      "FOR UPDATE SKIP LOCKED) x"),
                  "0");
        kill(killed, SIGKILL);
        EXPECT_EQ(waitWorker(killed), 128 + SIGKILL);
        // The server notices the dead connection and releases the claim with the status 2.
        EXPECT_TRUE(
            waitFor("SELECT count(*) FROM (SELECT gr_id FROM graphic_reports WHERE gr_id = 100 "
                    "FOR UPDATE SKIP LOCKED) x",
                    "1"));
    }
    EXPECT_EQ(sql("SELECT status_id FROM graphic_reports WHERE gr_id = 100"), "62");
    EXPECT_EQ(history(100), "");
    const pid_t other = startWorker({"--settings", settings, "prepare-reports", "62"}, out + "other.log");
    EXPECT_EQ(waitWorker(other), 0) << readText(out + "other.log");
    EXPECT_EQ(sql("SELECT status_id FROM graphic_reports WHERE gr_id = 100"), "3");
    EXPECT_EQ(history(100), "2,3");
    EXPECT_NE(readText(out + "other.log").find("report 100: status 3 (plotted)"), std::string::npos);
    EXPECT_TRUE(fs::exists(out + "survivor.pdf"));
    deleteReports();
}

// ---- failures ----

TEST(ReportFailures, AMissingProcedureIsLoggedAndTheReportStaysAsItWasWithNoOutput) {
    deleteReports();
    const std::string out = folder("missing-procedure");
    const std::string settings = settingsFile(out);
    insertReport(100, 71, out, "never");
    insertReport(101, 71, out, "never-either");
    {
        SwappedProcedure gone("integer, refcursor", "__gr_getReportLinkLines", "");
        const pid_t worker =
            startWorker({"--settings", settings, "prepare-reports", "71"}, out + "worker.log");
        EXPECT_EQ(waitWorker(worker), 1);
    }
    const std::string log = readText(out + "worker.log");
    // Both reports were tried, each failed on its own, and the run went to its end.
    EXPECT_NE(log.find("report 100: failed, left as it was"), std::string::npos) << log;
    EXPECT_NE(log.find("report 101: failed, left as it was"), std::string::npos) << log;
    EXPECT_NE(log.find("0 report(s) prepared, 2 failed."), std::string::npos) << log;
    EXPECT_NE(log.find("__gr_getReportLinkLines"), std::string::npos) << log;
    const std::string errors = readText(out + "logs/errors.xml");
    EXPECT_NE(errors.find("does not exist"), std::string::npos) << errors;
    EXPECT_NE(errors.find("CLinkLines::getGraphicReportLinkLines"), std::string::npos);
    EXPECT_EQ(
        sql("SELECT string_agg(status_id::text, ',' ORDER BY gr_id) FROM graphic_reports WHERE gr_id >= 100"),
        "71,71");
    EXPECT_EQ(history(100), "");
    EXPECT_EQ(filesIn(out), (std::set<std::string>{"settings.xml", "logs", "worker.log"}));
    deleteReports();
}

TEST(ReportFailures, ATimeOutIsAClearErrorInTheLogAndLeavesNothingBehind) {
    deleteReports();
    const std::string out = folder("time-out");
    const std::string settings = settingsFile(out);
    insertReport(100, 72, out, "late");
    {
        SwappedProcedure slow("integer, refcursor", "__gr_getReportCategories",
                              R"(CREATE PROCEDURE "__gr_getReportCategories"("@graphicReportID" integer,
                                   INOUT "@rows" refcursor DEFAULT NULL) LANGUAGE plpgsql AS $$ BEGIN
                                   PERFORM pg_sleep(10);
                                   CALL "__gr_getReportCategories_kept"("@graphicReportID", "@rows"); END $$)");
        setenv("BRINMO_DB_TIMEOUT", "1", 1);
        const auto start = std::chrono::steady_clock::now();
        const pid_t worker =
            startWorker({"--settings", settings, "prepare-reports", "72"}, out + "worker.log");
        EXPECT_EQ(waitWorker(worker), 1);
        unsetenv("BRINMO_DB_TIMEOUT");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
    }
    const std::string errors = readText(out + "logs/errors.xml");
    EXPECT_NE(errors.find("statement timeout"), std::string::npos) << errors;
    EXPECT_NE(errors.find("CCategories::getReportCategories"), std::string::npos);
    EXPECT_EQ(sql("SELECT status_id FROM graphic_reports WHERE gr_id = 100"), "72");
    EXPECT_EQ(history(100), "");
    EXPECT_EQ(filesIn(out), (std::set<std::string>{"settings.xml", "logs", "worker.log"}));
    deleteReports();
}

TEST(ReportFailures, AFinalStatusThatCannotBeWrittenTakesThePlotAndTheXMLAway) {
    deleteReports();
    Host host;
    const std::string out = folder("final-status");
    insertReport(100, 73, out, "undone");
    insertReport(101, 73, out, "done");
    sql("UPDATE graphic_reports SET drawing_filename = 'no_such_plan.dxf' WHERE gr_id = 101; SELECT 1");
    SwappedProcedure refusing("integer, integer", "__gr_setGraphicReportStatus", statusProcedure(-1, 0, 3));
    auto call = procedure();
    std::vector<int> failedIDs;
    std::string failure;
    std::vector<std::string> finished;
    CGraphicReports::Progress progress;
    progress.finished = [&](const CGraphicReport& report, int status) {
        finished.push_back(std::to_string(report.getID()) + ":" + std::to_string(status));
    };
    progress.failed = [&](int id, const CEXKorva& error) {
        failedIDs.push_back(id);
        failure = error.traceText();
    };
    const CGraphicReports::Outcome outcome =
        CGraphicReports::prepareWaitingReports(*call, serverRecord(out), 73, 10, progress);
    EXPECT_EQ(outcome.prepared, 1);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_EQ(failedIDs, std::vector<int>{100});
    EXPECT_EQ(finished, std::vector<std::string>{"101:4"});
    EXPECT_NE(failure.find("status 3 refused for the test"), std::string::npos) << failure;
    EXPECT_NE(failure.find("CGraphicReport::prepareReport"), std::string::npos) << failure;
    // The plot and the XML were made, then taken away with the status; no partial file is left.
    EXPECT_TRUE(filesIn(out).empty()) << *filesIn(out).begin();
    EXPECT_EQ(sql("SELECT status_id FROM graphic_reports WHERE gr_id = 100"), "73");
    EXPECT_EQ(history(100), "");
    EXPECT_EQ(history(101), "2,4");
    deleteReports();
}

TEST(ReportFailures, ADrawingThatCannotBeReadIsNamedAndTheOtherReportsGoOn) {
    deleteReports();
    Host host;
    const std::string out = folder("broken-drawing");
    const std::string plans = folder("broken-drawing-plans");
    std::ofstream(plans + "broken.dxf") << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n";
    insertReport(100, 75, out, "broken");
    insertReport(101, 75, out, "fine");
    sql("UPDATE graphic_reports SET drawing_path = '" + plans + "', drawing_filename = 'broken.dxf' "
        "WHERE gr_id = 100; SELECT 1");
    auto call = procedure();
    std::string failure;
    CGraphicReports::Progress progress;
    progress.failed = [&](int, const CEXKorva& error) { failure = error.traceText(); };
    const CGraphicReports::Outcome outcome =
        CGraphicReports::prepareWaitingReports(*call, serverRecord(out), 75, 10, progress);
    EXPECT_EQ(outcome.prepared, 1);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_NE(failure.find("broken.dxf"), std::string::npos) << failure;
    EXPECT_EQ(
        sql("SELECT string_agg(status_id::text, ',' ORDER BY gr_id) FROM graphic_reports WHERE gr_id >= 100"),
        "75,3");
    EXPECT_EQ(filesIn(out), (std::set<std::string>{"fine.pdf", "fine.xml"}));
    deleteReports();
}

// Runs last: it stops the server.
TEST(ReportFailures, ZServerStoppedMidRunIsLoggedAndLeavesNoOutput) {
    deleteReports();
    const std::string out = folder("server-stopped");
    const std::string settings = settingsFile(out);
    insertReport(100, 74, out, "first");
    insertReport(101, 74, out, "second");
    SwappedProcedure slow("integer, integer", "__gr_setGraphicReportStatus", statusProcedure(2, 30));
    const pid_t worker = startWorker({"--settings", settings, "prepare-reports", "74"}, out + "worker.log");
    ASSERT_TRUE(waitFor(kActiveStatusCall, "1")) << readText(out + "worker.log");
    dbtest::stopServer();
    EXPECT_EQ(waitWorker(worker), 1);
    const std::string log = readText(out + "worker.log");
    EXPECT_NE(log.find("report 100: failed, left as it was"), std::string::npos) << log;
    EXPECT_NE(log.find("stopped after 0 report(s)."), std::string::npos) << log;
    const std::string errors = readText(out + "logs/errors.xml");
    // The report's own failure, then the run's: the next claim finds no server.
    EXPECT_NE(errors.find("CGraphicReport::prepareReport"), std::string::npos) << errors;
    EXPECT_NE(errors.find("CGraphicReports::claimGraphicReport"), std::string::npos) << errors;
    EXPECT_EQ(filesIn(out), (std::set<std::string>{"settings.xml", "logs", "worker.log"}));
}
