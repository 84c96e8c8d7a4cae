#include "module/Preferences.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ModuleTestSupport.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/HostOutput.h"

using moduletest::readText;
using moduletest::ScopedEnvironment;
using moduletest::TempFolder;
using moduletest::writeText;

namespace {

const std::string kDefaultSettings =
    "units\n0\nprecison\n2\ntextSize\n250.00\ntextScale\n1.00\ntextRotation\n0.00\n"
    "csvOpener\nNONE\nzoomBorder\n1000\ninc\n1\n";

// Loads a prefs.cfg holding `text` into a fresh CPreferences.
CPreferences loaded(const TempFolder& folder, const std::string& text, int* status = nullptr) {
    const std::string path = folder.file("prefs.cfg");
    writeText(path, text);
    CPreferences preferences;
    preferences.setFilePath(path);
    int result = preferences.loadPreferences();
    if (status != nullptr) *status = result;
    return preferences;
}

// The file after its first line, which carries a free notice.
std::string withoutNotice(const std::string& text) { return text.substr(text.find('\n') + 1); }

}  // namespace

TEST(Preferences, WritesTheFileLineByLineWithTheKeysInOrder) {
    TempFolder folder;
    CPreferences preferences;
    preferences.setFilePath(folder.file("prefs.cfg"));
    ASSERT_EQ(preferences.savePreferences(), 1);
    const std::string text = readText(folder.file("prefs.cfg"));
    EXPECT_EQ(text.rfind("//\t", 0), 0u);
    EXPECT_EQ(withoutNotice(text), "//\n//\tConfiguration file for Brinmo\n//\n" + kDefaultSettings);

    preferences.setUnits(1);
    preferences.setPrecision(3);
    preferences.setTextSize(12.345);
    preferences.setTextScale(0.5);
    preferences.setTextRotation(-90);
    preferences.setCsvOpener("/usr/bin/localc --calc");
    preferences.setZoomBorder(2500.4);
    preferences.setInc(10);
    ASSERT_EQ(preferences.savePreferences(), 1);
    EXPECT_EQ(withoutNotice(readText(folder.file("prefs.cfg"))),
              "//\n//\tConfiguration file for Brinmo\n//\n"
              "units\n1\nprecison\n3\ntextSize\n12.35\ntextScale\n0.50\ntextRotation\n-90.00\n"
              "csvOpener\n/usr/bin/localc --calc\nzoomBorder\n2500\ninc\n10\n");
}

