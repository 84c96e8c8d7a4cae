#include <gtest/gtest.h>

#include "engine/editor/Editor.h"
#include "engine/editor/EditorApi.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"

using namespace cad;

namespace {

ScriptInput lines(std::initializer_list<const char*> text) {
    ScriptInput input;
    for (const char* l : text) input.addLine(l);
    return input;
}

}  // namespace

TEST(Editor, NumbersReaskUntilValidAndEnterOrCancelEnd) {
    CapturedOutput out;
    ScriptInput input = lines({"abc", "12x", " 42 ", "", "3.5e1", "^C"});
    Editor editor(input);
    int i = 7;
    EXPECT_EQ(editor.getInt("Count: ", i), RTNORM);
    EXPECT_EQ(i, 42);
    EXPECT_EQ(out.text(), "Count: abc\nRequires an integer value.\nCount: 12x\nRequires an integer value.\nCount:  42 \n");
    EXPECT_EQ(editor.getInt("Count: ", i), RTNONE);
    EXPECT_EQ(i, 42);
    double d = 0;
    EXPECT_EQ(editor.getReal("Size: ", d), RTNORM);
    EXPECT_DOUBLE_EQ(d, 35.0);
    out.clear();
    EXPECT_EQ(editor.getReal("Size: ", d), RTCAN);
    EXPECT_EQ(out.text(), "Size: ^C\n*Cancel*\n");
    out.clear();
    EXPECT_EQ(editor.getInt("Count: ", i), RTCAN);  // end of input
    EXPECT_EQ(out.text(), "Count: *Cancel*\n");
    EXPECT_EQ(parseIntegerText("99999999999"), std::nullopt);
    EXPECT_EQ(parseRealText("nan"), std::nullopt);
}

TEST(Editor, StringsWithAndWithoutSpacesAndComments) {
    CapturedOutput out;
    ScriptInput input = lines({"Room 12 east", "; a comment is skipped", "  Room 12 east", ""});
    Editor editor(input);
    std::string s;
    EXPECT_EQ(editor.getString(true, "Name: ", s), RTNORM);
    EXPECT_EQ(s, "Room 12 east");
    EXPECT_EQ(editor.getString(false, "Word: ", s), RTNORM);
    EXPECT_EQ(s, "Room");
    EXPECT_EQ(editor.getString(true, "Name: ", s), RTNORM);  // empty line: an empty answer
    EXPECT_EQ(s, "");
    EXPECT_EQ(out.text().find("comment"), std::string::npos);
}

TEST(Editor, PointsAreTypedInTheUcs) {
    CapturedOutput out;
    ScriptInput input = lines({"1,2", "1,2,3", "1;2", "1,2,3,4", "x,1", "10,0"});
    Editor editor(input);
    Point3d p{};
    EXPECT_EQ(editor.getPoint("Point: ", p), RTNORM);
    EXPECT_EQ(p, (Point3d{1, 2, 0}));
    EXPECT_EQ(editor.getPoint("Point: ", p), RTNORM);
    EXPECT_EQ(p, (Point3d{1, 2, 3}));
    // A UCS moved to 100,50 and turned by 90 degrees.
    editor.ucs() = CoordinateSystem({100, 50, 0}, {0, 1, 0}, {-1, 0, 0});
    EXPECT_EQ(editor.getPoint("Point: ", p), RTNORM);
    EXPECT_EQ(p, (Point3d{100, 60, 0}));
    EXPECT_EQ(editor.ucs().fromWorld(p), (Point3d{10, 0, 0}));
    EXPECT_EQ(std::count(out.text().begin(), out.text().end(), 'I'), 3);  // three "Invalid point" lines
}

TEST(Editor, KeywordsByUniquePrefix) {
    CapturedOutput out;
    ScriptInput input = lines({"o", "on", "OFF", "fr", "x", "Freeze"});
    Editor editor(input);
    std::string k;
    EXPECT_EQ(editor.getKeyword("Option: ", "ON OFF Freeze", k), RTNORM);  // "o" is ambiguous, "on" exact
    EXPECT_EQ(k, "ON");
    EXPECT_EQ(out.text(), "Option: o\nInvalid option keyword.\nOption: on\n");
    EXPECT_EQ(editor.getKeyword("Option: ", "ON OFF Freeze", k), RTNORM);
    EXPECT_EQ(k, "OFF");
    EXPECT_EQ(editor.getKeyword("Option: ", "ON OFF Freeze", k), RTNORM);
    EXPECT_EQ(k, "Freeze");
    EXPECT_EQ(editor.getKeyword("Option: ", "ON OFF Freeze", k), RTNORM);
    EXPECT_EQ(k, "Freeze");
}

