#include "module/Diagnostics.h"

#include <gtest/gtest.h>

#include "ModuleTestSupport.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"

using moduletest::readText;
using moduletest::TempFolder;
using moduletest::writeText;

namespace {

// A running host whose command line reads the given answers; output and message boxes recorded.
class DiagnosticsHost {
public:
    explicit DiagnosticsHost(const std::vector<std::string>& answers) : host_(cad::HostProfile::AutoCAD, input_) {
        for (const auto& answer : answers) input_.addLine(answer);
    }
    std::string text() const { return output_.text(); }
    const std::vector<cad::RecordedMessageBoxes::Box>& boxes() const { return boxes_.boxes(); }

private:
    cad::ScriptInput input_;
    cad::CapturedOutput output_;
    cad::RecordedMessageBoxes boxes_;
    cad::HostApplication host_;
};

}  // namespace

// Typed, empty and refused answers and a cancelled text are in the diagnostics script test, a
// cancelled number in AcadUtilitiesTest. An input that has ended cannot answer the text question
// again: the test fails with a report instead of asking for ever.
TEST(Diagnostics, UserInputFailsWhenTheInputEnds) {
    DiagnosticsHost host({"1", "1", "1"});
    diagnosticUserInput();
    EXPECT_EQ(host.text().find("user input test finished"), std::string::npos) << host.text();
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text.rfind("blockEdit::diagnosticUserInput\n\t", 0), 0u) << host.boxes()[0].text;
}

TEST(Diagnostics, XmlTestReplacesAnExistingFile) {
    TempFolder folder;
    const std::string path = folder.file("diagnosis.xml");
    writeText(path, "not xml at all");
    DiagnosticsHost host({path});
    diagnosticXML();
    EXPECT_EQ(readText(path), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <name>value</name>\n</root>\n");
    EXPECT_TRUE(host.boxes().empty());
}

TEST(Diagnostics, XmlTestReportsAPathItCannotWrite) {
    TempFolder folder;
    const std::string path = folder.file("missing/diagnosis.xml");
    DiagnosticsHost host({path});
    diagnosticXML();
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].caption, "Error Detected.");
    const std::string& text = host.boxes()[0].text;
    EXPECT_EQ(text.rfind("blockEdit::diagnosticXML\n\tblockEdit::diagnosticXML\n", 0), 0u) << text;
    EXPECT_NE(text.find("Unable to write XML file - " + path), std::string::npos) << text;
    EXPECT_EQ(host.text().find("completed successfully"), std::string::npos);
}
