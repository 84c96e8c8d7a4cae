#include "module/CommandTable.h"

#include "engine/api/Editor.h"
#include "module/Diagnostics.h"
#include "module/GraphicReportCommands.h"
#include "module/HelpListings.h"
#include "host/HostPlatform.h"
#include "module/MaintenanceCommands.h"
#include "module/MarkerCommands.h"
#include "module/PresPreferences.h"
#include "module/SpaceCommands.h"

namespace {

using cad::ACRX_CMD_MODAL;
using cad::ACRX_CMD_SESSION;

// To give a command its handler, put the handler function (declared in the handler's own header,
// included above) in place of the nullptr of its row. Nothing else changes.
constexpr CCommandTable::Row kRows[] = {
    {"KORVA_COMMANDS", "mbe", "korvaBlockEdit", ACRX_CMD_MODAL, "blockEdit", blockEdit},
    {"KORVA_COMMANDS", "mbh", "korvaBlockHyperlink", ACRX_CMD_MODAL, "blockHyperlink", blockHyperlink},
    {"KORVA_COMMANDS", "mbc", "korvaBlockCreate", ACRX_CMD_MODAL, "blockCreate", blockCreate},
    {"KORVA_COMMANDS", "mgabc", "korvaGrossAreaBlockCreate", ACRX_CMD_SESSION, "grossAreaBlockCreate", grossAreaBlockCreate},
    {"KORVA_COMMANDS", "mdb", "korvaDeleteBlock", ACRX_CMD_SESSION, "deleteBlock", deleteSpaceBlock},
    {"KORVA_COMMANDS", "mcsv", "korvaCommaSeperatedValues", ACRX_CMD_SESSION, "createRoomAreaCSV", createRoomAreaCSV},
    {"KORVA_COMMANDS", "mlbd", "korvaLegendBlockDefine", ACRX_CMD_SESSION, "legendBlockDefine", legendBlockDefine},
    {"KORVA_COMMANDS", "mpbd", "korvaPieBlockDefine", ACRX_CMD_SESSION, "pieBlockDefine", pieBlockDefine},
    {"KORVA_COMMANDS", "mgr", "korvaGraphicReport", ACRX_CMD_SESSION, "graphicReport", graphicReport},
    {"KORVA_COMMANDS", "magr", "korvaApplyGraphicReport", ACRX_CMD_SESSION, "applyGraphicReport", applyGraphicReport},
    {"KORVA_COMMANDS", "mfrs", "mfrs", ACRX_CMD_SESSION, "korvaFindReplaceStub", korvaFindReplaceStub},
    {"KORVA_COMMANDS", "mlmc", "korvaLegendMarkerCreate", ACRX_CMD_MODAL, "legendMarkerBlockCreate", legendMarkerBlockCreate, true},
    {"KORVA_COMMANDS", "mpmc", "korvaPieMarkerCreate", ACRX_CMD_MODAL, "pieMarkerBlockCreate", pieMarkerBlockCreate, true},
    {"KORVA_UTIL", "mus", "korvaUpdateSpaces", ACRX_CMD_SESSION, "updateSpaces", updateSpaces},
    {"KORVA_UTIL", "msxta", "korvaSyncXDataToAttributes", ACRX_CMD_SESSION, "syncXDataToAttributes", syncXDataToAttributes},
    {"KORVA_UTIL", "mut", "korvaUpdateText", ACRX_CMD_SESSION, "updateTextSize", updateTextSize},
    {"KORVA_UTIL", "maux", "korvaAuxilarator", ACRX_CMD_SESSION, "korvaAuxilarator", korvaAuxilarator},
    {"KORVA_UTIL", "mrt", "korvaRefreshTags", ACRX_CMD_SESSION, "korvaRefreshTags", korvaRefreshTags},
    {"KORVA_UTIL", "mbta", "korvaBlankThirdAttribute", ACRX_CMD_SESSION, "blankThirdAttribute", blankThirdAttribute},
    {"KORVA_DIAG", "mlb", "korvaListBlocks", ACRX_CMD_SESSION, "listBlockNameIdentifier", listBlockNameIdentifier},
    {"KORVA_ADMIN", "mprefs", "korvaPreferences", ACRX_CMD_MODAL, "preferences", preferencesCommand},
    {"KORVA_HELP", "m?", "mhelp", ACRX_CMD_SESSION, "help", printHelpListing},
    {"KORVA_HELP", "md?", "mdiagnosticshelp", ACRX_CMD_SESSION, "diagnosticsHelp", printDiagnosticsListing},
    {"KORVA_SECRET", "msc_has", "msc_has", ACRX_CMD_SESSION, "hatchAllSpaces", hatchAllSpaces},
    {"KORVA_SECRET", "msc_hs", "msc_hs", ACRX_CMD_SESSION, "hatchSpace", hatchSpace},
    {"KORVA_SECRET", "msc_cal", "msc_cal", ACRX_CMD_SESSION, "checkAttributeLayers", checkAttributeLayers},
    {"KORVA_SECRET", "msc_dsd", "msc_dsd", ACRX_CMD_SESSION, "displaySpaceDetails", displaySpaceDetails},
    {"KORVA_DIAGNOSTICS", "mda", "korvaDiagnosticAll", ACRX_CMD_SESSION, "diagnosticAll", diagnosticAll},
    {"KORVA_DIAGNOSTICS", "md1", "korvaDiagnosticBasic", ACRX_CMD_SESSION, "diagnosticBasic", diagnosticBasic},
    {"KORVA_DIAGNOSTICS", "md3", "korvaDiagnosticDialog", ACRX_CMD_SESSION, "diagnosticDialog", diagnosticDialog},
    {"KORVA_DIAGNOSTICS", "md4", "korvaDiagnosticErrorsA", ACRX_CMD_SESSION, "diagnosticErrorsA", diagnosticErrorsA},
    {"KORVA_DIAGNOSTICS", "md5", "korvaDiagnosticErrorsB", ACRX_CMD_SESSION, "diagnosticErrorsB", diagnosticErrorsB},
    {"KORVA_DIAGNOSTICS", "md6", "korvaDiagnosticErrorsC", ACRX_CMD_SESSION, "diagnosticErrorsC", diagnosticErrorsC},
    {"KORVA_DIAGNOSTICS", "md7", "korvaDiagnosticErrorsD", ACRX_CMD_SESSION, "diagnosticErrorsD", diagnosticErrorsD},
    {"KORVA_DIAGNOSTICS", "md8", "korvaDiagnosticUserInput", ACRX_CMD_SESSION, "diagnosticUserInput", diagnosticUserInput},
    {"KORVA_DIAGNOSTICS", "md9", "korvaDiagnosticXML", ACRX_CMD_SESSION, "diagnosticXML", diagnosticXML},
};

cad::CommandStack* registeredCommands() {
    cad::SystemRegistry* registry = cad::acrxSysRegistry();
    return registry ? registry->at<cad::CommandStack>("ACAD_REGISTERED_COMMANDS") : nullptr;
}

}  // namespace

CCommandTable CCommandTable::module() { return CCommandTable(kRows); }

void CCommandTable::registerCommands(const CHostPlatform& platform) const {
    for (const Row& row : rows_) {
        if (row.handler == nullptr) continue;
        if (row.fullHostOnly && !platform.isFullHost()) continue;
        // The stack is looked up for every row, as the host may replace it between two calls.
        if (cad::CommandStack* stack = registeredCommands())
            stack->addCommand(row.group, row.globalName, row.localName, row.flags, row.handler);
    }
}

void CCommandTable::removeGroups() {
    for (std::string_view group : kGroups)
        if (cad::CommandStack* stack = registeredCommands()) stack->removeGroup(group);
}
