#include "module/Diagnostics.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ModuleTestSupport.h"
#include "engine/dialogs/FileDialog.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "module/Preferences.h"

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

const std::string kErrorsA =
    "Error Test A - throws test error\n"
    "the error has been handled - test error\n"
    "korva error handled successfully\n"
    "error handling test completed\n";

}  // namespace

TEST(Diagnostics, ErrorTestsHandleTheirOwnErrorWithoutAMessageBox) {
    DiagnosticsHost host({});
    diagnosticErrorsA();
    diagnosticErrorsB();
    diagnosticErrorsC();
    diagnosticErrorsD();
    EXPECT_EQ(host.text(), kErrorsA +
                               "Error Test B - throws test error\n"
                               "the error has been handled - test error\n"
                               "korva error handled successfully\n"
                               "error handling test completed\n"
                               "Error Test C - retrieve function name\n"
                               "function diagnosticErrorsC\n"
                               "Error Test C - retrieve file name\n"
                               "file blockEdit.cpp\n");
    EXPECT_TRUE(host.boxes().empty());
}

TEST(Diagnostics, UserInputEchoesTypedAnswers) {
    DiagnosticsHost host({"no", "2.5", "42", "hello world"});
    diagnosticUserInput();
    EXPECT_EQ(host.text(),
              "user input test - tests boolean, double, integer, string input\n"
              "\ntesting boolean input. Type 0 or 1 and then enter <1>:no\n 0\n"
              "boolean user input test successful - 0\n"
              "\ntesting decimal input. Type a decimal number and then enter <1.001>:2.5\n 2.500\n"
              "decimal user input test successful - 2.500\n"
              "\ntesting integer input. Type an integer(whole) number and then enter <27>:42\n 42\n"
              "integer user input test successful - 42\n"
              "\ntesting text input. Type some text and then enter <diagnosis>:hello world\n hello world\n"
              "text user input test successful - hello world\n"
              "user input test finished\n");
}

TEST(Diagnostics, UserInputTakesTheDefaultsForEmptyAnswersAndAsksAgainAfterACancel) {
    {
        DiagnosticsHost host({"", "", "", ""});
        diagnosticUserInput();
        const std::string text = host.text();
        EXPECT_NE(text.find("boolean user input test successful - 1\n"), std::string::npos);
        EXPECT_NE(text.find("decimal user input test successful - 1.001\n"), std::string::npos);
        EXPECT_NE(text.find("integer user input test successful - 27\n"), std::string::npos);
        EXPECT_NE(text.find("text user input test successful - diagnosis\n"), std::string::npos);
    }
    {
        DiagnosticsHost host({"1", "x", "3", "^C", "^C", "typed"});
        diagnosticUserInput();
        const std::string text = host.text();
        EXPECT_NE(text.find("Requires"), std::string::npos) << text;  // "x" is no number: asked again
        EXPECT_NE(text.find("decimal user input test successful - 3.000\n"), std::string::npos) << text;
        // A cancelled integer falls back to its default; a cancelled text is asked for again.
        EXPECT_NE(text.find("integer user input test successful - 27\n"), std::string::npos) << text;
        EXPECT_NE(text.find("*Cancel*\n\nInvalid input! - testing text input. Type some text and then enter "
                            "<diagnosis>:typed\n typed\n"),
                  std::string::npos)
            << text;
    }
    {
        // An input that has ended cannot answer the text question again: the test fails with a
        // report instead of asking for ever.
        DiagnosticsHost host({"1", "1", "1"});
        diagnosticUserInput();
        EXPECT_EQ(host.text().find("user input test finished"), std::string::npos) << host.text();
        ASSERT_EQ(host.boxes().size(), 1u);
        EXPECT_EQ(host.boxes()[0].text.rfind("blockEdit::diagnosticUserInput\n\t", 0), 0u) << host.boxes()[0].text;
    }
}

TEST(Diagnostics, XmlTestReplacesAnExistingFile) {
    TempFolder folder;
    const std::string path = folder.file("diagnosis.xml");
    writeText(path, "not xml at all");
    DiagnosticsHost host({path});
    diagnosticXML();
    EXPECT_EQ(readText(path), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <name>value</name>\n</root>\n");
    EXPECT_EQ(host.text(), "xml test - outputs xml file to specified location\n"
                           "\nplease enter output file path <" +
                               defaultDiagnosticXMLPath() + ">:" + path + "\n " + path +
                               "\n"
                               "xml test completed successfully\n");
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

TEST(Diagnostics, XmlTestProposesTheModuleTemporaryFolder) {
    TempFolder folder;
    moduletest::ScopedEnvironment appdata("BRINMO_APPDATA", folder.path().c_str());
    {
        moduletest::ScriptedDialogs dialogs({"close"});
        checkPreferencesExist();
    }
    EXPECT_EQ(defaultDiagnosticXMLPath(), folder.file("KorvaSystems/Brinmo/temp/korvaDiagnosis.xml"));
    DiagnosticsHost host({""});
    diagnosticXML();
    EXPECT_TRUE(host.boxes().empty());
    EXPECT_NE(readText(defaultDiagnosticXMLPath()).find("<name>value</name>"), std::string::npos);
}

TEST(Diagnostics, AllRunsTheTestsInTurnWithoutTheFileDialog) {
    TempFolder folder;
    cad::RecordedFileDialogs files;
    DiagnosticsHost host({"", "", "", "", folder.file("all.xml")});
    diagnosticAll();
    EXPECT_TRUE(files.filters().empty());
    const std::string text = host.text();
    std::size_t at = 0;
    for (const char* line : {"basic test - output to commandline\nbasic test successful\nbasic test completed\n",
                             kErrorsA.c_str(), "Error Test B - throws test error\n", "function diagnosticErrorsC\n",
                             "file blockEdit.cpp\n", "user input test finished\n",
                             "xml test completed successfully\n"}) {
        std::size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << "\nin\n" << text;
        at = found;
    }
    EXPECT_TRUE(std::filesystem::exists(folder.file("all.xml")));
}

TEST(Diagnostics, DialogTestAsksForAFileWithAllFiles) {
    cad::RecordedFileDialogs files({"/tmp/whatever.txt"});
    DiagnosticsHost host({});
    diagnosticDialog();
    ASSERT_EQ(files.filters().size(), 1u);
    EXPECT_EQ(files.filters()[0].rfind("All Files (*.*)|*.*", 0), 0u);
    EXPECT_EQ(host.text(), "dialog test - opens browse for file dialog\ndialog test completed\n");
}
