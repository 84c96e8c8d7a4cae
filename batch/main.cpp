// brinmo-db: the database work no command reaches, for an operator or a scheduler to run.
//
//   brinmo-db takeoff DRAWING.dxf...   take-off of each drawing into the property database
//   brinmo-db register                 registers the module with the document-monitor database
//   brinmo-db prepare-reports STATUS   prepares every graphic report waiting with that status
//
// Several prepare-reports workers may run at once against one database, on one machine or many:
// each report is claimed by exactly one of them, and the claim of a worker that dies passes back.
//
// The connection comes from the first server of the document-monitor settings (--settings FILE,
// else the module's settings file), each value overridden by BRINMO_DB_DATASOURCE,
// BRINMO_DB_USER, BRINMO_DB_PASSWORD and BRINMO_DB_TIMEOUT. Failures are printed as a trace and
// written to the error log of every server of the settings. Exit status: 0 all done, 1 something
// failed, 2 wrong arguments.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/EXKorva.h"
#include "core/KorvaWrap.h"
#include "data/DatabaseSettings.h"
#include "data/ModuleDetails.h"
#include "data/StoredProcedure.h"
#include "data/Takeoff.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"
#include "host/HostPlatform.h"
#include "logging/ErrorLogWriter.h"
#include "logging/PreferencesZerOda.h"
#include "logging/ServerPreferenceZerOda.h"
#include "reports/GraphicReports.h"