TEST(Preferences, ReadingRules) {
    TempFolder folder;
    int status = -1;

    // No file: the defaults stay and the load says so.
    CPreferences missing;
    missing.setFilePath(folder.file("absent.cfg"));
    EXPECT_EQ(missing.loadPreferences(), 0);
    EXPECT_EQ(missing.getPrecision(), 2);
    EXPECT_EQ(missing.getCsvOpener(), "NONE");

    // An empty third line ends the reading: what follows keeps its default.
    CPreferences stopped = loaded(folder, "//\tnotice\n//\n\nunits\n1\nprecison\n5\n", &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(stopped.getUnits(), 0);
    EXPECT_EQ(stopped.getPrecision(), 2);

    // Keys match by their leading characters, case-sensitively; comments are skipped.
    CPreferences prefixed = loaded(folder, "//units\n9\nunitsAndMore\n1\nprecisonX\n4\n");
    EXPECT_EQ(prefixed.getUnits(), 1);
    EXPECT_EQ(prefixed.getPrecision(), 4);
    CPreferences capital = loaded(folder, "Units\n1\nPRECISON\n4\n");
    EXPECT_EQ(capital.getUnits(), 0);
    EXPECT_EQ(capital.getPrecision(), 2);

    // The increment is taken from 1 to 100 only; otherwise the one before stays.
    EXPECT_EQ(loaded(folder, "inc\n0\n").getInc(), 1);
    EXPECT_EQ(loaded(folder, "inc\n101\n").getInc(), 1);
    EXPECT_EQ(loaded(folder, "inc\n100\n").getInc(), 100);
    EXPECT_EQ(loaded(folder, "inc\n7\ninc\n-3\n").getInc(), 7);

    // Rotation is clamped, sizes and scales of 0 or less become a tenth.
    EXPECT_DOUBLE_EQ(loaded(folder, "textRotation\n270\n").getTextRotation(), 180.0);
    EXPECT_DOUBLE_EQ(loaded(folder, "textRotation\n-400\n").getTextRotation(), -180.0);
    EXPECT_DOUBLE_EQ(loaded(folder, "textRotation\n-180\n").getTextRotation(), -180.0);
    EXPECT_DOUBLE_EQ(loaded(folder, "textSize\n0\n").getTextSize(), 0.1);
    EXPECT_DOUBLE_EQ(loaded(folder, "textSize\n-4\n").getTextSize(), 0.1);
    EXPECT_DOUBLE_EQ(loaded(folder, "textSize\n0.5\n").getTextSize(), 0.5);
    EXPECT_DOUBLE_EQ(loaded(folder, "textScale\n0\n").getTextScale(), 0.1);
    EXPECT_DOUBLE_EQ(loaded(folder, "textSize\nbig\n").getTextSize(), 0.1);

    // Units, precision and the zoom border are taken within the dialog's limits only; otherwise the
    // value before stays. A value that is no number reads as 0. A precision of eleven digits once
    // made mus format areas until the memory ran out.
    CPreferences raw = loaded(folder, "units\n1\nunits\n7\nprecison\nabc\nzoomBorder\n-50\n");
    EXPECT_EQ(raw.getUnits(), 1);
    EXPECT_EQ(raw.getPrecision(), 0);
    EXPECT_DOUBLE_EQ(raw.getZoomBorder(), CPreferences().getZoomBorder());
    CPreferences huge = loaded(folder, "precison\n5\nprecison\n99999999999\nprecison\n1000\nzoomBorder\n1e400\n");
    EXPECT_EQ(huge.getPrecision(), 5);
    EXPECT_DOUBLE_EQ(huge.getZoomBorder(), CPreferences().getZoomBorder());
    EXPECT_EQ(loaded(folder, "precison\n9\n").getPrecision(), 9);
    EXPECT_DOUBLE_EQ(loaded(folder, "textSize\n2\ntextSize\n1e999\n").getTextSize(), 2.0);
    EXPECT_DOUBLE_EQ(loaded(folder, "textRotation\n45\ntextRotation\nnan\n").getTextRotation(), 45.0);

    // Values are trimmed; a file from Windows reads the same; the last key may end the file.
    CPreferences blanks = loaded(folder, "precison\r\n  6 \t\r\ncsvOpener\r\n  /opt/calc/bin/calc  \r\ninc\r\n5");
    EXPECT_EQ(blanks.getPrecision(), 6);
    EXPECT_EQ(blanks.getCsvOpener(), "/opt/calc/bin/calc");
    EXPECT_EQ(blanks.getInc(), 5);

    // A key on the last line has an empty value; an empty value line does not end the reading.
    EXPECT_EQ(loaded(folder, "units\n1\nprecison").getPrecision(), 0);
    CPreferences emptyValue = loaded(folder, "csvOpener\n\nunits\n1\n");
    EXPECT_EQ(emptyValue.getCsvOpener(), "");
    EXPECT_EQ(emptyValue.getUnits(), 1);

    // Lines that are neither comments nor keys are passed over.
    EXPECT_EQ(loaded(folder, "something else\nunits\n1\n").getUnits(), 1);
}

TEST(Preferences, WriteFailuresAreShownAndReported) {
    TempFolder folder;
    cad::CapturedOutput output;
    cad::RecordedMessageBoxes boxes;

    // The path names a folder: the file cannot be created.
    std::filesystem::create_directory(folder.file("prefs.cfg"));
    CPreferences intoFolder;
    intoFolder.setFilePath(folder.file("prefs.cfg"));
    EXPECT_EQ(intoFolder.savePreferences(), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Error - Configuration Not Saved");
    EXPECT_EQ(boxes.boxes()[0].text, "Unable to Write Configuration File - Is a directory");
    EXPECT_EQ(boxes.boxes()[0].icon, cad::MessageBoxIcon::Error);

    // The folder cannot be made because a file stands in its way: nothing is written.
    writeText(folder.file("blocker"), "x");
    CPreferences blocked;
    blocked.setFilePath(folder.file("blocker") + "/prefs/prefs.cfg");
    EXPECT_EQ(blocked.savePreferences(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.file("blocker") + "/prefs/prefs.cfg"));

    // A missing folder is created.
    CPreferences nested;
    nested.setFilePath(folder.file("a") + "/b/prefs.cfg");
    EXPECT_EQ(nested.savePreferences(), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.file("a") + "/b/prefs.cfg"));
}