TEST(HostApplication, CommandLoopRunsCommandsAndFeedsTheRestOfALine) {
    CapturedOutput out;
    ScriptInput input = lines({"nosuch", "getvar sortents", "", "SETVAR", "FILEDIA", "0", "throwing", "dialog x", "quit", "GETVAR"});
    HostApplication host(HostProfile::Generic, input);
    host.commandStack().addCommand("T", "throwing", "throwing", 0, [] { throw std::runtime_error("boom"); });
    std::vector<std::string> hooked;
    host.setCommandLineHook([&](std::string_view l) {
        if (l.substr(0, 6) != "dialog") return false;
        hooked.emplace_back(l);
        return true;
    });
    host.run();
    EXPECT_TRUE(host.quitRequested());
    EXPECT_EQ(hooked, std::vector<std::string>{"dialog x"});
    EXPECT_EQ(host.systemVariables().get("filedia"), 0);
    EXPECT_EQ(out.text(),
              "Command: nosuch\nUnknown command \"nosuch\".\n"
              "Command: getvar sortents\nVariable name: sortents\nSORTENTS = 127\n"
              "Command: \n"
              "Command: SETVAR\nVariable name: FILEDIA\nEnter new value for FILEDIA <1>: 0\n"
              "Command: throwing\nCommand throwing failed: boom\n"
              "Command: dialog x\n"
              "Command: quit\n");
    EXPECT_EQ(HostApplication::current(), &host);
    EXPECT_EQ(acrxSysRegistry()->at<CommandStack>("ACAD_REGISTERED_COMMANDS"), &host.commandStack());
    EXPECT_EQ(acrxSysRegistry()->at<CommandStack>("DynamicLinker"), nullptr);  // wrong kind
}

TEST(HostApplication, ProfilesAndOneHostAtATime) {
    EXPECT_EQ(productName(*parseHostProfile("autocad")), "AutoCAD 2018");
    EXPECT_EQ(productName(*parseHostProfile("autocad-lt")), "AutoCAD LT 2018");
    EXPECT_EQ(productName(*parseHostProfile("bricscad")), "BricsCAD V18");
    EXPECT_EQ(productName(*parseHostProfile("generic")), "Brinmo Generic Host");
    EXPECT_EQ(parseHostProfile("AutoCAD"), std::nullopt);
    ScriptInput input;
    {
        HostApplication host(HostProfile::AutoCADLT, input);
        EXPECT_THROW(HostApplication(HostProfile::AutoCAD, input), std::logic_error);
    }
    EXPECT_EQ(HostApplication::current(), nullptr);
    EXPECT_EQ(acrxSysRegistry(), nullptr);
    EXPECT_THROW(hostApplication(), std::logic_error);
}

TEST(EditorApi, VariablesTransAndCommandsOnTheRunningHost) {
    CapturedOutput out;
    ScriptInput input = lines({"5", "7"});
    HostApplication host(HostProfile::AutoCAD, input);
    int v = 0;
    EXPECT_EQ(acedGetVar("sortents", v), RTNORM);
    EXPECT_EQ(v, 127);
    EXPECT_EQ(acedSetVar("SORTENTS", 200), RTERROR);
    EXPECT_EQ(acedSetVar("SORTENTS", 3), RTNORM);
    EXPECT_EQ(acedGetVar("SORTENTS", v), RTNORM);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(acedGetVar("NOSUCH", v), RTERROR);

    host.editor().ucs() = CoordinateSystem({10, 0, 0}, {0, 1, 0}, {-1, 0, 0});
    Point3d r;
    EXPECT_EQ(acedTrans({1, 0, 0}, kUserCoordinates, kWorldCoordinates, false, r), RTNORM);
    EXPECT_TRUE(r.isEqualTo({10, 1, 0}));
    EXPECT_EQ(acedTrans({1, 0, 0}, kUserCoordinates, kWorldCoordinates, true, r), RTNORM);
    EXPECT_TRUE(r.isEqualTo({0, 1, 0}));  // a displacement ignores the origin
    EXPECT_TRUE(acdbWcs2Ucs({10, 1, 0}, r));
    EXPECT_TRUE(r.isEqualTo({1, 0, 0}));
    EXPECT_EQ(acedTrans({1, 0, 0}, 0, 5, false, r), RTERROR);

    int i = 0;
    EXPECT_EQ(acedGetInt("N: ", i), RTNORM);
    EXPECT_EQ(i, 5);
    out.clear();
    // The command gets its answers from the call; what is left unanswered is cancelled, and the
    // host's own input is untouched.
    EXPECT_EQ(acedCommandS({"_SETVAR", "filedia", "0"}), RTNORM);
    EXPECT_EQ(acedCommandS({"._GETVAR"}), RTNORM);
    EXPECT_EQ(acedCommandS({"_NOSUCH"}), RTERROR);
    EXPECT_EQ(out.text(),
              "Command: _SETVAR\nVariable name: filedia\nEnter new value for FILEDIA <1>: 0\n"
              "Command: ._GETVAR\nVariable name: *Cancel*\n");
    EXPECT_EQ(acedGetInt("N: ", i), RTNORM);
    EXPECT_EQ(i, 7);
}
