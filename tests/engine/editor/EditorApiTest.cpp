#include <gtest/gtest.h>

#include <sstream>

#include "engine/editor/EditorApi.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"

using namespace cad;

namespace {

// What a command sees of the session while it runs; the commands are plain functions.
struct Seen {
    bool running = false;
    bool interactive = false;
    std::string product;
};
Seen g_seen;

void recordSession() {
    g_seen.running = hostIsRunning();
    g_seen.interactive = isInteractiveSession();
    g_seen.product = hostProductName();
    std::string answer;
    acedGetString(false, "Answer: ", answer);
}

Seen runRecorder(LineInput& input, HostProfile profile) {
    g_seen = {};
    HostApplication host(profile, input);
    host.commandStack().addCommand("TEST", "record", "record", 0, recordSession);
    // The rest of the typed line answers the command's first prompt, which must not hide who types.
    host.runCommandLine("record yes");
    return g_seen;
}

}  // namespace

TEST(EditorApi, SessionQueriesTellATerminalFromAScript) {
    CapturedOutput out;
    EXPECT_FALSE(hostIsRunning());
    EXPECT_FALSE(isInteractiveSession());
    EXPECT_EQ(hostProductName(), "");

    ScriptInput script;
    const Seen fromScript = runRecorder(script, HostProfile::BricsCAD);
    EXPECT_TRUE(fromScript.running);
    EXPECT_FALSE(fromScript.interactive);
    EXPECT_EQ(fromScript.product, "BricsCAD V18");

    std::istringstream typed("");
    StreamInput terminal(typed);
    const Seen fromTerminal = runRecorder(terminal, HostProfile::AutoCAD);
    EXPECT_TRUE(fromTerminal.interactive);
    EXPECT_NE(fromTerminal.product, fromScript.product);

    std::istringstream piped("");
    StreamInput pipe(piped, false);
    EXPECT_FALSE(runRecorder(pipe, HostProfile::AutoCAD).interactive);
    EXPECT_FALSE(hostIsRunning());  // the host is gone with its scope
}
