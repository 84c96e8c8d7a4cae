#include "engine/render/RenderCommands.h"

#include "engine/db/Database.h"
#include "engine/db/Layout.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/render/DrawingRenderer.h"
#include "engine/render/Plotter.h"

namespace cad {

namespace {

Database* activeDrawing(HostApplication& host) {
    Database* db = host.workingDatabase();
    if (db == nullptr) print("No drawing is open.\n");
    return db;
}

void renderCommand(HostApplication& host) {
    Database* db = activeDrawing(host);
    if (db == nullptr) return;
    std::string path;
    if (host.editor().getString(true, "Picture file (.png, .svg, .pdf or .jpg): ", path) != RTNORM || path.empty())
        return;
    RenderOptions options;
    options.layout = db->currentLayout();
    const RenderResult result = renderDrawingToFile(*db, options, path);
    if (!result.ok) {
        print(result.error + "\n");
        return;
    }
    print("Rendered " + (options.layout.empty() ? std::string("Model") : options.layout) + " to " + path + " (" +
          std::to_string(result.width) + " x " + std::to_string(result.height) + "): " + result.report.summary() +
          ".\n");
}

void exportCommand(HostApplication& host) {
    Database* db = activeDrawing(host);
    if (db == nullptr) return;
    std::string path;
    if (host.editor().getString(true, "Export file name: ", path) != RTNORM || path.empty()) return;
    const std::string layoutName = db->currentLayout();
    const auto* layout = dynamic_cast<const Layout*>(db->objectAt(db->layoutId(layoutName)));
    if (layout == nullptr) {
        print("The current layout \"" + layoutName + "\" has no page set-up to export with.\n");
        return;
    }
    const PlotOutcome outcome = plotToFile(*db, plotJobFromSettings(layout->plotSettings(), layoutName), path);
    if (outcome.status != PlotOutcome::Status::Plotted) {
        print("Export failed: " + outcome.message + ".\n");
        return;
    }
    print("Exported " + layoutName + " to " + path + ": " + outcome.report.summary() + ".\n");
}

}  // namespace

void registerRenderCommands(HostApplication& host) {
    CommandStack& stack = host.commandStack();
    const std::string group(CommandStack::kHostGroup);
    stack.addCommand(group, "RENDER", "RENDER", ACRX_CMD_MODAL, [&host] { renderCommand(host); });
    stack.addCommand(group, "EXPORT", "EXPORT", ACRX_CMD_MODAL, [&host] { exportCommand(host); });
}

}  // namespace cad
