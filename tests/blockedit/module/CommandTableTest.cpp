#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ModuleTestSupport.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "engine/editor/ModuleEntry.h"
#include "module/CommandTable.h"
#include "host/HostPlatform.h"

using cad::ACRX_CMD_MODAL;
using cad::ACRX_CMD_SESSION;

namespace {

void work() {}

// A table in the module's shape: every group, a row without handler, the two full-host rows.
constexpr CCommandTable::Row kTestRows[] = {
    {"KORVA_COMMANDS", "mbe", "korvaBlockEdit", ACRX_CMD_MODAL, "blockEdit", work},
    {"KORVA_COMMANDS", "mbh", "korvaBlockHyperlink", ACRX_CMD_MODAL, "blockHyperlink", nullptr},
    {"KORVA_COMMANDS", "mfrs", "mfrs", ACRX_CMD_SESSION, "korvaFindReplaceStub", work},
    {"KORVA_COMMANDS", "mlmc", "korvaLegendMarkerCreate", ACRX_CMD_MODAL, "legendMarkerBlockCreate", work, true},
    {"KORVA_COMMANDS", "mpmc", "korvaPieMarkerCreate", ACRX_CMD_MODAL, "pieMarkerBlockCreate", work, true},
    {"KORVA_UTIL", "mus", "korvaUpdateSpaces", ACRX_CMD_SESSION, "updateSpaces", work},
    {"KORVA_DIAG", "mlb", "korvaListBlocks", ACRX_CMD_SESSION, "listBlockNameIdentifier", work},
    {"KORVA_ADMIN", "mprefs", "korvaPreferences", ACRX_CMD_MODAL, "preferences", work},
    {"KORVA_HELP", "m?", "mhelp", ACRX_CMD_SESSION, "help", work},
    {"KORVA_SECRET", "msc_has", "msc_has", ACRX_CMD_SESSION, "hatchAllSpaces", work},
    {"KORVA_DIAGNOSTICS", "md1", "korvaDiagnosticBasic", ACRX_CMD_SESSION, "diagnosticBasic", work},
};

std::vector<std::string> moduleCommands(cad::CommandStack& stack) {
    std::vector<std::string> names;
    for (const cad::Command* c : stack.commands())
        if (c->group != cad::CommandStack::kHostGroup) names.push_back(c->group + "/" + c->globalName);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// The rows themselves (names, groups and their order, the full-host-only marker rows) are listed
// by COMMANDS in the module_profile script tests; the listing does not show how each runs.
TEST(CommandTable, ModalCommandsRunInTheDocumentsContextAndAllOthersInTheApplications) {
    std::set<std::string> modal;
    for (const auto& row : CCommandTable::module().rows()) {
        EXPECT_TRUE(row.flags == ACRX_CMD_MODAL || row.flags == ACRX_CMD_SESSION) << row.globalName;
        if (row.flags == ACRX_CMD_MODAL) modal.insert(row.globalName);
    }
    EXPECT_EQ(modal, (std::set<std::string>{"mbe", "mbh", "mbc", "mlmc", "mpmc", "mprefs"}));
}

TEST(CommandTable, RegistersRowsWithHandlersInOrderAndMarkersOnlyOnFullHosts) {
    cad::CapturedOutput out;
    struct Case {
        cad::HostProfile profile;
        bool markers;
    };
    for (Case c : {Case{cad::HostProfile::AutoCAD, true}, Case{cad::HostProfile::BricsCAD, true},
                   Case{cad::HostProfile::AutoCADLT, false}, Case{cad::HostProfile::Generic, false}}) {
        cad::ScriptInput input;
        cad::HostApplication host(c.profile, input);
        CCommandTable(kTestRows).registerCommands(CHostPlatform(host.productName()));

        // The host lists module commands in the order they were added.
        out.clear();
        host.runCommandLine("COMMANDS");
        std::string expected =
            "KORVA_COMMANDS:\n  mbe  korvaBlockEdit\n  mfrs  mfrs\n" +
            std::string(c.markers ? "  mlmc  korvaLegendMarkerCreate\n  mpmc  korvaPieMarkerCreate\n" : "") +
            "KORVA_UTIL:\n  mus  korvaUpdateSpaces\nKORVA_DIAG:\n  mlb  korvaListBlocks\n"
            "KORVA_ADMIN:\n  mprefs  korvaPreferences\nKORVA_HELP:\n  m?  mhelp\n"
            "KORVA_SECRET:\n  msc_has  msc_has\nKORVA_DIAGNOSTICS:\n  md1  korvaDiagnosticBasic\n";
        EXPECT_EQ(out.text(), expected) << host.productName();

        const cad::Command* mus = host.commandStack().lookup("korvaUpdateSpaces");
        ASSERT_NE(mus, nullptr);
        EXPECT_EQ(mus->group, "KORVA_UTIL");
        EXPECT_EQ(mus->globalName, "mus");
        EXPECT_TRUE(mus->isSession());
        ASSERT_NE(host.commandStack().lookup("mbe"), nullptr);
        EXPECT_FALSE(host.commandStack().lookup("mbe")->isSession());
        EXPECT_EQ(host.commandStack().lookup("mbh"), nullptr);

        CCommandTable::removeGroups();
        EXPECT_TRUE(moduleCommands(host.commandStack()).empty()) << host.productName();
        out.clear();
        host.runCommandLine("COMMANDS");
        EXPECT_EQ(out.text(), "No module commands are registered.\n");
        EXPECT_NE(host.commandStack().lookup("HELP"), nullptr);  // the host's own stay
    }
}

TEST(ModuleEntry, LoadBuildsThePlatformAndUnloadLeavesNothing) {
    // Loading sets up the preference folders; they go to a folder of the test's own.
    moduletest::TempFolder appdata;
    moduletest::ScopedEnvironment appdataVariable("BRINMO_APPDATA", appdata.path().c_str());
    cad::CapturedOutput out;
    for (auto [profile, kind] : {std::pair{cad::HostProfile::AutoCAD, 2}, std::pair{cad::HostProfile::AutoCADLT, 1},
                                 std::pair{cad::HostProfile::BricsCAD, 3}, std::pair{cad::HostProfile::Generic, 0}}) {
        cad::ScriptInput input;
        cad::HostApplication host(profile, input);
        // Called as the host calls it, without the host's loader: what unloading leaves is the
        // module's own doing, not the loader's clean-up.
        EXPECT_EQ(acrxEntryPoint(cad::kInitAppMsg, nullptr), 0);
        EXPECT_EQ(hostPlatform().hostKind(), kind);

        std::size_t withHandlers = 0;
        for (const auto& row : CCommandTable::module().rows())
            if (row.handler && (!row.fullHostOnly || kind > 1)) ++withHandlers;
        EXPECT_EQ(moduleCommands(host.commandStack()).size(), withHandlers);

        EXPECT_EQ(acrxEntryPoint(99, nullptr), 0);  // other messages change nothing
        EXPECT_EQ(acrxEntryPoint(cad::kUnloadAppMsg, nullptr), 0);
        EXPECT_TRUE(moduleCommands(host.commandStack()).empty());
        EXPECT_THROW(hostPlatform(), std::logic_error);
    }
    EXPECT_EQ(out.text(), "");
}