namespace {
constexpr const char* kPropertyCatalog = "propdb";

// The module's record of its host, as loading the module builds it: report preparation draws
// legends and pie charts only on hosts that can.
struct HostPlatformRecord {
    explicit HostPlatformRecord(const std::string& productName) { buildHostPlatform(productName); }
    ~HostPlatformRecord() { releaseHostPlatform(); }
    HostPlatformRecord(const HostPlatformRecord&) = delete;
    HostPlatformRecord& operator=(const HostPlatformRecord&) = delete;
};

int usage() {
    std::fprintf(stderr,
                 "usage: brinmo-db [--settings FILE] [--catalog NAME] takeoff DRAWING.dxf...\n"
                 "       brinmo-db [--settings FILE] register\n"
                 "       brinmo-db [--settings FILE] [--catalog NAME] prepare-reports STATUS\n");
    return 2;
}

void report(const CEXKorva& error, const CPreferencesZerOda& settings) {
    std::fprintf(stderr, "%s\n", error.traceText().c_str());
    CErrorLogWriter writer(settings);
    for (std::size_t i = 0; i < writer.serverCount(); ++i) {
        try {
            writer.writeError(i, error);
        } catch (const CEXKorva& logError) {
            std::fprintf(stderr, "brinmo-db: the error log could not be written: %s\n",
                         logError.getDescription().c_str());
        }
    }
}
const char* statusMeaning(int status) {
    switch (status) {
        case CGraphicReport::kStatusStarted: return "the drawing could not be locked";
        case CGraphicReport::kStatusPlotted: return "plotted";
        case CGraphicReport::kStatusDrawingMissing: return "drawing file not found";
        case CGraphicReport::kStatusOutputFolderMissing: return "output folder does not exist";
        case CGraphicReport::kStatusOutputFilenameInvalid: return "output file name invalid";
        case CGraphicReport::kStatusCopyNotSaved: return "copy of the drawing not saved";
        case CGraphicReport::kStatusXMLNotWritten: return "report XML not written";
        default: return "the plot's status";
    }
}

// The worker: claims and prepares the waiting reports of the status until none is left.
int prepareReports(const std::string& statusText, const CDatabaseSettings& db, const std::string& catalog,
                   CPreferencesZerOda& settings, bool terminal) {
    char* end = nullptr;
    const long status = std::strtol(statusText.c_str(), &end, 10);
    if (statusText.empty() || *end != '\0' || status < 0 || status > 255) {
        std::fprintf(stderr, "brinmo-db: prepare-reports: STATUS must be a number from 0 to 255, not \"%s\"\n",
                     statusText.c_str());
        return 2;
    }
    // The first server record gives the graphic report folder; the time-out is the resolved one.
    CServerPreferenceZerOda server = settings.getCount() ? settings.getAt(0) : CServerPreferenceZerOda();
    server.setValue("dbTimeout", std::to_string(db.timeout));
    CGraphicReports::Progress progress;
    int done = 0;
    progress.started = [&](const CGraphicReport& report) {
        if (terminal)
            std::fprintf(stderr, "[%d] report %d %s: %s%s\n", done + 1, report.getID(), report.getTitle().c_str(),
                         report.getDrawingPath().c_str(), report.getDrawingFilename().c_str());
    };
    progress.finished = [&](const CGraphicReport& report, int result) {
        ++done;
        std::printf("report %d: status %d (%s)\n", report.getID(), result, statusMeaning(result));
        std::fflush(stdout);
    };
    progress.failed = [&](int id, const CEXKorva& error) {
        std::printf("report %d: failed, left as it was (see the error log)\n", id);
        std::fflush(stdout);
        report(error, settings);
    };
    try {
        CGraphicReports::Outcome outcome;
        korvaWrap(__FILE__, "brinmo-db prepare-reports", [&] {
            CStoredProcedure procedure(db.dataSource, catalog, db.userID, db.password, db.timeout);
            outcome = CGraphicReports::prepareWaitingReports(procedure, server, static_cast<int>(status), db.timeout,
                                                             progress);
        });
        std::printf("%d report(s) prepared, %d failed.\n", outcome.prepared, outcome.failed);
        return outcome.failed ? 1 : 0;
    } catch (const CEXKorva& error) {
        report(error, settings);
        std::printf("stopped after %d report(s).\n", done);
        return 1;
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string settingsPath;
    std::string catalog = kPropertyCatalog;
    std::size_t i = 0;
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        if (args[i] == "--settings" && i + 1 < args.size()) settingsPath = args[++i];
        else if (args[i] == "--catalog" && i + 1 < args.size()) catalog = args[++i];
        else return usage();
    }
    if (i >= args.size()) return usage();
    const std::string action = args[i++];
    const std::vector<std::string> operands(args.begin() + static_cast<long>(i), args.end());

    // A host without a drawing: the module prints through it and opens drawings with it.
    cad::ScriptInput input;
    cad::HostApplication host(cad::HostProfile::AutoCAD, input);
    const HostPlatformRecord platform(host.productName());
    CPreferencesZerOda settings;
    if (!settingsPath.empty()) {
        if (!std::filesystem::exists(settingsPath)) {
            std::fprintf(stderr, "brinmo-db: %s: no such settings file\n", settingsPath.c_str());
            return 2;
        }
        setenv("BRINMO_MODULE_SETTINGS", std::filesystem::absolute(settingsPath).c_str(), 1);
    }
    loadDocumentMonitorSettings(settings);
    const CDatabaseSettings db = CDatabaseSettings::resolve(settings.getCount() ? &settings.getAt(0) : nullptr);
    if (!db.isComplete()) {
        std::fprintf(stderr,
                     "brinmo-db: no database named: set dbDatasource in the settings or BRINMO_DB_DATASOURCE\n");
        return 2;
    }
    const bool terminal = isatty(STDERR_FILENO) != 0;

    if (action == "register") {
        if (!operands.empty()) return usage();
        try {
            korvaWrap(__FILE__, "brinmo-db register", [&] {
                CModuleDetails details;
                details.setModDetails(db.dataSource, db.userID, db.password, db.timeout);
                details.setModuleRunning(db.dataSource, db.userID, db.password, db.timeout);
            });
        } catch (const CEXKorva& error) {
            report(error, settings);
            return 1;
        }
        std::printf("Module registered.\n");
        return 0;
    }
    if (action == "prepare-reports") {
        if (operands.size() != 1) return usage();
        return prepareReports(operands[0], db, catalog, settings, terminal);
    }
    if (action != "takeoff" || operands.empty()) return usage();

    int failures = 0;
    try {
        CStoredProcedure procedure(db.dataSource, catalog, db.userID, db.password, db.timeout);
        std::size_t done = 0;
        for (const std::string& path : operands) {
            ++done;
            if (terminal) std::fprintf(stderr, "[%zu/%zu] %s\n", done, operands.size(), path.c_str());
            std::string error;
            cad::Document* drawing = host.documentManager().openDocument(path, error);
            if (drawing == nullptr) {
                std::fprintf(stderr, "brinmo-db: %s\n", error.c_str());
                ++failures;
                continue;
            }
            try {
                CTakeoff takeoff(procedure, db.timeout, [](const std::string& line) { std::printf("%s\n", line.c_str()); });
                takeoff.run(*drawing, std::filesystem::path(path).filename().string());
            } catch (const CEXKorva& failure) {
                report(failure, settings);
                ++failures;
            }
            host.documentManager().closeDocument(*drawing);
        }
    } catch (const CEXKorva& failure) {
        report(failure, settings);
        return 1;
    }
    return failures ? 1 : 0;
}
