#include <gtest/gtest.h>

#include <filesystem>

#include "engine/dialogs/ConsoleDialogs.h"
#include "engine/dialogs/DataExchange.h"
#include "engine/dialogs/Dialog.h"
#include "engine/dialogs/DialogScript.h"
#include "engine/dialogs/FileDialog.h"
#include "engine/editor/Editor.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"

using namespace cad;

namespace {

// A dialog in the style of the module's: an edit with a ranged integer, a real, a check box,
// radio buttons, a list, a combo, a tab control with one control per page and a menu.
class SampleDialog : public Dialog {
public:
    SampleDialog() : Dialog(217, "Sample") {
        addControl(311, ControlKind::Edit, "Count");
        addControl(291, ControlKind::Edit, "Text Size");
        addControl(1003, ControlKind::CheckBox, "Metric");
        addControl(1004, ControlKind::RadioButton, "One").setGroup(1);
        addControl(1005, ControlKind::RadioButton, "Two").setGroup(1);
        Control& list = addControl(1006, ControlKind::ListBox);
        list.addString("alpha");
        list.addString("beta");
        Control& combo = addControl(1007, ControlKind::ComboBox, "Units");
        combo.addString("m");
        combo.addString("ft");
        Control& tab = addControl(1010, ControlKind::TabControl);
        tab.addString("Data");
        tab.addString("Format");
        tab.setSelection(0);
        addControl(1011, ControlKind::Edit, "Name").placeOnTab(1010, 0);
        addControl(1012, ControlKind::Edit, "Height").placeOnTab(1010, 1);
        addControl(3, ControlKind::Button, "Start").onClick = [this] { ++starts; };
        addControl(315, ControlKind::Button, "Sub Area").show(false);
        addControl(IDOK, ControlKind::Button, "OK");
        addControl(IDCANCEL, ControlKind::Button, "Cancel");
        item(291).onChange = [this] { ++sizeChanges; };
        addMenuItem(40001, "&About", [this] { ++abouts; });
    }

    int count = 5;
    double size = 2.5;
    bool metric = true;
    int radio = 1;
    int listIndex = 0;
    std::string units = "m";
    int starts = 0;
    int sizeChanges = 0;
    int abouts = 0;

protected:
    void doDataExchange(DataExchange& dx) override {
        dx.text(311, count);
        dx.minMax(311, count, 1, 10);
        dx.text(291, size);
        dx.minMax(291, size, 0.1, 100.0);
        dx.check(1003, metric);
        dx.radio(1004, radio);
        dx.listIndex(1006, listIndex);
        dx.comboText(1007, units);
    }
};

void apply(Dialog& d, std::string_view line) {
    auto r = applyDialogAction(d, line);
    EXPECT_TRUE(r.ok) << line << ": " << r.message;
}

std::string refusal(Dialog& d, std::string_view line) {
    auto r = applyDialogAction(d, line);
    EXPECT_FALSE(r.ok) << line;
    return r.message;
}

}  // namespace

