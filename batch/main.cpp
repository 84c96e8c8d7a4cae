// brinmo-db: the database work no command reaches, for an operator or a scheduler to run.
//
//   brinmo-db takeoff DRAWING.dxf...   take-off of each drawing into the property database
//   brinmo-db register                 registers the module with the document-monitor database
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
#include "logging/ErrorLogWriter.h"
#include "logging/PreferencesZerOda.h"

namespace {
constexpr const char* kPropertyCatalog = "propdb";

int usage() {
    std::fprintf(stderr,
                 "usage: brinmo-db [--settings FILE] [--catalog NAME] takeoff DRAWING.dxf...\n"
                 "       brinmo-db [--settings FILE] register\n");
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
