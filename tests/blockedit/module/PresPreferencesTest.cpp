#include "module/PresPreferences.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ModuleTestSupport.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/HostOutput.h"
#include "module/Preferences.h"

using moduletest::readText;
using moduletest::ScopedEnvironment;
using moduletest::ScriptedDialogs;
using moduletest::TempFolder;
using moduletest::writeText;

namespace {

constexpr char kCaption[] = "Zerav Ideriru Dozov - Preferences";

// An application data folder of the test's own, with the module's folders set up in it.
class PreferencesFolder {
public:
    PreferencesFolder() : appdata_("BRINMO_APPDATA", folder_.path().c_str()) {}

    std::string prefsFolder() const { return folder_.file("KorvaSystems/Brinmo/prefs"); }
    std::string tempFolder() const { return folder_.file("KorvaSystems/Brinmo/temp"); }
    std::string prefsFile() const { return prefsFolder() + "/prefs.cfg"; }

private:
    TempFolder folder_;
    ScopedEnvironment appdata_;
};

std::string settingsOf(const std::string& path) {
    std::string text = readText(path);
    std::size_t start = text.find("units\n");
    return start == std::string::npos ? text : text.substr(start);
}

}  // namespace

TEST(PresPreferences, FirstLoadShowsTheDialogOnceAndTheCloseBoxWritesTheDefaults) {
    PreferencesFolder folder;
    cad::CapturedOutput output;
    {
        ScriptedDialogs dialogs({"close"});
        checkPreferencesExist();
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].caption, kCaption);
        EXPECT_EQ(dialogs.shown()[0].result, cad::IDOK);
    }
    EXPECT_EQ(CPreferences::getPreferencesFolder(), folder.prefsFolder() + "/");
    EXPECT_EQ(CPreferences::getTemporaryFolder(), folder.tempFolder() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(folder.tempFolder()));
    EXPECT_EQ(settingsOf(folder.prefsFile()),
              "units\n0\nprecison\n2\ntextSize\n250.00\ntextScale\n1.00\ntextRotation\n0.00\n"
              "csvOpener\nNONE\nzoomBorder\n1000\ninc\n1\n");
    EXPECT_EQ(CPreferences().getFilePath(), folder.prefsFile());

    // The next load finds the file and shows nothing.
    ScriptedDialogs again({"close"});
    checkPreferencesExist();
    EXPECT_TRUE(again.shown().empty());
    EXPECT_EQ(output.text(), "");
}

TEST(PresPreferences, EscapeOnTheFirstLoadWritesNothingSoTheNextLoadAsksAgain) {
    PreferencesFolder folder;
    {
        ScriptedDialogs dialogs({"escape"});
        checkPreferencesExist();
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].result, cad::IDCANCEL);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder.prefsFolder()));
    EXPECT_FALSE(std::filesystem::exists(folder.prefsFile()));

    ScriptedDialogs dialogs({"click 1002", "ok"});
    checkPreferencesExist();
    EXPECT_EQ(dialogs.shown().size(), 1u);
    CPreferences written;
    ASSERT_EQ(written.loadPreferences(), 1);
    EXPECT_EQ(written.getUnits(), 1);
}

TEST(PresPreferences, ShowsTheLoadedSettingsAndChecksTheEntriesOnOK) {
    PreferencesFolder folder;
    std::filesystem::create_directories(folder.prefsFolder());
    { ScriptedDialogs none({}); checkPreferencesExist(); }
    writeText(folder.prefsFile(),
              "units\n1\nprecison\n3\ntextSize\n0.5\ntextScale\n2\ntextRotation\n45\n"
              "csvOpener\n/usr/bin/calc\nzoomBorder\n750\ninc\n4\n");
    cad::RecordedMessageBoxes boxes;
    ScriptedDialogs dialogs({"set 1003 12", "ok", "set 1003 4", "set 1007 10001", "ok", "set 1007 10000",
                             "set 1004 0.5", "set 1006 -30", "set 1008 /opt/office/calc", "click 1001", "ok"});
    CPresPreferences dialog;
    EXPECT_EQ(dialog.DoModal(), cad::IDOK);

    // What the dialog showed on opening: a text size below 1 is proposed as 250.
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const std::string& shown = dialogs.shown()[0].text;
    EXPECT_NE(shown.find("1001 radio \"m\" [ ]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("1002 radio \"ft\" [x]"), std::string::npos);
    EXPECT_NE(shown.find("1003 edit = \"3\""), std::string::npos);
    EXPECT_NE(shown.find("1004 edit \"Size\" = \"250\""), std::string::npos);
    EXPECT_NE(shown.find("1005 edit \"Scale\" = \"2\""), std::string::npos);
    EXPECT_NE(shown.find("1006 edit \"Rotation\" = \"45\""), std::string::npos);
    EXPECT_NE(shown.find("1007 edit \"Zoom  Border\" = \"750\""), std::string::npos);
    EXPECT_NE(shown.find("1008 edit \"Open CSV file with\" = \"/usr/bin/calc\""), std::string::npos);

    // Each bad entry was refused with the standard range message and the dialog stayed open.
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].caption, kCaption);
    EXPECT_EQ(boxes.boxes()[0].text, "Please enter an integer between 0 and 9.");
    EXPECT_EQ(boxes.boxes()[1].text, "Please enter a number between 0 and 10000.");
    EXPECT_EQ(dialogs.unusedActions(), 0u);

    // The text size typed as 0.5 is saved as 1; the increment the dialog does not show is kept.
    EXPECT_EQ(settingsOf(folder.prefsFile()),
              "units\n0\nprecison\n4\ntextSize\n1.00\ntextScale\n2.00\ntextRotation\n-30.00\n"
              "csvOpener\n/opt/office/calc\nzoomBorder\n10000\ninc\n4\n");
}

// The About dialog's texts are in the prefs_edit script test.
TEST(PresPreferences, EscapeLeavesTheFile) {
    PreferencesFolder folder;
    { ScriptedDialogs first({"ok"}); checkPreferencesExist(); }
    const std::string before = readText(folder.prefsFile());
    ASSERT_FALSE(before.empty());

    ScriptedDialogs dialogs({"set 1003 7", "escape"});
    CPresPreferences dialog;
    EXPECT_EQ(dialog.DoModal(), cad::IDCANCEL);
    EXPECT_EQ(readText(folder.prefsFile()), before);
}

TEST(PresPreferences, TextThatIsNoNumberIsRefusedBeforeTheRange) {
    PreferencesFolder folder;
    { ScriptedDialogs first({"ok"}); checkPreferencesExist(); }
    cad::RecordedMessageBoxes boxes;
    ScriptedDialogs dialogs({"set 1005 wide", "close", "set 1005 1.5", "close"});
    CPresPreferences dialog;
    EXPECT_EQ(dialog.DoModal(), cad::IDOK);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Please enter a number.");
    CPreferences saved;
    ASSERT_EQ(saved.loadPreferences(), 1);
    EXPECT_DOUBLE_EQ(saved.getTextScale(), 1.5);
}