TEST(Dialog, ActionsChangeControlsAndOkReadsThemBack) {
    RecordedMessageBoxes boxes;
    ScriptInput noInput;
    SampleDialog d;
    d.create();  // the default presenter shows nothing
    EXPECT_EQ(d.itemText(311), "5");
    EXPECT_TRUE(d.item(1005).isChecked());
    apply(d, "set 311 7");
    apply(d, "SET 291 4.25");
    apply(d, "uncheck 1003");
    apply(d, "check 1004");
    apply(d, "select 1006 beta");
    apply(d, "select 1007 1");
    apply(d, "click 3");
    apply(d, "menu About");
    apply(d, "menu 40001");
    EXPECT_EQ(d.sizeChanges, 1);
    EXPECT_EQ(d.starts, 1);
    EXPECT_EQ(d.abouts, 2);
    EXPECT_FALSE(d.item(1005).isChecked());  // radio buttons of a group exclude each other
    apply(d, "ok");
    EXPECT_FALSE(d.isOpen());
    EXPECT_EQ(d.result(), IDOK);
    EXPECT_EQ(d.count, 7);
    EXPECT_DOUBLE_EQ(d.size, 4.25);
    EXPECT_FALSE(d.metric);
    EXPECT_EQ(d.radio, 0);
    EXPECT_EQ(d.listIndex, 1);
    EXPECT_EQ(d.units, "ft");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(Dialog, RangeChecksRefuseAndKeepTheDialogOpen) {
    RecordedMessageBoxes boxes;
    SampleDialog d;
    d.create();
    apply(d, "set 311 11");
    apply(d, "ok");
    EXPECT_TRUE(d.isOpen());
    apply(d, "set 311 three");
    apply(d, "click IDOK");
    apply(d, "set 311 10");
    apply(d, "set 291 0");
    apply(d, "ok");
    apply(d, "set 291 x");
    apply(d, "ok");
    ASSERT_EQ(boxes.boxes().size(), 4u);
    EXPECT_EQ(boxes.boxes()[0].text, "Please enter an integer between 1 and 10.");
    EXPECT_EQ(boxes.boxes()[0].caption, "Sample");
    EXPECT_EQ(boxes.boxes()[1].text, "Please enter an integer.");
    EXPECT_EQ(boxes.boxes()[2].text, "Please enter a number between 0.1 and 100.");
    EXPECT_EQ(boxes.boxes()[3].text, "Please enter a number.");
    EXPECT_TRUE(d.isOpen());
    EXPECT_EQ(d.count, 10);  // members keep what was read before the refused field
    apply(d, "escape");
    EXPECT_FALSE(d.isOpen());
    EXPECT_EQ(d.result(), IDCANCEL);
}

TEST(Dialog, RefusedActionsNameTheProblem) {
    SampleDialog d;
    d.create();
    d.item(3).enable(false);
    EXPECT_EQ(refusal(d, "click 3"), "Control 3 is disabled.");
    EXPECT_EQ(refusal(d, "click 315"), "The dialog has no control 315.");  // hidden
    EXPECT_EQ(refusal(d, "click 999"), "The dialog has no control 999.");
    EXPECT_EQ(refusal(d, "click three"), "\"three\" is not a control id.");
    EXPECT_EQ(refusal(d, "set 1003 x"), "Control 1003 is not an edit box.");
    EXPECT_EQ(refusal(d, "check 311"), "Control 311 is not a check box.");
    EXPECT_EQ(refusal(d, "uncheck 1004"), "Control 1004 is not a check box.");
    EXPECT_EQ(refusal(d, "select 1006 gamma"), "Control 1006 has no entry \"gamma\".");
    EXPECT_EQ(refusal(d, "select 1006 2"), "Control 1006 has no entry \"2\".");
    EXPECT_EQ(refusal(d, "tab 1006 0"), "Control 1006 has no entries to choose from.");
    EXPECT_EQ(refusal(d, "menu Help"), "The dialog has no menu item \"Help\".");
    EXPECT_EQ(refusal(d, "frobnicate"), "Unknown dialog action \"frobnicate\".");
    // A control on another tab page is out of reach until its page is shown.
    EXPECT_EQ(refusal(d, "set 1012 3"), "The dialog has no control 1012.");
    apply(d, "tab 1010 Format");
    apply(d, "set 1012 3");
    EXPECT_EQ(refusal(d, "set 1011 x"), "The dialog has no control 1011.");
    EXPECT_TRUE(d.isOpen());
    apply(d, "close");
    EXPECT_FALSE(d.isOpen());
}

TEST(Dialog, TextBlockShowsVisibleControlsAndValues) {
    SampleDialog d;
    d.create();
    d.item(3).enable(false);
    EXPECT_EQ(describeDialog(d),
              "[Sample]\n"
              "  311 edit \"Count\" = \"5\"\n"
              "  291 edit \"Text Size\" = \"2.5\"\n"
              "  1003 check \"Metric\" [x]\n"
              "  1004 radio \"One\" [ ]\n"
              "  1005 radio \"Two\" [x]\n"
              "  1006 list: *0 \"alpha\", 1 \"beta\"\n"
              "  1007 combo \"Units\" = \"m\": *0 \"m\", 1 \"ft\"\n"
              "  1010 tab: *0 \"Data\", 1 \"Format\"\n"
              "  1011 edit \"Name\" = \"\"\n"
              "  3 button \"Start\" (disabled)\n"
              "  1 button \"OK\"\n"
              "  2 button \"Cancel\"\n"
              "  menu \"&About\"\n");
    EXPECT_THROW(d.item(4242), std::out_of_range);
    EXPECT_THROW(d.addControl(311, ControlKind::Edit), std::logic_error);
}

TEST(ConsoleDialogs, ModalDialogTakesLinesUntilItEnds) {
    CapturedOutput out;
    ScriptInput input;
    for (const char* l : {"set 311 0", "ok", "dialog set 311 2", "show", "ok"}) input.addLine(l);
    Editor editor(input);
    ConsoleDialogs console(editor);
    SampleDialog d;
    EXPECT_EQ(d.doModal(), IDOK);
    EXPECT_EQ(d.count, 2);
    const std::string& t = out.text();
    EXPECT_EQ(t.rfind("[Sample]\n  311 edit \"Count\" = \"5\"\n", 0), 0u);
    // The refused value's control is named, as a window would focus it.
    EXPECT_NE(t.find("Dialog: ok\n[Sample]\nPlease enter an integer between 1 and 10.\n"
                     "The value of control 311 (edit \"Count\") was refused.\nDialog: dialog set 311 2\n"),
              std::string::npos);
    EXPECT_NE(t.find("Dialog: show\n[Sample]\n  311 edit \"Count\" = \"2\"\n"), std::string::npos);
    EXPECT_TRUE(t.ends_with("Dialog: ok\n[Sample] closed\n"));

    // The end of the input cancels a modal dialog.
    SampleDialog e;
    EXPECT_EQ(e.doModal(), IDCANCEL);
}

TEST(ConsoleDialogs, MessageBoxesAndModelessDialogs) {
    CapturedOutput out;
    ScriptInput input;
    for (const char* l : {"maybe", "YES", "n"}) input.addLine(l);
    Editor editor(input);
    ConsoleDialogs console(editor);
    EXPECT_EQ(messageBox("Error Detected.", "it failed"), MessageBoxResult::Ok);
    EXPECT_EQ(messageBox("Duplicate Space Name", "Again?", MessageBoxIcon::Question, MessageBoxButtons::YesNo),
              MessageBoxResult::Yes);
    EXPECT_EQ(messageBox("Q", "Again?", MessageBoxIcon::Question, MessageBoxButtons::YesNo), MessageBoxResult::No);
    EXPECT_EQ(messageBox("Q", "Again?", MessageBoxIcon::Question, MessageBoxButtons::YesNo), MessageBoxResult::No);
    EXPECT_EQ(out.text(),
              "[Error Detected.]\nit failed\n"
              "[Duplicate Space Name]\nAgain?\nYes/No: maybe\nPlease answer Yes or No.\nYes/No: YES\n"
              "[Q]\nAgain?\nYes/No: n\n"
              "[Q]\nAgain?\nYes/No: *Cancel*\n");

    out.clear();
    EXPECT_TRUE(console.handleCommandLine("dialog ok"));
    EXPECT_FALSE(console.handleCommandLine("dialogue"));
    EXPECT_FALSE(console.handleCommandLine("LINE"));
    {
        SampleDialog d;
        EXPECT_TRUE(d.create());
        EXPECT_EQ(console.modelessDialogs().size(), 1u);
        EXPECT_TRUE(console.handleCommandLine("Dialog click 3"));
        EXPECT_EQ(d.starts, 1);
        EXPECT_TRUE(console.handleCommandLine("dialog cancel"));
        EXPECT_FALSE(d.isOpen());
        EXPECT_TRUE(console.modelessDialogs().empty());
        SampleDialog stillOpen;
        stillOpen.create();
    }
    EXPECT_TRUE(console.modelessDialogs().empty());  // a destroyed dialog is forgotten
    EXPECT_EQ(out.text().rfind("No dialog is open.\n[Sample]\n", 0), 0u);
    EXPECT_TRUE(out.text().ends_with("[Sample] closed\n"));
}

TEST(ConsoleDialogs, FileNameIsAskedWithTheFilter) {
    CapturedOutput out;
    ScriptInput input;
    for (const char* l : {"/tmp/report.xml", "", "relative/r.xml", "^C"}) input.addLine(l);
    Editor editor(input);
    ConsoleDialogs console(editor);
    EXPECT_EQ(openFileDialog("XML Files (*.xml)|*.xml|All Files (*.*)|*.*||"), "/tmp/report.xml");
    EXPECT_EQ(openFileDialog("All Files (*.*)|*.*"), "");
    EXPECT_EQ(openFileDialog(""), (std::filesystem::current_path() / "relative/r.xml").string());
    EXPECT_EQ(openFileDialog("All Files (*.*)|*.*"), "");
    EXPECT_EQ(out.text(),
              "File name (XML Files (*.xml), All Files (*.*)): /tmp/report.xml\n"
              "File name (All Files (*.*)): \n"
              "File name: relative/r.xml\n"
              "File name (All Files (*.*)): ^C\n*Cancel*\n");
}

namespace {

// Records how it was dismissed: the close box and Escape may do different things.
class DismissalDialog : public Dialog {
public:
    DismissalDialog() : Dialog(218, "Dismissal") { addControl(IDOK, ControlKind::Button, "OK"); }
    std::string how;

protected:
    void onClose() override {
        how = "close box";
        endDialog(IDOK);
    }
    void onCancel() override {
        how = "escape";
        endDialog(IDCANCEL);
    }
};

}  // namespace

TEST(ConsoleDialogs, InputRunningOutUsesTheCloseBoxWhileCancelIsEscape) {
    CapturedOutput out;
    ScriptInput input;
    Editor editor(input);
    ConsoleDialogs console(editor);
    DismissalDialog unattended;
    EXPECT_EQ(unattended.doModal(), IDOK);
    EXPECT_EQ(unattended.how, "close box");

    ScriptInput cancelling;
    cancelling.addLine("^C");
    cancelling.addLine("ok");
    editor.setInput(cancelling);
    DismissalDialog cancelled;
    EXPECT_EQ(cancelled.doModal(), IDCANCEL);
    EXPECT_EQ(cancelled.how, "escape");
}

TEST(ConsoleDialogs, ButtonHandlerPromptsOnTheCommandLineAndTheDialogGoesOn) {
    CapturedOutput out;
    ScriptInput input;
    for (const char* l : {"click 3", "4,5", "click 3", "^C", "ok"}) input.addLine(l);
    Editor editor(input);
    ConsoleDialogs console(editor);
    Dialog d(219, "Pick");
    std::vector<int> results;
    Point3d picked;
    d.addControl(3, ControlKind::Button, "Pick point").onClick = [&] {
        results.push_back(editor.getPoint("Specify a point: ", picked));
    };
    d.addControl(IDOK, ControlKind::Button, "OK");
    EXPECT_EQ(d.doModal(), IDOK);
    EXPECT_EQ(results, (std::vector<int>{RTNORM, RTCAN}));
    EXPECT_DOUBLE_EQ(picked.x, 4.0);
    EXPECT_DOUBLE_EQ(picked.y, 5.0);
    EXPECT_NE(out.text().find("Dialog: click 3\nSpecify a point: 4,5\n"), std::string::npos) << out.text();
    EXPECT_TRUE(out.text().ends_with("Dialog: ok\n[Pick] closed\n"));
}

namespace {

// A window whose tab control holds two child pages; the first page reuses the window's tab id
// for a button, as the block editor's pages do.
class PageOne : public Dialog {
public:
    PageOne() : Dialog(208, "Data") {
        addControl(203, ControlKind::Edit, "Name").onChange = [this] { ++nameChanges; };
        addControl(245, ControlKind::Button, "delete").onClick = [this] { ++deletes; };
    }
    int nameChanges = 0;
    int deletes = 0;
};

class PageTwo : public Dialog {
public:
    PageTwo() : Dialog(207, "Format") { addControl(254, ControlKind::Edit, "Height"); }
};

class PagedWindow : public Dialog {
public:
    PagedWindow() : Dialog(201, "Block") {
        addControl(245, ControlKind::TabControl);
        addControl(IDOK, ControlKind::Button, "OK");
        addPage(245, one);
        addPage(245, two);
        item(245).setSelection(0);
    }
    PageOne one;
    PageTwo two;
};

}  // namespace

TEST(Dialog, PagesShowWithTheirTabAndShareIdsWithTheirWindow) {
    PagedWindow w;
    EXPECT_EQ(describeDialog(w),
              "[Block]\n"
              "  245 tab: *0 \"Data\", 1 \"Format\"\n"
              "    203 edit \"Name\" = \"\"\n"
              "    245 button \"delete\"\n"
              "  1 button \"OK\"\n");
    apply(w, "set 203 Lab");
    apply(w, "click 245");  // the page's button, not the tab control
    EXPECT_EQ(w.one.itemText(203), "Lab");
    EXPECT_EQ(w.one.nameChanges, 1);
    EXPECT_EQ(w.one.deletes, 1);
    apply(w, "tab 245 Format");  // the tab control, though a button on show has its id
    EXPECT_EQ(w.item(245).selection(), 1);
    EXPECT_NE(refusal(w, "set 203 x").find("no control 203"), std::string::npos);  // off page now
    apply(w, "set 254 300");
    EXPECT_EQ(w.two.itemText(254), "300");
    EXPECT_EQ(describeDialog(w).find("203"), std::string::npos);
}

TEST(Dialog, ListEntriesShowUpToTheBlanksThatPushTheirTailOutOfSight) {
    SampleDialog d;
    Control& list = d.item(1006);
    list.resetContent();
    list.addString("Office 07" + std::string(200, ' ') + "4F");
    list.addString("Office 07" + std::string(200, ' ') + "50");
    list.addString("Lab  2");
    EXPECT_NE(describeDialog(d).find("1006 list: 0 \"Office 07\", 1 \"Office 07\", 2 \"Lab  2\"\n"), std::string::npos);
    apply(d, "select 1006 Office 07");
    EXPECT_EQ(list.selection(), 0);
    apply(d, "select 1006 1");
    EXPECT_EQ(list.selection(), 1);
    apply(d, "select 1006 Lab  2");
    EXPECT_EQ(list.selection(), 2);
    EXPECT_NE(refusal(d, "select 1006 Office").find("no entry"), std::string::npos);
}

TEST(ConsoleDialogs, HiddenAndMinimisedWindowsTakeNoLinesAndComeBackShown) {
    CapturedOutput out;
    ScriptInput input;
    Editor editor(input);
    ConsoleDialogs console(editor);
    SampleDialog list;
    SampleDialog block;
    list.create();
    block.create();
    list.showWindow(WindowState::Hidden);
    out.clear();
    // Lines go to the window on show that was opened last.
    block.showWindow(WindowState::Minimised);
    EXPECT_EQ(out.text(), "[Sample] minimised\n");
    EXPECT_TRUE(console.handleCommandLine("dialog click 3"));
    EXPECT_EQ(out.text(), "[Sample] minimised\nNo dialog is on show.\n");
    EXPECT_EQ(block.starts + list.starts, 0);
    out.clear();
    block.showWindow(WindowState::Shown);
    EXPECT_EQ(out.text().rfind("[Sample]\n  311 edit", 0), 0u);  // shown again in full
    console.handleCommandLine("dialog click 3");
    EXPECT_EQ(block.starts, 1);
    block.destroyWindow();
    console.handleCommandLine("dialog click 3");
    EXPECT_EQ(list.starts, 0);  // still hidden
    list.showWindow(WindowState::Shown);
    console.handleCommandLine("dialog click 3");
    EXPECT_EQ(list.starts, 1);
}
